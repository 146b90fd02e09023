// Magnet dialogs: opened by the main window's commands, controls by name, the number field's
// binding to the form, "入力"/"修正", the Enter cycle, the grade list and the delete dialogs.
#include "ui/magnet_dialogs.h"

#include <memory>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "model/resets.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

using tavrine::MainCommand;
using tavrine::NoticeId;
using tavrine::ui_testing::Named;

namespace {

QWidget* TopLevel(const char* name) {
  QWidget* found = nullptr;
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name)) {
      found = widget;
      ++count;
    }
  }
  return count == 1 ? found : nullptr;
}

void Type(QLineEdit* edit, const char* text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

}  // namespace

class MagnetDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrine::ui_testing::UseJapaneseFont(); }

  void init() {
    model_ = std::make_unique<tavrine::ElementModel>();
    tavrine::FullReset(*model_);
    tavrine::MakeWorldBox(*model_, 100);
    board_ = std::make_unique<tavrine::NoticeBoard>();
    window_ = std::make_unique<tavrine::MainWindow>(*model_, *board_);
    window_->SetConfirm([](const QString&, const QString&) { return true; });
    group_ = std::make_unique<tavrine::MagnetWindows>(
        tavrine::WindowContext{*model_, *board_, [this] { return window_.get(); }});
  }

  void cleanup() {
    group_.reset();
    window_.reset();
  }

  void RectangularDialogHasItsTitleNamesAndProposal() {
    QVERIFY(group_->Run(MainCommand::CreateRecMag));
    QWidget* dialog = TopLevel("CreateRecMag");
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QString("角柱磁石の作成"));
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8",
                             "Text9", "Text10", "Text11", "Text12"}) {
      QVERIFY2(dialog->findChild<QLineEdit*>(name) != nullptr, name);
    }
    QVERIFY(dialog->findChild<QLineEdit*>("Text13") == nullptr);
    QCOMPARE(Named<QLineEdit>(dialog, "Text10")->text(), QString("2"));
    QCOMPARE(Named<QLineEdit>(dialog, "Text11")->text(), QString("13500"));
    QCOMPARE(Named<QLineEdit>(dialog, "Text12")->text(), QString("12000"));
    auto* list = Named<QListWidget>(dialog, "List1");
    QCOMPARE(list->count(), 29);
    QCOMPARE(list->item(0)->text(), QString("N35"));
    QCOMPARE(list->item(28)->text(), QString("N38EH"));
    QCOMPARE(list->currentRow(), 4);
    QCOMPARE(Named<QPushButton>(dialog, "Command1")->text(), QString("入力"));
    QCOMPARE(Named<QPushButton>(dialog, "Command3")->text(), QString("修正"));
    QCOMPARE(Named<QPushButton>(dialog, "Command2")->text(), QString("閉じる"));
    QVERIFY(!Named<QPushButton>(dialog, "Command3")->isEnabled());
    QStringList labels;
    for (QLabel* label : dialog->findChildren<QLabel*>())
      labels << label->text();
    for (const char* caption : {"磁石番号", "Br(G)", "Hcj(Oe)", "磁石材質", "X軸"})
      QVERIFY2(labels.contains(QString::fromUtf8(caption)), caption);
  }

  void OtherKindsNameTheirFieldsByTheirOwnLayout() {
    QVERIFY(group_->Run(MainCommand::CreateSecMag));
    QWidget* sector = TopLevel("CreateSecMag");
    QVERIFY(sector != nullptr);
    QCOMPARE(sector->windowTitle(), QString("扇型磁石の作成"));
    QCOMPARE(Named<QLineEdit>(sector, "Text12")->text(), QString("360"));
    QCOMPARE(Named<QLineEdit>(sector, "Text13")->text(), QString("12000"));
    QVERIFY(group_->Run(MainCommand::CreateCylinderMag));
    QWidget* cylinder = TopLevel("CreateCylinderMag");
    QVERIFY(cylinder != nullptr);
    QCOMPARE(cylinder->windowTitle(), QString("(中空)円柱型磁石の作成"));
    QCOMPARE(Named<QLineEdit>(cylinder, "Text12")->text(), QString("1"));
    QVERIFY(group_->Run(MainCommand::CreateRhMag));
    QWidget* rh = TopLevel("CreateRhMag");
    QVERIFY(rh != nullptr);
    QCOMPARE(rh->windowTitle(), QString("RH型磁石の作成"));
    QVERIFY(rh->findChild<QLineEdit*>("Text2") == nullptr);
    QVERIFY(rh->findChild<QLineEdit*>("Text12") == nullptr);
    QVERIFY(!group_->Run(MainCommand::CreateStrRecCoil));
  }

  void TypingANumberLoadsTheMagnetAndSwapsTheCommands() {
    model_->RecMagCount = 3;
    model_->RecMagTable[2].a = 12.5;
    model_->RecMagTable[2].AngZ = tavrine::DegToRad(45);
    group_->Run(MainCommand::CreateRecMag);
    QWidget* dialog = TopLevel("CreateRecMag");
    auto* number = Named<QLineEdit>(dialog, "Text10");
    auto* enter = Named<QPushButton>(dialog, "Command1");
    auto* modify = Named<QPushButton>(dialog, "Command3");
    QCOMPARE(number->text(), QString("4"));
    Type(number, "2");
    QCOMPARE(Named<QLineEdit>(dialog, "Text1")->text(), QString("12.5"));
    QCOMPARE(Named<QLineEdit>(dialog, "Text6")->text(), QString("45"));
    QVERIFY(!enter->isEnabled());
    QVERIFY(modify->isEnabled());
    Type(Named<QLineEdit>(dialog, "Text1"), "7");
    QTest::mouseClick(modify, Qt::LeftButton);
    QCOMPARE(model_->RecMagTable[2].a, 7.0);
    QCOMPARE(model_->RecMagCount, 3);
    Type(number, "4");
    QVERIFY(enter->isEnabled());
    QVERIFY(!modify->isEnabled());
  }

  void EnterButtonAddsAMagnetAndProposesTheNext() {
    group_->Run(MainCommand::CreateRecMag);
    QWidget* dialog = TopLevel("CreateRecMag");
    auto* list = Named<QListWidget>(dialog, "List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(6)).center());
    QCOMPARE(Named<QLineEdit>(dialog, "Text11")->text(), QString("14200"));
    QCOMPARE(Named<QLineEdit>(dialog, "Text12")->text(), QString("11000"));
    Type(Named<QLineEdit>(dialog, "Text1"), "20");
    Type(Named<QLineEdit>(dialog, "Text2"), "10");
    Type(Named<QLineEdit>(dialog, "Text3"), "5");
    Type(Named<QLineEdit>(dialog, "Text9"), "-1.5");
    QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    QCOMPARE(model_->RecMagCount, 2);
    const tavrine::RecMag& m = model_->RecMagTable[2];
    QCOMPARE(m.a, 20.0);
    QCOMPARE(m.l, 5.0);
    QCOMPARE(m.Oz, -1.5);
    QCOMPARE(m.Br, 14200.0);
    QCOMPARE(int(m.MaterialIndex), 6);
    QCOMPARE(Named<QLineEdit>(dialog, "Text10")->text(), QString("3"));
    QCOMPARE(Named<QLineEdit>(dialog, "Text11")->selectedText(), QString("14200"));
  }

  void EnterKeyMovesAlongTheCycleAndPressesNoButton() {
    group_->Run(MainCommand::CreateRecMag);
    QWidget* dialog = TopLevel("CreateRecMag");
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    auto* number = Named<QLineEdit>(dialog, "Text10");
    number->setFocus();
    QTest::keyClick(number, Qt::Key_Return);
    auto* br = Named<QLineEdit>(dialog, "Text11");
    QCOMPARE(QApplication::focusWidget(), br);
    QCOMPARE(br->selectedText(), QString("13500"));
    QTest::keyClick(br, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), Named<QLineEdit>(dialog, "Text1"));
    QCOMPARE(model_->RecMagCount, 1);
    QVERIFY(dialog->isVisible());
  }

  void BadTextRaisesCaution5AndIsPutBack() {
    group_->Run(MainCommand::CreateSecMag);
    QWidget* dialog = TopLevel("CreateSecMag");
    auto* ri = Named<QLineEdit>(dialog, "Text1");
    Type(ri, "1-");
    QCOMPARE(board_->RaiseCount(NoticeId::Caution5), 1);
    QCOMPARE(ri->text(), QString("1"));  // the keystroke is undone, not the whole entry
    QVERIFY(!Named<QPushButton>(dialog, "Command1")->isEnabled());
  }

  void ModifyAfterAPositionEditKeepsThePoleAndRhMagnetOneLoads() {
    tavrine::SecMag& pole = model_->SecMagTable[1];
    pole.Ri = 5, pole.Ro = 9, pole.T = 3, pole.Br = -13500, pole.Hcj = 9000;
    model_->SecMagTable[2] = pole;
    model_->SecMagTable[2].Br = 11000;  // the last magnet fills the dialog on opening
    model_->SecMagCount = 2;
    group_->Run(MainCommand::CreateSecMag);
    QWidget* sector = TopLevel("CreateSecMag");
    Type(Named<QLineEdit>(sector, "Text10"), "1");
    Type(Named<QLineEdit>(sector, "Text7"), "4");
    QTest::mouseClick(Named<QPushButton>(sector, "Command3"), Qt::LeftButton);
    QCOMPARE(model_->SecMagTable[1].Ox, 4.0);
    QCOMPARE(model_->SecMagTable[1].Br, -13500.0);
    QCOMPARE(model_->SecMagTable[1].Hcj, 9000.0);

    model_->RhMagTable[1].R = 6;
    model_->RhMagCount = 1;
    group_->Run(MainCommand::CreateRhMag);
    QWidget* rh = TopLevel("CreateRhMag");
    Type(Named<QLineEdit>(rh, "Text10"), "1");
    QCOMPARE(Named<QLineEdit>(rh, "Text1")->text(), QString("6"));
    QVERIFY(Named<QPushButton>(rh, "Command3")->isEnabled());
  }

  void RoTypedAfterRiKeepsBothAndIsCheckedOnCommit() {
    group_->Run(MainCommand::CreateSecMag);
    QWidget* sector = TopLevel("CreateSecMag");
    sector->activateWindow();
    auto* ri = Named<QLineEdit>(sector, "Text1");
    auto* ro = Named<QLineEdit>(sector, "Text2");
    Type(ri, "10");
    Type(ro, "20");
    QCOMPARE(ro->text(), QString("20"));
    QCOMPARE(ri->text(), QString("10"));
    QVERIFY(!board_->IsOpen(NoticeId::Caution13));
    Type(ro, "5");
    QVERIFY(!board_->IsOpen(NoticeId::Caution13));
    QTest::keyClick(ro, Qt::Key_Return);  // committed: checked, nothing cleared
    QVERIFY(board_->IsOpen(NoticeId::Caution13));
    QCOMPARE(ri->text(), QString("10"));
    QCOMPARE(ro->text(), QString("5"));
  }

  void DeleteDialogDeletesAndCloses() {
    model_->RecMagCount = 4;
    for (int i = 2; i <= 4; ++i)
      model_->RecMagTable[static_cast<size_t>(i)].a = i;
    QVERIFY(group_->Run(MainCommand::EraseRecMag));
    QWidget* dialog = TopLevel("EraseRecMag");
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QString("磁石の消去"));
    auto* field = Named<QLineEdit>(dialog, "Text1");
    QCOMPARE(field->text(), QString("-"));
    QCOMPARE(field->selectedText(), QString("-"));
    QCOMPARE(Named<QPushButton>(dialog, "Command2")->text(), QString("ｷｬﾝｾﾙ"));
    Type(field, "1");
    QCOMPARE(field->text(), QString("-"));
    QCOMPARE(board_->RaiseCount(NoticeId::Caution5), 1);
    Type(field, "2");
    QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    QCOMPARE(model_->RecMagCount, 3);
    QCOMPARE(model_->RecMagTable[2].a, 3.0);
    QVERIFY(!dialog->isVisible());

    QVERIFY(group_->Run(MainCommand::EraseSecMag));
    QCOMPARE(TopLevel("EraseSecMag")->windowTitle(), QString("扇型磁石の消去"));
  }

  void ReopeningShowsTheSameWindow() {
    group_->Run(MainCommand::CreateRecMag);
    QWidget* first = TopLevel("CreateRecMag");
    auto* shape = Named<QLineEdit>(first, "Text1");
    Type(shape, "9");
    group_->Run(MainCommand::CreateRecMag);
    QCOMPARE(TopLevel("CreateRecMag"), first);
    QCOMPARE(shape->text(), QString("9"));  // shown again, not loaded again
    QTest::mouseClick(Named<QPushButton>(first, "Command2"), Qt::LeftButton);
    QVERIFY(!first->isVisible());
    model_->RecMagCount = 2;
    group_->Run(MainCommand::CreateRecMag);
    QCOMPARE(TopLevel("CreateRecMag"), first);
    QCOMPARE(Named<QLineEdit>(first, "Text10")->text(), QString("3"));
  }

  void TheProgramOpensTheDialogsFromItsCommands() {
    cleanup();
    tavrine::TavrineApplication app(60000);
    app.StartUp();
    app.Main()->SetConfirm([](const QString&, const QString&) { return true; });
    app.Main()->RunCommand(MainCommand::CreateRhMag);
    QWidget* dialog = TopLevel("CreateRhMag");
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    app.Main()->RunCommand(MainCommand::EraseSecMag);
    QVERIFY(TopLevel("EraseSecMag") != nullptr);
  }

 private:
  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<tavrine::NoticeBoard> board_;
  std::unique_ptr<tavrine::MainWindow> window_;
  std::unique_ptr<tavrine::MagnetWindows> group_;
};

QTEST_MAIN(MagnetDialogsTest)
#include "magnet_dialogs_test.moc"

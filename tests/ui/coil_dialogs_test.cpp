// Current-element dialogs in the running program: opened by the main-window commands, their
// names and texts, the binding of number changes, commands and the Enter cycle to the model.
#include "ui/coil_dialogs.h"

#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/text_rules.h"
#include "model/world_frame.h"
#include "ui/application.h"
#include "ui_test_support.h"

using tavrine::MainCommand;
using tavrine::TavrineApplication;
using tavrine::ui_testing::Named;

namespace {

int WindowsNamed(const QString& name) {
  int count = 0;
  for (QWidget* window : QApplication::topLevelWidgets())
    count += window->objectName() == name ? 1 : 0;
  return count;
}

QDialog* WindowNamed(const QString& name) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == name)
      return qobject_cast<QDialog*>(window);
  }
  return nullptr;
}

int WhitePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      count += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
  }
  return count;
}

}  // namespace

class CoilDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void CommandsOpenEachDialogWithItsTitleAndNamedControls();
  void NumberChangeLoadsTheElementTogglesCommandsAndHighlights();
  void EnterStoresTheCurrentAsDensityAndProposesTheNextNumber();
  void EnterKeyMovesThroughTheCycleWithoutPressingACommand();
  void DeleteCoilDeletesTheChosenKindsElementAndCloses();
  void ReopeningShowsTheSameWindow();
  void DeleteNumberFollowsTheModel();

 private:
  QDialog* Open(MainCommand command, const char* name);
  std::unique_ptr<TavrineApplication> app_;
};

void CoilDialogsTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  // The world-frame dialog would open over the test after a long splash; keep it out of the way.
  app_ = std::make_unique<TavrineApplication>(60 * 60 * 1000);
  app_->StartUp();
  app_->Main()->SetConfirm([](const QString&, const QString&) { return true; });
  QVERIFY(QTest::qWaitForWindowExposed(app_->Main()));
}

void CoilDialogsTest::cleanup() {
  app_.reset();
}

QDialog* CoilDialogsTest::Open(MainCommand command, const char* name) {
  app_->Main()->RunCommand(command);
  QDialog* dialog = WindowNamed(name);
  if (dialog != nullptr)
    dialog->activateWindow();
  return dialog;
}

void CoilDialogsTest::CommandsOpenEachDialogWithItsTitleAndNamedControls() {
  struct Case {
    MainCommand command;
    const char* name;
    QString title;
    QString current;  // objectName of the current field
  };
  const Case cases[] = {
      {MainCommand::CreateStrCylCoil, "CreateStraightCylCoil", "円柱ワイヤー直線状電流要素の作成",
       "Text11"},
      {MainCommand::CreateStrRecCoil, "CreateStraightRecCoil", "平角ワイヤー直線状電流要素の作成",
       "Text3"},
      {MainCommand::CreateSecCylCoil, "CreateSectorCylCoil", "円柱ワイヤー円弧状電流要素の作成",
       "Text11"},
      {MainCommand::CreateSecRecCoil, "CreateSectorRecCoil", "平角ワイヤ-円弧状電流要素の作成",
       "Text3"},
  };
  for (const Case& c : cases) {
    QDialog* dialog = Open(c.command, c.name);
    QVERIFY2(dialog != nullptr, c.name);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), c.title);
    QCOMPARE(Named<QPushButton>(dialog, "Command1")->text(), QString("入力"));
    QCOMPARE(Named<QPushButton>(dialog, "Command3")->text(), QString("修正"));
    QCOMPARE(Named<QPushButton>(dialog, "Command2")->text(), QString("閉じる"));
    QCOMPARE(Named<QLineEdit>(dialog, "Text10")->text(), QString("1"));
    QLineEdit* current = Named<QLineEdit>(dialog, c.current.toUtf8().constData());
    QCOMPARE(dialog->focusWidget(), current);
    QCOMPARE(current->selectedText(), current->text());
  }
  QDialog* deletion = Open(MainCommand::EraseCoil, "DeleteCoil");
  QVERIFY(deletion != nullptr);
  QCOMPARE(deletion->windowTitle(), QString("ｺｲﾙの消去"));
  QVERIFY(Named<QRadioButton>(deletion, "Option1")->isChecked());
  QCOMPARE(Named<QRadioButton>(deletion, "Option4")->text(), QString("角柱円弧"));
  QCOMPARE(Named<QPushButton>(deletion, "Command2")->text(), QString("ｷｬﾝｾﾙ"));
  QVERIFY(Named<QLineEdit>(deletion, "Text1") != nullptr);
}

void CoilDialogsTest::NumberChangeLoadsTheElementTogglesCommandsAndHighlights() {
  tavrine::ElementModel& model = app_->Model();
  model.StrRecCoilCount = 2;
  model.StrRecCoilTable[1] = {.Lx = 30, .W = 2, .T = 3, .CurrentDensity = 10};
  model.StrRecCoilTable[2] = {.Lx = 50, .W = 1, .T = 1, .CurrentDensity = 4};
  tavrine::MakeWorldBox(model, 100);  // gives the views a scale
  app_->Main()->RedrawAll();
  QDialog* dialog = Open(MainCommand::CreateStrRecCoil, "CreateStraightRecCoil");
  QVERIFY(dialog != nullptr);
  auto* number = Named<QLineEdit>(dialog, "Text10");
  auto* enter = Named<QPushButton>(dialog, "Command1");
  auto* modify = Named<QPushButton>(dialog, "Command3");
  QCOMPARE(number->text(), QString("3"));
  QCOMPARE(Named<QLineEdit>(dialog, "Text11")->text(), QString("50"));  // the last element
  QVERIFY(enter->isEnabled());
  QVERIFY(!modify->isEnabled());
  const int white_before = WhitePixels(app_->Main()->View(tavrine::kTopView)->Image());

  number->setText("1");
  QCOMPARE(Named<QLineEdit>(dialog, "Text11")->text(), QString("30"));
  QCOMPARE(Named<QLineEdit>(dialog, "Text3")->text(), QString("60"));  // 10 A/mm² × 2 × 3
  QVERIFY(!enter->isEnabled());
  QVERIFY(modify->isEnabled());
  QVERIFY(WhitePixels(app_->Main()->View(tavrine::kTopView)->Image()) > white_before);

  number->setText("3");
  QVERIFY(enter->isEnabled());
  QVERIFY(!modify->isEnabled());

  number->setText("x");
  QCOMPARE(number->text(), QString("3"));
  QVERIFY(!enter->isEnabled());
  QVERIFY(app_->Board().IsOpen(tavrine::NoticeId::Caution5));
}

void CoilDialogsTest::EnterStoresTheCurrentAsDensityAndProposesTheNextNumber() {
  QDialog* dialog = Open(MainCommand::CreateStrCylCoil, "CreateStraightCylCoil");
  QVERIFY(dialog != nullptr);
  Named<QLineEdit>(dialog, "Text11")->setText("13500");
  Named<QLineEdit>(dialog, "Text1")->setText("40");
  Named<QLineEdit>(dialog, "Text2")->setText("1");
  QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
  const tavrine::ElementModel& model = app_->Model();
  QCOMPARE(model.StrCylCoilCount, 1);
  QCOMPARE(model.StrCylCoilTable[1].CurrentDensity, 13500 / tavrine::Pi());
  QCOMPARE(model.StrCylCoilTable[1].Lx, 40.0);
  QCOMPARE(Named<QLineEdit>(dialog, "Text10")->text(), QString("2"));
  QVERIFY(!app_->Board().IsOpen(tavrine::NoticeId::Caution));

  // Modify element 1 through the dialog: the current is written back as a density again.
  Named<QLineEdit>(dialog, "Text10")->setText("1");
  QCOMPARE(Named<QLineEdit>(dialog, "Text11")->text(), QString("13500"));
  Named<QLineEdit>(dialog, "Text11")->setText("100");
  QTest::mouseClick(Named<QPushButton>(dialog, "Command3"), Qt::LeftButton);
  QCOMPARE(model.StrCylCoilCount, 1);
  QCOMPARE(model.StrCylCoilTable[1].CurrentDensity, 100 / tavrine::Pi());

  QTest::mouseClick(Named<QPushButton>(dialog, "Command2"), Qt::LeftButton);
  QVERIFY(!dialog->isVisible());
}

void CoilDialogsTest::EnterKeyMovesThroughTheCycleWithoutPressingACommand() {
  QDialog* dialog = Open(MainCommand::CreateSecCylCoil, "CreateSectorCylCoil");
  QVERIFY(dialog != nullptr);
  QVERIFY(QTest::qWaitForWindowActive(dialog));
  auto* number = Named<QLineEdit>(dialog, "Text10");
  number->setFocus();
  const char* cycle[] = {"Text11", "Text1", "Text2", "Text3", "Text4", "Text5",
                         "Text6",  "Text7", "Text8", "Text9", "Text11"};
  QLineEdit* at = number;
  for (const char* name : cycle) {
    QTest::keyClick(at, Qt::Key_Return);
    at = Named<QLineEdit>(dialog, name);
    QCOMPARE(dialog->focusWidget(), at);
    QCOMPARE(at->selectedText(), at->text());
  }
  QTest::keyClick(at, Qt::Key_Enter);
  QCOMPARE(dialog->focusWidget(), Named<QLineEdit>(dialog, "Text1"));
  QCOMPARE(app_->Model().SecCylCoilCount, 0);
  QVERIFY(dialog->isVisible());

  // An invalid arc field text is put back from the element of the last valid number.
  Named<QLineEdit>(dialog, "Text3")->setText("1-2");
  QCOMPARE(Named<QLineEdit>(dialog, "Text3")->text(), QString("0"));
}

void CoilDialogsTest::DeleteCoilDeletesTheChosenKindsElementAndCloses() {
  tavrine::ElementModel& model = app_->Model();
  model.StrRecCoilCount = 3;
  for (int i = 1; i <= 3; ++i)
    model.StrRecCoilTable[static_cast<size_t>(i)].Lx = 10.0 * i;
  model.StrCylCoilCount = 2;
  QDialog* dialog = Open(MainCommand::EraseCoil, "DeleteCoil");
  QVERIFY(dialog != nullptr);
  auto* option2 = Named<QRadioButton>(dialog, "Option2");
  // On the indicator: a stretched button's centre may lie beyond its caption.
  QTest::mouseClick(option2, Qt::LeftButton, {}, QPoint(8, option2->height() / 2));
  QVERIFY(Named<QRadioButton>(dialog, "Option2")->isChecked());
  Named<QLineEdit>(dialog, "Text1")->setText("2");
  QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
  QCOMPARE(model.StrRecCoilCount, 2);
  QCOMPARE(model.StrRecCoilTable[2].Lx, 30.0);
  QCOMPARE(model.StrCylCoilCount, 2);
  QVERIFY(!dialog->isVisible());
  // Reopened after closing: a fresh form.
  QCOMPARE(Open(MainCommand::EraseCoil, "DeleteCoil"), dialog);
  QVERIFY(Named<QRadioButton>(dialog, "Option1")->isChecked());
}

void CoilDialogsTest::ReopeningShowsTheSameWindow() {
  QDialog* first = Open(MainCommand::CreateSecRecCoil, "CreateSectorRecCoil");
  QVERIFY(first != nullptr);
  Named<QLineEdit>(first, "Text11")->setText("4");
  first->close();
  QDialog* again = Open(MainCommand::CreateSecRecCoil, "CreateSectorRecCoil");
  QCOMPARE(again, first);
  QVERIFY(again->isVisible());
  QCOMPARE(WindowsNamed("CreateSectorRecCoil"), 1);
  // Closing discarded the typed text: the opening fills the fields again.
  QCOMPARE(Named<QLineEdit>(again, "Text11")->text(), QString("0"));
  Open(MainCommand::EraseCoil, "DeleteCoil");
  Open(MainCommand::EraseCoil, "DeleteCoil");
  QCOMPARE(WindowsNamed("DeleteCoil"), 1);
}

void CoilDialogsTest::DeleteNumberFollowsTheModel() {
  app_->Model().StrCylCoilCount = 3;
  QDialog* dialog = Open(MainCommand::EraseCoil, "DeleteCoil");
  auto* number = Named<QLineEdit>(dialog, "Text1");
  number->selectAll();
  QTest::keyClicks(number, "3");
  app_->Events().Notify();  // an edit that keeps element 3 keeps the typed number
  QCOMPARE(number->text(), QString("3"));
  Named<QAction>(app_->Main(), "BInitialize")->trigger();
  QCOMPARE(number->text(), QString("1"));
  // A new model with one element: "入力" deletes that one, never a stale slot 3.
  app_->Model().StrCylCoilCount = 1;
  app_->Model().StrCylCoilTable[1].Lx = 7;
  QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
  QCOMPARE(app_->Model().StrCylCoilCount, 0);
}

QTEST_MAIN(CoilDialogsTest)
#include "coil_dialogs_test.moc"

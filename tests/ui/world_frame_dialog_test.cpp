// World-frame dialog: texts, the field check with its restore, and "入力" writing magnet 1.
#include "ui/world_frame_dialog.h"

#include <memory>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "model/resets.h"

using tavrine::NoticeBoard;
using tavrine::NoticeId;
using tavrine::WorldFrameDialog;

class WorldFrameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(QFont("Noto Sans CJK JP")); }

  void init() {
    model_ = std::make_unique<tavrine::ElementModel>();
    tavrine::FullReset(*model_);
    board_ = std::make_unique<NoticeBoard>();
    dialog_ = std::make_unique<WorldFrameDialog>(*model_, *board_);
    field_ = dialog_->findChild<QLineEdit*>("Text1");
    QVERIFY(field_);
  }

  void OpensWithItsTextsAndTheWholeTextSelected() {
    dialog_->Open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    QCOMPARE(dialog_->windowTitle(), QString("全体座標系の定義"));
    QVERIFY(!dialog_->isModal());
    QCOMPARE(dialog_->findChild<QLabel*>("Label1")->text(), QString("全体座標系の基本長さ(mm)"));
    QCOMPARE(dialog_->findChild<QPushButton*>("Command1")->text(), QString("入力"));
    QCOMPARE(field_->text(), QString("100"));
    QCOMPARE(field_->selectedText(), QString("100"));
    QCOMPARE(QApplication::focusWidget(), field_);
  }

  void InvalidTextsRaiseCaution5AndRestoreTheLastValidText() {
    dialog_->Open();
    QTest::keyClicks(field_, "250");
    QCOMPARE(field_->text(), QString("250"));
    QCOMPARE(board_->RaiseCount(NoticeId::Caution5), 0);
    for (const char* bad : {"0", "-5", "1.5", ""}) {
      field_->setText(bad);
      QCOMPARE(field_->text(), QString("250"));
    }
    QCOMPARE(board_->RaiseCount(NoticeId::Caution5), 4);
    // Typing over the selection with a leading zero is refused at its first key.
    field_->selectAll();
    QTest::keyClick(field_, Qt::Key_0);
    QCOMPARE(field_->text(), QString("250"));
    QCOMPARE(board_->RaiseCount(NoticeId::Caution5), 5);
  }

  void EnterMakesTheWorldCubeClosesAndSignals() {
    model_->RecMagCount = 3;
    model_->RecMagTable[1].Br = 12000;
    model_->RecMagTable[1].Ox = 7;
    dialog_->Open();
    QSignalSpy entered(dialog_.get(), &WorldFrameDialog::entered);
    QTest::mouseClick(dialog_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(entered.count(), 1);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(model_->RecMagCount, 1);
    const auto& cube = model_->RecMagTable[1];
    QCOMPARE(cube.a, 100.0);
    QCOMPARE(cube.b, 100.0);
    QCOMPARE(cube.l, 100.0);
    QCOMPARE(cube.Br, 0.0);
    QCOMPARE(cube.Ox, 0.0);
  }

  void CommaEndsTheNumberAndEnterKeyEnters() {
    dialog_->Open();
    QTest::keyClicks(field_, "1,000");
    QCOMPARE(field_->text(), QString("1,000"));
    QSignalSpy entered(dialog_.get(), &WorldFrameDialog::entered);
    QTest::keyClick(field_, Qt::Key_Return);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(model_->RecMagTable[1].a, 1.0);
    QCOMPARE(board_->RaiseCount(NoticeId::Caution5), 0);
  }

 private:
  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<NoticeBoard> board_;
  std::unique_ptr<WorldFrameDialog> dialog_;
  QLineEdit* field_ = nullptr;
};

QTEST_MAIN(WorldFrameDialogTest)
#include "world_frame_dialog_test.moc"

// Notice windows: one window per notice however often raised, raises from other threads,
// titles, and the two answers of CautionFileExist.
#include "ui/notice_windows.h"

#include <thread>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using tavrine::NoticeBoard;
using tavrine::NoticeId;
using tavrine::NoticeWindow;
using tavrine::NoticeWindows;

namespace {

int VisibleNoticeWindows(const QString& name) {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == name && widget->isVisible()) {
      ++count;
    }
  }
  return count;
}

QPushButton* Button(NoticeWindow* window, const char* name) {
  return window ? window->findChild<QPushButton*>(name) : nullptr;
}

}  // namespace

class NoticeWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(QFont("Noto Sans CJK JP")); }

  void RaisedManyTimesIsOneWindowWithItsTexts() {
    NoticeBoard board;
    NoticeWindows windows(board);
    for (int i = 0; i < 1000; ++i) {
      board.Raise(NoticeId::Caution3);
    }
    QTRY_VERIFY(windows.Window(NoticeId::Caution3) &&
                windows.Window(NoticeId::Caution3)->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(VisibleNoticeWindows("Caution3"), 1);
    NoticeWindow* window = windows.Window(NoticeId::Caution3);
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QString("警告"));
    QCOMPARE(window->findChild<QLabel*>("lblMessage")->text(),
             QString("ゼロで除算しようとしています。"));
    QCOMPARE(Button(window, "cmdOK")->text(), QString("OK"));
  }

  void RaisedFromAnotherThreadArrivesWithItsReplacedTitle() {
    NoticeBoard board;
    NoticeWindows windows(board);
    std::thread worker([&board] {
      board.Raise(NoticeId::Caution11);
      board.Raise(NoticeId::Caution3, "磁石2の計算");
    });
    worker.join();
    QTRY_VERIFY(windows.Window(NoticeId::Caution3) && windows.Window(NoticeId::Caution11));
    QCOMPARE(windows.Window(NoticeId::Caution3)->windowTitle(), QString("磁石2の計算"));
    QCOMPARE(windows.Window(NoticeId::Caution11)->windowTitle(), QString("警告"));
  }

  void DetailLineShowsUntilTheNoticeIsClosed() {
    NoticeBoard board;
    NoticeWindows windows(board);
    board.SetDetail(NoticeId::CautionFileInOut, "ファイル: /tmp/a.csv\n12 行目: 理由");
    board.Raise(NoticeId::CautionFileInOut);
    QTRY_VERIFY(windows.Window(NoticeId::CautionFileInOut));
    auto* detail = windows.Window(NoticeId::CautionFileInOut)->findChild<QLabel*>("lblDetail");
    QVERIFY(detail->isVisible());
    QCOMPARE(detail->text(), QString("ファイル: /tmp/a.csv\n12 行目: 理由"));
    QTest::mouseClick(Button(windows.Window(NoticeId::CautionFileInOut), "cmdOK"), Qt::LeftButton);
    board.Raise(NoticeId::CautionFileInOut);
    QTRY_VERIFY(windows.Window(NoticeId::CautionFileInOut)->isVisible());
    QVERIFY(detail->isHidden());
  }

  void OkClosesThatNoticeOnlyAndItCanComeBack() {
    NoticeBoard board;
    NoticeWindows windows(board);
    board.Raise(NoticeId::Caution12);
    board.Raise(NoticeId::Caution5);
    QTRY_VERIFY(windows.Window(NoticeId::Caution12) && windows.Window(NoticeId::Caution5));
    QTest::mouseClick(Button(windows.Window(NoticeId::Caution12), "cmdOK"), Qt::LeftButton);
    QVERIFY(!board.IsOpen(NoticeId::Caution12));
    QVERIFY(!windows.Window(NoticeId::Caution12)->isVisible());
    QVERIFY(board.IsOpen(NoticeId::Caution5));
    QVERIFY(windows.Window(NoticeId::Caution5)->isVisible());
    board.Raise(NoticeId::Caution12);
    QTRY_VERIFY(windows.Window(NoticeId::Caution12)->isVisible());
    QCOMPARE(VisibleNoticeWindows("Caution12"), 1);
  }

  void CloseButtonTextOfCaution7() {
    NoticeBoard board;
    NoticeWindows windows(board);
    board.Raise(NoticeId::Caution7);
    QTRY_VERIFY(windows.Window(NoticeId::Caution7));
    QPushButton* close = Button(windows.Window(NoticeId::Caution7), "cmdOK");
    QCOMPARE(close->text(), QString("閉じる"));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!board.IsOpen(NoticeId::Caution7));
  }

  void YesWritesAndNoDoesNot() {
    NoticeBoard board;
    NoticeWindows windows(board);
    int writes = 0;
    windows.SetOverwriteCallback([&writes] { ++writes; });
    board.Raise(NoticeId::CautionFileExist);
    QTRY_VERIFY(windows.Window(NoticeId::CautionFileExist));
    NoticeWindow* window = windows.Window(NoticeId::CautionFileExist);
    QCOMPARE(window->windowTitle(), QString("確認"));
    QCOMPARE(Button(window, "cmdYes")->text(), QString("はい"));
    QCOMPARE(Button(window, "cmdNo")->text(), QString("いいえ"));
    QTest::mouseClick(Button(window, "cmdNo"), Qt::LeftButton);
    QCOMPARE(writes, 0);
    QVERIFY(!board.IsOpen(NoticeId::CautionFileExist));
    QVERIFY(!window->isVisible());

    board.Raise(NoticeId::CautionFileExist);
    QTRY_VERIFY(window->isVisible());
    QTest::keyClick(window, Qt::Key_Escape);
    QCOMPARE(writes, 0);
    QVERIFY(!board.IsOpen(NoticeId::CautionFileExist));

    board.Raise(NoticeId::CautionFileExist);
    QTRY_VERIFY(window->isVisible());
    QTest::mouseClick(Button(window, "cmdYes"), Qt::LeftButton);
    QCOMPARE(writes, 1);
    QVERIFY(!board.IsOpen(NoticeId::CautionFileExist));
    QVERIFY(!window->isVisible());
  }

  void AnsweredBeforeTheQueuedShowStaysClosed() {
    NoticeBoard board;
    NoticeWindows windows(board);
    board.Raise(NoticeId::Caution9);
    board.Close(NoticeId::Caution9);
    QTest::qWait(50);
    QVERIFY(windows.Window(NoticeId::Caution9) == nullptr);
  }

  void ANoticeLeavesTheKeyboardWithTheFieldAndTwoNeverCoverEachOther() {
    NoticeBoard board;
    NoticeWindows windows(board);
    QDialog form;
    auto* field = new QLineEdit(&form);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    field->setFocus();
    QTest::keyClicks(field, "1");
    board.Raise(NoticeId::Caution5);
    board.Raise(NoticeId::Caution13);
    QTRY_VERIFY(windows.Window(NoticeId::Caution13) &&
                windows.Window(NoticeId::Caution13)->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &form);
    QCOMPARE(QApplication::focusWidget(), field);
    QTest::keyClicks(QApplication::focusWidget(), "2");
    QCOMPARE(field->text(), QString("12"));
    const QRect first = windows.Window(NoticeId::Caution5)->frameGeometry();
    const QRect second = windows.Window(NoticeId::Caution13)->frameGeometry();
    QVERIFY(!first.intersects(second));
  }

  void ANoticeRaisedUnderAModalBoxCanBeAnswered() {
    NoticeBoard board;
    NoticeWindows windows(board);
    board.Raise(NoticeId::Caution6);  // open before the box: taken along when it opens
    QTRY_VERIFY(windows.Window(NoticeId::Caution6) != nullptr);
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    QCOMPARE(windows.Window(NoticeId::Caution6)->parentWidget(), &modal);
    QVERIFY(windows.Window(NoticeId::Caution6)->isVisible());
    board.Raise(NoticeId::Caution12);
    QTRY_VERIFY(windows.Window(NoticeId::Caution12) &&
                windows.Window(NoticeId::Caution12)->isVisible());
    NoticeWindow* notice = windows.Window(NoticeId::Caution12);
    QCOMPARE(notice->parentWidget(), &modal);  // above the box and not blocked by it
    QVERIFY(notice->isWindow());
    modal.hide();
    QVERIFY(notice->parentWidget() != &modal);  // outlives the box
    QVERIFY(notice->isVisible());
    QTest::mouseClick(Button(notice, "cmdOK"), Qt::LeftButton);
    QVERIFY(!board.IsOpen(NoticeId::Caution12));
  }

  void RaiseAfterTheWindowsAreGoneIsHarmless() {
    NoticeBoard board;
    {
      NoticeWindows windows(board);
      board.Raise(NoticeId::Caution2);
    }
    board.Raise(NoticeId::Caution2);
    QTest::qWait(50);
    QCOMPARE(VisibleNoticeWindows("Caution2"), 0);
  }
};

QTEST_MAIN(NoticeWindowsTest)
#include "notice_windows_test.moc"

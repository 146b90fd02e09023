// Splash window: the version text, the timer closing it, and the early close by key or click.
#include "ui/splash_window.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using tavrine::SplashWindow;

class SplashWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(QFont("Noto Sans CJK JP")); }

  void ShowsVersionFromItsParts() {
    QCOMPARE(tavrine::VersionText(1, 1, 0), QString("ﾊﾞｰｼﾞｮﾝ 1.1.0"));
    QCOMPARE(tavrine::VersionText(2, 10, 3), QString("ﾊﾞｰｼﾞｮﾝ 2.10.3"));
    SplashWindow splash;
    auto* version = splash.findChild<QLabel*>("lblVersion");
    QVERIFY(version);
    QCOMPARE(version->text(), QString("ﾊﾞｰｼﾞｮﾝ 1.1.0"));
  }

  void TimerClosesItAndFiresOnce() {
    SplashWindow splash(nullptr, 50);
    QSignalSpy finished(&splash, &SplashWindow::timerFinished);
    QSignalSpy early(&splash, &SplashWindow::closedEarly);
    splash.show();
    QVERIFY(splash.TimerActive());
    QVERIFY(finished.wait(2000));
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.TimerActive());
    QTest::qWait(150);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(early.count(), 0);
  }

  void KeyClosesItAndTheTimerNeverFires() {
    SplashWindow splash(nullptr, 100);
    QSignalSpy finished(&splash, &SplashWindow::timerFinished);
    QSignalSpy early(&splash, &SplashWindow::closedEarly);
    splash.show();
    QTest::keyClick(&splash, Qt::Key_Space);
    QCOMPARE(early.count(), 1);
    QVERIFY(!splash.isVisible());
    QTest::qWait(300);
    QCOMPARE(finished.count(), 0);
  }

  void ClickOnTheTextsClosesIt() {
    SplashWindow splash(nullptr, 100);
    QSignalSpy finished(&splash, &SplashWindow::timerFinished);
    QSignalSpy early(&splash, &SplashWindow::closedEarly);
    splash.show();
    auto* title = splash.findChild<QLabel*>("lblProductName");
    QVERIFY(title);
    QTest::mouseClick(&splash, Qt::LeftButton, {}, title->geometry().center());
    QCOMPARE(early.count(), 1);
    QVERIFY(!splash.isVisible());
    QTest::qWait(300);
    QCOMPARE(finished.count(), 0);
  }
};

QTEST_MAIN(SplashWindowTest)
#include "splash_window_test.moc"

// Start-up and re-initialisation of the whole program: splash, world-frame dialog, "初期化" by
// menu versus the toolbar's "BInitialize", and the overwrite notice wired to the model file.
#include "ui/application.h"

#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "display/palettes.h"
#include "model/text_rules.h"
#include "ui/notice_windows.h"
#include "ui/splash_window.h"
#include "ui/world_frame_dialog.h"
#include "ui_test_support.h"

using tavrine::MainWindow;
using tavrine::TavrineApplication;
using tavrine::ui_testing::Named;

class ApplicationTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void StartUpShowsSplashThenWorldFrameDialog();
  void SplashClosedEarlyOpensNoWorldFrameDialog();
  void ToolbarInitializeKeepsTheWindowAndAsksForTheFrameAtOnce();
  void MenuInitializeReplacesTheMainWindowAndRunsTheWholeStartUp();
  void OverwriteNoticeYesWritesTheModelNoWritesNothing();
  void OpenDialogsFollowAFileReadAndTheWorldFrame();
  void ZoomControlsShowTheFactorAfterInitialize();
  void OpenColourDialogTicksTheColoursAfterInitialize();

 private:
  void EnterWorldFrame(const QString& length);
  std::unique_ptr<TavrineApplication> app_;
};

void ApplicationTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  app_ = std::make_unique<TavrineApplication>(200);
  app_->StartUp();
  app_->Main()->SetConfirm([](const QString&, const QString&) { return true; });
}

void ApplicationTest::cleanup() {
  if (app_->Main())
    app_->Main()->SetConfirm([](const QString&, const QString&) { return true; });
  app_.reset();
}

void ApplicationTest::EnterWorldFrame(const QString& length) {
  tavrine::WorldFrameDialog* dialog = app_->WorldFrame();
  QVERIFY(dialog != nullptr);
  QTRY_VERIFY(dialog->isVisible());
  dialog->findChild<QLineEdit*>()->setText(length);
  QPushButton* enter = nullptr;
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("入力"))
      enter = button;
  }
  QVERIFY(enter != nullptr);
  enter->click();
}

void ApplicationTest::StartUpShowsSplashThenWorldFrameDialog() {
  QVERIFY(app_->Main()->isVisible());
  QVERIFY(app_->Splash() != nullptr && app_->Splash()->isVisible());
  QCOMPARE(app_->Model().RectCalPointSet.DivX, 40);  // the full reset ran
  QVERIFY(app_->WorldFrame() == nullptr || !app_->WorldFrame()->isVisible());
  QTRY_VERIFY(app_->WorldFrame() != nullptr && app_->WorldFrame()->isVisible());
  QTRY_VERIFY(app_->Splash() == nullptr || !app_->Splash()->isVisible());
  QCOMPARE(app_->WorldFrame()->windowTitle(), QStringLiteral("全体座標系の定義"));
  EnterWorldFrame("100");
  QCOMPARE(app_->Model().RecMagCount, 1);
  QCOMPARE(app_->Model().RecMagTable[1].a, 100.0);
  QVERIFY(!app_->WorldFrame()->isVisible());
}

void ApplicationTest::SplashClosedEarlyOpensNoWorldFrameDialog() {
  QTest::keyClick(app_->Splash(), Qt::Key_Space);
  QTest::qWait(400);
  QVERIFY(app_->WorldFrame() == nullptr);
  QCOMPARE(app_->Model().RecMagCount, 0);
}

void ApplicationTest::ToolbarInitializeKeepsTheWindowAndAsksForTheFrameAtOnce() {
  QTRY_VERIFY(app_->WorldFrame() != nullptr && app_->WorldFrame()->isVisible());
  EnterWorldFrame("50");
  MainWindow* window = app_->Main();
  app_->Model().RectCalPointSet.DivX = 7;
  QSignalSpy created(app_.get(), &TavrineApplication::MainWindowCreated);
  Named<QAction>(window, "BInitialize")->trigger();
  QCOMPARE(app_->Main(), window);
  QCOMPARE(created.size(), 0);
  QCOMPARE(app_->Model().RectCalPointSet.DivX, 40);
  QCOMPARE(app_->Model().RecMagCount, 0);
  QVERIFY(app_->WorldFrame()->isVisible());  // at once, no splash
  QVERIFY(app_->Splash() == nullptr);
}

void ApplicationTest::MenuInitializeReplacesTheMainWindowAndRunsTheWholeStartUp() {
  QTRY_VERIFY(app_->WorldFrame() != nullptr && app_->WorldFrame()->isVisible());
  QPointer<MainWindow> old_window = app_->Main();
  QStringList asked;
  old_window->SetConfirm([&asked](const QString&, const QString& text) {
    asked << text;
    return true;
  });
  app_->Model().RectCalPointSet.DivX = 7;
  Named<QAction>(old_window, "mnuInitialize")->trigger();
  QVERIFY(app_->Main() != old_window.data());
  QVERIFY(app_->Main()->isVisible());
  QTRY_VERIFY(old_window.isNull());
  QVERIFY(asked.isEmpty());  // not an exit: no question
  QCOMPARE(app_->Model().RectCalPointSet.DivX, 40);
  QVERIFY(!app_->WorldFrame()->isVisible());  // closed with the old window's dialogs
  QVERIFY(app_->Splash() != nullptr && app_->Splash()->isVisible());
  QTRY_VERIFY(app_->WorldFrame()->isVisible());  // again when the new splash's timer fires
}

void ApplicationTest::OverwriteNoticeYesWritesTheModelNoWritesNothing() {
  QTemporaryDir dir;
  const QString path = dir.filePath("model.csv");
  QFile existing(path);
  QVERIFY(existing.open(QIODevice::WriteOnly));
  existing.write("old");
  existing.close();
  MainWindow* window = app_->Main();
  window->SetFileChooser([&path](bool, const QString&) { return path; });
  Named<QAction>(window, "BWriteData")->trigger();
  QVERIFY(app_->Board().IsOpen(tavrine::NoticeId::CautionFileExist));
  QCOMPARE(QString::fromStdString(app_->Model().ModelFilePath), path);
  auto pressed = [this](const char* caption) {
    tavrine::NoticeWindow* notice = app_->Notices().Window(tavrine::NoticeId::CautionFileExist);
    QVERIFY(notice != nullptr);
    for (QPushButton* button : notice->findChildren<QPushButton*>()) {
      if (button->text() == QString::fromUtf8(caption))
        button->click();
    }
  };
  QTRY_VERIFY(app_->Notices().Window(tavrine::NoticeId::CautionFileExist) != nullptr);
  pressed("いいえ");
  QVERIFY(existing.open(QIODevice::ReadOnly));
  QCOMPARE(existing.readAll(), QByteArray("old"));
  existing.close();
  Named<QAction>(window, "mnuFileSaveAs")->trigger();
  QTRY_VERIFY(app_->Notices().Window(tavrine::NoticeId::CautionFileExist) != nullptr);
  pressed("はい");
  QVERIFY(existing.open(QIODevice::ReadOnly));
  QVERIFY(existing.readAll().startsWith(QByteArray("\"\x8a\x70\x92\x8c")));  // "角柱…" in CP932
}

void ApplicationTest::OpenDialogsFollowAFileReadAndTheWorldFrame() {
  QTRY_VERIFY(app_->WorldFrame() != nullptr && app_->WorldFrame()->isVisible());
  EnterWorldFrame("100");
  MainWindow* window = app_->Main();
  Named<QAction>(window, "BCreateRecMag")->trigger();
  QWidget* dialog = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == QStringLiteral("CreateRecMag"))
      dialog = top;
  }
  QVERIFY(dialog != nullptr);
  auto* number = Named<QLineEdit>(dialog, "Text10");
  QCOMPARE(number->text(), QStringLiteral("2"));

  // A model with three rectangular magnets read while the dialog proposes magnet 2.
  window->SetFileChooser(
      [](bool, const QString&) { return QStringLiteral(TAVRINE_DOCS_DIR "/sample_model.csv"); });
  Named<QAction>(window, "BReadData")->trigger();
  QCOMPARE(app_->Model().RecMagCount, 3);
  const double magnet2_br = app_->Model().RecMagTable[2].Br;
  QCOMPARE(number->text(), QStringLiteral("4"));
  Named<QPushButton>(dialog, "Command1")->click();
  QCOMPARE(app_->Model().RecMagCount, 4);
  QCOMPARE(app_->Model().RecMagTable[2].Br, magnet2_br);

  // The toolbar's 初期化 empties the model and asks for the frame: the dialog follows both.
  Named<QAction>(window, "BInitialize")->trigger();
  EnterWorldFrame("50");
  QCOMPARE(number->text(), QStringLiteral("2"));
  Named<QPushButton>(dialog, "Command1")->click();
  QCOMPARE(app_->Model().RecMagCount, 2);
  QCOMPARE(app_->Model().RecMagTable[1].a, 50.0);  // the world box stays
}

void ApplicationTest::ZoomControlsShowTheFactorAfterInitialize() {
  MainWindow* window = app_->Main();
  auto* box = Named<QLineEdit>(window, "Text6");
  auto* bar = Named<QScrollBar>(window, "HScroll1");
  box->selectAll();
  QTest::keyClicks(box, "2.5");
  QCOMPARE(app_->Model().View.ZoomFactor, 2.5);
  QCOMPARE(bar->value(), 25);
  Named<QAction>(window, "BInitialize")->trigger();
  QCOMPARE(app_->Model().View.ZoomFactor, 1.0);
  QCOMPARE(tavrine::NumericValue(box->text().toStdString()), 1.0);
  QCOMPARE(bar->value(), 10);
}

void ApplicationTest::OpenColourDialogTicksTheColoursAfterInitialize() {
  MainWindow* window = app_->Main();
  Named<QAction>(window, "BColor")->trigger();
  QWidget* dialog = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == QStringLiteral("ColorOption") && top->isVisible())
      dialog = top;
  }
  QVERIFY(dialog != nullptr);
  auto* white = Named<QRadioButton>(dialog, "Option31");
  white->click();
  QVERIFY(white->isChecked());
  Named<QAction>(window, "BInitialize")->trigger();
  const int row = tavrine::RowsInForce(app_->Model()).background;
  QVERIFY(row > 0);
  const std::string_view reset = tavrine::kBackgroundPalette[static_cast<size_t>(row - 1)].option;
  QVERIFY(Named<QRadioButton>(dialog, std::string(reset).c_str())->isChecked());
  QVERIFY(!white->isChecked());
}

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"

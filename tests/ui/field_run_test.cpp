// Field runs from the main window: off the UI thread behind a modal progress window whose bars
// move while the event loop keeps running; results and readouts at the end.
#include <atomic>
#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include "calcpoints/grids.h"
#include "model/resets.h"
#include "model/world_frame.h"
#include "ui/field_run_controller.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

using tavrine::MainWindow;
using tavrine::ui_testing::Named;

class FieldRunTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup() { delete window_; }
  void RectRunFillsThePointsWhileTheEventLoopRuns();
  void ProgressWindowKeepsEarlierBarsAndBlocksInput();
  void SecondStartDuringARunIsIgnored();

 private:
  void AddMagnetWithGrid();
  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<tavrine::NoticeBoard> board_;
  MainWindow* window_ = nullptr;
};

void FieldRunTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  model_ = std::make_unique<tavrine::ElementModel>();
  tavrine::FullReset(*model_);
  tavrine::MakeWorldBox(*model_, 100);
  board_ = std::make_unique<tavrine::NoticeBoard>();
  window_ = new MainWindow(*model_, *board_);
  window_->SetConfirm([](const QString&, const QString&) { return true; });
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void FieldRunTest::AddMagnetWithGrid() {
  model_->RecMagCount = 2;
  tavrine::RecMag& magnet = model_->RecMagTable[2];
  magnet.a = 20;
  magnet.b = 10;
  magnet.l = 5;
  magnet.Br = 12000;
  tavrine::RectGridInput grid;
  grid.MagN = 2;
  grid.DivX = 20;
  grid.DivY = 20;
  grid.HalfX = false;
  grid.HalfY = false;
  QCOMPARE(tavrine::GenerateRectGrid(*model_, grid, *board_), tavrine::GridOutcome::kGenerated);
}

void FieldRunTest::RectRunFillsThePointsWhileTheEventLoopRuns() {
  AddMagnetWithGrid();
  const int last = model_->RectCalPointSet.LastIndex;
  QVERIFY(last > 100);
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
  ticker.start(1);
  Named<QAction>(window_, "BStartCaluc")->trigger();
  QVERIFY(window_->Runs().Running());
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Runs().Running(), 20000);
  QVERIFY(ticks > 0);  // the UI thread went on handling events during the run
  QVERIFY(!window_->Runs().Window()->isVisible());
  // Above the face centre the field points along the magnet's own +z.
  double largest_hz = 0;
  for (int i = 0; i <= last; ++i) {
    largest_hz = std::max(largest_hz, model_->RectCalPointSet.Points[static_cast<size_t>(i)].Hz);
  }
  QVERIFY(largest_hz > 1000);
  QCOMPARE(window_->Runs().Window()->objectName(), QString("ProgressMagField"));
  // The free view's group shows the point of largest field, the front view's the largest Hz.
  const QString hz = Named<QLabel>(window_, "LabelHxmax2")->text();
  QVERIFY2(hz.startsWith("Hz=") && hz.mid(3).toInt() > 1000, qPrintable(hz));
  QVERIFY(Named<QLabel>(window_, "LabelHzmax3")->text().startsWith("Px="));
  QVERIFY(Named<QLabel>(window_, "LabelHzmax3")->text() != QString("Px="));
}

void FieldRunTest::ProgressWindowKeepsEarlierBarsAndBlocksInput() {
  std::atomic<bool> release{false};
  window_->SetRunJob(
      [&release](tavrine::ElementModel&, tavrine::Progress& progress, tavrine::Notices&, bool) {
        progress.Open("ProgressMagField", "磁界計算中");
        progress.SetTitle("１．角柱磁石からの磁界計算中");
        progress.StartBar("１．角柱磁石からの磁界計算中");
        progress.SetBarFraction(1.0);
        progress.SetTitle("３．RH型磁石からの磁界計算中");
        progress.StartBar("３．RH型磁石からの磁界計算中");
        progress.SetBarFraction(0.5);
        while (!release.load())
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        progress.Close();
      });
  Named<QAction>(window_, "BStartCaluc")->trigger();
  tavrine::ProgressWindow* progress = window_->Runs().Window();
  QTRY_COMPARE(progress->BarCount(), 2);
  QTRY_COMPARE(progress->Bar(1)->value(), 50);
  QCOMPARE(progress->Bar(0)->value(), 100);
  QCOMPARE(progress->BarText(0)->text(), QString("１．角柱磁石からの磁界計算中"));
  QCOMPARE(progress->windowTitle(), QString("３．RH型磁石からの磁界計算中"));
  QVERIFY(progress->isVisible());
  QCOMPARE(progress->windowModality(), Qt::ApplicationModal);
  QCOMPARE(QApplication::activeModalWidget(), progress);
  // The main window cannot be closed under a running computation.
  window_->close();
  QVERIFY(window_->isVisible());
  release.store(true);
  QTRY_VERIFY(!window_->Runs().Running());
  QVERIFY(!progress->isVisible());
}

void FieldRunTest::SecondStartDuringARunIsIgnored() {
  std::atomic<int> runs{0};
  std::atomic<bool> release{false};
  window_->SetRunJob([&](tavrine::ElementModel&, tavrine::Progress&, tavrine::Notices&, bool) {
    ++runs;
    while (!release.load())
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  });
  Named<QAction>(window_, "BStartCaluc")->trigger();
  Named<QAction>(window_, "BStartCalucSec")->trigger();
  release.store(true);
  QTRY_VERIFY(!window_->Runs().Running());
  QCOMPARE(runs.load(), 1);
}

QTEST_MAIN(FieldRunTest)
#include "field_run_test.moc"

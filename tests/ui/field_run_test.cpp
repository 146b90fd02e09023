// Field runs from the main window: off the UI thread behind a modal progress window whose bars
// move while the event loop keeps running; results and readouts at the end.
#include <array>
#include <atomic>
#include <memory>
#include <string>

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
  void EachWindowOfARunShowsItsOwnStepText();
  void LongReadoutsAreShownWholeSideBySide();

 private:
  void AddMagnetWithGrid(double side_a = 20);
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
  window_->resize(1280, 800);  // the offscreen screen is smaller than a desktop's
  window_->SetConfirm([](const QString&, const QString&) { return true; });
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void FieldRunTest::AddMagnetWithGrid(double side_a) {
  model_->RecMagCount = 2;
  tavrine::RecMag& magnet = model_->RecMagTable[2];
  magnet.a = side_a;
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

void FieldRunTest::LongReadoutsAreShownWholeSideBySide() {
  AddMagnetWithGrid(20.0 / 3);  // grid positions with 15 significant digits
  Named<QAction>(window_, "BStartCaluc")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Runs().Running(), 20000);
  int longest = 0;
  for (const char* group : {"LabelHmax", "LabelHymax", "LabelHxmax", "LabelHzmax"}) {
    std::array<QLabel*, 6> items{};
    for (int i = 0; i < 6; ++i) {
      items[static_cast<size_t>(i)] =
          Named<QLabel>(window_, (std::string(group) + std::to_string(i)).c_str());
      const QLabel* item = items[static_cast<size_t>(i)];
      longest = std::max(longest, static_cast<int>(item->text().size()));
      QVERIFY2(item->width() >= item->sizeHint().width(), qPrintable(item->text()));
    }
    for (int column = 0; column < 2; ++column) {
      for (int row : {0, 3}) {
        const QLabel* left = items[static_cast<size_t>(row + column)];
        const QLabel* right = items[static_cast<size_t>(row + column + 1)];
        QVERIFY(left->geometry().right() < right->geometry().left());
      }
    }
    QVERIFY(items[2]->geometry().right() < items[2]->parentWidget()->width());
  }
  QVERIFY(longest > 12);
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

// The Kt sweep opens one window per magnet kind, element and step, each with one bar.
void FieldRunTest::EachWindowOfARunShowsItsOwnStepText() {
  tavrine::ProgressWindow window(nullptr);
  tavrine::PolledProgress progress;
  for (const char* step :
       {"Kt計算中    ｺｲﾙﾀｲﾌﾟ番号0　 ｺｲﾙ番号1  1/9回目", "角柱型磁石からの磁界計算中",
        "Kt計算中    ｺｲﾙﾀｲﾌﾟ番号0　 ｺｲﾙ番号1  2/9回目"}) {
    progress.Open("ProgressSecMag", step);
    progress.StartBar(step);
    window.Show(progress.Snapshot());
    QCOMPARE(window.BarCount(), 1);
    QCOMPARE(window.BarText(0)->text(), QString(step));
    QCOMPARE(window.windowTitle(), QString(step));
  }
  window.hide();
}

QTEST_MAIN(FieldRunTest)
#include "field_run_test.moc"

// The Kt calculation dialog "Ktの計算" (KtCaluculation), which runs a sweep off the UI thread
// and saves its step totals, and the two graph windows ForceGraph and TorqueGraph.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "model/element_model.h"
#include "model/notices.h"
#include "studies/kt_results.h"
#include "studies/kt_sweep.h"
#include "ui/kt_setup_dialogs.h"

namespace tavrine {

class MainWindow;

// One graph of a sweep against the angle: three series, a title and two axis titles.
class KtGraphWindow : public QWidget {
  Q_OBJECT
 public:
  explicit KtGraphWindow(const char* name, QWidget* parent = nullptr);
  void SetData(const KtGraphData& data);
  QChart* Chart() const { return chart_; }

 private:
  QChart* chart_;
  QChartView* view_;
};

// Collects what the sweep's thread reports, for the UI thread to draw.
class KtDisplayQueue final : public KtSweepListener {
 public:
  void ElementEvaluated(KtElementDisplay display) override;
  std::vector<KtElementDisplay> Take();

 private:
  std::mutex mutex_;
  std::vector<KtElementDisplay> pending_;
};

class KtCaluculationDialog : public QDialog {
  Q_OBJECT
 public:
  using FileChooser = std::function<QString()>;

  KtCaluculationDialog(ElementModel& model,
                       Notices& notices,
                       std::function<MainWindow*()> main_window,
                       QWidget* parent = nullptr);
  void Open();
  // The model changed: the step totals of the earlier model are dropped, so that they are
  // never saved under the new model's angles.
  void FollowModel();
  const KtStepTotals& Totals() const { return totals_; }
  bool Running() const { return running_; }
  // The save dialog; tests put their own chooser in.
  void SetFileChooser(FileChooser chooser) { choose_file_ = std::move(chooser); }

 signals:
  // A sweep has ended and its totals are complete.
  void sweepFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void StartSweep();
  void DrainDisplays();
  void Save();

  ElementModel& model_;
  Notices& notices_;
  std::function<MainWindow*()> main_window_;
  KtStepTotals totals_;
  KtDisplayQueue queue_;
  QTimer drain_timer_;
  QLineEdit* kind_text_ = nullptr;
  FileChooser choose_file_;
  bool running_ = false;
};

}  // namespace tavrine

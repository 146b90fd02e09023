// Runs a field computation off the UI thread behind an application-modal progress window that
// shows one bar per step, polled about 30 times a second; calls back on the UI thread at the end.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/polled_progress.h"

namespace tavrine {

// The progress window: no close box; Escape does not hide it while the run goes on.
class ProgressWindow final : public QDialog {
  Q_OBJECT
 public:
  explicit ProgressWindow(QWidget* parent);
  void Show(const ProgressSnapshot& snapshot);
  int BarCount() const { return static_cast<int>(bars_.size()); }
  QProgressBar* Bar(int index) const { return bars_[static_cast<size_t>(index)]; }
  QLabel* BarText(int index) const { return texts_[static_cast<size_t>(index)]; }
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QVBoxLayout* layout_;
  std::vector<QLabel*> texts_;
  std::vector<QProgressBar*> bars_;
};

class FieldRunController final : public QObject {
  Q_OBJECT
 public:
  using Job = std::function<void(Progress&)>;

  explicit FieldRunController(QWidget* owner);
  ~FieldRunController() override;

  // False when a run is already going on; otherwise the job starts on its own thread and
  // on_done runs on the UI thread once it has returned.
  bool Start(Job job, std::function<void()> on_done);
  bool Running() const { return worker_.joinable(); }
  ProgressWindow* Window() const { return window_; }

 signals:
  void Finished();

 private:
  void Poll();

  ProgressWindow* window_;
  QTimer timer_;
  PolledProgress progress_;
  std::thread worker_;
  std::atomic<bool> done_{false};
  std::function<void()> on_done_;
};

}  // namespace tavrine

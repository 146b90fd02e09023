// The progress window and the run controller.
#include "ui/field_run_controller.h"

#include <QCloseEvent>

#include "ui/qt_text.h"
#include "ui/ui_fonts.h"

namespace tavrine {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      layout_(new QVBoxLayout(this)) {
  setWindowModality(Qt::ApplicationModal);
  setMinimumWidth(420);
  setFont(QFont(kUiFontFamily));
}

void ProgressWindow::Show(const ProgressSnapshot& snapshot) {
  if (!snapshot.window_name.empty())
    setObjectName(Utf8(snapshot.window_name));
  setWindowTitle(Utf8(snapshot.title));
  // A new window of the run starts with no bars; then one bar per step, kept once finished.
  if (snapshot.bar_texts.size() < bars_.size()) {
    for (QLabel* text : texts_)
      delete text;
    for (QProgressBar* bar : bars_)
      delete bar;
    texts_.clear();
    bars_.clear();
  }
  while (bars_.size() < snapshot.bar_texts.size()) {
    auto* text = new QLabel(Utf8(snapshot.bar_texts[bars_.size()]), this);
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 100);
    bar->setObjectName(QStringLiteral("ProgressBar%1").arg(bars_.size() + 1));
    layout_->addWidget(text);
    layout_->addWidget(bar);
    texts_.push_back(text);
    bars_.push_back(bar);
  }
  for (size_t i = 0; i < bars_.size(); ++i) {
    // A later window of the run may have as many bars as the last one but other texts (the
    // Kt sweep's element and step).
    const QString text = Utf8(snapshot.bar_texts[i]);
    if (texts_[i]->text() != text)
      texts_[i]->setText(text);
    bars_[i]->setValue(static_cast<int>(snapshot.bar_fractions[i] * 100.0 + 0.5));
  }
  if (!isVisible())
    show();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
}

FieldRunController::FieldRunController(QWidget* owner)
    : QObject(owner), window_(new ProgressWindow(owner)) {
  timer_.setInterval(33);
  connect(&timer_, &QTimer::timeout, this, &FieldRunController::Poll);
}

FieldRunController::~FieldRunController() {
  // A run cannot be abandoned half way: its thread writes into the model.
  if (worker_.joinable())
    worker_.join();
}

bool FieldRunController::Start(Job job, std::function<void()> on_done) {
  if (worker_.joinable())
    return false;
  on_done_ = std::move(on_done);
  done_.store(false);
  progress_.Open("", "");
  progress_.Close();
  window_->Show(progress_.Snapshot());
  worker_ = std::thread([this, job = std::move(job)] {
    job(progress_);
    done_.store(true, std::memory_order_release);
  });
  timer_.start();
  return true;
}

void FieldRunController::Poll() {
  const ProgressSnapshot snapshot = progress_.Snapshot();
  // Between the windows of one run the last one stays up, so the input stays blocked.
  if (snapshot.open || !snapshot.bar_texts.empty())
    window_->Show(snapshot);
  if (!done_.load(std::memory_order_acquire))
    return;
  timer_.stop();
  worker_.join();
  window_->hide();
  auto on_done = std::move(on_done_);
  on_done_ = nullptr;
  if (on_done)
    on_done();
  emit Finished();
}

}  // namespace tavrine

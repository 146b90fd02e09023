// The polled progress state.
#include "ui/polled_progress.h"

#include <algorithm>

namespace tavrine {

void PolledProgress::Open(std::string_view window_name, std::string_view title) {
  std::lock_guard lock(mutex_);
  open_ = true;
  window_name_ = window_name;
  title_ = title;
  bar_texts_.clear();
  finished_fractions_.clear();
  current_fraction_.store(0.0, std::memory_order_relaxed);
}

void PolledProgress::SetTitle(std::string_view title) {
  std::lock_guard lock(mutex_);
  title_ = title;
}

void PolledProgress::StartBar(std::string_view step_text) {
  std::lock_guard lock(mutex_);
  if (!bar_texts_.empty()) {
    finished_fractions_.push_back(current_fraction_.load(std::memory_order_relaxed));
  }
  bar_texts_.emplace_back(step_text);
  current_fraction_.store(0.0, std::memory_order_relaxed);
}

void PolledProgress::SetBarFraction(double fraction) {
  current_fraction_.store(std::clamp(fraction, 0.0, 1.0), std::memory_order_relaxed);
}

void PolledProgress::Close() {
  std::lock_guard lock(mutex_);
  open_ = false;
}

ProgressSnapshot PolledProgress::Snapshot() const {
  std::lock_guard lock(mutex_);
  ProgressSnapshot snapshot{open_, window_name_, title_, bar_texts_, finished_fractions_};
  if (!bar_texts_.empty()) {
    snapshot.bar_fractions.push_back(current_fraction_.load(std::memory_order_relaxed));
  }
  return snapshot;
}

}  // namespace tavrine

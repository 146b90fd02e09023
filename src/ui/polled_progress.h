// A Progress that the computing threads write into and the UI thread reads a few dozen times
// a second; the bar fraction is an atomic, the rarer texts sit behind a mutex.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "model/progress.h"

namespace tavrine {

struct ProgressSnapshot {
  bool open = false;
  std::string window_name;
  std::string title;
  std::vector<std::string> bar_texts;
  std::vector<double> bar_fractions;  // 0..1; bars before the last stay where they ended
};

class PolledProgress final : public Progress {
 public:
  void Open(std::string_view window_name, std::string_view title) override;
  void SetTitle(std::string_view title) override;
  void StartBar(std::string_view step_text) override;
  void SetBarFraction(double fraction) override;
  void Close() override;

  ProgressSnapshot Snapshot() const;

 private:
  mutable std::mutex mutex_;
  bool open_ = false;
  std::string window_name_;
  std::string title_;
  std::vector<std::string> bar_texts_;
  std::vector<double> finished_fractions_;  // the bars before the current one
  std::atomic<double> current_fraction_{0.0};
};

}  // namespace tavrine

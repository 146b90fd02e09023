// A Progress that records every call, for tests.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "model/progress.h"

namespace tavrine::testing {

class RecordingProgress : public Progress {
 public:
  void Open(std::string_view window_name, std::string_view title) override {
    Log("open " + std::string(window_name) + " " + std::string(title));
  }
  void SetTitle(std::string_view title) override { Log("title " + std::string(title)); }
  void StartBar(std::string_view step_text) override { Log("bar " + std::string(step_text)); }
  void SetBarFraction(double fraction) override {
    std::lock_guard lock(mutex_);
    last_fraction_ = fraction;
  }
  void Close() override { Log("close"); }

  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  double LastFraction() const {
    std::lock_guard lock(mutex_);
    return last_fraction_;
  }

 private:
  void Log(std::string event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  double last_fraction_ = 0;
};

}  // namespace tavrine::testing

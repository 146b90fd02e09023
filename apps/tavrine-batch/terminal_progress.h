// A progress bar on stderr for the batch runner, redrawn a few times a second.
#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include "model/progress.h"

namespace tavrine::batch {

class TerminalProgress final : public Progress {
 public:
  void Open(std::string_view window_name, std::string_view title) override;
  void SetTitle(std::string_view title) override;
  void StartBar(std::string_view step_text) override;
  void SetBarFraction(double fraction) override;
  void Close() override;

 private:
  void Draw(bool force);  // with mutex_ held

  std::mutex mutex_;
  std::string title_, step_;
  double fraction_ = 0;
  int shown_percent_ = -1;
  bool open_ = false;
  std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace tavrine::batch

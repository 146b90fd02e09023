// One line, rewritten in place: title, step, bar and percentage.
#include "terminal_progress.h"

#include <algorithm>
#include <cstdio>

namespace tavrine::batch {

void TerminalProgress::Open(std::string_view, std::string_view title) {
  std::lock_guard lock(mutex_);
  title_ = title;
  step_.clear();
  fraction_ = 0;
  open_ = true;
  Draw(true);
}

void TerminalProgress::SetTitle(std::string_view title) {
  std::lock_guard lock(mutex_);
  title_ = title;
  Draw(true);
}

void TerminalProgress::StartBar(std::string_view step_text) {
  std::lock_guard lock(mutex_);
  step_ = step_text;
  fraction_ = 0;
  Draw(true);
}

void TerminalProgress::SetBarFraction(double fraction) {
  std::lock_guard lock(mutex_);
  fraction_ = std::clamp(fraction, 0.0, 1.0);
  Draw(false);
}

void TerminalProgress::Close() {
  std::lock_guard lock(mutex_);
  if (open_) {
    fraction_ = 1;
    Draw(true);
    std::fputc('\n', stderr);
  }
  open_ = false;
}

void TerminalProgress::Draw(bool force) {
  if (!open_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  const int percent = static_cast<int>(fraction_ * 100);
  if (!force && (percent == shown_percent_ || now - last_draw_ < std::chrono::milliseconds(100))) {
    return;
  }
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(fraction_ * kWidth);
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
  // Clear to the end of the line: the step texts differ in length.
  std::fprintf(stderr, "\r%s %s [%s] %3d%%\x1b[K", title_.c_str(), step_.c_str(), bar.c_str(),
               percent);
  std::fflush(stderr);
  shown_percent_ = percent;
  last_draw_ = now;
}

}  // namespace tavrine::batch

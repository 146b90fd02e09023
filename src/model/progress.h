// Progress of a long computation: one window with one bar per step.
#pragma once

#include <string_view>

namespace tavrine {

// Implementations must be cheap, non-blocking and callable from any thread; computations call
// SetBarFraction per block of work, never per (element, point) pair.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void Open(std::string_view window_name, std::string_view title) = 0;
  virtual void SetTitle(std::string_view title) = 0;
  // Starts a new bar at 0; the bars of earlier steps stay visible.
  virtual void StartBar(std::string_view step_text) = 0;
  virtual void SetBarFraction(double fraction) = 0;  // 0..1 of the current bar
  virtual void Close() = 0;
};

// For callers that show no progress.
class NullProgress final : public Progress {
 public:
  void Open(std::string_view, std::string_view) override {}
  void SetTitle(std::string_view) override {}
  void StartBar(std::string_view) override {}
  void SetBarFraction(double) override {}
  void Close() override {}
};

}  // namespace tavrine

// Four recording views over a fresh model, shared by the display tests.
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "display/views.h"
#include "support/matchers.h"
#include "support/recording_canvas.h"

namespace tavrine::testing {

class PlacementLog : public ViewObserver {
 public:
  void ViewPlaced(int view, const LayoutRect&) override { placed.push_back(view); }
  void TextsChanged(const ViewTexts&) override { ++text_changes; }
  std::vector<int> placed;
  int text_changes = 0;
};

class DisplayTest : public ::testing::Test {
 protected:
  DisplayTest() {
    for (int v = 0; v < kViewCount; ++v) {
      views.canvas[static_cast<size_t>(v)] = &canvas[v];
    }
    views.observer = &log;
  }
  void ClearAll() {
    for (RecordingCanvas& c : canvas) {
      c.Clear();
    }
  }
  std::unique_ptr<ElementModel> model = FreshModel();
  RecordingCanvas canvas[kViewCount];
  PlacementLog log;
  Views views;
};

}  // namespace tavrine::testing

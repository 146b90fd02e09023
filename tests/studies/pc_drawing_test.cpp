// The cells' field vectors in the four views.
#include "studies/pc_drawing.h"

#include <cmath>
#include <gtest/gtest.h>

#include "support/matchers.h"
#include "support/recording_canvas.h"

namespace tavrine {
namespace {

TEST(PcDrawingTest, EveryCellVectorGoesIntoEveryViewScaledByTheVectorScale) {
  auto model = testing::FreshModel();
  std::array<testing::RecordingCanvas, kViewCount> canvases;
  Views views;
  for (int v = 0; v < kViewCount; ++v) {
    views.canvas[static_cast<size_t>(v)] = &canvases[static_cast<size_t>(v)];
  }
  const std::vector<PcCellVector> vectors = {{{1, 2, -3}, {0, 0, -400}}, {{0, 0, -1}, {0, 0, 0}}};
  auto top_length = [&](double scale) {
    model->View.VectorScale = scale;
    for (auto& c : canvases) {
      c.Clear();
    }
    DrawPcCellVectors(*model, views, vectors);
    const std::vector<testing::CanvasCall> lines = canvases[kFrontView].Lines();
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].x1, lines[1].x2);  // no field, no length
    EXPECT_EQ(lines[1].y1, lines[1].y2);
    return std::hypot(lines[0].x2 - lines[0].x1, lines[0].y2 - lines[0].y1);
  };
  const double short_line = top_length(0.005);
  EXPECT_GT(short_line, 0);
  EXPECT_NEAR(top_length(0.01), 2 * short_line, 1e-9);
  for (const auto& canvas : canvases) {
    ASSERT_EQ(canvas.Lines().size(), 2u);
    EXPECT_EQ(canvas.Lines()[0].colour, kPcVectorColour);
  }
}

}  // namespace
}  // namespace tavrine

// Views: auto-fit, projection directions, axes, redraw order, free-view drag and zoom.
#include "display/views.h"

#include <cmath>

#include "display_fixture.h"
#include "model/text_rules.h"
#include "model/world_frame.h"

namespace tavrine {
namespace {

using testing::CanvasCall;
using testing::DisplayTest;

TEST_F(DisplayTest, AutoFitOfEmptyModelAndWorldCube) {
  EXPECT_NEAR(ComputeAutoFit(*model, 350, 225), 225.0 / 100 / 1.9, 1e-12);
  EXPECT_NEAR(ComputeAutoFit(*model, 350, 225), 1.1842, 1e-4);
  MakeWorldBox(*model, 100);
  EXPECT_NEAR(ComputeAutoFit(*model, 350, 225), 2.3684, 1e-4);
  EXPECT_NEAR(ComputeAutoFit(*model, 350, 225), 225.0 / 50 / 1.9, 1e-12);
}

TEST_F(DisplayTest, AutoFitReadsSlotsZeroToTenOnly) {
  MakeWorldBox(*model, 100);
  const double fit = ComputeAutoFit(*model, 350, 225);
  RecMag& huge = model->RecMagTable[11];
  huge.a = huge.b = huge.l = 1e5;
  model->RecMagCount = 11;
  EXPECT_EQ(ComputeAutoFit(*model, 350, 225), fit);
  // Slot 10 beyond the count still takes part.
  model->RecMagCount = 1;
  model->RecMagTable[10].a = 1000;
  EXPECT_LT(ComputeAutoFit(*model, 350, 225), fit);
}

TEST_F(DisplayTest, OriginProjectsToTheCentreOfEveryView) {
  testing::RecordingCanvas wide(1234, 567);
  for (double scale : {0.0, 1.0, 37.5}) {
    for (ViewAngles a : {ViewAngles{0.3, -1.2, 2.5}, ViewAngles{-model->Pi / 2, 1, 0}}) {
      EXPECT_DOUBLE_EQ(ViewProjectX(*model, wide, scale, {0, 0, 0}, a), 617);
      EXPECT_DOUBLE_EQ(ViewProjectY(*model, wide, scale, {0, 0, 0}, a), 283.5);
    }
  }
  EXPECT_EQ(model->View.ViewCentreX, 617);
  EXPECT_EQ(model->View.ViewCentreY, 283.5);
}

TEST_F(DisplayTest, FixedViewsShowTheirScreenDirections) {
  const testing::RecordingCanvas c(700, 450);
  const auto project = [&](int view, Vec3 p) {
    const ViewAngles a = AnglesOfView(*model, view);
    return std::pair{ViewProjectX(*model, c, 1, p, a) - 350,
                     ViewProjectY(*model, c, 1, p, a) - 225};
  };
  const auto near = [](std::pair<double, double> got, double x, double y) {
    return std::abs(got.first - x) < 1e-9 && std::abs(got.second - y) < 1e-9;
  };
  EXPECT_TRUE(near(project(kTopView, {10, 0, 0}), 10, 0));
  EXPECT_TRUE(near(project(kTopView, {0, 10, 0}), 0, -10));
  EXPECT_TRUE(near(project(kFrontView, {10, 0, 0}), 10, 0));
  EXPECT_TRUE(near(project(kFrontView, {0, 0, 10}), 0, -10));
  EXPECT_TRUE(near(project(kSideView, {0, 10, 0}), 0, -10));
  EXPECT_TRUE(near(project(kSideView, {0, 0, 10}), -10, 0));
}

TEST_F(DisplayTest, RedrawDrawsViewsInOrderWithAxesOnTop) {
  RedrawAll(*model, views);
  EXPECT_EQ(log.placed, (std::vector<int>{kFreeView, kTopView, kFrontView, kSideView}));
  EXPECT_NEAR(model->View.ViewScale, 1.1842, 1e-4);
  const auto& top = canvas[kTopView];
  ASSERT_EQ(top.calls.size(), 7u);  // fill, three axes with their letters
  EXPECT_EQ(top.calls[0].kind, CanvasCall::kFill);
  EXPECT_EQ(top.calls[0].colour, (Rgb{105, 105, 105}));
  const auto lines = top.Lines();
  // 50 mm × 1.1842 = 59.2, rounded to whole units.
  EXPECT_EQ(lines[0].x1, 350);
  EXPECT_EQ(lines[0].x2, 409);
  EXPECT_EQ(lines[0].y2, 225);
  EXPECT_EQ(lines[0].colour, (Rgb{255, 0, 0}));
  EXPECT_EQ(lines[1].y2, 166);
  EXPECT_EQ(lines[1].colour, (Rgb{0, 255, 0}));
  const auto texts = top.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "X");
  EXPECT_EQ(texts[1].text, "Y");
  EXPECT_EQ(texts[2].text, "Z ");
  EXPECT_NEAR(texts[0].x1, 350 + 55 * 225.0 / 100 / 1.9, 1e-9);  // not rounded
}

TEST_F(DisplayTest, LargerViewMovesTheCentreNotTheAxisLength) {
  testing::RecordingCanvas big(1400, 900);
  views.canvas[kTopView] = &big;
  RedrawAll(*model, views);
  const auto lines = big.Lines();
  EXPECT_EQ(lines[0].x1, 700);
  EXPECT_EQ(lines[0].x2 - lines[0].x1, 59);
}

TEST_F(DisplayTest, DragSetsFreeViewAnglesAndReadouts) {
  RotateFreeView(*model, views, 45, 90);
  EXPECT_NEAR(RadToDeg(model->View.FreeViewAngX), 180, 1e-9);
  EXPECT_NEAR(RadToDeg(model->View.FreeViewAngY), 90, 1e-9);
  EXPECT_EQ(model->View.FreeViewAngZ, 0);
  EXPECT_EQ(views.texts.angles, (std::array<std::string, 3>{"X=180", "Y=90", "Z=0"}));
  EXPECT_EQ(log.placed.size(), 4u);  // redrawn
  RotateFreeView(*model, views, 0, 200);
  EXPECT_EQ(views.texts.angles[0], "X=40");
  RotateFreeView(*model, views, -100, 0);
  EXPECT_EQ(views.texts.angles[1], "Y=-200");
}

TEST_F(DisplayTest, ScrollSetsZoomAndScalesAboutTheCentre) {
  MakeWorldBox(*model, 100);
  RedrawAll(*model, views);
  const double before = canvas[kTopView].Lines()[0].x1;  // a face corner
  ClearAll();
  SetZoomFromScroll(*model, views, 25);
  EXPECT_EQ(model->View.ZoomFactor, 2.5);
  EXPECT_EQ(views.texts.zoom, "2.5");
  EXPECT_NEAR(model->View.ViewScale, 2.5 * 225.0 / 50 / 1.9, 1e-12);
  const auto lines = canvas[kTopView].Lines();
  EXPECT_NEAR(lines.back().x1, 350, 0);
  // The same corner, 2.5 times as far from the centre; last redraw wins, so read the tail.
  const auto& calls = canvas[kTopView].calls;
  size_t last_fill = 0;
  for (size_t k = 0; k < calls.size(); ++k) {
    if (calls[k].kind == CanvasCall::kFill) {
      last_fill = k;
    }
  }
  EXPECT_EQ(calls[last_fill].colour, model->View.BackgroundColour);
  EXPECT_NEAR(calls[last_fill + 1].x1 - 350, 2.5 * (before - 350), 1e-9);
}

TEST_F(DisplayTest, ZoomWithoutMagnetsLeavesGreyAndExtraSideAxes) {
  SetZoomFromText(*model, views, "abc");
  EXPECT_EQ(model->View.ZoomFactor, 0);
  for (int v = 0; v < kViewCount; ++v) {
    ASSERT_FALSE(canvas[v].calls.empty());
    EXPECT_EQ(canvas[v].calls[0].colour, kZoomGrey);
  }
  EXPECT_EQ(canvas[kTopView].calls.size(), 1u);
  EXPECT_EQ(canvas[kSideView].Lines().size(), 3u);
  EXPECT_TRUE(log.placed.empty());
}

TEST_F(DisplayTest, PreviewLinesGoIntoEveryView) {
  RedrawAll(*model, views);
  ClearAll();
  DrawPreviewLines(*model, views, std::vector<WorldLine>{{{0, 0, 0}, {10, 0, 0}, {1, 2, 3}}});
  for (int v = 0; v < kViewCount; ++v) {
    ASSERT_EQ(canvas[v].Lines().size(), 1u);
    EXPECT_EQ(canvas[v].Lines()[0].colour, (Rgb{1, 2, 3}));
  }
  EXPECT_NEAR(canvas[kTopView].Lines()[0].x2, 350 + 10 * model->View.ViewScale, 1e-9);
}

TEST(ViewLayoutTest, PlacesOnTheWindowGrid) {
  EXPECT_EQ(ViewLayout(kTopView).x, 50);
  EXPECT_EQ(ViewLayout(kSideView).x, 750);
  EXPECT_EQ(ViewLayout(kFrontView).y, 500);
  EXPECT_EQ(ViewLayout(kFreeView).width, 700);
  EXPECT_EQ(ViewLayout(kFreeView).height, 450);
  EXPECT_EQ(ReadoutPlaces(700, 450)[5].x, 620);
  EXPECT_EQ(ReadoutPlaces(700, 450)[5].y, 420);
  EXPECT_EQ(AngleReadoutPlaces(450)[2].x, 130);
}

}  // namespace
}  // namespace tavrine

// Views: auto-fit, projection directions, axes, redraw order, free-view drag and zoom.
#include "display/views.h"

#include <cmath>

#include "display/viewport.h"
#include "display_fixture.h"
#include "model/text_rules.h"
#include "model/world_frame.h"

namespace tavrine {
namespace {

using testing::CanvasCall;
using testing::DisplayTest;

// Nine tenths of the smaller half-size over the farthest corner's distance from the origin.
constexpr double kEmptyFit = 0.9 * 225 / 100;

TEST_F(DisplayTest, AutoFitOfEmptyModelAndWorldCube) {
  EXPECT_NEAR(ComputeAutoFit(*model, 350, 225), kEmptyFit, 1e-12);
  MakeWorldBox(*model, 100);
  // The cube's bottom corners lie sqrt(50² + 50² + 100²) mm from the origin.
  EXPECT_NEAR(ComputeAutoFit(*model, 350, 225), 0.9 * 225 / std::sqrt(15000.0), 1e-12);
}

// Every line end of every view lies inside the view's drawing area.
void ExpectAllInside(const testing::RecordingCanvas (&canvas)[kViewCount]) {
  for (int v = 0; v < kViewCount; ++v) {
    for (const CanvasCall& line : canvas[v].Lines()) {
      for (auto [x, y] : {std::pair{line.x1, line.y1}, std::pair{line.x2, line.y2}}) {
        EXPECT_TRUE(x >= 0 && x <= 700 && y >= 0 && y <= 450) << v << ": " << x << ", " << y;
      }
    }
  }
}

TEST_F(DisplayTest, AutoFitKeepsEveryKindInsideEveryViewAtAnyRotation) {
  MakeWorldBox(*model, 100);
  model->RecMagTable[20] = {30, 30, 10, -140, 20, 60, 0.3, 0, 0, 1000};
  model->RecMagCount = 20;  // a slot far beyond ten
  model->SecMagTable[1] = {10, 40, 20, DegToRad(90), 0, 150, -30, 0, 1, 0, 1000};
  model->SecMagCount = 1;
  model->SecCylCoilTable[1] = {60, DegToRad(270), 4, 1, 0, 0, -200, 0.5, 0, 0};
  model->SecCylCoilCount = 1;
  for (double angle : {0.0, 0.7, 2.2, 4.0}) {
    model->View.FreeViewAngX = angle;
    model->View.FreeViewAngY = 1.3 * angle;
    ClearAll();
    RedrawAll(*model, views);
    ExpectAllInside(canvas);
  }
  // An element beyond its table's count is not drawn and does not shrink the picture.
  const double fit = ComputeAutoFit(*model, 350, 225);
  model->StrCylCoilTable[1] = {1e5, 1, 1, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(ComputeAutoFit(*model, 350, 225), fit);
}

TEST_F(DisplayTest, SectorMagnetsAloneAreFitted) {
  model->SecMagTable[1] = {200, 400, 50, DegToRad(360), 0, 0, 0, 0, 0, 0, 1000};
  model->SecMagCount = 1;
  RedrawAll(*model, views);
  ExpectAllInside(canvas);
  EXPECT_LT(model->View.ViewScale, kEmptyFit / 3);
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
  EXPECT_NEAR(model->View.ViewScale, kEmptyFit, 1e-12);
  const auto& top = canvas[kTopView];
  ASSERT_EQ(top.calls.size(), 7u);  // fill, three axes with their letters
  EXPECT_EQ(top.calls[0].kind, CanvasCall::kFill);
  EXPECT_EQ(top.calls[0].colour, (Rgb{105, 105, 105}));
  const auto lines = top.Lines();
  // 50 mm × 2.025 = 101.25, rounded to whole units.
  EXPECT_EQ(lines[0].x1, 350);
  EXPECT_EQ(lines[0].x2, 451);
  EXPECT_EQ(lines[0].y2, 225);
  EXPECT_EQ(lines[0].colour, (Rgb{255, 0, 0}));
  EXPECT_EQ(lines[1].y2, 124);
  EXPECT_EQ(lines[1].colour, (Rgb{0, 255, 0}));
  const auto texts = top.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "X");
  EXPECT_EQ(texts[1].text, "Y");
  EXPECT_EQ(texts[2].text, "Z ");
  EXPECT_NEAR(texts[0].x1, 350 + 55 * kEmptyFit, 1e-9);  // not rounded
}

TEST_F(DisplayTest, LargerViewMovesTheCentreNotTheAxisLength) {
  testing::RecordingCanvas big(1400, 900);
  views.canvas[kTopView] = &big;
  RedrawAll(*model, views);
  const auto lines = big.Lines();
  EXPECT_EQ(lines[0].x1, 700);
  EXPECT_EQ(lines[0].x2 - lines[0].x1, 101);
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
  EXPECT_NEAR(model->View.ViewScale, 2.5 * 0.9 * 225 / std::sqrt(15000.0), 1e-12);
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

namespace tavrine {
namespace {

TEST(ViewportTest, FitsTheDrawingAreaCentredAtAnySize) {
  for (auto [w, h] : {std::pair{560.0, 337.0}, std::pair{1400.0, 500.0}, std::pair{300.0, 900.0}}) {
    const Viewport port(w, h);
    const ScreenPoint top_left = port.ToDevice({0, 0});
    const ScreenPoint bottom_right = port.ToDevice({700, 450});
    EXPECT_GE(top_left.x, -1e-9);
    EXPECT_GE(top_left.y, -1e-9);
    EXPECT_LE(bottom_right.x, w + 1e-9);
    EXPECT_LE(bottom_right.y, h + 1e-9);
    // Touching two opposite sides, and centred.
    EXPECT_TRUE(std::abs(bottom_right.x - top_left.x - w) < 1e-9 ||
                std::abs(bottom_right.y - top_left.y - h) < 1e-9);
    EXPECT_NEAR(port.ToDevice({350, 225}).x, w / 2, 1e-9);
    const ScreenPoint back = port.ToDrawing(port.ToDevice({123, 45}));
    EXPECT_NEAR(back.x, 123, 1e-9);
    EXPECT_NEAR(back.y, 45, 1e-9);
  }
}

TEST(ViewportTest, ZoomAboutAPointKeepsItsProjectionInPlace) {
  // A global point projected at zoom z lands at centre + z·q in drawing units.
  const ScreenPoint q{37, -12};
  const ScreenPoint pan{15, 8};
  const double zoom = 1.5, ratio = 1.25;
  const Viewport before(900, 600, pan);
  const ScreenPoint pointer = before.ToDevice({350 + zoom * q.x, 225 + zoom * q.y});
  const ScreenPoint new_pan = PanAfterZoom(pan, before.FromCentre(pointer), ratio);
  const Viewport after(900, 600, new_pan);
  const ScreenPoint moved = after.ToDevice({350 + zoom * ratio * q.x, 225 + zoom * ratio * q.y});
  EXPECT_NEAR(moved.x, pointer.x, 1e-9);
  EXPECT_NEAR(moved.y, pointer.y, 1e-9);
  EXPECT_EQ(PanAfterZoom(pan, {1, 2}, 0).x, pan.x);  // zoom 0 cannot be undone by a ratio
  const ScreenPoint dragged = PanAfterDrag(pan, 30, -60, before.Scale());
  EXPECT_NEAR(Viewport(900, 600, dragged).ToDevice({0, 0}).x, before.ToDevice({0, 0}).x + 30, 1e-9);
}

}  // namespace
}  // namespace tavrine

// Element outlines: face and current colours, segment counts, modes and the highlight sequence.
#include "display/element_drawing.h"

#include <algorithm>

#include "display_fixture.h"
#include "model/text_rules.h"
#include "model/world_frame.h"

namespace tavrine {
namespace {

using testing::CanvasCall;
using testing::DisplayTest;
using testing::RecordingCanvas;

constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255};

class ElementDrawingTest : public DisplayTest {
 protected:
  ElementDrawingTest() {
    MakeWorldBox(*model, 100);
    RedrawAll(*model, views);  // sets ViewScale
    ClearAll();
  }
  RecordingCanvas& front = canvas[kFrontView];
  RecordingCanvas& top = canvas[kTopView];
  ViewAngles FrontAngles() const { return AnglesOfView(*model, kFrontView); }
  ViewAngles TopAngles() const { return AnglesOfView(*model, kTopView); }
};

TEST(CurrentGradientTest, RunsFromBlueToRedRoundingHalfToEven) {
  EXPECT_EQ(CurrentGradient(6, 10, false), (Rgb{153, 0, 102}));
  EXPECT_EQ(CurrentGradient(10, 10, false), (Rgb{255, 0, 0}));
  EXPECT_EQ(CurrentGradient(10, 10, true), (Rgb{0, 0, 255}));
  EXPECT_EQ(CurrentGradient(2, 20, false).r, 26);  // 25.5
  EXPECT_EQ(CurrentGradient(6, 20, false).r, 76);  // 76.5
  EXPECT_EQ(CurrentGradient(6, 20, true).b, 76);
}

TEST_F(ElementDrawingTest, RecMagWithZeroBrDrawsTopFaceNorth) {
  DrawRecMag(*model, front, 1, FrontAngles(), DrawMode::kNormal);
  const auto lines = front.Lines();
  ASSERT_EQ(lines.size(), 12u);
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(lines[k].colour, model->View.MagnetColourS);  // z = −l first
    EXPECT_GT(lines[k].y1, 225);
    EXPECT_EQ(lines[4 + k].colour, model->View.MagnetColourN);
    EXPECT_NEAR(lines[4 + k].y1, 225, 1e-9);
    EXPECT_EQ(lines[8 + k].colour, kMagnetEdgeColour);
  }
}

TEST_F(ElementDrawingTest, TurnedRecMagKeepsNorthOnItsOwnFace) {
  model->RecMagTable[1].AngX = DegToRad(180);
  model->RecMagTable[1].Br = 12000;
  DrawRecMag(*model, front, 1, FrontAngles(), DrawMode::kNormal);
  const auto lines = front.Lines();
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(lines[4 + k].colour, model->View.MagnetColourN);
    EXPECT_NEAR(lines[4 + k].y1, 225, 1e-9);
    EXPECT_LT(lines[k].y1, 225);  // the own z = −l face is now above
  }
  model->RecMagTable[1].Br = -1;
  front.Clear();
  DrawRecMag(*model, front, 1, FrontAngles(), DrawMode::kHighlight);
  for (const CanvasCall& line : front.Lines()) {
    EXPECT_EQ(line.colour, kWhite);
  }
}

TEST_F(ElementDrawingTest, StrRecCoilEndsAndGradientFollowTheCurrent) {
  StrRecCoil& coil = model->StrRecCoilTable[1];
  coil.Lx = 100;
  coil.W = 10;
  coil.T = 5;
  coil.CurrentDensity = 3;
  DrawStrRecCoil(*model, top, 1, TopAngles(), DrawMode::kNormal);
  auto lines = top.Lines();
  ASSERT_EQ(lines.size(), 4u + 4u + 40u);
  EXPECT_EQ(lines[0].colour, kBlue);  // entry at −Lx/2
  EXPECT_LT(lines[0].x1, 350);
  EXPECT_EQ(lines[4].colour, kRed);
  EXPECT_EQ(lines[8 + 5].colour, (Rgb{153, 0, 102}));
  EXPECT_EQ(lines[8 + 9].colour, kRed);
  EXPECT_EQ(top.Of(CanvasCall::kDot).size(), 6u);  // one per polyline

  coil.CurrentDensity = -5;
  top.Clear();
  DrawStrRecCoil(*model, top, 1, TopAngles(), DrawMode::kNormal);
  lines = top.Lines();
  EXPECT_EQ(lines[0].colour, kRed);
  EXPECT_EQ(lines[4].colour, kBlue);
  EXPECT_EQ(lines[8].colour, (Rgb{230, 0, 26}));
  EXPECT_EQ(lines[8 + 9].colour, kBlue);
  EXPECT_NEAR(lines[8 + 9].x2, 350 + 50 * model->View.ViewScale, 1e-9);

  top.Clear();
  DrawStrRecCoil(*model, top, 1, TopAngles(), DrawMode::kMark);
  for (const CanvasCall& line : top.Lines()) {
    EXPECT_EQ(line.colour, kWhite);
  }
}

TEST_F(ElementDrawingTest, RotatedStrRecCoilAtZeroAngleMatchesThePlainOne) {
  StrRecCoil& coil = model->StrRecCoilTable[1];
  coil = {40, 6, 3, 2, 5, -7, 1, 0.3, 0.2, 0.1};
  model->StrRecCoilCount = 1;
  NoticeBoard notices;
  RecordingCanvas plain, turned;
  DrawStrRecCoil(*model, plain, 1, TopAngles(), DrawMode::kNormal);
  DrawStrRecCoilRotated(*model, turned, 1, 0, TopAngles(), DrawMode::kNormal, notices);
  ASSERT_EQ(plain.calls.size(), turned.calls.size());
  for (size_t k = 0; k < plain.calls.size(); ++k) {
    EXPECT_NEAR(plain.calls[k].x1, turned.calls[k].x1, 1e-9);
    EXPECT_NEAR(plain.calls[k].y2, turned.calls[k].y2, 1e-9);
    EXPECT_EQ(plain.calls[k].colour, turned.calls[k].colour);
  }
}

TEST_F(ElementDrawingTest, StrCylCoilHasItsLargestOutline) {
  model->StrCylCoilTable[1] = {60, 4, 1, 0, 0, 0, 0, 0, 0};
  DrawStrCylCoil(*model, top, 1, kStrCylGenerators, TopAngles(), DrawMode::kNormal);
  const auto lines = top.Lines();
  EXPECT_EQ(lines.size(), 2u * 180 + 9u * 10);
  EXPECT_EQ(top.Of(CanvasCall::kDot).size(), 2u + 9u);
  EXPECT_EQ(lines[0].colour, kRed);  // exit circle at +Lx/2 first
  EXPECT_EQ(lines[180].colour, kBlue);
}

TEST_F(ElementDrawingTest, HollowCylinderEndsLieOnOwnMinusX) {
  SecMag& ring = model->SecMagTable[1];
  ring = {10, 20, 5, 2 * model->Pi, 0, 0, 0, 0, 0, 0, 1000, 0, 0};
  DrawSecMag(*model, top, 1, kSecMagSegments, TopAngles(), DrawMode::kNormal);
  const auto lines = top.Lines();
  ASSERT_EQ(lines.size(), 4u * 20 + 8u);
  EXPECT_NEAR(lines[0].x1, lines[19].x2, 1e-9);  // closed circle
  EXPECT_NEAR(lines[0].y1, lines[19].y2, 1e-9);
  for (size_t k = 80; k < 88; ++k) {
    EXPECT_LT(lines[k].x1, 350);
    EXPECT_LT(lines[k].x2, 350);
  }
  EXPECT_EQ(lines[0].colour, model->View.MagnetColourS);   // outer arc, z = −T
  EXPECT_EQ(lines[20].colour, model->View.MagnetColourN);  // outer arc, z = 0
  EXPECT_EQ(lines[80].colour, kMagnetEdgeColour);
  EXPECT_EQ(lines[87].colour, model->View.MagnetColourN);  // radial line at z = 0
}

TEST_F(ElementDrawingTest, RhMagHalvesAndHighlightCircle) {
  model->RhMagTable[1] = {10, 4, 0, 0, 0, 0, 0, 0, -500, 0, 0};
  DrawRhMag(*model, top, 1, kRhMagSegments, TopAngles(), DrawMode::kNormal);
  auto lines = top.Lines();
  ASSERT_EQ(lines.size(), 4u * 30);
  EXPECT_EQ(lines[0].colour, model->View.MagnetColourS);  // +x half with Br < 0
  EXPECT_GE(lines[15].x1, 350);
  EXPECT_EQ(lines[60].colour, model->View.MagnetColourN);
  top.Clear();
  DrawRhMag(*model, top, 1, kRhMagSegments, TopAngles(), DrawMode::kHighlight);
  EXPECT_EQ(top.Lines().size(), 2u * 60);
  EXPECT_EQ(top.Of(CanvasCall::kDot).size(), 2u);
}

TEST_F(ElementDrawingTest, ArcCoilsEndColoursAndMarks) {
  model->SecCylCoilTable[1] = {30, DegToRad(90), 2, 0, 0, 0, 0, 0, 0, 0};
  DrawSecCylCoil(*model, top, 1, kSecCylSegments, TopAngles(), DrawMode::kNormal);
  auto lines = top.Lines();
  ASSERT_EQ(lines.size(), 6u * 20);
  EXPECT_EQ(lines[0].colour, kBlue);  // zero current: both ends blue
  EXPECT_EQ(lines[20].colour, kBlue);
  EXPECT_EQ(lines[59].colour, kRed);  // arc ends at +Angle/2

  model->SecRecCoilTable[1] = {20, 30, 5, DegToRad(60), -1, 0, 0, 0, 0, 0, 0};
  top.Clear();
  DrawSecRecCoil(*model, top, 1, kSecRecSegments, TopAngles(), DrawMode::kNormal);
  lines = top.Lines();
  ASSERT_EQ(lines.size(), 4u * 20 + 8u);
  EXPECT_EQ(lines[19].colour, kBlue);  // negative current ends blue at +Angle/2
  EXPECT_EQ(lines[80].colour, kRed);   // edge at −Angle/2
  top.Clear();
  DrawSecRecCoil(*model, top, 1, 8, TopAngles(), DrawMode::kMark);
  lines = top.Lines();
  EXPECT_EQ(lines.size(), 4u * 8 + 8u);
  EXPECT_TRUE(std::all_of(lines.begin(), lines.end(),
                          [](const CanvasCall& c) { return c.colour == kMarkGreen; }));
}

TEST_F(ElementDrawingTest, HighlightPaintsThePreviousOneBackInNormalColours) {
  for (int i = 2; i <= 4; ++i) {
    model->RecMagTable[static_cast<size_t>(i)] = {10, 10, 5, 20.0 * i, 0, 0, 0, 0, 0, 1000};
  }
  model->RecMagCount = 4;
  HighlightElement(*model, views, ElementKind::kRecMag, 3);
  ClearAll();
  HighlightElement(*model, views, ElementKind::kRecMag, 4);
  for (int v = 0; v < kViewCount; ++v) {
    const auto lines = canvas[v].Lines();
    ASSERT_EQ(lines.size(), 5u * 12);
    for (size_t k = 0; k < 48; ++k) {
      EXPECT_NE(lines[k].colour, kWhite);
    }
    for (size_t k = 48; k < 60; ++k) {
      EXPECT_EQ(lines[k].colour, kWhite);
    }
    EXPECT_NEAR(lines[48].x1, lines[36].x1, 1e-9);  // magnet 4 again, in white
  }
}

TEST_F(ElementDrawingTest, RedrawDrawsEveryKindBeforeTheAxes) {
  model->SecMagCount = 1;
  model->SecMagTable[1] = {10, 20, 5, 1, 0, 0, 0, 0, 0, 0, 1000, 0, 0};
  model->SecCylCoilCount = 1;
  model->SecCylCoilTable[1] = {30, 1, 2, 1, 0, 0, 0, 0, 0, 0};
  RedrawAll(*model, views);
  const auto lines = top.Lines();
  EXPECT_EQ(lines.size(), 12u + 88u + 120u + 3u);
  EXPECT_EQ(lines[12].colour, model->View.MagnetColourS);  // sector after the box
  EXPECT_EQ(lines.back().colour, model->View.AxisColourZ);
}

// Recording canvases on the desktop's scale (segments under 0.75 units join), drawn by one thread
// or, where the machine has more cores, side by side.
class PixelCanvas : public RecordingCanvas {
 public:
  explicit PixelCanvas(bool any_thread) : any_thread_(any_thread) {}
  double MergeLength() const override { return 0.75; }
  bool DrawsFromAnyThread() const override { return any_thread_; }

 private:
  bool any_thread_;
};

TEST_F(ElementDrawingTest, SideBySideRedrawDrawsWhatOneThreadDraws) {
  for (int i = 1; i <= 40; ++i) {
    const size_t s = static_cast<size_t>(i);
    const double at = 7.0 * i, turn = 0.1 * i, size = 1 + i % 7;
    model->SecMagTable[s] = {size, 2 * size, 4, 1.5, at, 0, -at, turn, 0, 0, 1000, 0, 0};
    model->RhMagTable[s] = {size, 3, 0, at, 0, 0, turn, 0, -1000};
    model->StrCylCoilTable[s] = {20, 1, -5, at, at, 0, turn, 0, 0};
    model->SecRecCoilTable[s] = {size, 2 * size, 3, 1, 5, -at, 0, 0, 0, turn, 0};
  }
  model->SecMagCount = model->RhMagCount = model->StrCylCoilCount = model->SecRecCoilCount = 40;
  std::vector<PixelCanvas> alone(kViewCount, PixelCanvas(false));
  std::vector<PixelCanvas> side_by_side(kViewCount, PixelCanvas(true));
  Views one_thread, threads;
  for (size_t v = 0; v < kViewCount; ++v) {
    one_thread.canvas[v] = &alone[v];
    threads.canvas[v] = &side_by_side[v];
  }
  auto second = std::make_unique<ElementModel>(*model);
  RedrawAll(*model, one_thread);
  RedrawAll(*second, threads);
  for (size_t v = 0; v < kViewCount; ++v) {
    ASSERT_EQ(alone[v].calls.size(), side_by_side[v].calls.size());
    for (size_t k = 0; k < alone[v].calls.size(); ++k) {
      const CanvasCall &a = alone[v].calls[k], &b = side_by_side[v].calls[k];
      ASSERT_TRUE(a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 &&
                  a.y2 == b.y2 && a.colour == b.colour && a.text == b.text)
          << "view " << v << " call " << k;
    }
  }
  EXPECT_EQ(second->View.ViewScale, model->View.ViewScale);
  EXPECT_EQ(second->View.ViewCentreX, model->View.ViewCentreX);
}

}  // namespace
}  // namespace tavrine

// Field vectors, extreme points, readout texts and palettes.
#include "display/field_vectors.h"

#include "display/palettes.h"
#include "display_fixture.h"

namespace tavrine {
namespace {

using testing::CanvasCall;
using testing::DisplayTest;

class FieldVectorTest : public DisplayTest {
 protected:
  FieldVectorTest() {
    RedrawAll(*model, views);
    ClearAll();
    SetVectorScaleFromText(*model, "0.005");
  }
  RectCalPoint& Rect(int k) { return model->RectCalPointSet.Points[static_cast<size_t>(k)]; }
  SectCalPoint& Sect(int k) { return model->SectCalPointSet.Points[static_cast<size_t>(k)]; }
};

TEST_F(FieldVectorTest, VectorAlongXRunsRightInTopViewAndIsADotInSideView) {
  model->RectCalPointSet.LastIndex = 0;
  Rect(0).Hx = 1000;
  DrawAllFieldVectors(*model, views, PointSetKind::kRect);
  const auto top = canvas[kTopView].Lines();
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(top[0].colour, kVectorPositiveHz);
  EXPECT_DOUBLE_EQ(top[0].x1, 350);
  EXPECT_NEAR(top[0].x2 - 350, 5 * model->View.ViewScale, 1e-9);
  const auto side = canvas[kSideView].Lines();
  ASSERT_EQ(side.size(), 1u);
  EXPECT_NEAR(side[0].x2, side[0].x1, 1e-9);
  EXPECT_NEAR(side[0].y2, side[0].y1, 1e-9);
}

TEST_F(FieldVectorTest, ColourFollowsTheSignOfHz) {
  Rect(0) = {0, 0, 0, 10, 0, 0, 0, 100, 0};
  DrawFieldVector(*model, canvas[kTopView], PointSetKind::kRect, 0, {});
  Rect(0).Hz = -0.001;
  DrawFieldVector(*model, canvas[kTopView], PointSetKind::kRect, 0, {});
  const auto lines = canvas[kTopView].Lines();
  EXPECT_EQ(lines[0].colour, kVectorPositiveHz);
  EXPECT_EQ(lines[1].colour, kVectorNegativeHz);
  EXPECT_EQ(lines[1].x1, lines[0].x2);  // drawn from the tip back to the point
  EXPECT_EQ(lines[1].x2, lines[0].x1);
}

TEST_F(FieldVectorTest, TiesGoToTheLaterPoint) {
  model->RectCalPointSet.LastIndex = 4;
  FieldExtremes all_zero = FindFieldExtremes(*model, PointSetKind::kRect);
  EXPECT_EQ(all_zero.magnitude, 4);
  EXPECT_EQ(all_zero.hx, 4);
  EXPECT_EQ(all_zero.hz, 4);
  Rect(1).Hy = 50;
  Rect(3).Hy = 50;
  Rect(2).Hx = 1234.7;
  Rect(2).LocalX = -2.5;
  Rect(3).Hx = -0.5;
  Rect(3).LocalZ = 0.5;
  const FieldExtremes found = FindFieldExtremes(*model, PointSetKind::kRect);
  EXPECT_EQ(found.hy, 3);
  EXPECT_EQ(found.hx, 2);
  EXPECT_EQ(found.magnitude, 2);
  ShowExtremesReadout(*model, views, PointSetKind::kRect, found);
  EXPECT_EQ(views.texts.readouts[kSideView],
            (std::array<std::string, 6>{"Hx=-1", "Hy=50", "Hz=0", "Px=0", "Py=0", "Pz=0.5"}));
  EXPECT_EQ(views.texts.readouts[kTopView][0], "Hx=1234");
  EXPECT_EQ(views.texts.readouts[kTopView][3], "Px=-2.5");
  EXPECT_EQ(views.texts.readouts[kFreeView][0], "Hx=1234");
  EXPECT_GE(log.text_changes, 1);
}

TEST_F(FieldVectorTest, SectorReadoutUsesTheMagnetsCartesianFrame) {
  model->SectCalPointSet.LastIndex = 1;
  Sect(0) = {4, model->Pi, 1, 0, 0, 0, 3, 0, 0};
  Sect(1) = {10, 0, 0.5, 0, 0, 0, 0, 0, -7.25};
  Rect(0).LocalX = 99;  // the rectangular set's positions play no part
  const FieldExtremes found = FindFieldExtremes(*model, PointSetKind::kSect);
  ShowExtremesReadout(*model, views, PointSetKind::kSect, found);
  // Side: magnitude point 1; top: Hy tie, the later point 1; front: Hx point 0; free: Hz point 0.
  EXPECT_EQ(views.texts.readouts[kSideView],
            (std::array<std::string, 6>{"Hx=0", "Hy=0", "Hz=-8", "Px=10", "Py=0", "Pz=0.5"}));
  EXPECT_EQ(views.texts.readouts[kTopView][3], "Px=10");
  EXPECT_EQ(views.texts.readouts[kFrontView][0], "Hx=3");
  EXPECT_EQ(views.texts.readouts[kFrontView][3], "Px=-4");
  EXPECT_EQ(views.texts.readouts[kFrontView][5], "Pz=1");
  EXPECT_EQ(views.texts.readouts[kFreeView][2], "Hz=0");
}

TEST_F(FieldVectorTest, PalettesSetTheirRowsOrNothing) {
  EXPECT_TRUE(SetBackgroundRow(*model, 1));
  EXPECT_EQ(model->View.BackgroundColour, (Rgb{255, 255, 255}));
  EXPECT_FALSE(SetBackgroundRow(*model, 0));
  EXPECT_EQ(model->View.BackgroundColour, (Rgb{255, 255, 255}));
  EXPECT_TRUE(SetMagnetRow(*model, 2));
  EXPECT_EQ(model->View.MagnetColourN, (Rgb{255, 20, 147}));
  EXPECT_EQ(model->View.MagnetColourS, (Rgb{0, 191, 255}));
  EXPECT_FALSE(SetMagnetRow(*model, 5));
  EXPECT_TRUE(SetAxisRow(*model, 10));
  EXPECT_EQ(model->View.AxisColourZ, (Rgb{255, 204, 0}));
  EXPECT_EQ(kBackgroundPalette[3].option, "Option3");
}

}  // namespace
}  // namespace tavrine

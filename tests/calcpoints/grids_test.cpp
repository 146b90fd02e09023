#include "calcpoints/grids.h"

#include <gtest/gtest.h>

#include "model/text_rules.h"
#include "model/world_frame.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;
using testing::VecNear;

class RectGrid : public ::testing::Test {
 protected:
  void SetUp() override { MakeWorldBox(*model, 100); }
  std::unique_ptr<ElementModel> model = FreshModel();
  NoticeBoard notices;
  RectGridInput input{.MagN = 1, .DivX = 40, .DivY = 40, .DisZ = 1, .HalfX = false, .HalfY = false};
};

TEST_F(RectGrid, FullFaceOfTheWorldBox) {
  ASSERT_EQ(GenerateRectGrid(*model, input, notices), GridOutcome::kGenerated);
  const RectPointSet& set = model->RectCalPointSet;
  EXPECT_EQ(set.LastIndex, 1680);
  EXPECT_EQ(set.Points[0].LocalX, -50);
  EXPECT_EQ(set.Points[0].LocalY, -50);
  EXPECT_EQ(set.Points[1].LocalX, -47.5);  // x fastest
  EXPECT_EQ(set.Points[41].LocalX, -50);
  EXPECT_EQ(set.Points[41].LocalY, -47.5);
  EXPECT_EQ(set.Points[1680].LocalX, 50);
  EXPECT_EQ(set.Points[1680].LocalY, 50);
  for (int i = 0; i <= 1680; ++i) {
    EXPECT_EQ(set.Points[i].LocalZ, 1);
    EXPECT_EQ(set.Points[i].PGroZ, 1);
  }
  EXPECT_EQ(set.XSymmetric, 0);
  EXPECT_EQ(set.GridZ, 1);
  EXPECT_TRUE(notices.OpenNotices().empty());
}

TEST_F(RectGrid, HalfRegionsAndSideMultiplier) {
  input.HalfX = input.HalfY = true;
  GenerateRectGrid(*model, input, notices);
  const RectPointSet& set = model->RectCalPointSet;
  EXPECT_EQ(set.LastIndex, 1680);
  EXPECT_EQ(set.Points[0].LocalX, 0);
  EXPECT_EQ(set.Points[1680].LocalX, 50);
  EXPECT_EQ(set.Points[1680].LocalY, 50);
  EXPECT_EQ(set.XSymmetric, 1);
  EXPECT_EQ(set.YSymmetric, 1);
  input.HalfX = input.HalfY = false;
  input.XL = 2;
  GenerateRectGrid(*model, input, notices);
  EXPECT_EQ(set.Points[0].LocalX, -100);
  EXPECT_EQ(set.Points[1680].LocalX, 100);
  EXPECT_EQ(set.Points[1680].LocalY, 50);
  EXPECT_EQ(set.LastIndex, 1680);
}

TEST_F(RectGrid, PlacedMagnetGivesGlobalPoints) {
  model->RecMagCount = 2;
  model->RecMagTable[2] = {
      .a = 10, .b = 6, .l = 2, .Ox = 5, .Oy = 0, .Oz = 3, .AngX = DegToRad(90)};
  input.MagN = 2;
  input.DivX = input.DivY = 2;
  GenerateRectGrid(*model, input, notices);
  // Own (-5, -3, 1): x stays, own y turns to global z, own z to global -y.
  const RectCalPoint& corner = model->RectCalPointSet.Points[0];
  EXPECT_THAT((Vec3{corner.PGroX, corner.PGroY, corner.PGroZ}), VecNear(Vec3{0, -1, 0}, 0, 1e-12));
}

TEST_F(RectGrid, ZeroDivisionsCollapseToTheStart) {
  input.DivX = 0;
  GenerateRectGrid(*model, input, notices);
  const RectPointSet& set = model->RectCalPointSet;
  EXPECT_EQ(set.LastIndex, 40);
  EXPECT_EQ(set.XEnd, 0);
  EXPECT_EQ(set.Points[5].LocalX, -50);
  EXPECT_EQ(set.Points[5].LocalY, -50 + 5 * 2.5);
}

TEST_F(RectGrid, TooManyPointsAreRefusedAndTheOldGridStays) {
  GenerateRectGrid(*model, input, notices);
  const RectCalPoint before = model->RectCalPointSet.Points[17];
  RectGridInput big = input;
  big.DivX = 50001;  // exactly 50002 points
  big.DivY = 0;
  big.DisZ = 9;
  EXPECT_EQ(GenerateRectGrid(*model, big, notices), GridOutcome::kRefused);
  big.DivX = 300;  // 301 × 41 fits, 301 × 301 does not
  big.DivY = 300;
  EXPECT_EQ(GenerateRectGrid(*model, big, notices), GridOutcome::kRefused);
  EXPECT_TRUE(notices.IsOpen(NoticeId::CautionCapacity));
  const RectPointSet& set = model->RectCalPointSet;
  EXPECT_EQ(set.LastIndex, 1680);
  EXPECT_EQ(set.DivX, 40);
  EXPECT_EQ(set.DisZ, 1);
  EXPECT_EQ(set.Points[17].LocalX, before.LocalX);
  big.DivX = 50000;  // 50001 points fit
  big.DivY = 0;
  EXPECT_EQ(GenerateRectGrid(*model, big, notices), GridOutcome::kGenerated);
  EXPECT_EQ(set.LastIndex, 50000);
  big.MagN = 1001;
  EXPECT_EQ(GenerateRectGrid(*model, big, notices), GridOutcome::kRefused);
  EXPECT_TRUE(notices.IsOpen(NoticeId::Caution9));
  big.MagN = 1;
  big.DivX = -2;
  EXPECT_EQ(GenerateRectGrid(*model, big, notices), GridOutcome::kRefused);
  EXPECT_EQ(set.LastIndex, 50000);
}

TEST_F(RectGrid, PreviewLinesFollowTheGrid) {
  input.DivX = 4;
  input.DivY = 2;
  GenerateRectGrid(*model, input, notices);
  const auto lines = RectGridPreviewLines(*model);
  ASSERT_EQ(lines.size(), 5u + 3u);
  EXPECT_EQ(lines[0].colour, (Rgb{122, 255, 255}));
  EXPECT_EQ(lines[0].a, (Vec3{-50, -50, 1}));
  EXPECT_EQ(lines[0].b, (Vec3{-50, 50, 1}));
  EXPECT_EQ(lines[5].colour, (Rgb{255, 122, 255}));
  EXPECT_EQ(lines[7].a, (Vec3{-50, 50, 1}));
  EXPECT_EQ(lines[7].b, (Vec3{50, 50, 1}));
}

class SectGrid : public ::testing::Test {
 protected:
  std::unique_ptr<ElementModel> model = FreshModel();
  NoticeBoard notices;
};

TEST_F(SectGrid, DefaultsGive407PointsWithTheSeamDoubled) {
  model->SecMagCount = 1;
  ASSERT_EQ(GenerateSectGrid(*model, SectGridInput{}, notices), GridOutcome::kGenerated);
  const SectPointSet& set = model->SectCalPointSet;
  EXPECT_EQ(set.LastIndex, 406);
  for (int i = 0; i <= 36; ++i) {
    EXPECT_EQ(set.Points[i].R, 0);
  }
  EXPECT_EQ(set.Points[37].R, 5);
  EXPECT_EQ(set.Points[37].Theta, 0);
  EXPECT_EQ(set.Points[73].R, 5);
  EXPECT_DOUBLE_EQ(set.Points[73].Theta, 2 * Pi());
  EXPECT_NEAR(set.Points[73].PGroX, set.Points[37].PGroX, 1e-12);
  EXPECT_NEAR(set.Points[73].PGroY, set.Points[37].PGroY, 1e-12);
  EXPECT_EQ(set.Points[406].PGroZ, 0.5);
}

TEST_F(SectGrid, SweepOfNinetyDegreesInNineSteps) {
  SectGridInput input{.DivR = 1, .DivT = 9, .Ri = 10, .Ro = 20, .SweepDeg = 90};
  GenerateSectGrid(*model, input, notices);
  for (int j = 0; j <= 9; ++j) {
    EXPECT_NEAR(RadToDeg(model->SectCalPointSet.Points[j].Theta), 10.0 * j, 1e-12);
  }
  const auto lines = SectGridPreviewLines(*model);
  EXPECT_EQ(lines.size(), 2u * 50u + 10u);
  EXPECT_EQ(lines[0].colour, (Rgb{0, 255, 255}));
  EXPECT_THAT(lines[49].b, VecNear(Vec3{0, 10, 0.5}, 0, 1e-12));
}

TEST_F(SectGrid, ZeroDivisionsRaiseCaution2AndGenerateNothing) {
  GenerateSectGrid(*model, SectGridInput{}, notices);
  const SectCalPoint before = model->SectCalPointSet.Points[40];
  EXPECT_EQ(GenerateSectGrid(*model, SectGridInput{.DivT = 0}, notices), GridOutcome::kRefused);
  EXPECT_EQ(GenerateSectGrid(*model, SectGridInput{.DivR = 0}, notices), GridOutcome::kRefused);
  EXPECT_TRUE(notices.IsOpen(NoticeId::Caution2));
  EXPECT_EQ(model->SectCalPointSet.LastIndex, 406);
  EXPECT_EQ(model->SectCalPointSet.AngleDiv, 36);
  EXPECT_EQ(model->SectCalPointSet.Points[40].Theta, before.Theta);
  EXPECT_EQ(GenerateSectGrid(*model, SectGridInput{.DivR = 1000, .DivT = 1000}, notices),
            GridOutcome::kRefused);
  EXPECT_TRUE(notices.IsOpen(NoticeId::CautionCapacity));
  EXPECT_EQ(model->SectCalPointSet.LastIndex, 406);
}

TEST_F(SectGrid, PlacedMagnetCarriesThePointsAlong) {
  model->SecMagCount = 2;
  model->SecMagTable[2] = {.Ri = 5, .Ro = 9, .T = 2, .Ox = 100, .AngZ = DegToRad(90)};
  const SectGridInput input{
      .MagN = 2, .DivR = 1, .DivT = 1, .Ri = 0, .Ro = 10, .SweepDeg = 90, .DisZ = 1};
  GenerateSectGrid(*model, input, notices);
  const SectCalPoint& p = model->SectCalPointSet.Points[2];  // r 10, angle 0
  EXPECT_THAT((Vec3{p.PGroX, p.PGroY, p.PGroZ}), VecNear(Vec3{100, 10, 1}, 0, 1e-12));
  EXPECT_THAT(SectPointGlobal(*model, 3), VecNear(Vec3{90, 0, 1}, 0, 1e-12));
}

}  // namespace
}  // namespace tavrine

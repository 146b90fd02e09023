#include "geometry/transforms.h"

#include <gtest/gtest.h>
#include <random>

#include "model/text_rules.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;
using testing::VecNear;

Placement Angles(double ax_deg, double ay_deg, double az_deg, Vec3 o = {}) {
  return {o.x, o.y, o.z, DegToRad(ax_deg), DegToRad(ay_deg), DegToRad(az_deg)};
}

TEST(Transforms, ZeroAnglesOnlyShift) {
  const Placement p{1, -2, 3, 0, 0, 0};
  EXPECT_EQ(PointToGlobal({4, 5, 6}, p), (Vec3{5, 3, 9}));
  auto model = FreshModel();
  model->SecMagTable[3] = {.Ox = 1, .Oy = -2, .Oz = 3};
  EXPECT_EQ(PointToLocal(model->SecMagTable, 3, {5, 3, 9}), (Vec3{4, 5, 6}));
  EXPECT_EQ(VectorToGlobal(model->SecMagTable, 3, {4, 5, 6}), (Vec3{4, 5, 6}));
}

TEST(Transforms, RotationConventionExamples) {
  EXPECT_THAT(PointToGlobal({1, 0, 0}, Angles(0, 0, 90)), VecNear(Vec3{0, 1, 0}, 0, 1e-15));
  EXPECT_THAT(PointToGlobal({0, 1, 0}, Angles(90, 0, 0)), VecNear(Vec3{0, 0, 1}, 0, 1e-15));
  EXPECT_THAT(PointToGlobal({0, 0, 1}, Angles(0, 90, 0)), VecNear(Vec3{1, 0, 0}, 0, 1e-15));
  // The Z turn comes first.
  EXPECT_THAT(PointToGlobal({1, 0, 0}, Angles(90, 0, 90)), VecNear(Vec3{0, 0, 1}, 0, 1e-15));
}

TEST(Transforms, CylindricalPoint) {
  const Placement p = Angles(0, 0, 90, {10, 0, 0});
  EXPECT_THAT(CylPointToGlobal(2, Pi() / 2, 1, p), VecNear(Vec3{8, 0, 1}, 0, 1e-14));
}

TEST(Transforms, MatrixMatchesTheWrittenOutTable) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> angle(-7, 7), coord(-100, 100);
  for (int n = 0; n < 200; ++n) {
    const double a = angle(rng), b = angle(rng), g = angle(rng);
    const Vec3 v{coord(rng), coord(rng), coord(rng)};
    const double ca = cos(a), sa = sin(a), cb = cos(b), sb = sin(b), cg = cos(g), sg = sin(g);
    const Vec3 expected{
        cb * cg * v.x - cb * sg * v.y + sb * v.z,
        (ca * sg + sa * sb * cg) * v.x + (ca * cg - sa * sb * sg) * v.y - sa * cb * v.z,
        (sa * sg - ca * sb * cg) * v.x + (sa * cg + ca * sb * sg) * v.y + ca * cb * v.z};
    EXPECT_THAT(ElementFrame({0, 0, 0, a, b, g}).VectorToGlobal(v), VecNear(expected, 1e-13, 0));
  }
}

TEST(Transforms, LocalGlobalRoundTripsAndCachedFrameIsBitIdentical) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> angle(-7, 7), coord(-500, 500);
  auto model = FreshModel();
  for (int n = 1; n <= 300; ++n) {
    StrRecCoil& coil = model->StrRecCoilTable[n];
    coil.Ox = coord(rng), coil.Oy = coord(rng), coil.Oz = coord(rng);
    coil.AngX = angle(rng), coil.AngY = angle(rng), coil.AngZ = angle(rng);
    const Vec3 p{coord(rng), coord(rng), coord(rng)};
    const Placement placement = PlacementOf(coil);
    const Vec3 global = PointToGlobal(p, placement);
    EXPECT_THAT(PointToLocal(model->StrRecCoilTable, n, global), VecNear(p, 1e-12, 1e-10));
    const ElementFrame frame(placement);
    EXPECT_EQ(frame.PointToLocal(global), PointToLocal(model->StrRecCoilTable, n, global));
    EXPECT_EQ(frame.VectorToGlobal(p), VectorToGlobal(model->StrRecCoilTable, n, p));
    EXPECT_THAT(frame.VectorToLocal(frame.VectorToGlobal(p)), VecNear(p, 1e-12, 1e-10));
  }
}

TEST(KtFrame, RotatedPointCases) {
  NoticeBoard notices;
  auto model = FreshModel();
  model->StrRecCoilCount = 1;
  model->StrRecCoilTable[1] = {.Ox = 3, .Oy = 4, .Oz = 5, .AngX = 0.3, .AngY = -0.2, .AngZ = 1};
  model->Kt = {};
  model->Kt.Orx = 1;
  model->Kt.ThetaRz = 0.4;
  const Vec3 p{1, 2, 3};
  const Vec3 global = PointToGlobal(p, PlacementOf(model->StrRecCoilTable[1]));
  EXPECT_THAT(KtRotatedPoint(*model, kKtStrRec, 1, 0, p, notices), VecNear(global, 1e-14, 1e-13));

  // Kt angles 0, φ = 90°: Kt-frame (1, 0, z) goes to Or + (0, 1, z).
  model->Kt.ThetaRz = 0;
  model->StrRecCoilTable[1] = {.Ox = 2, .Oy = 0, .Oz = 7};
  EXPECT_THAT(KtRotatedPoint(*model, kKtStrRec, 1, Pi() / 2, {}, notices),
              VecNear(Vec3{1, 1, 7}, 0, 1e-14));
  // A point on the Kt Z axis stays.
  model->StrRecCoilTable[1] = {.Ox = 1, .Oy = 0, .Oz = 7};
  EXPECT_THAT(KtRotatedPoint(*model, kKtStrRec, 1, 1.0, {}, notices),
              VecNear(Vec3{1, 0, 7}, 0, 1e-14));
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution4), 0);
}

TEST(KtFrame, FramePointAxisDistancesAndVector) {
  NoticeBoard notices;
  auto model = FreshModel();
  model->SecCylCoilCount = 2;
  model->SecCylCoilTable[2] = {.Ox = 1, .Oy = 2, .Oz = 3};
  model->Kt.Orx = 1;
  model->Kt.ThetaRx = Pi() / 2;  // Kt y axis is global z
  const Vec3 q = KtFramePoint(*model, kKtSecCyl, 2, {0, 0, 0}, notices);
  EXPECT_THAT(q, VecNear(Vec3{0, 3, -2}, 0, 1e-14));
  const AxisDistances d = KtAxisDistance(*model, kKtSecCyl, 2, {0, 0, 0}, notices);
  EXPECT_NEAR(d.z, 3, 1e-14);
  EXPECT_NEAR(d.x, std::sqrt(13.0), 1e-14);
  EXPECT_NEAR(d.y, 2, 1e-14);
  EXPECT_THAT(KtFrameVector(*model, {0, 0, 1}), VecNear(Vec3{0, 1, 0}, 0, 1e-15));
}

TEST(KtFrame, MissingElementRaisesCaution4AndUsesTheKtOrigin) {
  NoticeBoard notices;
  auto model = FreshModel();
  model->Kt.Orx = 5;
  model->StrCylCoilCount = 1;
  EXPECT_THAT(KtFramePoint(*model, kKtStrCyl, 2, {1, 0, 0}, notices), VecNear(Vec3{1, 0, 0}, 0, 0));
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution4), 1);
  KtFramePoint(*model, kKtStrCyl, 0, {}, notices);
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution4), 2);
  KtFramePoint(*model, 7, 1, {}, notices);  // invalid kind: silent
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution4), 2);
}

}  // namespace
}  // namespace tavrine

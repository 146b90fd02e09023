// The worked examples and symmetry cases of the seven kernels.
#include <cmath>
#include <gtest/gtest.h>

#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

TEST(GaussLegendre, SmallRules) {
  const GaussLegendreTable two(2), four(4);
  EXPECT_NEAR(two.Nodes()[0], -0.5773503, 1e-7);
  EXPECT_NEAR(two.Nodes()[1], 0.5773503, 1e-7);
  EXPECT_NEAR(two.Weights()[0], 1, 1e-9);
  EXPECT_NEAR(four.Nodes()[0], -0.8611363, 1e-7);
  EXPECT_NEAR(four.Nodes()[1], -0.3399810, 1e-7);
  EXPECT_NEAR(four.Weights()[1], 0.6521452, 1e-7);
  EXPECT_NEAR(four.Weights()[3], 0.3478548, 1e-7);
  double sum = 0;
  for (double w : Quadrature().sector.Weights()) {
    sum += w;
  }
  EXPECT_NEAR(sum, 2, 1e-9);
  EXPECT_EQ(Quadrature().sector.Size(), 500);
}

TEST(RecMagField, OneFaceExample) {
  NoticeBoard notices;
  // A prism so long that its lower face adds nothing at this precision.
  const RecMag m{.a = 10, .b = 6, .l = 1e8, .Br = 1};
  const Vec3 h = RecMagLocalField(m, {3, 1, 2}, notices);
  EXPECT_NEAR(h.x, 0.0872692, 1e-7);
  EXPECT_NEAR(h.y, 0.0511447, 1e-7);
  EXPECT_NEAR(h.z, 0.2399172, 1e-7);
  EXPECT_TRUE(notices.OpenNotices().empty());
}

TEST(RecMagField, PoleFacesAndGuards) {
  NoticeBoard notices;
  const RecMag m{.a = 10, .b = 6, .l = 4, .Br = 1000};
  // On the upper face inside the rim: +Br/2 from it, plus the lower face's own field.
  const Vec3 on_top = RecMagLocalField(m, {1, 1, 0}, notices);
  const Vec3 just_above = RecMagLocalField(m, {1, 1, 1e-4}, notices);
  EXPECT_NEAR(on_top.z, just_above.z, 0.1);
  EXPECT_GT(on_top.z, 300);
  // On the lower face inside the rim: +Br/2 from the lower face as well.
  const Vec3 on_bottom = RecMagLocalField(m, {1, 1, -4}, notices);
  EXPECT_NEAR(on_bottom.z, RecMagLocalField(m, {1, 1, -4 - 1e-4}, notices).z, 0.1);
  EXPECT_TRUE(notices.OpenNotices().empty());
  // In the face plane on the prolongation of an edge: Caution3 titled for the x component.
  const Vec3 edge = RecMagLocalField(m, {-5, 5, 0}, notices);
  EXPECT_TRUE(notices.IsOpen(NoticeId::Caution3));
  EXPECT_EQ(notices.Title(NoticeId::Caution3), "ﾛｹｰｼｮﾝ  RecMagFieldX!!!");
  EXPECT_TRUE(std::isfinite(edge.x) && std::isfinite(edge.y) && std::isfinite(edge.z));
  // The world box has no magnetisation.
  const RecMag box{.a = 100, .b = 100, .l = 100, .Br = 0};
  EXPECT_EQ(RecMagLocalField(box, {3, 4, 5}, notices), Vec3{});
}

TEST(SecMagField, OneFaceExampleAndAxis) {
  NoticeBoard notices;
  const SecMag m{.Ri = 5, .Ro = 9, .T = 1e8, .OpenAngle = DegToRad(100), .Br = 1};
  const Vec3 h = SecMagLocalField(m, {4, 6, 2}, Quadrature(), notices);
  EXPECT_NEAR(h.x, -0.0647724, 1e-7);
  EXPECT_NEAR(h.y, 0.0870974, 1e-7);
  EXPECT_NEAR(h.z, 0.0819856, 1e-7);
  const SecMag ring{.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = 2 * Pi(), .Br = 1000};
  const Vec3 axis = SecMagLocalField(ring, {0, 0, 2}, Quadrature(), notices);
  EXPECT_NEAR(axis.x, 0, 1e-7);
  EXPECT_NEAR(axis.y, 0, 1e-7);
  EXPECT_TRUE(notices.OpenNotices().empty());
}

TEST(SecMagField, PointOnTheFaceGetsHalfTheRemanence) {
  NoticeBoard notices;
  const SecMag m{.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = DegToRad(60), .Br = 1000};
  const Vec3 on = SecMagLocalField(m, {7, 0.5, 0}, Quadrature(), notices);
  const Vec3 above = SecMagLocalField(m, {7, 0.5, 0.3}, Quadrature(), notices);
  EXPECT_GT(on.z, 300);
  EXPECT_NEAR(on.z, above.z, 0.05 * m.Br) << above.z;
  // Outside the face in its plane the field is what the integral gives (no Br/2).
  const Vec3 outside = SecMagLocalField(m, {12, 0, 0}, Quadrature(), notices);
  EXPECT_LT(std::abs(outside.z), 100);
}

TEST(RhMagField, ExampleAxisAndDipole) {
  NoticeBoard notices;
  const RhMag m{.R = 5, .HT = 4, .Br = 1};
  const Vec3 h = RhMagLocalField(m, {7, 3, 1}, Quadrature(), notices);
  EXPECT_NEAR(h.x, 0.0520486, 1e-7);
  EXPECT_NEAR(h.y, 0.0424520, 1e-7);
  EXPECT_NEAR(h.z, 0.0616600, 1e-7);
  const Vec3 above = RhMagLocalField(m, {0, 0, 1}, Quadrature(), notices);
  const Vec3 inside = RhMagLocalField(m, {0, 0, -2}, Quadrature(), notices);
  EXPECT_NEAR(above.x, -0.1277, 1e-4);
  EXPECT_NEAR(inside.x, -0.1857, 1e-4);
  EXPECT_NEAR(above.y, 0, 1e-10);
  EXPECT_NEAR(above.z, 0, 1e-10);
  const Vec3 far = RhMagLocalField(m, {500, 0, -2}, Quadrature(), notices);
  EXPECT_GT(far.x, 0);
  EXPECT_LT(std::abs(far.y), 1e-6 * far.x);
}

TEST(StraightCurrents, ExamplesAndLongWire) {
  const StrCylCoil round{.Lx = 10, .R = 1, .CurrentDensity = 1};
  const Vec3 h = StrCylCoilLocalField(round, {2, 3, 1.5}, Quadrature());
  EXPECT_EQ(h.x, 0);
  EXPECT_NEAR(h.y, -0.660309, 1e-6);
  EXPECT_NEAR(h.z, 1.320619, 1e-6);
  const StrCylCoil reversed{.Lx = 10, .R = 1, .CurrentDensity = -1};
  const Vec3 r = StrCylCoilLocalField(reversed, {2, 3, 1.5}, Quadrature());
  EXPECT_EQ(r.y, -h.y);
  EXPECT_EQ(r.z, -h.z);
  // A long wire: 2·I/d with I = π A at d = 10 mm.
  const StrCylCoil long_wire{.Lx = 1e6, .R = 1, .CurrentDensity = 1};
  EXPECT_NEAR(StrCylCoilLocalField(long_wire, {0, 10, 0}, Quadrature()).z, 2 * Pi() / 10, 1e-6);
  const StrRecCoil flat{.Lx = 1e6, .W = 2, .T = 1, .CurrentDensity = 1};
  const Vec3 f = StrRecCoilLocalField(flat, {0, 0, 20}, Quadrature());
  EXPECT_NEAR(f.y, -2 * 2 / 20.5, 1e-3);  // I = 2 A, centre 20.5 mm below
}

TEST(ArcCurrents, ExamplesAndFullTurn) {
  const SecRecCoil flat{.Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 1};
  const Vec3 h = SecRecCoilLocalField(flat, {3, -2, 1.5}, Quadrature());
  EXPECT_NEAR(h.x, 1.424858, 1e-6);
  EXPECT_NEAR(h.y, -0.375680, 1e-6);
  EXPECT_NEAR(h.z, 2.057525, 1e-6);
  const SecCylCoil round{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 1};
  // The 50 × 50 rule's 0.356754, 0.142734, 1.228181 carry its disc-area error of 4e-6; these
  // digits are the exact field's (an adaptive long-double integration agrees to 1e-10).
  const Vec3 g = SecCylCoilLocalField(round, {4, 3, 2}, Quadrature());
  EXPECT_NEAR(g.x, 0.3567527, 1e-7);
  EXPECT_NEAR(g.y, 0.1427334, 1e-7);
  EXPECT_NEAR(g.z, 1.2281765, 1e-7);
  const SecCylCoil turn{.R = 10, .Angle = 2 * Pi(), .rwire = 1, .CurrentDensity = 1};
  const Vec3 t = SecCylCoilLocalField(turn, {0, 0, 1}, Quadrature());
  EXPECT_NEAR(t.x, 0, 1e-9);
  EXPECT_NEAR(t.y, 0, 1e-9);
  EXPECT_NEAR(t.z, 1.9423, 1e-4);
}

}  // namespace
}  // namespace tavrine

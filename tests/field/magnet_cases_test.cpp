// Guards, the in-face rule and consistency cases of the sector and RH magnet kernels.
#include <cmath>
#include <gtest/gtest.h>

#include "field/field_test_support.h"
#include "field/literal_kernels.h"
#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

using testing::MaxDiff;
using testing::Norm;

bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(SecMagCases, RimPointAtANodeAngleRaisesCaution3AndStaysFinite) {
  const SecMag m{.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = DegToRad(100), .Br = 1000};
  const PreparedSecMag prepared = PrepareSecMag(m, Quadrature());
  const int n = Quadrature().sector.Size();
  const double c = prepared.node_values[37], s = prepared.node_values[n + 37];
  NoticeBoard board;
  const Vec3 on_rim = SecMagLocalField(m, {m.Ro * c, m.Ro * s, 0}, Quadrature(), board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution3));
  EXPECT_EQ(board.Title(NoticeId::Caution3), "警告");
  EXPECT_TRUE(Finite(on_rim));
  // The field on a rim is undefined wherever the point sits between the nodes.
  NoticeBoard quiet;
  const double between =
      0.5 * (std::atan2(s, c) + std::atan2(prepared.node_values[n + 38], prepared.node_values[38]));
  const Vec3 off_node = SecMagLocalField(m, {m.Ro * std::cos(between), m.Ro * std::sin(between), 0},
                                         Quadrature(), quiet);
  EXPECT_TRUE(quiet.IsOpen(NoticeId::Caution3));
  EXPECT_TRUE(Finite(off_node));
}

// A grid laid on either face sees the z field of just outside that face, Br/2 from the face
// itself; on the rim and outside the face the integral's own value stays.
TEST(SecMagCases, PointsOnEitherFaceGetHalfTheRemanenceFromThatFace) {
  const SecMag m{.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = DegToRad(60), .Br = 1000};
  NullNotices none;
  for (const double z : {0.0, -3.0}) {
    const Vec3 on = SecMagLocalField(m, {7, 0.5, z}, Quadrature(), none);
    const Vec3 outside_face =
        SecMagLocalField(m, {7, 0.5, z + (z == 0 ? 0.02 : -0.02)}, Quadrature(), none);
    EXPECT_GT(on.z, 0.3 * m.Br);
    EXPECT_NEAR(on.z, outside_face.z, 0.01 * m.Br) << z;
  }
  const Vec3 outside = SecMagLocalField(m, {12, 0, 0}, Quadrature(), none);
  const Vec3 literal_outside = literal::SecMagLocalField(m, Quadrature().sector, {12, 0, 0}, none);
  EXPECT_NEAR(outside.z, literal_outside.z, 1e-10 * Norm(literal_outside));
  EXPECT_LT(std::abs(outside.z), 0.2 * m.Br);
}

TEST(SecMagCases, SignScalingAndTwoHalvesMakeTheRing) {
  NullNotices none;
  const SecMag ring{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = 2 * Pi(), .Br = 1000};
  const SecMag half{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = Pi(), .Br = 1000};
  const SecMag reversed{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = Pi(), .Br = -1000};
  const SecMag empty{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = Pi(), .Br = 0};
  for (const Vec3 p : {Vec3{3, 2, 1.5}, Vec3{-6, 1, -1}, Vec3{0.5, -9, 4}}) {
    // The second half is the first turned by π about the axis.
    const Vec3 a = SecMagLocalField(half, p, Quadrature(), none);
    const Vec3 b = SecMagLocalField(half, {-p.x, -p.y, p.z}, Quadrature(), none);
    const Vec3 sum{a.x - b.x, a.y - b.y, a.z + b.z};
    const Vec3 whole = SecMagLocalField(ring, p, Quadrature(), none);
    EXPECT_LT(MaxDiff(sum, whole), 1e-6 * Norm(whole));
    const Vec3 r = SecMagLocalField(reversed, p, Quadrature(), none);
    EXPECT_EQ(r, (Vec3{-a.x, -a.y, -a.z}));
    EXPECT_EQ(SecMagLocalField(empty, p, Quadrature(), none), (Vec3{0, 0, 0}));
  }
}

TEST(RhMagCases, SurfaceLineAtANodeAngleRaisesCaution3) {
  const RhMag m{.R = 5, .HT = 4, .Br = 1000};
  const GaussLegendreTable& g = Quadrature().rh;
  NoticeBoard board;
  const Vec3 on =
      RhMagLocalField(m, {m.R * g.TurnCos()[12], m.R * g.TurnSin()[12], -1}, Quadrature(), board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution3));
  EXPECT_TRUE(Finite(on));
  NullNotices none;
  const RhMag twice{.R = 5, .HT = 4, .Br = 2000};
  const Vec3 p{7, 3, 1};
  const Vec3 one = RhMagLocalField(m, p, Quadrature(), none);
  const Vec3 two = RhMagLocalField(twice, p, Quadrature(), none);
  EXPECT_NEAR(two.x, 2 * one.x, 1e-12 * Norm(two));
  EXPECT_NEAR(two.z, 2 * one.z, 1e-12 * Norm(two));
}

}  // namespace
}  // namespace tavrine

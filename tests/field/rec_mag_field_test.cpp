#include <cmath>
#include <gtest/gtest.h>

#include "field/field_test_support.h"
#include "field/literal_kernels.h"
#include "field/local_fields.h"
#include "field/magnet_reference.h"
#include "model/notices.h"

namespace tavrine {
namespace {

using testing::MaxDiff;
using testing::Norm;
using testing::PointSource;

RecMag Prism(double a, double b, double l, double br) {
  RecMag m;
  m.a = a;
  m.b = b;
  m.l = l;
  m.Br = br;
  return m;
}

TEST(RecMagField, ExampleFaceValues) {
  const RecMag m = Prism(10, 6, 4, 1);
  NullNotices none;
  EXPECT_NEAR(literal::RecMagFieldX(m, 3, 1, 2, 1, none), 0.0872692, 1e-7);
  EXPECT_NEAR(literal::RecMagFieldY(m, 3, 1, 2, 1, none), 0.0511447, 1e-7);
  EXPECT_NEAR(literal::RecMagFieldZ(m, 3, 1, 2, 1), 0.2399172, 1e-7);
  // The whole magnet is the upper face plus the lower face seen from h = z + l.
  const Vec3 whole = RecMagLocalField(m, {3, 1, 2}, none);
  EXPECT_NEAR(whole.x - literal::RecMagFieldX(m, 3, 1, 6, -1, none), 0.0872692, 1e-7);
  EXPECT_NEAR(whole.z - literal::RecMagFieldZ(m, 3, 1, 6, -1), 0.2399172, 1e-7);
}

// Direct integration of a rectangle of density 1/(4π): 4 × 4 panels of 40 × 40 nodes.
Vec3 BruteForceSheet(double a, double b, const Vec3& p) {
  const GaussLegendreTable g = GaussLegendre(40);
  Vec3 field;
  for (int pi = 0; pi < 4; ++pi) {
    for (int pj = 0; pj < 4; ++pj) {
      for (int i = 0; i < g.Size(); ++i) {
        for (int j = 0; j < g.Size(); ++j) {
          const double u = -a / 2 + a / 4 * (pi + (g.Nodes()[i] + 1) / 2);
          const double v = -b / 2 + b / 4 * (pj + (g.Nodes()[j] + 1) / 2);
          const Vec3 r{p.x - u, p.y - v, p.z};
          const double r3 = std::pow(Norm(r), 3);
          const double weight = g.Weights()[i] * g.Weights()[j] * (a / 8) * (b / 8) / (4 * M_PI);
          field += (weight / r3) * r;
        }
      }
    }
  }
  return field;
}

TEST(RecMagField, AgreesWithDirectIntegrationOfTheFaces) {
  const RecMag m = Prism(10, 6, 4, 1);
  NullNotices none;
  for (const Vec3 p : {Vec3{3, 1, 2}, Vec3{-7, 4, 1.5}, Vec3{1, -2, -1}, Vec3{0, 0, 8}}) {
    const Vec3 expected =
        BruteForceSheet(10, 6, p) + (-1.0) * BruteForceSheet(10, 6, {p.x, p.y, p.z + 4});
    const Vec3 actual = RecMagLocalField(m, p, none);
    EXPECT_LT(MaxDiff(actual, expected), 1e-6 * Norm(expected)) << p.x << " " << p.y << " " << p.z;
  }
}

TEST(RecMagField, SignsSymmetryAndZeroRemanence) {
  NullNotices none;
  const RecMag m = Prism(8, 5, 3, 1000);
  const Vec3 p{1.5, -0.7, 2.2};
  EXPECT_NEAR(literal::RecMagFieldX(m, p.x, p.y, p.z, -1, none),
              -literal::RecMagFieldX(m, p.x, p.y, p.z, 1, none), 1e-12);
  EXPECT_NEAR(literal::RecMagFieldZ(m, p.x, p.y, p.z, -1),
              -literal::RecMagFieldZ(m, p.x, p.y, p.z, 1), 1e-12);
  // Mirror in x flips Hx only; above the centre only Hz remains.
  const Vec3 a = RecMagLocalField(m, p, none), b = RecMagLocalField(m, {-p.x, p.y, p.z}, none);
  EXPECT_NEAR(a.x, -b.x, 1e-12);
  EXPECT_NEAR(a.z, b.z, 1e-12);
  const Vec3 axis = RecMagLocalField(m, {0, 0, 3}, none);
  EXPECT_NEAR(axis.x, 0, 1e-12);
  EXPECT_NEAR(axis.y, 0, 1e-12);
  EXPECT_GT(axis.z, 0);
  PointSource source(5);
  const RecMag empty = Prism(8, 5, 3, 0);
  for (int i = 0; i < 100; ++i) {
    const Vec3 q{source.Uniform(-10, 10), source.Uniform(-10, 10), source.Uniform(-8, 5)};
    EXPECT_EQ(RecMagLocalField(empty, q, none), (Vec3{0, 0, 0}));
  }
}

TEST(RecMagField, InPlaneRuleOnBothFaces) {
  NullNotices none;
  const RecMag m = Prism(10, 6, 4, 1);
  EXPECT_EQ(literal::RecMagFieldZ(m, 1, 1, 0, 1), 0.5);
  EXPECT_EQ(literal::RecMagFieldZ(m, 1, 1, 0, -1), 0.5);  // not multiplied by w
  EXPECT_EQ(literal::RecMagFieldZ(m, 5, 1, 0, 1), 0.0);   // on the rim
  EXPECT_EQ(literal::RecMagFieldZ(m, 6, 1, 0, 1), 0.0);   // outside
  // Just above the north face and just below the south face the field points along +z.
  const Vec3 top = RecMagLocalField(m, {1, 1, 0}, none);
  const Vec3 bottom = RecMagLocalField(m, {1, 1, -4}, none);
  EXPECT_NEAR(top.z, 0.5 + literal::RecMagFieldZ(m, 1, 1, 4, -1), 1e-15);
  EXPECT_NEAR(bottom.z, 0.5 + literal::RecMagFieldZ(m, 1, 1, -4, 1), 1e-15);
  EXPECT_GT(top.z, 0);
  EXPECT_GT(bottom.z, 0);
}

// In a face plane on the prolongation of an edge the formula divides by zero, which the titled
// notice reports, yet the field there is finite and continuous: the kernel gives its limit, as
// the independent reference a nanometre off the plane does.
TEST(RecMagField, EdgeProlongationRaisesTitledNoticeAndKeepsTheField) {
  const RecMag m = Prism(10, 6, 4, 1);
  const Vec3 off{0, 0, 1e-9};
  NoticeBoard board;
  const Vec3 on_x = RecMagLocalField(m, {-5, 4, 0}, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution3));
  EXPECT_EQ(board.Title(NoticeId::Caution3), "ﾛｹｰｼｮﾝ  RecMagFieldX!!!");
  EXPECT_LE(MaxDiff(on_x, reference::RecMagField(m, Vec3{-5, 4, 0} + off)), 1e-7);

  NoticeBoard board_y;
  const Vec3 on_y = RecMagLocalField(m, {6, -3, -4}, board_y);
  EXPECT_TRUE(board_y.IsOpen(NoticeId::Caution3));
  EXPECT_EQ(board_y.Title(NoticeId::Caution3), "ﾛｹｰｼｮﾝ  RecMagFieldY!!!");
  EXPECT_LE(MaxDiff(on_y, reference::RecMagField(m, Vec3{6, -3, -4} - off)), 1e-7);

  // A corner of the face: the numerator vanishes for both components.
  NoticeBoard corner;
  const Vec3 at_corner = RecMagLocalField(m, {5, 3, 0}, corner);
  EXPECT_TRUE(corner.IsOpen(NoticeId::Caution3) || corner.IsOpen(NoticeId::Caution11));
  EXPECT_TRUE(std::isfinite(at_corner.x) && std::isfinite(at_corner.y));
}

// A grid at distance 0 on a turned magnet leaves its edge points a rounding off the edge, where
// the field is unbounded: they take the notice and the value of the point laid on the edge.
TEST(RecMagField, PointsWithinRoundingOfAnEdgeInAFacePlaneActAsOnIt) {
  const RecMag m = Prism(4, 6, 8, 12500);
  const double e = 3e-15;
  const Vec3 on_edge[] = {{-2, 1, 0}, {2, -1.5, 0}, {0.5, 3, -8}, {-1, -3, -8}, {2, 3, 0}};
  const Vec3 rounding[] = {{e, -e, e}, {-e, e, -e}, {e, e, -e}, {-e, e, e}, {e, -e, -e}};
  for (size_t i = 0; i < std::size(on_edge); ++i) {
    NoticeBoard exact, rounded;
    const Vec3 want = RecMagLocalField(m, on_edge[i], exact);
    const Vec3 got = RecMagLocalField(m, on_edge[i] + rounding[i], rounded);
    EXPECT_TRUE(rounded.IsOpen(NoticeId::Caution3) || rounded.IsOpen(NoticeId::Caution11)) << i;
    EXPECT_LT(MaxDiff(got, want), 1e-9 * Norm(want)) << i;
  }
  // Beyond a corner, on the prolongation, the field is finite and stays as it was.
  NullNotices none;
  const Vec3 beyond = RecMagLocalField(m, {3, -3 + e, e}, none);
  EXPECT_NEAR(beyond.y, RecMagLocalField(m, {3, -3 + 1e-7, 1e-7}, none).y, 1e-3);
}

TEST(RecMagField, FastKernelMatchesLiteralEverywhere) {
  PointSource source(11);
  NullNotices none;
  for (int i = 0; i < 4000; ++i) {
    const RecMag m = Prism(source.Uniform(0.5, 30), source.Uniform(0.5, 30),
                           source.Uniform(0.5, 20), source.Uniform(-13000, 13000));
    Vec3 p{source.Uniform(-m.a, m.a), source.Uniform(-m.b, m.b), source.Uniform(-2 * m.l, m.l)};
    switch (i % 5) {  // on a face plane, next to an edge, next to a face
      case 1:
        p.z = source.Pick(2) == 0 ? 0.0 : -m.l;
        break;
      case 2:
        p.x = m.a / 2 + source.Uniform(-1e-3, 1e-3);
        break;
      case 3:
        p.z = source.Uniform(-1e-4, 1e-4);
        break;
      default:
        break;
    }
    const Vec3 literal = literal::RecMagLocalField(m, p, none);
    const Vec3 actual = RecMagLocalField(m, p, none);
    // Where the literal form loses digits to cancellation (near an edge's prolongation, far
    // off, within the old in-plane band) the converged reference decides.
    const bool agree = MaxDiff(actual, literal) <= 1e-10 * Norm(literal) + 1e-300;
    const Vec3 expected = agree ? literal : reference::RecMagField(m, p);
    ASSERT_LE(MaxDiff(actual, expected), 1e-10 * Norm(expected) + 1e-300)
        << i << " at " << p.x << " " << p.y << " " << p.z;
  }
}

}  // namespace
}  // namespace tavrine

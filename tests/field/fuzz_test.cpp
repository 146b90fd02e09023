// Random finite points and elements, degenerate sizes included, never give NaN or infinity.
#include <cmath>
#include <gtest/gtest.h>

#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

using testing::PointSource;

// A size that is zero a quarter of the time, else anything from tiny to large.
double Size(PointSource& s) {
  switch (s.Pick(4)) {
    case 0:
      return 0.0;
    case 1:
      return s.Uniform(1e-6, 1e-3);
    default:
      return s.Uniform(0.1, 50);
  }
}

// Coordinates that often hit the special places of an element: its centre, axes, face planes,
// rim radii and corners.
double Coordinate(PointSource& s, double special) {
  switch (s.Pick(5)) {
    case 0:
      return 0.0;
    case 1:
      return special;
    case 2:
      return -special;
    default:
      return s.Uniform(-60, 60);
  }
}

bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(FieldFuzz, MagnetsStayFinite) {
  PointSource s(51);
  NullNotices none;
  for (int i = 0; i < 600; ++i) {
    const RecMag rec{.a = Size(s), .b = Size(s), .l = Size(s), .Br = s.Uniform(-13000, 13000)};
    const Vec3 p{Coordinate(s, rec.a / 2), Coordinate(s, rec.b / 2), -Coordinate(s, rec.l)};
    ASSERT_TRUE(Finite(RecMagLocalField(rec, p, none))) << i;
    SecMag sec{.Ri = Size(s),
               .T = Size(s),
               .OpenAngle = s.Pick(3) == 0 ? 0.0 : s.Uniform(0, 2 * Pi()),
               .Br = 1000};
    sec.Ro = sec.Ri + Size(s);
    const double r = s.Pick(2) == 0 ? sec.Ro : sec.Ri;
    const Vec3 q{Coordinate(s, r), Coordinate(s, r), -Coordinate(s, sec.T)};
    ASSERT_TRUE(Finite(SecMagLocalField(sec, q, Quadrature(), none))) << i;
    const RhMag rh{.R = Size(s), .HT = Size(s), .Br = 1000};
    const Vec3 t{Coordinate(s, rh.R), Coordinate(s, rh.R), -Coordinate(s, rh.HT)};
    ASSERT_TRUE(Finite(RhMagLocalField(rh, t, Quadrature(), none))) << i;
  }
}

TEST(FieldFuzz, CurrentsStayFinite) {
  PointSource s(52);
  for (int i = 0; i < 300; ++i) {
    const StrCylCoil round{.Lx = Size(s), .R = Size(s), .CurrentDensity = 5};
    const Vec3 p{Coordinate(s, round.Lx / 2), Coordinate(s, round.R), Coordinate(s, round.R)};
    ASSERT_TRUE(Finite(StrCylCoilLocalField(round, p, Quadrature()))) << i;
    const StrRecCoil flat{.Lx = Size(s), .W = Size(s), .T = Size(s), .CurrentDensity = 5};
    const Vec3 q{Coordinate(s, flat.Lx / 2), Coordinate(s, flat.W / 2), -Coordinate(s, flat.T)};
    ASSERT_TRUE(Finite(StrRecCoilLocalField(flat, q, Quadrature()))) << i;
    const SecCylCoil arc{
        .R = Size(s), .Angle = s.Uniform(0, 2 * Pi()), .rwire = Size(s), .CurrentDensity = 5};
    const Vec3 t{Coordinate(s, arc.R), Coordinate(s, arc.R), Coordinate(s, arc.rwire)};
    ASSERT_TRUE(Finite(SecCylCoilLocalField(arc, t, Quadrature()))) << i;
    SecRecCoil band{
        .Ri = Size(s), .T = Size(s), .Angle = s.Uniform(0, 2 * Pi()), .CurrentDensity = 5};
    band.Ro = band.Ri + Size(s);
    const Vec3 u{Coordinate(s, band.Ro), Coordinate(s, band.Ri), -Coordinate(s, band.T)};
    ASSERT_TRUE(Finite(SecRecCoilLocalField(band, u, Quadrature()))) << i;
  }
}

// Points placed exactly on the node filaments and node sheets of the current kernels.
TEST(FieldFuzz, PointsOnQuadratureNodesContributeZeroNotNan) {
  const GaussLegendreTable& g = Quadrature().coil;
  const StrRecCoil flat{.Lx = 10, .W = 4, .T = 2, .CurrentDensity = 1};
  const double sheet = -flat.T / 2 * g.Nodes()[7] - flat.T / 2;
  EXPECT_TRUE(Finite(StrRecCoilLocalField(flat, {0, 0.3, sheet}, Quadrature())));
  const StrCylCoil round{.Lx = 10, .R = 0, .CurrentDensity = 1};
  EXPECT_TRUE(Finite(StrCylCoilLocalField(round, {1, 0, 0}, Quadrature())));
  const SecRecCoil band{.Ri = 5, .Ro = 8, .T = 2, .Angle = 2 * Pi(), .CurrentDensity = 1};
  EXPECT_TRUE(Finite(SecRecCoilLocalField(band, {0, 0, 0}, Quadrature())));
  const SecCylCoil ring{.R = 10, .Angle = 2 * Pi(), .rwire = 1, .CurrentDensity = 1};
  EXPECT_TRUE(Finite(SecCylCoilLocalField(ring, {0, 0, g.Nodes()[3]}, Quadrature())));
}

}  // namespace
}  // namespace tavrine

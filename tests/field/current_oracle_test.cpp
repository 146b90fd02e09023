// The current-element kernels against the literal per-component kernels at random points away
// from the conductors, where the literal rules are exact: on their axes, beyond their ends and
// around them. Nearer points are checked against exact references elsewhere.
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
using testing::PointSource;

constexpr double kRelative = 1e-10;
// Where the kernel takes another path than the literal rule, both are exact to about this.
constexpr double kExactRule = 1e-9;
// Inside a conductor next to a node filament and far beyond a wire's end, the closed forms
// cancel to a few digits less; the literal form is then the less exact of the two.
constexpr double kIllConditioned = 1e-7;

TEST(StrCylCoilOracle, FastMatchesLiteral) {
  PointSource source(41);
  for (int i = 0; i < 300; ++i) {
    const StrCylCoil c{.Lx = source.Uniform(1, 100),
                       .R = source.Uniform(0.1, 5),
                       .CurrentDensity = source.Uniform(-50, 50)};
    const double r = i % 4 == 1 ? source.Uniform(0, c.R) : source.Uniform(0, 6 * c.R);
    const double a = source.Uniform(-Pi(), Pi());
    const double x = i % 4 == 2 ? c.Lx / 2 + source.Uniform(-2, 10) : source.Uniform(-c.Lx, c.Lx);
    const double off_end = std::fmax(std::abs(x) - c.Lx / 2, 0.0);
    if (std::hypot(off_end, std::fmax(r - c.R, 0.0)) < 2 * c.R) {
      continue;  // the 50 × 50 rule is not exact next to the wire
    }
    const Vec3 p{x, r * std::cos(a), r * std::sin(a)};
    const Vec3 expected = literal::StrCylCoilLocalField(c, Quadrature().coil, p);
    const Vec3 actual = StrCylCoilLocalField(c, p, Quadrature());
    EXPECT_EQ(actual.x, 0);
    // Beyond an end the literal filaments cancel to a few digits less than the rim integrals.
    ASSERT_LE(MaxDiff(actual, expected),
              (off_end > 0 ? kIllConditioned : kExactRule) * Norm(expected) + 1e-300)
        << i << " at " << p.x << " " << p.y << " " << p.z;
  }
}

TEST(StrRecCoilOracle, FastMatchesLiteral) {
  PointSource source(42);
  for (int i = 0; i < 3000; ++i) {
    const StrRecCoil c{.Lx = source.Uniform(1, 100),
                       .W = source.Uniform(0.2, 10),
                       .T = source.Uniform(0.2, 10),
                       .CurrentDensity = source.Uniform(-50, 50)};
    Vec3 p{source.Uniform(-c.Lx, c.Lx), source.Uniform(-c.W, c.W), source.Uniform(-2 * c.T, c.T)};
    if (i % 4 == 1) {  // inside the conductor
      p = {source.Uniform(-c.Lx / 2, c.Lx / 2), source.Uniform(-c.W / 2, c.W / 2),
           source.Uniform(-c.T, 0)};
    } else if (i % 4 == 2) {  // beyond an end, near the axis
      p.x = c.Lx / 2 + source.Uniform(0.5, 20);
    }
    const double dx = std::fmax(std::abs(p.x) - c.Lx / 2, 0.0);
    const double dy = std::fmax(std::abs(p.y) - c.W / 2, 0.0);
    const double dz = std::fmax(std::fmax(p.z, -c.T - p.z), 0.0);
    if (std::sqrt(dx * dx + dy * dy + dz * dz) < c.T / 2) {
      continue;  // the sheet rule over the height is not exact next to the bar
    }
    const Vec3 expected = literal::StrRecCoilLocalField(c, Quadrature().coil, p);
    const Vec3 actual = StrRecCoilLocalField(c, p, Quadrature());
    EXPECT_EQ(actual.x, 0);
    const bool beyond_end = std::abs(p.x) > c.Lx / 2;
    const bool within_height = -c.T < p.z && p.z < 0;
    ASSERT_LE(MaxDiff(actual, expected),
              (beyond_end || within_height ? kIllConditioned : kRelative) * Norm(expected) + 1e-300)
        << i << " at " << p.x << " " << p.y << " " << p.z;
  }
}

// The literal round-arc rule's relative error in the disc's area.
double LiteralAreaBias() {
  const GaussLegendreTable& t = Quadrature().coil;
  double area = 0;
  for (int k = 0; k < t.Size(); ++k) {
    area += t.Weights()[k] * std::sqrt(1 - t.Nodes()[k] * t.Nodes()[k]);
  }
  return area / (Pi() / 2);
}

TEST(SecCylCoilOracle, ExactMatchesLiteralFarAway) {
  PointSource source(43);
  for (int i = 0; i < 300; ++i) {
    const SecCylCoil c{.R = source.Uniform(2, 30),
                       .Angle = source.Uniform(0.1, 2 * Pi()),
                       .rwire = source.Uniform(0.1, 1.5),
                       .CurrentDensity = source.Uniform(-50, 50)};
    const double along = source.Uniform(-0.6, 0.6) * c.Angle;
    double r = source.Uniform(0, 1.5 * c.R), z = source.Uniform(-3, 3);
    if (i % 4 == 1) {  // inside the wire
      const double rr = source.Uniform(0, c.rwire), aa = source.Uniform(-Pi(), Pi());
      r = c.R + rr * std::cos(aa);
      z = rr * std::sin(aa);
    } else if (i % 4 == 2) {  // on the axis
      r = 0;
    }
    const Vec3 p{r * std::cos(along), r * std::sin(along), z};
    if (std::hypot(r - c.R, z) - c.rwire < 5 * std::fmax(c.rwire, c.R * c.Angle / 50)) {
      continue;  // the literal rule is a node spacing or the wire's size from exact there
    }
    const Vec3 expected = literal::SecCylCoilLocalField(c, Quadrature().coil, p);
    const Vec3 actual = SecCylCoilLocalField(c, p, Quadrature());
    // The literal sum over the heights carries the disc's area as Σ w·sqrt(1 − x²) instead of
    // π/2, a bias the same for every point far away; its other errors there fall below 2e-7.
    ASSERT_LE(MaxDiff(LiteralAreaBias() * actual, expected), 2e-7 * Norm(expected))
        << i << " at " << p.x << " " << p.y << " " << p.z;
  }
}

TEST(SecRecCoilOracle, FastMatchesLiteral) {
  PointSource source(44);
  for (int i = 0; i < 2400; ++i) {
    SecRecCoil c{.Ri = source.Uniform(0, 20),
                 .T = source.Uniform(0.2, 5),
                 .Angle = source.Uniform(0.1, 2 * Pi()),
                 .CurrentDensity = source.Uniform(-50, 50)};
    c.Ro = c.Ri + source.Uniform(0.2, 10);
    const double along = source.Uniform(-0.6, 0.6) * c.Angle;
    double r = source.Uniform(0, 1.5 * c.Ro), z = source.Uniform(-2 * c.T, c.T);
    switch (i % 6) {
      case 1:  // inside the conductor
        r = source.Uniform(c.Ri, c.Ro);
        z = source.Uniform(-c.T, 0);
        break;
      case 2:  // on the axis
        r = 0;
        break;
      case 3:  // in a face plane
        z = source.Pick(2) == 0 ? 0.0 : -c.T;
        break;
      case 4:  // far away, where the height bracket is a small difference
        r = source.Uniform(0, 30 * c.Ro);
        z = source.Uniform(5, 30) * c.Ro * (source.Pick(2) == 0 ? 1 : -1);
        break;
      default:
        break;
    }
    const Vec3 p{r * std::cos(along), r * std::sin(along), z};
    const double dr = std::fmax(std::fmax(c.Ri - r, r - c.Ro), 0.0);
    const double dz = std::fmax(std::fmax(z, -c.T - z), 0.0);
    if (std::hypot(dr, dz) < std::fmax(r * c.Angle / 2, (c.Ro - c.Ri) / 2)) {
      continue;  // the node rules are not exact next to the arc
    }
    const Vec3 expected = literal::SecRecCoilLocalField(c, Quadrature().coil, p);
    const Vec3 actual = SecRecCoilLocalField(c, p, Quadrature());
    // On a face, as inside, the nodes next to the point are all but singular.
    const bool face_plane = i % 6 == 3, on_face = face_plane && c.Ri <= r && r <= c.Ro;
    const bool within_height = (-c.T < p.z && p.z < 0) || on_face;
    // Far away, and in or near a face plane beyond the face, the literal x and y brackets are
    // small differences of edge distances (far away in both forms); z keeps its digits there.
    const bool near_plane = std::fmin(std::abs(z), std::abs(z + c.T)) < 0.2 * c.T;
    const bool xy_ill_conditioned = near_plane || i % 6 == 4;
    const double bound = (within_height ? kIllConditioned : kRelative) * Norm(expected) + 1e-300;
    ASSERT_LE(std::abs(actual.z - expected.z), bound)
        << i << " at " << p.x << " " << p.y << " " << p.z;
    ASSERT_LE(MaxDiff(actual, expected),
              xy_ill_conditioned ? kIllConditioned * Norm(expected) : bound)
        << i << " at " << p.x << " " << p.y << " " << p.z;
  }
}

}  // namespace
}  // namespace tavrine

// The straight conductors against independent long-double references at graded distances from
// their faces, edges and rims, inside and outside: the rectangular bar as its sheets summed by
// adaptive Gauss, the round wire as chords through the point (closed form along each chord).
#include <cmath>
#include <gtest/gtest.h>

#include "field/adaptive_reference.h"
#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

using testing::Adaptive;
using testing::Ld;
using testing::MaxDiff;
using testing::Norm;
using testing::Pair2;

// The rectangular bar as uniform current sheets stacked over its height: the field of one sheet
// in closed form, summed over the height adaptively with a break at the point's own height.
Vec3 StrRecReference(const StrRecCoil& c, const Vec3& pt) {
  const Ld p = c.Lx / 2.0L + pt.x, q = c.Lx / 2.0L - pt.x, u = c.W / 2.0L + pt.y,
           v = c.W / 2.0L - pt.y;
  auto sheet = [&](Ld t) -> Pair2 {
    const Ld e = t - pt.z, ee = e * e;
    auto big_q = [&](Ld a, Ld b) { return std::sqrt(a * a + b * b + ee); };
    auto ratio = [&](Ld a, Ld b) {  // (Q − a)/(Q + a), without cancellation
      const Ld qq = big_q(a, b);
      return a > 0 ? (b * b + ee) / ((qq + a) * (qq + a)) : (qq - a) * (qq - a) / (b * b + ee);
    };
    const Ld y = std::atan(q * u / (e * big_q(q, u))) + std::atan(q * v / (e * big_q(q, v))) +
                 std::atan(p * v / (e * big_q(p, v))) + std::atan(p * u / (e * big_q(p, u)));
    const Ld z = std::log(ratio(q, v) / ratio(q, u) * ratio(p, v) / ratio(p, u));
    return {y, -z / 2};
  };
  Pair2 sum{0, 0};
  const Ld lo = -c.T, hi = 0, mid = std::fmin(std::fmax((Ld)pt.z, lo), hi);
  for (const auto& [a, b] : {std::pair<Ld, Ld>{lo, mid}, {mid, hi}}) {
    if (b > a) {
      const Pair2 part = Adaptive(sheet, a, b, 1e-15L);
      sum[0] += part[0];
      sum[1] += part[1];
    }
  }
  return {0, static_cast<double>(c.CurrentDensity * sum[0]),
          static_cast<double>(c.CurrentDensity * sum[1])};
}

// ∫ (p/√(p² + r²) − q/√(q² + r²)) dr along the chord from the point in direction β.
Ld ChordPrimitive(Ld p, Ld q, Ld r) {
  auto term = [r](Ld a) { return a == 0 ? 0.0L : a * std::log(r + std::sqrt(a * a + r * r)); };
  return term(p) - term(q);
}

// The round wire in polar coordinates about the point: the filament field's 1/f singularity
// goes into the Jacobian, the length along each chord is closed-form, the angle adaptive.
Vec3 StrCylReference(const StrCylCoil& c, const Vec3& pt) {
  const Ld y = pt.y, z = pt.z, rho = std::hypot(y, z), big_r = c.R;
  const Ld p = c.Lx / 2.0L + pt.x, q = pt.x - c.Lx / 2.0L;
  auto chord = [&](Ld beta) -> Pair2 {
    const Ld ey = std::cos(beta), ez = std::sin(beta), along = y * ey + z * ez;
    const Ld disc = along * along - (rho * rho - big_r * big_r);
    if (disc <= 0) {
      return {0, 0};
    }
    const Ld r2 = -along + std::sqrt(disc), r1 = rho < big_r ? 0.0L : -along - std::sqrt(disc);
    const Ld k = -(ChordPrimitive(p, q, r2) - ChordPrimitive(p, q, std::fmax(r1, 0.0L)));
    return {k * ey, k * ez};
  };
  const Ld pi = 3.14159265358979323846L;
  Pair2 v{0, 0};
  if (rho < big_r) {
    v = Adaptive(chord, 0, 2 * pi, 1e-15L);
  } else {
    const Ld centre = std::atan2(-z, -y), half = std::asin(big_r / rho);
    v = Adaptive(chord, centre - half, centre + half, 1e-15L);
  }
  const Ld j = c.CurrentDensity;
  return {0, static_cast<double>(-j * v[1]), static_cast<double>(j * v[0])};
}

constexpr double kDistances[] = {1e-3, 1e-2, 0.1, 1, 10};
constexpr double kExact = 1e-9;

TEST(StraightConductorExact, RectangularBarAtGradedDistances) {
  const StrRecCoil c{.Lx = 10, .W = 4, .T = 2, .CurrentDensity = 3};
  int checked = 0;
  for (double d : kDistances) {
    const double in = std::fmin(d, 0.9);  // depths inside stay within the half-thickness
    const Vec3 points[] = {{1, 0.5, d},
                           {1, 0.5, -c.T - d},
                           {2, c.W / 2 + d, -0.7},  // faces
                           {1, c.W / 2 + d, d},
                           {c.Lx / 2 + d, 1, -1},
                           {c.Lx / 2 + d, 2 + d, d},  // edge, end
                           {1, 0.5, -in},
                           {c.Lx / 2 - in, 1.9, -1},
                           {-3, -c.W / 2 + in, -c.T + in},
                           {0, 0, d / 2 - c.T / 2}};
    for (const Vec3& p : points) {
      const Vec3 expected = StrRecReference(c, p);
      const Vec3 actual = StrRecCoilLocalField(c, p, Quadrature());
      EXPECT_LE(MaxDiff(actual, expected), kExact * Norm(expected))
          << "at " << p.x << " " << p.y << " " << p.z;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 50);
}

TEST(StraightConductorExact, RoundWireAtGradedDistances) {
  const StrCylCoil c{.Lx = 10, .R = 1, .CurrentDensity = 3};
  for (double d : kDistances) {
    const double in = std::fmin(d, 0.5);
    const Vec3 points[] = {{1, c.R + d, 0},
                           {4.9, 0.6 * (c.R + d), 0.8 * (c.R + d)},  // wire surface
                           {c.Lx / 2 + d, 0.3, 0.2},
                           {-c.Lx / 2 - d, c.R + d, 0},  // end face, rim
                           {c.Lx / 2 + d, c.R, 0},
                           {c.Lx / 2, c.R + d, 0},  // next to the rim
                           {2, c.R - in, 0},
                           {c.Lx / 2 - in, 0, c.R - in},  // inside
                           {-c.Lx / 2 + in, 0.3, -0.4}};
    for (const Vec3& p : points) {
      const Vec3 expected = StrCylReference(c, p);
      const Vec3 actual = StrCylCoilLocalField(c, p, Quadrature());
      EXPECT_LE(MaxDiff(actual, expected), kExact * Norm(expected))
          << "at " << p.x << " " << p.y << " " << p.z;
    }
  }
}

TEST(StraightConductorExact, FiniteOnSurfacesEdgesRimsAndAxes) {
  const StrCylCoil round{.Lx = 10, .R = 1, .CurrentDensity = 1};
  const StrRecCoil bar{.Lx = 10, .W = 4, .T = 2, .CurrentDensity = 1};
  for (const Vec3& p : {Vec3{5, 1, 0}, Vec3{5, 0, 0}, Vec3{0, 0, 1}, Vec3{5, 0.6, 0.8},
                        Vec3{-5, 0, -1}, Vec3{0, 0, 0}, Vec3{7, 0, 0}}) {
    const Vec3 h = StrCylCoilLocalField(round, p, Quadrature());
    EXPECT_TRUE(std::isfinite(h.y) && std::isfinite(h.z)) << p.x << " " << p.y << " " << p.z;
  }
  for (const Vec3& p : {Vec3{5, 2, 0}, Vec3{5, 2, -2}, Vec3{0, 2, 0}, Vec3{0, 0, 0}, Vec3{5, 0, -1},
                        Vec3{-5, -2, -2}, Vec3{0, 0, -1}, Vec3{6, 0, -1}}) {
    const Vec3 h = StrRecCoilLocalField(bar, p, Quadrature());
    EXPECT_TRUE(std::isfinite(h.y) && std::isfinite(h.z)) << p.x << " " << p.y << " " << p.z;
  }
}

// A long round wire is the infinite wire: 2·I_enclosed/ρ inside and out, and a reversed current
// reverses the field exactly.
TEST(StraightConductorExact, LongRoundWireIsTheInfiniteWire) {
  const StrCylCoil c{.Lx = 1e6, .R = 1, .CurrentDensity = 2};
  for (double rho : {0.3, 0.999, 1.001, 10.0}) {
    const double enclosed = c.CurrentDensity * Pi() * std::fmin(rho, c.R) * std::fmin(rho, c.R);
    const Vec3 h = StrCylCoilLocalField(c, {0, 0, rho}, Quadrature());
    EXPECT_NEAR(h.y, -2 * enclosed / rho, 1e-9 * 2 * enclosed / rho);
    EXPECT_NEAR(h.z, 0, 1e-15);
  }
  const StrCylCoil reversed{.Lx = 1e6, .R = 1, .CurrentDensity = -2};
  const Vec3 p{3, 0.7, -1.2};
  const Vec3 h = StrCylCoilLocalField(c, p, Quadrature());
  const Vec3 r = StrCylCoilLocalField(reversed, p, Quadrature());
  EXPECT_EQ(r.y, -h.y);
  EXPECT_EQ(r.z, -h.z);
}

}  // namespace
}  // namespace tavrine

// The round-wire arc against an independent long-double reference at graded distances from the
// wire's surface, inside and outside, and its consistency with the full turn.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

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

// ∫ f over [lo, hi], split at the given interior points.
Pair2 Split(const std::function<Pair2(Ld)>& f, Ld lo, Ld hi, std::vector<Ld> at, Ld tol) {
  at.push_back(lo);
  at.push_back(hi);
  std::sort(at.begin(), at.end());
  Pair2 sum{0, 0};
  for (size_t k = 0; k + 1 < at.size(); ++k) {
    if (at[k] >= lo && at[k + 1] <= hi && at[k + 1] > at[k]) {
      const Pair2 v = Adaptive(f, at[k], at[k + 1], tol);
      sum = {sum[0] + v[0], sum[1] + v[1]};
    }
  }
  return sum;
}

// x + X with X = sqrt(x² + d), without cancellation.
Ld RimTerm(Ld x, Ld big_x, Ld d) {
  return x >= 0 ? x + big_x : d / (big_x - x);
}

// Biot–Savart over the torus section: the radial integral at each height in closed form (the
// textbook primitives), the height (as ζ = rwire·sin β) and the angle adaptively, split where
// the integrand turns singular.
Vec3 SecCylReference(const SecCylCoil& coil, const Vec3& pt) {
  const Ld x = pt.x, y = pt.y, z = pt.z, rw = coil.rwire, big_r = coil.R;
  const Ld half = coil.Angle / 2.0L, phi = std::atan2(y, x), pi = 3.14159265358979323846L;
  auto slice = [&](Ld th) -> std::array<Ld, 3> {  // the brackets integrated over the height
    const Ld cs = std::cos(th), sn = std::sin(th), a = x * cs + y * sn, c = x * sn - y * cs;
    auto g = [&](Ld beta) -> Pair2 {
      const Ld zeta = rw * std::sin(beta), s = rw * std::cos(beta), dz = z - zeta;
      const Ld d = dz * dz + c * c, l = big_r + s - a, m = big_r - s - a;
      const Ld ba = std::sqrt(l * l + d), bb = std::sqrt(m * m + d);
      if (d == 0) {
        return {0, 0};
      }
      const Ld sq = (l - m) * (l + m), amb = sq / (ba + bb);
      const Ld spread =
          l * m > 0 ? sq / ((l * bb + m * ba) * ba * bb) : (l * bb - m * ba) / (d * ba * bb);
      const Ld lg = std::log(RimTerm(l, ba, d) / RimTerm(m, bb, d));
      return {s * (a * spread + amb / (ba * bb)) * dz,
              s * (-spread * d + a * amb / (ba * bb) + lg)};
    };
    const Ld h = std::hypot(a - big_r, z);
    std::vector<Ld> at{std::asin(std::clamp(h > 0 ? z / h : 0.0L, -1.0L, 1.0L))};
    if (h < rw) {
      at.push_back(std::asin(z / rw));
    }
    const Pair2 v = Split(g, -pi / 2, pi / 2, at, 1e-14L);
    return {v[0] * cs, v[0] * sn, v[1]};
  };
  std::array<Ld, 3> sum{};
  for (const auto& [lo, hi] : {std::pair<Ld, Ld>{-half, std::clamp(phi, -half, half)},
                               {std::clamp(phi, -half, half), half}}) {
    if (hi > lo) {  // split at the point's azimuth where it lies within the arc
      const std::array<Ld, 3> v = testing::AdaptiveN<3>(slice, lo, hi, 1e-13L);
      for (int k = 0; k < 3; ++k) {
        sum[k] += v[k];
      }
    }
  }
  const Ld j = coil.CurrentDensity;  // dζ = s·dβ carries the wire's radius
  return {static_cast<double>(j * sum[0]), static_cast<double>(j * sum[1]),
          static_cast<double>(j * sum[2])};
}

// A point at distance d outside (d > 0) or inside (d < 0) the wire's surface, at angle ψ round
// the cross-section and azimuth θ.
Vec3 AtSurface(const SecCylCoil& c, double d, double psi, double theta) {
  const double r = c.R + (c.rwire + d) * std::cos(psi), z = (c.rwire + d) * std::sin(psi);
  return {r * std::cos(theta), r * std::sin(theta), z};
}

// The kernel within 1e-9 of |H| of the reference at p.
void ExpectReferenceField(const SecCylCoil& c, const Vec3& p) {
  const Vec3 expected = SecCylReference(c, p);
  EXPECT_LE(MaxDiff(SecCylCoilLocalField(c, p, Quadrature()), expected), 1e-9 * Norm(expected))
      << "at " << p.x << " " << p.y << " " << p.z;
}

TEST(RoundArcExact, AtGradedDistancesInsideAndOutside) {
  const SecCylCoil c{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 3};
  const double end = c.Angle / 2;
  for (double d : {1e-3, 1e-2, 0.1, 1.0, 10.0}) {
    const double in = -std::fmin(d, 0.9);
    const Vec3 points[] = {AtSurface(c, d, 0.3, 0.2),         AtSurface(c, d, 2.5, -0.7),
                           AtSurface(c, in, 0.8, 0.1),        AtSurface(c, in, -2.9, -0.5),
                           AtSurface(c, d, 0.5, end + d / 9), AtSurface(c, in, 1.0, end - 0.01),
                           AtSurface(c, d, -1.567, 0.3)};  // under the wire, the chord's pole near
    SCOPED_TRACE(d);
    for (const Vec3& p : points) {
      ExpectReferenceField(c, p);
    }
  }
}

// Four quarter turns, each seen from a point turned back by its offset, make the full turn; on
// the axis the full turn's field is 2πJ·∫ over the disc of r²/(r² + (z − ζ)²)^(3/2), whose radial
// integral is asinh(r/b) − r/sqrt(r² + b²).
TEST(RoundArcExact, QuartersMakeTheFullTurnAndItsAxisField) {
  const SecCylCoil quarter{.R = 10, .Angle = Pi() / 2, .rwire = 1, .CurrentDensity = 2};
  SecCylCoil turn = quarter;
  turn.Angle = 2 * Pi();
  for (const Vec3& p : {AtSurface(turn, 1e-3, 0.3, 0.79), AtSurface(turn, -0.5, 2, 2.2),
                        AtSurface(turn, 0.2, -1, -0.8), Vec3{3, 1, 4}}) {
    Vec3 sum;
    for (int k = 0; k < 4; ++k) {
      const double b = k * Pi() / 2, c = std::cos(b), s = std::sin(b);
      const Vec3 h =
          SecCylCoilLocalField(quarter, {c * p.x + s * p.y, -s * p.x + c * p.y, p.z}, Quadrature());
      sum += Vec3{c * h.x - s * h.y, s * h.x + c * h.y, h.z};
    }
    const Vec3 whole = SecCylCoilLocalField(turn, p, Quadrature());
    EXPECT_LE(MaxDiff(sum, whole), 1e-9 * Norm(whole)) << p.x << " " << p.y << " " << p.z;
  }
  // heights level with height nodes of the rules, where a slice passes through the point
  for (double z : {0.0, 1.0, 30.0, 0.5461726500440457, std::sin(-Pi() / 2 + 2.5 * Pi() / 7)}) {
    auto disc = [&](Ld beta) -> Pair2 {
      const Ld zeta = std::sin(beta), s = std::cos(beta), b = std::abs(z - zeta);
      auto f = [b](Ld r) { return std::asinh(r / b) - r / std::sqrt(r * r + b * b); };
      return {s * (f(turn.R + s) - f(turn.R - s)), 0};
    };
    const Ld pi = 3.14159265358979323846L;
    const double axial = static_cast<double>(2 * pi * turn.CurrentDensity *
                                             Adaptive(disc, -pi / 2, pi / 2, 1e-16L)[0]);
    const Vec3 h = SecCylCoilLocalField(turn, {0, 0, z}, Quadrature());
    EXPECT_NEAR(h.z, axial, 1e-9 * std::abs(axial));
    EXPECT_NEAR(std::hypot(h.x, h.y), 0, 1e-9 * std::abs(axial));
  }
}

// Next to the centre line and level with it, the point's own height and its nearest rim point
// lie a hair apart in β: the graded rule must resolve both. In the midplane the radial field is
// zero by the mirror symmetry z → −z.
TEST(RoundArcExact, InsideNearTheCentreLineAndMidplane) {
  const SecCylCoil c{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 3};
  for (const Vec3& p : {AtSurface(c, -0.9, 0.01, 0.1), AtSurface(c, -0.95, 0.04, -0.9),
                        AtSurface(c, -0.5, 0.04, 0.3)}) {
    ExpectReferenceField(c, p);
  }
  for (double depth : {-0.99, -0.9, -0.3}) {
    const Vec3 h = SecCylCoilLocalField(c, AtSurface(c, depth, 0, 0.2), Quadrature());
    EXPECT_LE(std::hypot(h.x, h.y), 1e-9 * Norm(h)) << depth;
  }
}

// A fat wire on a wide arc (its images a turn away lie close): inside, outside and past an end.
TEST(RoundArcExact, FatWireOnAWideArc) {
  const SecCylCoil c{.R = 3, .Angle = DegToRad(300), .rwire = 1.5, .CurrentDensity = 2};
  const double end = c.Angle / 2;
  for (const Vec3& p : {AtSurface(c, -0.01, 0.4, 1.0), AtSurface(c, 0.01, 2.0, -2.0),
                        AtSurface(c, -1.2, -1.0, 2.5), AtSurface(c, 0.02, 1.4, end + 0.01)}) {
    ExpectReferenceField(c, p);
  }
}

// On the centre line itself, and within the tube's extension past an end (a thin wire, whose
// end face lies much nearer than the tube's surface there).
TEST(RoundArcExact, OnTheCentreLineAndInTheTubePastAnEnd) {
  const SecCylCoil c{.R = 5, .Angle = DegToRad(300), .rwire = 0.2, .CurrentDensity = 2};
  const double end = c.Angle / 2;
  std::vector<Vec3> points = {AtSurface(c, -0.2, 0, 0), AtSurface(c, -0.2, 0, 2)};
  for (double past : {1e-3, 0.03, 0.3, 3.0}) {  // mm past the end face
    points.push_back(AtSurface(c, -0.198, 0.5, end + past / c.R));
    points.push_back(AtSurface(c, -0.1, 2.0, end + past / c.R));
  }
  for (const Vec3& p : points) {
    ExpectReferenceField(c, p);
  }
}

TEST(RoundArcExact, FiniteOnTheSurfaceCentreLineAndAxis) {
  const SecCylCoil arc{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 1};
  const double end = arc.Angle / 2;
  for (const Vec3& p : {AtSurface(arc, 0, 0.4, 0.2), AtSurface(arc, -1, 0, 0.3),
                        AtSurface(arc, 0, 1.2, end), AtSurface(arc, -0.5, 0, end), Vec3{0, 0, 0},
                        AtSurface(arc, 0, Pi() / 2, 0), Vec3{0, 0, 1}}) {
    const Vec3 h = SecCylCoilLocalField(arc, p, Quadrature());
    EXPECT_TRUE(std::isfinite(h.x) && std::isfinite(h.y) && std::isfinite(h.z))
        << p.x << " " << p.y << " " << p.z;
  }
}

}  // namespace
}  // namespace tavrine

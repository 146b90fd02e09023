// The rectangular-wire arc against an independent long-double reference at graded distances
// from its faces, edges and ends, inside and outside, and its consistency with other sources.
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

// r − a + D as num/den without cancellation, D = sqrt((r − a)² + rest2).
Ld RimTerm(Ld u, Ld big_d, Ld rest2) {
  return u >= 0 ? u + big_d : rest2 / (big_d - u);
}

// ∫ over the angles [lo, hi], split at the point's azimuth φ where it lies inside.
Pair2 OverAngles(const std::function<Pair2(Ld)>& f, Ld lo, Ld hi, Ld phi, Ld tol) {
  if (lo < phi && phi < hi) {
    const Pair2 a = Adaptive(f, lo, phi, tol), b = Adaptive(f, phi, hi, tol);
    return {a[0] + b[0], a[1] + b[1]};
  }
  return Adaptive(f, lo, hi, tol);
}

// The Biot–Savart volume integral with the radial and height integrals of x and y and the
// height integral of z done by hand (the textbook brackets), the rest adaptively.
Vec3 SecRecReference(const SecRecCoil& c, const Vec3& pt) {
  const Ld x = pt.x, y = pt.y, z = pt.z, t = c.T, ri = c.Ri, ro = c.Ro;
  const Ld rho2 = x * x + y * y, phi = std::atan2(y, x), half = c.Angle / 2.0L;
  auto radial = [&](Ld th) -> Pair2 {
    const Ld cs = std::cos(th), sn = std::sin(th), a = x * cs + y * sn, ee = rho2 - a * a;
    auto d = [&](Ld r, Ld h) { return std::sqrt((r - a) * (r - a) + ee + h * h); };
    const Ld d0o = d(ro, z), d0i = d(ri, z), d1o = d(ro, z + t), d1i = d(ri, z + t);
    const Ld l =
        std::log(RimTerm(ro - a, d0o, ee + z * z) * RimTerm(ri - a, d1i, ee + (z + t) * (z + t)) /
                 (RimTerm(ri - a, d0i, ee + z * z) * RimTerm(ro - a, d1o, ee + (z + t) * (z + t))));
    const Ld g = d1i + d0o - d0i - d1o + a * l;
    return {g * cs, g * sn};
  };
  auto ring = [&](Ld r) -> Pair2 {  // ∫ dθ of the z integrand at radius r
    auto f = [&](Ld th) -> Pair2 {
      const Ld a = x * std::cos(th) + y * std::sin(th), q = r * r - 2 * a * r + rho2;
      const Ld e0 = std::sqrt(z * z + q), e1 = std::sqrt(q + (t + z) * (t + z));
      const Ld b = z * (t + z) > 0
                       ? (z * z - (t + z) * (t + z)) / (e0 * e1 * (z * e1 + (t + z) * e0))
                       : (z * e1 - (t + z) * e0) / (q * e0 * e1);
      return {b * r * (a - r), 0};
    };
    return OverAngles(f, -half, half, phi, 1e-12L);
  };
  const Pair2 xy = OverAngles(radial, -half, half, phi, 1e-14L);
  const Ld rho = std::sqrt(rho2);
  Pair2 zz{0, 0};
  for (const auto& [a, b] : {std::pair<Ld, Ld>{ri, std::fmin(std::fmax(rho, ri), ro)},
                             {std::fmin(std::fmax(rho, ri), ro), ro}}) {
    if (b > a) {
      zz[0] += Adaptive(ring, a, b, 1e-11L)[0];
    }
  }
  const Ld j = c.CurrentDensity;
  return {static_cast<double>(j * xy[0]), static_cast<double>(j * xy[1]),
          static_cast<double>(j * zz[0])};
}

// A point at radius r, azimuth θ and height z.
Vec3 Polar(double r, double theta, double z) {
  return {r * std::cos(theta), r * std::sin(theta), z};
}

TEST(ArcConductorExact, RectangularArcAtGradedDistances) {
  const SecRecCoil c{.Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 3};
  const double end = c.Angle / 2;
  for (double d : {1e-3, 1e-2, 0.1, 1.0, 10.0}) {
    const double in = std::fmin(d, 0.9);
    const Vec3 points[] = {
        Polar(6.5, 0.2, d),           Polar(6.5, -0.3, -c.T - d),        // top and bottom faces
        Polar(c.Ro + d, 0.1, -1),     Polar(c.Ri - d, 0.5, -0.4),        // outer and inner walls
        Polar(c.Ro + d, 0.3, d),      Polar(c.Ri - d, -0.6, -c.T),       // edges
        Polar(6, end + d / 6, -1),    Polar(c.Ro + d, -end - d / 8, d),  // end face, corner
        Polar(6.5, 0.4, -in),         Polar(c.Ri + in, -0.7, -1),        // inside
        Polar(6.5, end - in / 7, -1), Polar(0, 0, -1)};                  // inside the end, axis
    for (const Vec3& p : points) {
      const Vec3 expected = SecRecReference(c, p);
      const Vec3 actual = SecRecCoilLocalField(c, p, Quadrature());
      EXPECT_LE(MaxDiff(actual, expected), 1e-9 * Norm(expected))
          << "d " << d << " at " << p.x << " " << p.y << " " << p.z;
    }
  }
}

TEST(ArcConductorExact, FullTurnAndFiniteEverywhere) {
  const SecRecCoil turn{.Ri = 5, .Ro = 8, .T = 2, .Angle = 2 * Pi(), .CurrentDensity = 1};
  for (const Vec3& p : {Polar(6, 3.1, -1), Polar(8.001, -3.14, 0.001), Polar(5, 1, 0)}) {
    const Vec3 expected = SecRecReference(turn, p);
    const Vec3 actual = SecRecCoilLocalField(turn, p, Quadrature());
    EXPECT_LE(MaxDiff(actual, expected), 1e-9 * Norm(expected)) << p.x << " " << p.y;
  }
  const SecRecCoil arc{.Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 1};
  const double end = arc.Angle / 2;
  for (const Vec3& p : {Polar(5, 0, 0), Polar(8, end, -2), Polar(6, end, -1), Polar(6, 0, 0),
                        Polar(8, 0.3, -1), Polar(0, 0, 0), Polar(5, -end, 0)}) {
    const Vec3 h = SecRecCoilLocalField(arc, p, Quadrature());
    EXPECT_TRUE(std::isfinite(h.x) && std::isfinite(h.y) && std::isfinite(h.z))
        << p.x << " " << p.y << " " << p.z;
  }
}

// Four quarter turns, each seen from a point turned back by its offset, make the full turn; on
// the axis the full turn has the thick coil's closed form: 2πJ·Σ ±h·ln(r + sqrt(r² + h²)) over
// the corners r = Ri, Ro and h = z, z + T.
TEST(ArcConductorExact, QuartersMakeTheFullTurnAndItsAxisField) {
  const SecRecCoil quarter{.Ri = 5, .Ro = 8, .T = 2, .Angle = Pi() / 2, .CurrentDensity = 2};
  SecRecCoil turn = quarter;
  turn.Angle = 2 * Pi();
  for (const Vec3& p : {Polar(8.001, 0.79, -1), Polar(6, 0.3, 1e-3), Polar(6.5, 2.2, -1.5),
                        Polar(4.99, -0.8, -2.001), Polar(3, 1, 4)}) {
    Vec3 sum;
    for (int k = 0; k < 4; ++k) {
      const double b = k * Pi() / 2, c = std::cos(b), s = std::sin(b);
      const Vec3 h =
          SecRecCoilLocalField(quarter, {c * p.x + s * p.y, -s * p.x + c * p.y, p.z}, Quadrature());
      sum += Vec3{c * h.x - s * h.y, s * h.x + c * h.y, h.z};
    }
    const Vec3 whole = SecRecCoilLocalField(turn, p, Quadrature());
    EXPECT_LE(MaxDiff(sum, whole), 1e-9 * Norm(whole)) << p.x << " " << p.y << " " << p.z;
  }
  for (double z : {-1.0, 1e-3, 3.0}) {
    auto corner = [z](double r, double dz) {
      const double h = z + dz;
      return h * std::log(r + std::sqrt(r * r + h * h));
    };
    const double axial = 2 * Pi() * turn.CurrentDensity *
                         ((corner(turn.Ro, turn.T) - corner(turn.Ri, turn.T)) -
                          (corner(turn.Ro, 0) - corner(turn.Ri, 0)));
    const Vec3 h = SecRecCoilLocalField(turn, {0, 0, z}, Quadrature());
    EXPECT_NEAR(h.z, axial, 1e-9 * std::abs(axial));
    EXPECT_NEAR(std::hypot(h.x, h.y), 0, 1e-9 * std::abs(axial));
  }
}

}  // namespace
}  // namespace tavrine

// Each kernel against a direct numerical integration of its sources: the charge sheets of the
// magnets and the Biot–Savart volume integral of the conductors (dH = J·dV × r / r³ in Oe for
// A/mm² and mm), on composite Gauss rules far finer than the kernels' own.
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

using testing::MaxDiff;
using testing::Norm;

// ∫ f over [u1, u2] on `panels` panels of a 16-node rule.
double Integrate(double u1, double u2, int panels, const std::function<double(double)>& f) {
  static const GaussLegendreTable rule(16);
  double sum = 0;
  const double width = (u2 - u1) / panels;
  for (int p = 0; p < panels; ++p) {
    for (int k = 0; k < rule.Size(); ++k) {
      sum += rule.Weights()[k] * f(u1 + width * (p + (rule.Nodes()[k] + 1) / 2));
    }
  }
  return sum * width / 2;
}

// Vector integral over a box of parameters; no panels in the last one makes it two-dimensional.
Vec3 Integrate3(const double lo[3],
                const double hi[3],
                const int panels[3],
                const std::function<Vec3(double, double, double)>& f) {
  auto component = [&](int c) {
    return Integrate(lo[0], hi[0], panels[0], [&](double u) {
      return Integrate(lo[1], hi[1], panels[1], [&](double v) {
        auto pick = [&](double w) {
          const Vec3 value = f(u, v, w);
          return c == 0 ? value.x : c == 1 ? value.y : value.z;
        };
        return panels[2] == 0 ? pick(lo[2]) : Integrate(lo[2], hi[2], panels[2], pick);
      });
    });
  };
  return {component(0), component(1), component(2)};
}

// Field at p of a point charge q at s, or of a current element j·dV along e at s.
Vec3 Coulomb(double q, const Vec3& p, const Vec3& s) {
  const Vec3 r = p - s;
  return (q / std::pow(Norm(r), 3)) * r;
}
Vec3 BiotSavart(double j, const Vec3& e, const Vec3& p, const Vec3& s) {
  const Vec3 r = p - s;
  const Vec3 cross{e.y * r.z - e.z * r.y, e.z * r.x - e.x * r.z, e.x * r.y - e.y * r.x};
  return (j / std::pow(Norm(r), 3)) * cross;
}

TEST(BruteForce, SectorMagnetFaces) {
  const SecMag m{.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = DegToRad(100), .Br = 1000};
  const Vec3 p{4, 6, 2};
  const double lo[3] = {m.Ri, -m.OpenAngle / 2, -m.T}, hi[3] = {m.Ro, m.OpenAngle / 2, 0};
  const int panels[3] = {4, 8, 1};
  const double sigma = m.Br / (4 * Pi());
  // The parameter w picks the face: the upper half of [−T, 0] stands for z = 0.
  const Vec3 expected = Integrate3(lo, hi, panels, [&](double r, double t, double w) {
    const bool upper = w > -m.T / 2;
    const Vec3 s{r * std::cos(t), r * std::sin(t), upper ? 0.0 : -m.T};
    return Coulomb((upper ? sigma : -sigma) * r * 2 / m.T, p, s);
  });
  NullNotices none;
  const Vec3 actual = SecMagLocalField(m, p, Quadrature(), none);
  EXPECT_LT(MaxDiff(actual, expected), 1e-5 * Norm(expected));
}

TEST(BruteForce, RhMagnetSurfaceCharge) {
  const RhMag m{.R = 5, .HT = 4, .Br = 1000};
  const double lo[3] = {0, -m.HT, 0}, hi[3] = {2 * Pi(), 0, 0};
  const int panels[3] = {16, 4, 0};
  for (const Vec3 p : {Vec3{7, 3, 1}, Vec3{-2, 1, -6}, Vec3{0, 0, 1.5}}) {
    const Vec3 expected = Integrate3(lo, hi, panels, [&](double t, double z, double) {
      const double sigma = m.Br / (4 * Pi()) * std::cos(t);
      return Coulomb(sigma * m.R, p, {m.R * std::cos(t), m.R * std::sin(t), z});
    });
    NullNotices none;
    const Vec3 actual = RhMagLocalField(m, p, Quadrature(), none);
    EXPECT_LT(MaxDiff(actual, expected), 1e-6 * Norm(expected)) << p.x << " " << p.y;
  }
}

TEST(BruteForce, StraightWires) {
  const StrCylCoil round{.Lx = 10, .R = 1, .CurrentDensity = 2};
  const StrRecCoil flat{.Lx = 10, .W = 4, .T = 2, .CurrentDensity = 2};
  for (const Vec3 p : {Vec3{2, 3, 1.5}, Vec3{8, -1, 2.5}}) {
    const double lo[3] = {-5, 0, 0}, hi[3] = {5, 1, 2 * Pi()};
    const int panels[3] = {6, 1, 2};
    const Vec3 round_expected = Integrate3(lo, hi, panels, [&](double x, double r, double a) {
      return BiotSavart(round.CurrentDensity * r, {1, 0, 0}, p,
                        {x, r * std::cos(a), r * std::sin(a)});
    });
    EXPECT_LT(MaxDiff(StrCylCoilLocalField(round, p, Quadrature()), round_expected),
              1e-6 * Norm(round_expected));
    const double flo[3] = {-5, -2, -2}, fhi[3] = {5, 2, 0};
    const int fpanels[3] = {6, 2, 1};
    const Vec3 flat_expected = Integrate3(flo, fhi, fpanels, [&](double x, double y, double z) {
      return BiotSavart(flat.CurrentDensity, {1, 0, 0}, p, {x, y, z});
    });
    EXPECT_LT(MaxDiff(StrRecCoilLocalField(flat, p, Quadrature()), flat_expected),
              1e-6 * Norm(flat_expected));
  }
}

TEST(BruteForce, ArcConductors) {
  const SecCylCoil round{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 1};
  const Vec3 p{4, 3, 2};
  const double lo[3] = {-round.Angle / 2, 0, 0}, hi[3] = {round.Angle / 2, 1, 2 * Pi()};
  const int panels[3] = {8, 1, 2};
  const Vec3 round_expected = Integrate3(lo, hi, panels, [&](double t, double r, double a) {
    const double rr = round.R + r * std::cos(a);
    return BiotSavart(round.CurrentDensity * r * rr, {-std::sin(t), std::cos(t), 0}, p,
                      {rr * std::cos(t), rr * std::sin(t), r * std::sin(a)});
  });
  // The wire's height rule meets the square-root end of its cross-section: a few 1e-6.
  EXPECT_LT(MaxDiff(SecCylCoilLocalField(round, p, Quadrature()), round_expected),
            2e-5 * Norm(round_expected));

  const SecRecCoil flat{.Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 1};
  const Vec3 q{3, -2, 1.5};
  const double flo[3] = {-flat.Angle / 2, flat.Ri, -flat.T}, fhi[3] = {flat.Angle / 2, flat.Ro, 0};
  const int fpanels[3] = {8, 2, 1};
  const Vec3 flat_expected = Integrate3(flo, fhi, fpanels, [&](double t, double r, double z) {
    return BiotSavart(flat.CurrentDensity * r, {-std::sin(t), std::cos(t), 0}, q,
                      {r * std::cos(t), r * std::sin(t), z});
  });
  EXPECT_LT(MaxDiff(SecRecCoilLocalField(flat, q, Quadrature()), flat_expected),
            1e-6 * Norm(flat_expected));
}

}  // namespace
}  // namespace tavrine

// Sector-magnet points in a face plane beyond the face, on a ray from the axis that meets it:
// there the sheet integrand as written is a small difference over a small g at the nodes near
// the ray. The kernel is held to that formula evaluated in quadruple precision.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include <quadmath.h>

#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "field/magnet_reference.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

using testing::MaxDiff;
using testing::PointSource;

using Wide = __float128;

struct WideVec {
  Wide x = 0, y = 0, z = 0;
};

// One charged face (height h below the point, face weight w) by the sheet formula as written,
// in long double; a node with A·g·B = 0 adds 0.
void AddFace(
    const SecMag& m, const GaussLegendreTable& g, Wide x, Wide y, Wide h, Wide w, WideVec& out) {
  const Wide rho = sqrtq(x * x + y * y), phi = atan2q(y, x);
  const Wide ri = m.Ri, ro = m.Ro, half = m.OpenAngle / 2.0;
  const Wide t = rho * rho + h * h, c_phi = cosq(phi), s_phi = sinq(phi);
  Wide sx = 0, sy = 0, sz = 0;
  for (int k = 0; k < g.Size(); ++k) {
    const Wide theta = static_cast<Wide>(m.OpenAngle / 2 * g.Nodes()[k]);
    const Wide c_theta = cosq(theta), s_theta = sinq(theta);
    const Wide c = c_phi * c_theta + s_phi * s_theta, sd = s_phi * c_theta - c_phi * s_theta;
    const Wide gg = rho * rho * sd * sd + h * h;
    const Wide a = sqrtq(ro * ro - 2 * ro * rho * c + t);
    const Wide b = sqrtq(ri * ri - 2 * ri * rho * c + t);
    if (a * gg * b == 0) {
      continue;
    }
    const Wide u = ((ro * rho * c - t) / a - (ri * rho * c - t) / b) / gg;
    const Wide kk = rho * rho * (c * c - sd * sd) - h * h;
    const Wide v = ((ro * kk - t * rho * c) / a - (ri * kk - t * rho * c) / b) / gg;
    const Wide l = logq(fabsq((2 * ro - 2 * rho * c + 2 * a) / (2 * ri - 2 * rho * c + 2 * b))) + v;
    const Wide wk = g.Weights()[k];
    sx += wk * (c_phi * rho * u - c_theta * l);
    sy += wk * (s_phi * rho * u - s_theta * l);
    sz += wk * h * u;
  }
  const Wide scale = half * w * m.Br / (16 * atanq(1));
  out.x += sx * scale;
  out.y += sy * scale;
  out.z += sz * scale;
}

Vec3 WideField(const SecMag& m, const Vec3& p) {
  WideVec f;
  AddFace(m, Quadrature().sector, p.x, p.y, p.z, 1, f);
  AddFace(m, Quadrature().sector, p.x, p.y, static_cast<Wide>(p.z) + m.T, -1, f);
  return {static_cast<double>(f.x), static_cast<double>(f.y), static_cast<double>(f.z)};
}

SecMag Sector(PointSource& source) {
  SecMag m;
  m.Ri = source.Pick(4) == 0 ? 0.0 : source.Uniform(0.5, 10);
  m.Ro = m.Ri + source.Uniform(0.5, 15);
  m.T = source.Uniform(0.5, 10);
  m.OpenAngle = source.Pick(4) == 0 ? 2 * Pi() : source.Uniform(0.2, 2 * Pi());
  m.Br = source.Uniform(-13000, 13000);
  return m;
}

TEST(SecMagFacePlane, PointsOnTheRayBeyondTheFaceKeepTheirDigits) {
  PointSource source(91);
  NullNotices none;
  for (int i = 0; i < 80; ++i) {
    const SecMag m = Sector(source);
    const bool hole = i % 2 == 0 && m.Ri > 0;
    const double r = hole ? source.Uniform(0.05, 0.95) * m.Ri : m.Ro * source.Uniform(1.05, 3);
    const double angle = source.Uniform(-0.45, 0.45) * m.OpenAngle;
    const Vec3 p{r * std::cos(angle), r * std::sin(angle), source.Pick(2) == 0 ? 0.0 : -m.T};
    const Vec3 expected = SecMagReachOf(m, p).near ? reference::SecMagField(m, p) : WideField(m, p);
    const Vec3 actual = SecMagLocalField(m, p, Quadrature(), none);
    ASSERT_LE(MaxDiff(actual, expected), 1e-12 * testing::Norm(expected))
        << i << " at " << p.x << " " << p.y << " " << p.z << " Ri " << m.Ri << " Ro " << m.Ro;
  }
}

// Just off the plane beside the face the same nodes are nearly as delicate; in general
// position nothing is.
TEST(SecMagFacePlane, PointsNearThePlaneAndInGeneralPositionToo) {
  PointSource source(92);
  NullNotices none;
  for (int i = 0; i < 80; ++i) {
    const SecMag m = Sector(source);
    const double angle = source.Uniform(-Pi(), Pi());
    double r = source.Uniform(0, 2 * m.Ro), z = source.Uniform(-2 * m.T, m.T);
    if (i % 2 == 1) {  // just off a face plane, beside the face
      r = source.Pick(2) == 0 ? source.Uniform(0, m.Ri) : source.Uniform(m.Ro, 2 * m.Ro);
      z = (source.Pick(2) == 0 ? 0.0 : -m.T) + source.Uniform(-1e-3, 1e-3);
    }
    const Vec3 p{r * std::cos(angle), r * std::sin(angle), z};
    const Vec3 expected = SecMagReachOf(m, p).near ? reference::SecMagField(m, p) : WideField(m, p);
    const Vec3 actual = SecMagLocalField(m, p, Quadrature(), none);
    ASSERT_LE(MaxDiff(actual, expected), 1e-12 * testing::Norm(expected))
        << i << " at " << p.x << " " << p.y << " " << p.z << " Ri " << m.Ri << " Ro " << m.Ro;
  }
}

// Inside a face, in its plane or within rounding of it (a grid laid on a turned magnet's face),
// the field is that of the face's outer side: the in-plane field, continuous through the sheet,
// as the reference gives it either side, and the normal field half the jump Br above their mean.
TEST(SecMagFacePlane, PointsOnAFaceTakeTheFieldOfItsOuterSide) {
  PointSource source(93);
  NullNotices none;
  for (int i = 0; i < 40; ++i) {
    const SecMag m = Sector(source);
    const double r = m.Ri + (m.Ro - m.Ri) * source.Uniform(0.02, 0.98);
    const double angle = source.Uniform(-0.49, 0.49) * m.OpenAngle;
    const Vec3 on{r * std::cos(angle), r * std::sin(angle), source.Pick(2) == 0 ? 0.0 : -m.T};
    const Vec3 off{0, 0, 1e-9 * m.Ro};
    const Vec3 mean =
        0.5 * (reference::SecMagField(m, on + off) + reference::SecMagField(m, on - off));
    const Vec3 expected = mean + Vec3{0, 0, m.Br / 2};
    const double rounding = i % 2 == 0 ? 0.0 : source.Uniform(-1e-15, 1e-15) * m.Ro;
    const Vec3 actual = SecMagLocalField(m, on + Vec3{0, 0, rounding}, Quadrature(), none);
    ASSERT_LE(MaxDiff(actual, expected), 1e-11 * testing::Norm(expected))
        << i << " at " << on.x << " " << on.y << " " << on.z + rounding << " Ri " << m.Ri << " Ro "
        << m.Ro;
  }
}

// On the axis in a face plane every node lies on the point's ray, yet none is undefined: the
// face is not dropped and no notice is raised.
TEST(SecMagFacePlane, TheAxisInAFacePlaneKeepsTheFacesField) {
  PointSource source(94);
  for (int i = 0; i < 8; ++i) {
    SecMag m = Sector(source);
    m.Ri = std::max(m.Ri, 0.5);
    const Vec3 on{0, 0, i % 2 == 0 ? 0.0 : -m.T}, off{0, 0, 1e-9 * m.Ro};
    const Vec3 expected =
        0.5 * (reference::SecMagField(m, on + off) + reference::SecMagField(m, on - off));
    NoticeBoard board;
    const Vec3 actual = SecMagLocalField(m, on, Quadrature(), board);
    EXPECT_LE(MaxDiff(actual, expected), 1e-11 * testing::Norm(expected)) << i;
    EXPECT_FALSE(board.IsOpen(NoticeId::Caution3)) << i;
  }
}

// On a rim or side in a face plane, also where a turned magnet's transform leaves the point a
// rounding away from it, the field is unbounded: the notice says so, and the finite value given
// there does not depend on the rounding, so a grid read back from its file gives it again.
TEST(SecMagFacePlane, PointsOnAnEdgeWithinRoundingRaiseTheNoticeAndAgree) {
  PointSource source(95);
  for (int i = 0; i < 12; ++i) {
    const SecMag m = Sector(source);
    const double r = i % 3 == 0 && m.Ri > 0 ? m.Ri : m.Ro;
    const double angle = source.Uniform(-0.4, 0.4) * m.OpenAngle;
    const double rounding = source.Uniform(-1e-15, 1e-15) * m.Ro;
    const Vec3 on{r * std::cos(angle), r * std::sin(angle), i % 2 == 0 ? 0.0 : -m.T};
    const Vec3 off = (1 + rounding / m.Ro) * on + Vec3{0, 0, rounding};
    NoticeBoard board;
    const Vec3 field = SecMagLocalField(m, off, Quadrature(), board);
    EXPECT_TRUE(board.IsOpen(NoticeId::Caution3)) << i;
    EXPECT_TRUE(std::isfinite(field.x) && std::isfinite(field.y) && std::isfinite(field.z)) << i;
    const Vec3 exact = SecMagLocalField(m, on, Quadrature(), board);
    EXPECT_LE(MaxDiff(field, exact), 1e-9 * testing::Norm(exact)) << i;
  }
}

}  // namespace
}  // namespace tavrine

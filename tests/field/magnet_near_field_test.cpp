// The magnet kernels next to their charged surfaces: against the converged long-double
// references at 1 µm to 10 mm from faces, rims, edges and the curved surface, inside and out;
// sectors adding up to the ring there; finite values and the notice exactly on the surfaces.
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "field/magnet_reference.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

using testing::MaxDiff;
using testing::Norm;

const double kDistances[] = {1e-3, 1e-2, 0.1, 1, 10};

bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Vec3 Polar(double r, double angle, double z) {
  return {r * std::cos(angle), r * std::sin(angle), z};
}

// Points d from the upper face (above, and below it inside the body), the lower face, the
// outer rim (in its plane and diagonally), the inner rim, a radial side, on the axis and on the
// far side of the axis.
std::vector<Vec3> SectorPoints(const SecMag& m, double d) {
  const double mid = (m.Ri + m.Ro) / 2, a = 0.3 * m.OpenAngle / 2, s = d / std::sqrt(2.0);
  std::vector<Vec3> points{
      Polar(mid, a, d),       Polar(mid, a, -m.T - d),      Polar(m.Ro + d, a, 0),
      Polar(m.Ro + s, a, s),  Polar(m.Ro + s, a, -m.T - s), {0, 0, d},
      Polar(mid, a + Pi(), d)};
  if (d < m.T) {
    points.push_back(Polar(mid, a, -d));
  }
  if (d < m.Ri) {
    points.push_back(Polar(m.Ri - d, a, -m.T / 2));
  }
  if (m.OpenAngle < 2 * Pi()) {
    const Vec3 side = Polar(mid, m.OpenAngle / 2, -m.T / 2);
    points.push_back(side + d * Vec3{-std::sin(m.OpenAngle / 2), std::cos(m.OpenAngle / 2), 0});
  }
  return points;
}

TEST(MagnetNearField, SectorMatchesReferenceAtEveryDistance) {
  NullNotices none;
  for (const SecMag& m :
       {SecMag{.Ri = 10, .Ro = 20, .T = 5, .OpenAngle = DegToRad(60), .Br = 12000},
        SecMag{.Ri = 3, .Ro = 20, .T = 12, .OpenAngle = 2 * Pi(), .Br = -12000},
        SecMag{.Ri = 0, .Ro = 5, .T = 2, .OpenAngle = DegToRad(200), .Br = 4000},
        SecMag{.Ri = 4, .Ro = 8, .T = 3, .OpenAngle = DegToRad(350), .Br = 12000}}) {
    for (double d : kDistances) {
      for (const Vec3& p : SectorPoints(m, d)) {
        const Vec3 expected = reference::SecMagField(m, p);
        const Vec3 actual = SecMagLocalField(m, p, Quadrature(), none);
        EXPECT_LE(MaxDiff(actual, expected), 1e-9 * Norm(expected))
            << "d " << d << " at " << p.x << " " << p.y << " " << p.z << " Ro " << m.Ro;
      }
    }
  }
}

TEST(MagnetNearField, RhMatchesReferenceAtEveryDistance) {
  NullNotices none;
  for (const RhMag& m :
       {RhMag{.R = 10, .HT = 8, .Br = 12000}, RhMag{.R = 1.5, .HT = 12, .Br = -900}}) {
    for (double d : kDistances) {
      const double a = 0.7, s = d / std::sqrt(2.0);
      std::vector<Vec3> points{Polar(m.R + d, a, -m.HT / 2),   Polar(m.R + s, a, s),
                               Polar(m.R + s, a, -m.HT - s),   Polar(m.R, a, d),
                               Polar(m.R / 2, a, -m.HT - d),   {0, 0, d},
                               Polar(m.R + d, a + Pi(), -1e-3)};
      if (d < m.R) {
        points.push_back(Polar(m.R - d, a, -m.HT / 2));
        points.push_back(Polar(m.R - d, Pi() / 2, -1e-3));  // where the charge changes sign
      }
      for (const Vec3& p : points) {
        const Vec3 expected = reference::RhMagField(m, p);
        const Vec3 actual = RhMagLocalField(m, p, Quadrature(), none);
        EXPECT_LE(MaxDiff(actual, expected), 1e-9 * Norm(expected))
            << "d " << d << " at " << p.x << " " << p.y << " " << p.z << " R " << m.R;
      }
    }
  }
}

TEST(MagnetNearField, PrismMatchesReferenceAtEveryDistance) {
  NullNotices none;
  for (const RecMag& m : {RecMag{.a = 20, .b = 10, .l = 5, .Br = 12000},
                          RecMag{.a = 1, .b = 0.5, .l = 0.3, .Br = 1}}) {
    for (double d : kDistances) {
      const double x = m.a / 2, y = m.b / 2, s = d / std::sqrt(2.0);
      std::vector<Vec3> points{
          {0.3 * x, 0.2 * y, d}, {x + d, 0.2 * y, 0},          {x + s, y + s, s},
          {x - 2 * d, y - d, d}, {0.5 * x, 0.3 * y, -m.l - d}, {x + s, 0.1 * y, -m.l - s}};
      if (d < m.l / 2 && d < y) {
        points.push_back({x - d, y - d, -d});
      }
      for (const Vec3& p : points) {
        const Vec3 expected = reference::RecMagField(m, p);
        const Vec3 actual = RecMagLocalField(m, p, none);
        EXPECT_LE(MaxDiff(actual, expected), 1e-9 * Norm(expected))
            << "d " << d << " at " << p.x << " " << p.y << " " << p.z << " a " << m.a;
      }
    }
  }
}

// Six 60° sectors turned about the axis make the ring, right next to its faces and rims too;
// reversing Br reverses every component exactly.
TEST(MagnetNearField, SixSectorsMakeTheRingAndReversedSourcesReverse) {
  NullNotices none;
  const SecMag ring{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = 2 * Pi(), .Br = 1000};
  SecMag sector = ring;
  sector.OpenAngle = Pi() / 3;
  SecMag reversed = sector;
  reversed.Br = -sector.Br;
  for (const Vec3& p : {Polar(6, 0.4, 1e-3), Polar(8.001, 1.0, 0), Polar(4, -2.0, -2.01),
                        Polar(6.5, 0.5236, -1), Polar(3, 2.0, 0.1)}) {
    Vec3 sum;
    for (int k = 0; k < 6; ++k) {
      const double turn = k * Pi() / 3, c = std::cos(turn), s = std::sin(turn);
      const Vec3 local{c * p.x + s * p.y, -s * p.x + c * p.y, p.z};
      const Vec3 h = SecMagLocalField(sector, local, Quadrature(), none);
      sum += Vec3{c * h.x - s * h.y, s * h.x + c * h.y, h.z};
      const Vec3 r = SecMagLocalField(reversed, local, Quadrature(), none);
      EXPECT_EQ(r, (Vec3{-h.x, -h.y, -h.z}));
    }
    const Vec3 whole = SecMagLocalField(ring, p, Quadrature(), none);
    EXPECT_LT(MaxDiff(sum, whole), 1e-9 * Norm(whole)) << p.x << " " << p.y << " " << p.z;
  }
}

// Far along its axis from its centre the ring is a dipole of moment (Br/4π)·area·T; far along x the
// RH magnet one of (Br/4π)·πR²·HT.
TEST(MagnetNearField, FarFieldsAreDipoles) {
  NullNotices none;
  const SecMag ring{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = 2 * Pi(), .Br = 1000};
  const double r = 2000;
  const double ring_moment = ring.Br / (4 * Pi()) * Pi() * (64 - 16) * ring.T;
  const Vec3 on_axis = SecMagLocalField(ring, {0, 0, r - ring.T / 2}, Quadrature(), none);
  EXPECT_NEAR(on_axis.z, 2 * ring_moment / (r * r * r), 1e-4 * on_axis.z);
  const RhMag rh{.R = 5, .HT = 4, .Br = 1000};
  const double rh_moment = rh.Br / (4 * Pi()) * Pi() * 25 * rh.HT;
  const Vec3 along_x = RhMagLocalField(rh, {r, 0, -2}, Quadrature(), none);
  EXPECT_NEAR(along_x.x, 2 * rh_moment / (r * r * r), 1e-4 * along_x.x);
}

// Exactly on faces, rims, edges and axes every value is finite; on a rim or edge, where the
// field is undefined, the notice says so.
TEST(MagnetNearField, FiniteOnSurfacesAndNoticeOnRims) {
  const SecMag sector{.Ri = 4, .Ro = 8, .T = 2, .OpenAngle = DegToRad(90), .Br = 1000};
  for (const Vec3& p :
       {Vec3{8, 0, 0}, Vec3{4, 0, -2}, Polar(6, Pi() / 4, 0), Polar(8, Pi() / 4, -2)}) {
    NoticeBoard board;
    EXPECT_TRUE(Finite(SecMagLocalField(sector, p, Quadrature(), board)));
    EXPECT_TRUE(board.IsOpen(NoticeId::Caution3)) << p.x << " " << p.y << " " << p.z;
  }
  NullNotices none;
  for (const Vec3& p : {Vec3{6, 0, 0}, Vec3{6, 0, -2}, Vec3{0, 0, 0}, Vec3{0, 0, -1}}) {
    EXPECT_TRUE(Finite(SecMagLocalField(sector, p, Quadrature(), none)));
  }
  const RhMag rh{.R = 5, .HT = 4, .Br = 1000};
  for (const Vec3& p : {Vec3{5, 0, -2}, Vec3{0, 5, 0}, Polar(5, 1, -4), Vec3{0, 0, 0}}) {
    NoticeBoard board;
    EXPECT_TRUE(Finite(RhMagLocalField(rh, p, Quadrature(), board)));
    EXPECT_EQ(board.IsOpen(NoticeId::Caution3), p.x != 0 || p.y != 0);
  }
  const RecMag prism{.a = 10, .b = 6, .l = 4, .Br = 1000};
  for (const Vec3& p : {Vec3{5, 3, 0}, Vec3{5, 0, -4}, Vec3{0, 0, 0}, Vec3{0, 0, -2}}) {
    EXPECT_TRUE(Finite(RecMagLocalField(prism, p, none)));
  }
}

}  // namespace
}  // namespace tavrine

// Sign, axis and end cases of the current-element kernels.
#include <cmath>
#include <gtest/gtest.h>

#include "field/field_test_support.h"
#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

using testing::Quadrature;

Vec3 Negated(const Vec3& v) {
  return {-v.x, -v.y, -v.z};
}

TEST(CurrentCases, ReversedCurrentReversesEveryComponentExactly) {
  const Vec3 p{3, -2, 1.5};
  StrRecCoil flat{.Lx = 10, .W = 4, .T = 2, .CurrentDensity = 3};
  SecCylCoil arc{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 3};
  SecRecCoil band{.Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 3};
  const Vec3 f = StrRecCoilLocalField(flat, p, Quadrature());
  const Vec3 a = SecCylCoilLocalField(arc, p, Quadrature());
  const Vec3 b = SecRecCoilLocalField(band, p, Quadrature());
  flat.CurrentDensity = arc.CurrentDensity = band.CurrentDensity = -3;
  EXPECT_EQ(StrRecCoilLocalField(flat, p, Quadrature()), Negated(f));
  EXPECT_EQ(SecCylCoilLocalField(arc, p, Quadrature()), Negated(a));
  EXPECT_EQ(SecRecCoilLocalField(band, p, Quadrature()), Negated(b));
}

TEST(CurrentCases, StraightWiresHaveNoAxialFieldBeyondTheirEnds) {
  const StrCylCoil round{.Lx = 10, .R = 1, .CurrentDensity = 1};
  const StrRecCoil flat{.Lx = 10, .W = 4, .T = 2, .CurrentDensity = 1};
  for (const Vec3 p : {Vec3{12, 1, 2}, Vec3{-30, 0.2, -0.5}, Vec3{5, 3, 0}}) {
    const Vec3 r = StrCylCoilLocalField(round, p, Quadrature());
    const Vec3 f = StrRecCoilLocalField(flat, p, Quadrature());
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(f.x, 0);
    EXPECT_TRUE(std::isfinite(r.y) && std::isfinite(r.z) && std::isfinite(f.y) &&
                std::isfinite(f.z));
  }
  // On the axis of the round wire beyond an end the filaments cancel (to the rounding of the
  // node angles).
  const Vec3 axis = StrCylCoilLocalField(round, {8, 0, 0}, Quadrature());
  EXPECT_NEAR(axis.y, 0, 1e-10);
  EXPECT_NEAR(axis.z, 0, 1e-10);
}

TEST(CurrentCases, FullTurnBandOnItsAxisHasOnlyAnAxialField) {
  const SecRecCoil band{.Ri = 5, .Ro = 8, .T = 2, .Angle = 2 * Pi(), .CurrentDensity = 1};
  const Vec3 h = SecRecCoilLocalField(band, {0, 0, 1}, Quadrature());
  EXPECT_NEAR(h.x, 0, 1e-9);
  EXPECT_NEAR(h.y, 0, 1e-9);
  EXPECT_GT(h.z, 0);  // counter-clockwise current: field along +z on the axis
}

}  // namespace
}  // namespace tavrine

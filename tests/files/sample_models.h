// Models matching the hand-written golden files in tests/data, and a comparison of everything
// the model file holds.
#pragma once

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "model/element_model.h"
#include "model/resets.h"
#include "model/text_rules.h"
#include "support/matchers.h"

namespace tavrine::testing {

inline std::string DataPath(const std::string& name) {
  return std::string(TAVRINE_TEST_DATA) + "/" + name;
}

template <class R>
void Place(R& r, double ox, double oy, double oz, double ax, double ay, double az) {
  r.Ox = ox, r.Oy = oy, r.Oz = oz;
  r.AngX = DegToRad(ax), r.AngY = DegToRad(ay), r.AngZ = DegToRad(az);
}

// The model of tests/data/model_small.csv.
inline std::unique_ptr<ElementModel> SmallModel() {
  auto m = FreshModel();
  m->RecMagCount = 2;
  m->RecMagTable[1].a = m->RecMagTable[1].b = m->RecMagTable[1].l = 100;
  RecMag& r = m->RecMagTable[2];
  r.Br = 12000, r.Hcj = 15000, r.a = 0.5, r.b = 10, r.l = 2.25, r.BrAngle = DegToRad(30);
  Place(r, -1.5, 0, 3, 0, 45, -90);
  m->SecMagCount = 1;
  SecMag& s = m->SecMagTable[1];
  s.Br = 11500.5, s.Hcj = 20000, s.Ri = 5, s.Ro = 12.75, s.T = 3, s.OpenAngle = DegToRad(60);
  Place(s, 0, -20, 0.125, 90, 0, 180);
  m->RhMagCount = 1;
  RhMag& h = m->RhMagTable[1];
  h.Br = 4000, h.Hcj = 9000, h.R = 2.5, h.HT = 8;
  Place(h, 10, 10, -5, 0, -30, 0);
  m->StrRecCoilCount = 1;
  StrRecCoil& sr = m->StrRecCoilTable[1];
  sr.Lx = 50, sr.W = 2, sr.T = 0.5, sr.CurrentDensity = 10;
  Place(sr, 0, 0, 7, 0, 0, 15);
  m->StrCylCoilCount = 1;
  StrCylCoil& sc = m->StrCylCoilTable[1];
  sc.Lx = 40, sc.R = 1, sc.CurrentDensity = 13500 / (m->Pi * 1 * 1);
  Place(sc, -3, 2, 1, 0, 0, 90);
  m->SecRecCoilCount = 1;
  SecRecCoil& ar = m->SecRecCoilTable[1];
  ar.Ri = 10, ar.Ro = 14, ar.T = 2, ar.Angle = DegToRad(90), ar.CurrentDensity = 2.5;
  Place(ar, 0, 0, -2, 0, 0, 45);
  m->SecCylCoilCount = 1;
  SecCylCoil& ac = m->SecCylCoilTable[1];
  ac.R = 30, ac.rwire = 0.5, ac.Angle = DegToRad(270), ac.CurrentDensity = 100 / (0.25 * m->Pi);
  Place(ac, 1, 2, 3, -45, 0, 0);

  RectPointSet& rect = m->RectCalPointSet;
  rect.DivX = 1, rect.DivY = 1, rect.XSymmetric = 0, rect.YSymmetric = 1, rect.LastIndex = 3;
  const double xy[4][2] = {{-0.5, -0.5}, {0.5, -0.5}, {-0.5, 0.5}, {0.5, 0.5}};
  const double fields[4][3] = {{1234.5, -0.001, 0},
                               {1e-7, 2.5e20, -3},
                               {0, 0, 0},
                               {1.0 / 3, -2.0 / 3, 123456789012345678.0}};
  for (int i = 0; i < 4; ++i) {
    RectCalPoint& p = rect.Points[i];
    p.PGroX = xy[i][0], p.PGroY = xy[i][1], p.PGroZ = 0.5;
    p.Hx = fields[i][0], p.Hy = fields[i][1], p.Hz = fields[i][2];
  }
  SectPointSet& sect = m->SectCalPointSet;
  sect.LastIndex = 1;
  sect.Points[0] = {5, DegToRad(30), 1, 0, 0, 0, 10, 20, -30};
  sect.Points[1] = {7.5, DegToRad(-45), 1, 0, 0, 0, 0.75, 0.00001, 1e15};
  return m;
}

inline void ExpectClose(double actual, double expected, const char* what, int slot) {
  EXPECT_NEAR(actual, expected, std::abs(expected) * 5e-14 + 1e-300) << what << " slot " << slot;
}

// Everything the model file holds agrees to the rounding of 15 significant digits.
inline void ExpectSameFileContent(const ElementModel& a, const ElementModel& b) {
  ASSERT_EQ(a.RecMagCount, b.RecMagCount);
  ASSERT_EQ(a.SecMagCount, b.SecMagCount);
  ASSERT_EQ(a.RhMagCount, b.RhMagCount);
  ASSERT_EQ(a.StrRecCoilCount, b.StrRecCoilCount);
  ASSERT_EQ(a.StrCylCoilCount, b.StrCylCoilCount);
  ASSERT_EQ(a.SecRecCoilCount, b.SecRecCoilCount);
  ASSERT_EQ(a.SecCylCoilCount, b.SecCylCoilCount);
#define TAVRINE_SAME_FROM(first, table, count, ...)          \
  for (int i = first; i <= static_cast<int>(a.count); ++i) { \
    const auto& x = a.table[i];                              \
    const auto& y = b.table[i];                              \
    for (auto field : {__VA_ARGS__}) {                       \
      ExpectClose(x.*field, y.*field, #table, i);            \
    }                                                        \
  }
#define TAVRINE_SAME(table, count, ...) TAVRINE_SAME_FROM(1, table, count, __VA_ARGS__)
  using R = RecMag;
  TAVRINE_SAME(RecMagTable, RecMagCount, &R::a, &R::b, &R::l, &R::Ox, &R::Oy, &R::Oz, &R::AngX,
               &R::AngY, &R::AngZ, &R::Br, &R::BrAngle, &R::Hcj)
  using S = SecMag;
  TAVRINE_SAME(SecMagTable, SecMagCount, &S::Ri, &S::Ro, &S::T, &S::OpenAngle, &S::Ox, &S::Oy,
               &S::Oz, &S::AngX, &S::AngY, &S::AngZ, &S::Br, &S::Hcj)
  using H = RhMag;
  TAVRINE_SAME(RhMagTable, RhMagCount, &H::R, &H::HT, &H::Ox, &H::Oy, &H::Oz, &H::AngX, &H::AngY,
               &H::AngZ, &H::Br, &H::Hcj)
  using SR = StrRecCoil;
  TAVRINE_SAME(StrRecCoilTable, StrRecCoilCount, &SR::Lx, &SR::W, &SR::T, &SR::CurrentDensity,
               &SR::Ox, &SR::Oy, &SR::Oz, &SR::AngX, &SR::AngY, &SR::AngZ)
  using SC = StrCylCoil;
  TAVRINE_SAME(StrCylCoilTable, StrCylCoilCount, &SC::Lx, &SC::R, &SC::CurrentDensity, &SC::Ox,
               &SC::Oy, &SC::Oz, &SC::AngX, &SC::AngY, &SC::AngZ)
  using AR = SecRecCoil;
  TAVRINE_SAME(SecRecCoilTable, SecRecCoilCount, &AR::Ri, &AR::Ro, &AR::T, &AR::Angle,
               &AR::CurrentDensity, &AR::Ox, &AR::Oy, &AR::Oz, &AR::AngX, &AR::AngY, &AR::AngZ)
  using AC = SecCylCoil;
  TAVRINE_SAME(SecCylCoilTable, SecCylCoilCount, &AC::R, &AC::rwire, &AC::Angle,
               &AC::CurrentDensity, &AC::Ox, &AC::Oy, &AC::Oz, &AC::AngX, &AC::AngY, &AC::AngZ)
  using RP = RectCalPoint;
  ASSERT_EQ(a.RectCalPointSet.LastIndex, b.RectCalPointSet.LastIndex);
  TAVRINE_SAME_FROM(0, RectCalPointSet.Points, RectCalPointSet.LastIndex, &RP::PGroX, &RP::PGroY,
                    &RP::PGroZ, &RP::Hx, &RP::Hy, &RP::Hz)
  using SP = SectCalPoint;
  ASSERT_EQ(a.SectCalPointSet.LastIndex, b.SectCalPointSet.LastIndex);
  TAVRINE_SAME_FROM(0, SectCalPointSet.Points, SectCalPointSet.LastIndex, &SP::R, &SP::Theta,
                    &SP::Z, &SP::Hx, &SP::Hy, &SP::Hz)
#undef TAVRINE_SAME
#undef TAVRINE_SAME_FROM
  EXPECT_EQ(a.RectCalPointSet.DivX, b.RectCalPointSet.DivX);
  EXPECT_EQ(a.RectCalPointSet.DivY, b.RectCalPointSet.DivY);
  EXPECT_EQ(a.RectCalPointSet.XSymmetric, b.RectCalPointSet.XSymmetric);
  EXPECT_EQ(a.RectCalPointSet.YSymmetric, b.RectCalPointSet.YSymmetric);
  EXPECT_EQ(a.SectCalPointSet.RDiv, b.SectCalPointSet.RDiv);
  EXPECT_EQ(a.SectCalPointSet.AngleDiv, b.SectCalPointSet.AngleDiv);
}

}  // namespace tavrine::testing

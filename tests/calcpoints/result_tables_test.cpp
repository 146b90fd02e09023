#include "calcpoints/result_tables.h"

#include <gtest/gtest.h>

#include "model/text_rules.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;

TEST(ResultTables, RoundedCellsHalfToEvenWithLeadingBlank) {
  EXPECT_EQ(RoundedCell(12.25, 1), " 12.2");
  EXPECT_EQ(RoundedCell(-3.75, 1), "-3.8");
  EXPECT_EQ(RoundedCell(12.5, 2), " 12.5");
  EXPECT_EQ(RoundedCell(-0.25, 2), "-0.25");
  EXPECT_EQ(RoundedCell(0, 1), " 0");
  EXPECT_EQ(RoundedCell(-0.04, 1), " 0");
  EXPECT_EQ(RoundedCell(7, 0), " 7");
}

TEST(ResultTables, StartUpTablesHaveHeadingsAndPointZero) {
  auto model = FreshModel();
  const auto rect = RectResultRows(*model);
  ASSERT_EQ(rect.size(), 2u);
  EXPECT_EQ(rect[0][0], "磁界計算点番号");
  EXPECT_EQ(rect[0][6], "Hz(Oe)");
  for (const std::string& cell : rect[1]) {
    EXPECT_EQ(cell, " 0");
  }
  const auto sect = SectResultRows(*model);
  ASSERT_EQ(sect.size(), 2u);
  EXPECT_EQ(sect[0][2], "Pθ(deg)");
  EXPECT_EQ(sect[0][4], "Hr(Oe)");
  EXPECT_EQ(sect[0][5], "Hθ(Oe)");
}

TEST(ResultTables, RectRowsShowGlobalValues) {
  auto model = FreshModel();
  model->RectCalPointSet.LastIndex = 1680;
  model->RectCalPointSet.Points[3] = {.PGroX = 1.005, .PGroY = -2.5, .Hx = 12.25, .Hz = -3.75};
  const auto rows = RectResultRows(*model);
  EXPECT_EQ(rows.size(), 1682u);
  EXPECT_EQ(rows[4][0], " 3");
  EXPECT_EQ(rows[4][2], "-2.5");
  EXPECT_EQ(rows[4][4], " 12.2");
  EXPECT_EQ(rows[4][6], "-3.8");
}

TEST(ResultTables, SectorRowsShowRadialAndTangentialFieldInTheMagnetFrame) {
  auto model = FreshModel();
  model->SecMagCount = 1;
  model->SecMagTable[1].AngZ = DegToRad(90);  // own x is global y
  model->SectCalPointSet.MagN = 1;
  model->SectCalPointSet.LastIndex = 1;
  // Own angle 90°: radial is own +y, i.e. global −x; tangential is own −x, i.e. global −y.
  model->SectCalPointSet.Points[1] = {
      .R = 4, .Theta = DegToRad(90), .Z = 0.5, .Hx = -10, .Hy = 3, .Hz = 2};
  model->SectCalPointSet.Points[0] = {.Theta = 1};
  const auto rows = SectResultRows(*model);
  EXPECT_EQ(rows[1][2], " 57.3");
  EXPECT_EQ(rows[2][1], " 4");
  EXPECT_EQ(rows[2][2], " 90");
  EXPECT_EQ(rows[2][4], " 10");
  EXPECT_EQ(rows[2][5], "-3");
  EXPECT_EQ(rows[2][6], " 2");
}

}  // namespace
}  // namespace tavrine

#include "display/input_tables.h"

#include <gtest/gtest.h>

#include "model/text_rules.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;

const InputTable& Grid(const std::vector<InputTable>& tables, const std::string& name) {
  for (const InputTable& table : tables) {
    if (table.grid == name) {
      return table;
    }
  }
  ADD_FAILURE() << "no " << name;
  return tables.front();
}

TEST(InputTables, OrderHeadingsAndEmptyKinds) {
  auto model = FreshModel();
  const auto tables = InputDataTables(*model);
  std::vector<std::string> order;
  for (const InputTable& table : tables) {
    order.push_back(table.grid);
    EXPECT_TRUE(table.rows.empty()) << table.grid;
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Grid1", "Grid2", "Grid7", "Grid3", "Grid4", "Grid5",
                                             "Grid6"}));
  EXPECT_EQ(
      Grid(tables, "Grid1").headings,
      (std::vector<std::string>{"角柱磁石", "a(mm)", "b(mm)", "l(mm)", "Ox(mm)", "Oy(mm)", "Oz(mm)",
                                "回転角X", "回転角Y", "回転角Z", "Br(G)", "Hcj(Oe)"}));
  EXPECT_EQ(Grid(tables, "Grid5").headings,
            (std::vector<std::string>{"角柱扇型ｺｲﾙ", "内径(mm)", "外径(mm)", "厚さ(mm)",
                                      "開き角(°)", "電流(A)", "Ox(mm)", "Oy(mm)", "Oz(mm)",
                                      "回転角X", "回転角Y", "回転角Z"}));
  EXPECT_EQ(Grid(tables, "Grid7").headings.size(), 11u);
  EXPECT_EQ(Grid(tables, "Grid2").headings[0], "（中空）円柱型磁石");
  EXPECT_EQ(Grid(tables, "Grid6").headings[1], "曲率(mm)");
}

TEST(InputTables, MagnetRowsInDegreesAndPatterns) {
  auto model = FreshModel();
  model->RecMagCount = 2;
  model->RecMagTable[2] = {.a = 10,
                           .b = 6.125,
                           .l = 2,
                           .Ox = -1.005,
                           .AngX = model->Pi / 2,
                           .Br = 12000,
                           .BrAngle = 1,
                           .Hcj = 15000.333};
  model->SecMagCount = 1.0;
  model->SecMagTable[1] = {.Ri = 5, .Ro = 9, .T = 2, .OpenAngle = model->Pi, .Br = 11000};
  model->RhMagCount = 1;
  model->RhMagTable[1] = {.R = 4, .HT = 8, .AngZ = -model->Pi / 4};
  const auto tables = InputDataTables(*model);
  const InputTable& rec = Grid(tables, "Grid1");
  ASSERT_EQ(rec.rows.size(), 2u);
  EXPECT_EQ(rec.rows[1],
            (std::vector<std::string>{"2", "10", "6.12", "2", "-1", "0", "0", "90", "0", "0",
                                      "12000", "15000.33"}));  // BrAngle is not listed
  for (const InputTable& table : tables) {
    for (const auto& row : table.rows) {
      EXPECT_EQ(row.size(), table.headings.size()) << table.grid;
    }
  }
  EXPECT_EQ(Grid(tables, "Grid2").rows[0][4], "180");
  EXPECT_EQ(Grid(tables, "Grid7").rows[0][8], "-45");
}

TEST(InputTables, CurrentsFromDensityAndCrossSection) {
  auto model = FreshModel();
  model->StrCylCoilCount = 1;
  model->StrCylCoilTable[1] = {.Lx = 20, .R = 1, .CurrentDensity = 1};
  model->StrRecCoilCount = 1;
  model->StrRecCoilTable[1] = {.Lx = 20, .W = 2, .T = 0.5, .CurrentDensity = 3.33333};
  model->SecRecCoilCount = 1;
  model->SecRecCoilTable[1] = {
      .Ri = 10, .Ro = 12, .T = 1.5, .Angle = model->Pi / 2, .CurrentDensity = 2.00333};
  model->SecCylCoilCount = 1;
  model->SecCylCoilTable[1] = {.R = 30, .Angle = model->Pi, .rwire = 2, .CurrentDensity = 1};
  const auto tables = InputDataTables(*model);
  EXPECT_EQ(Grid(tables, "Grid3").rows[0][3], "3.1416");
  EXPECT_EQ(Grid(tables, "Grid4").rows[0][4], "3.3333");
  EXPECT_EQ(Grid(tables, "Grid5").rows[0][4], "90");
  EXPECT_EQ(Grid(tables, "Grid5").rows[0][5], "6.01");  // 2 × 2.00333 × 1.5, two decimals
  EXPECT_EQ(Grid(tables, "Grid6").rows[0][3], "180");
  EXPECT_EQ(Grid(tables, "Grid6").rows[0][4], "12.57");
}

TEST(InputTables, CountsFollowTheModelAndStayInsideTheTables) {
  auto model = FreshModel();
  model->StrCylCoilCount = 3;
  EXPECT_EQ(Grid(InputDataTables(*model), "Grid3").rows.size(), 3u);
  model->StrCylCoilCount = 2;  // one deleted
  const auto after = InputDataTables(*model);
  EXPECT_EQ(Grid(after, "Grid3").rows.size(), 2u);
  EXPECT_EQ(Grid(after, "Grid3").rows[1][0], "2");
  model->SecMagCount = 2.5;  // rounded half to even
  model->RecMagCount = 5000;
  model->RhMagCount = -3;
  const auto odd = InputDataTables(*model);
  EXPECT_EQ(Grid(odd, "Grid2").rows.size(), 2u);
  EXPECT_EQ(Grid(odd, "Grid1").rows.size(), 1000u);
  EXPECT_EQ(Grid(odd, "Grid1").rows.back()[0], "1000");
  EXPECT_TRUE(Grid(odd, "Grid7").rows.empty());
}

}  // namespace
}  // namespace tavrine

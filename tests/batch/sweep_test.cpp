// Sweep keys, variants and summaries: the model file's names and units, the grid dialogs'
// refusals, ranges, tables and the headline figures.
#include <gtest/gtest.h>

#include "batch/sweep_keys.h"
#include "batch/sweep_summary.h"
#include "batch/sweep_variants.h"
#include "files/cp932.h"
#include "model/text_rules.h"
#include "studies/force_form.h"
#include "support/matchers.h"

namespace tavrine::sweep {
namespace {

std::unique_ptr<ElementModel> Model() {
  auto m = testing::FreshModel();
  m->RecMagCount = 1;
  m->RecMagTable[1] = RecMag{.a = 10, .b = 6, .l = 2};
  m->SecMagCount = 1;
  m->SecMagTable[1] = SecMag{.Ri = 5, .Ro = 10, .T = 2, .OpenAngle = DegToRad(90)};
  m->StrRecCoilCount = 1;
  m->StrRecCoilTable[1] = StrRecCoil{.Lx = 20, .W = 2, .T = 0.5, .CurrentDensity = 10};
  return m;
}

SweepKey Key(const std::string& text, const ElementModel& model) {
  auto key = ParseSweepKey(text, model);
  EXPECT_TRUE(std::holds_alternative<SweepKey>(key)) << text;
  return std::holds_alternative<SweepKey>(key) ? std::get<SweepKey>(key) : SweepKey{};
}

std::optional<std::string> Apply(ElementModel& m,
                                 const std::vector<std::string>& keys,
                                 const std::vector<double>& values) {
  std::vector<SweepKey> parsed;
  for (const std::string& k : keys) {
    parsed.push_back(Key(k, m));
  }
  return ApplyVariant(m, parsed, values);
}

TEST(SweepKeys, NameFieldsAsTheModelFileDoesAndRefuseOthers) {
  auto m = Model();
  for (const char* name : {"SecMag.1.T", "SecMagTable.1.T", "扇型磁石データ.1.T", "SecMag.1.開き角",
                           "SecMag.1.OpenAngle", "RectGrid.DivX", "SectGrid.DivT", "RecMag.1.a"}) {
    Key(name, *m);
  }
  EXPECT_EQ(Key("SecMag.1.開き角", *m).column, Key("SecMag.1.OpenAngle", *m).column);
  for (const char* bad : {"SecMag.2.T", "SecMag.0.T", "SecMag.1.a", "Magnet.1.T", "SecMag.T",
                          "RecMag.x.a", "RectGrid.RDiv", "SecMag.1.T.x", "RhMag.1.R"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseSweepKey(bad, *m))) << bad;
  }
}

TEST(SweepKeys, SetFieldsInFileUnitsAndKeepCoilCurrentsInAmperes) {
  auto m = Model();
  ASSERT_FALSE(Apply(*m, {"SecMag.1.開き角", "SecMag.1.T", "StrRecCoil.1.W"}, {45, 3.5, 4}));
  EXPECT_DOUBLE_EQ(m->SecMagTable[1].OpenAngle, m->Pi / 4);
  EXPECT_EQ(m->SecMagTable[1].T, 3.5);
  // 10 A/mm² × 2 × 0.5 = 10 A, now over 4 × 0.5 mm².
  EXPECT_DOUBLE_EQ(m->StrRecCoilTable[1].CurrentDensity, 5);
  ASSERT_FALSE(Apply(*m, {"StrRecCoil.1.T", "StrRecCoil.1.Current"}, {1, 20}));
  EXPECT_DOUBLE_EQ(m->StrRecCoilTable[1].CurrentDensity, 5);  // 20 A over 4 × 1 mm²
  const auto zero = Apply(*m, {"StrRecCoil.1.W"}, {0});
  ASSERT_TRUE(zero);
  EXPECT_NE(zero->find("断面積"), std::string::npos);
}

TEST(SweepKeys, GridKeysLayTheGridAgainWithTheDialogsRefusals) {
  auto m = Model();
  ASSERT_FALSE(Apply(*m, {"RectGrid.DivX", "RectGrid.DivY", "RectGrid.XSymmetric"}, {4, 2, 0}));
  const RectPointSet& rect = m->RectCalPointSet;
  EXPECT_EQ(rect.LastIndex, 14);
  EXPECT_DOUBLE_EQ(rect.Points[0].PGroX, -5);  // whole x span of magnet 1, half y
  EXPECT_DOUBLE_EQ(rect.Points[14].PGroY, 3);
  const auto zero_div = Apply(*m, {"RectGrid.DivX"}, {0});
  ASSERT_TRUE(zero_div);
  EXPECT_NE(zero_div->find(NoticeInfo(NoticeId::Caution5).message), std::string::npos);
  EXPECT_TRUE(Apply(*m, {"RectGrid.DivX", "RectGrid.DivY"}, {500, 500}));  // beyond capacity
  EXPECT_EQ(m->RectCalPointSet.LastIndex, 14);

  // A sector grid is laid again from the radii, angles and height its points hold.
  ASSERT_FALSE(Apply(*m,
                     {"SectGrid.RDiv", "SectGrid.AngleDiv", "SectGrid.CalPointRo",
                      "SectGrid.TSweep", "SectGrid.DisZ"},
                     {2, 3, 8, 90, 1.5}));
  ASSERT_FALSE(Apply(*m, {"SectGrid.Ri"}, {2}));
  const SectPointSet& sect = m->SectCalPointSet;
  EXPECT_EQ(sect.LastIndex, 11);
  EXPECT_DOUBLE_EQ(sect.Points[4].R, 5);  // 2 + (8 − 2)/2
  EXPECT_DOUBLE_EQ(sect.Points[3].Theta, m->Pi / 2);
  EXPECT_DOUBLE_EQ(sect.Points[11].Z, 1.5);
  const auto no_angles = Apply(*m, {"SectGrid.AngleDiv"}, {0});
  ASSERT_TRUE(no_angles);
  EXPECT_NE(no_angles->find(NoticeInfo(NoticeId::Caution2).message), std::string::npos);
}

TEST(SweepVariants, RangesLandOnDecimalsAndFormAProduct) {
  auto range = ParseVary("SecMag.1.T=0:1:0.1");
  ASSERT_TRUE(std::holds_alternative<VaryRange>(range));
  const auto& values = std::get<VaryRange>(range).values;
  ASSERT_EQ(values.size(), 11u);
  EXPECT_EQ(values[3], 0.3);
  EXPECT_EQ(values[10], 1.0);
  EXPECT_EQ(std::get<VaryRange>(ParseVary("a=5:1:-2")).values, (std::vector<double>{5, 3, 1}));
  EXPECT_EQ(std::get<VaryRange>(ParseVary("a=2.5")).values, (std::vector<double>{2.5}));
  for (const char* bad : {"a=1:5:-1", "a=1:5:0", "a=1:5", "=1", "a=x", "a"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseVary(bad))) << bad;
  }
  auto product = ProductOf({{"a", {1, 2}}, {"b", {10, 20, 30}}});
  const auto& table = std::get<VariantTable>(product);
  ASSERT_EQ(table.rows.size(), 6u);
  EXPECT_EQ(table.rows[1], (std::vector<double>{1, 20}));
  EXPECT_EQ(table.rows[3], (std::vector<double>{2, 10}));
  EXPECT_EQ(VariantName(9, 10), "v010");
  EXPECT_EQ(VariantName(0, 1234), "v0001");
}

TEST(SweepVariants, TablesReadCodePage932OrUtf8AndRefuseRaggedRows) {
  const std::string utf8 = "変形,SecMag.1.開き角,RecMag.1.a\r\nv001,30,1.5\r\nv002,60,\"2\"\r\n";
  for (const std::string& bytes : {*Utf8ToCp932(utf8), "\xEF\xBB\xBF" + utf8}) {
    auto parsed = ParseVariantTable(bytes);
    ASSERT_TRUE(std::holds_alternative<VariantTable>(parsed)) << std::get<std::string>(parsed);
    const auto& table = std::get<VariantTable>(parsed);
    EXPECT_EQ(table.keys, (std::vector<std::string>{"SecMag.1.開き角", "RecMag.1.a"}));
    EXPECT_EQ(table.rows[1], (std::vector<double>{60, 2}));
  }
  EXPECT_TRUE(std::holds_alternative<std::string>(ParseVariantTable("a,b\n1\n")));
  EXPECT_TRUE(std::holds_alternative<std::string>(ParseVariantTable("a\nx\n")));
}

TEST(SweepSummary, HeadlinesOfRunsAndPrintedResults) {
  auto m = Model();
  m->RectCalPointSet.LastIndex = 2;
  m->RectCalPointSet.Points[1] = {0, 0, 0, 1, 2, 3, 3, -4, 12};  // |H| = 13
  m->RectCalPointSet.Points[2] = {0, 0, 0, 0, 0, 0, 12, 5, 0};
  const Figures rect = RunFigures(*m, true, false);
  ASSERT_EQ(rect.size(), 4u);
  EXPECT_EQ(rect[0], (std::pair<std::string, std::string>{"max|H|(Oe)", "13"}));
  EXPECT_EQ(rect[1].second, "1");
  EXPECT_EQ(RunFigures(*m, true, true)[4].first, "扇型 max|H|(Oe)");

  const auto force = HeadlineFigures({{"Fx[N]", "Fy[N]", "Tz[N・m]"}, {"1.234", "-0.5", "2e-3"}});
  ASSERT_TRUE(force);
  EXPECT_EQ(*force, (Figures{{"Fx(N)", "1.234"}, {"Fy(N)", "-0.5"}, {"Tz(N・m)", "0.002"}}));
  EXPECT_FALSE(HeadlineFigures({{"no figures here"}}));
  EXPECT_FALSE(HeadlineFigures({{"a", "b"}, {"1"}}));  // a heading without its value

  const auto pc = PcFigures({{"平均", "体積（mm3）"},
                             {"0.85", "12"},
                             {"Pc", "比"},
                             {"0", "0"},
                             {"温度", "減磁率"},
                             {"80", "3.5"}});
  ASSERT_TRUE(pc);
  ASSERT_EQ(pc->size(), 4u);
  EXPECT_EQ((*pc)[3], (std::pair<std::string, std::string>{"不可逆熱減磁率(%)", "3.5"}));

  // Torque about z is the last of the eight columns; the peak keeps its sign.
  const auto kt = KtFigures({{"番号", "角度"},
                             {"1", "0", "0", "0", "0", "0", "0", "1"},
                             {"2", "5", "0", "0", "0", "0", "0", "-3"},
                             {"3", "10", "0", "0", "0", "0", "0", "-1"}});
  ASSERT_TRUE(kt);
  EXPECT_EQ(*kt, (Figures{{"最大トルク(Nm)", "-3"}, {"平均トルク(Nm)", "-1"}}));
  EXPECT_FALSE(KtFigures({{"番号"}}));

  const std::string text = FormatSummary(
      {"SecMag.1.T"}, {{"v001", {1}, {{"Fx(N)", "1"}}, "正常"}, {"v002", {2}, {}, "失敗: x,y"}});
  EXPECT_EQ(text, "SecMag.1.T,Fx(N),状態,変形\r\n1,1,正常,v001\r\n2,,\"失敗: x,y\",v002\r\n");
}

}  // namespace
}  // namespace tavrine::sweep

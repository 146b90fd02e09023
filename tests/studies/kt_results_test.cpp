// The Kt graphs and the step-totals file: series, headings, numbering, code page and failures.
#include "studies/kt_results.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "files/cp932.h"
#include "files/safe_write.h"
#include "model/text_rules.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

void SetAngles(ElementModel& model, double start_deg, double end_deg, double step_deg) {
  model.Kt.StartAngle = DegToRad(start_deg);
  model.Kt.EndAngle = DegToRad(end_deg);
  model.Kt.StepAngle = DegToRad(step_deg);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    lines.push_back(text.substr(from, at - from));
    from = at + 2;
  }
  EXPECT_EQ(from, text.size()) << "every line ends with CR LF";
  return lines;
}

TEST(KtGraphs, NineStepsFillNineRowsOfBothGraphsScaledForTheirAxes) {
  auto model = testing::FreshModel();
  SetAngles(*model, 0, 40, 5);
  KtStepTotals totals;
  for (int s = 1; s <= 9; ++s) {
    totals.ForceY[static_cast<size_t>(s)] = 0.5 * s;
    totals.TorqueZ[static_cast<size_t>(s)] = 0.002 * s;
  }
  const KtGraphData force = ForceGraphData(model->Kt, totals);
  EXPECT_EQ(force.caption, "ForceGraph");
  EXPECT_EQ(force.title, "力の分布");
  EXPECT_EQ(force.y_title, "Force(N)");
  EXPECT_EQ(force.series[1].name, "ForceY");
  ASSERT_EQ(force.series[1].points.size(), 9u);
  EXPECT_NEAR(force.series[1].points[8].first, 40, 1e-9);
  EXPECT_DOUBLE_EQ(force.series[1].points[8].second, 4.5);  // newtons, as the axis says
  EXPECT_EQ(force.series[0].points[3].second, 0);
  const KtGraphData torque = TorqueGraphData(model->Kt, totals);
  EXPECT_EQ(torque.caption, "TorqueGraph");
  EXPECT_EQ(torque.title, "トルクの分布");
  EXPECT_EQ(torque.x_title, "Angle(deg.)");
  EXPECT_EQ(torque.y_title, "Torque(mNm)");
  EXPECT_EQ(torque.series[2].name, "TorqueZ");
  EXPECT_DOUBLE_EQ(torque.series[2].points[1].second, 1000 * 0.004);
}

TEST(KtExport, SaveBeforeAnySweepWritesHeadingsAndZeroLines) {
  auto model = testing::FreshModel();
  SetAngles(*model, 0, 40, 5);
  const std::vector<std::string> lines = Lines(FormatKtExportText(model->Kt, KtStepTotals{}));
  ASSERT_EQ(lines.size(), 6u + 9u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "\"    " + std::string(38, '-') + "\"");
  EXPECT_EQ(lines[2], "\" 　　　         力のデータ(N, Nm)\"");
  EXPECT_EQ(lines[3], "\"    " + std::string(38, '_') + "\"");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5],
            "\"番号\",\"角度(deg.)\",\"X方向の力(N)\",\"Y方向の力(N)\",\"Z方向の力(N)\","
            "\"X方向のトルク(Nm)\",\"Y方向のトルク(Nm)\",\"Z方向のトルク(Nm)\"");
  EXPECT_EQ(lines[6], "1,0,0,0,0,0,0,0");
  EXPECT_EQ(lines[14], "9,40,0,0,0,0,0,0");
}

TEST(KtExport, ValuesAreTheRawTotalsInPlainDecimalForm) {
  auto model = testing::FreshModel();
  SetAngles(*model, 10, 12.5, 2.5);
  KtStepTotals totals;
  totals.ForceX[1] = 0.125;
  totals.ForceZ[2] = -1.5;
  totals.TorqueY[2] = 0.0003;
  const std::vector<std::string> lines = Lines(FormatKtExportText(model->Kt, totals));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[6], "1,10,0.125,0,0,0,0,0");
  EXPECT_EQ(lines[7], "2,12.5,0,0,-1.5,0,0.0003,0");
}

TEST(KtExport, CommandWritesCodePage932AndRemembersThePath) {
  auto model = testing::FreshModel();
  SetAngles(*model, 0, 5, 5);
  const std::string path = (std::filesystem::temp_directory_path() / "kt_export_test.xls").string();
  NoticeBoard board;
  EXPECT_FALSE(KtExportCommand(*model, KtStepTotals{}, path, board).has_value());
  EXPECT_EQ(model->ModelFilePath, path);
  const FileBytes file = ReadWholeFile(path);
  ASSERT_FALSE(file.error.has_value());
  EXPECT_NE(file.bytes.find("\x94\xd4\x8d\x86"), std::string::npos);  // 番号 in code page 932
  EXPECT_EQ(Cp932ToUtf8(file.bytes), FormatKtExportText(model->Kt, KtStepTotals{}));
  EXPECT_FALSE(board.IsOpen(NoticeId::CautionFileInOut));
  std::filesystem::remove(path);
}

TEST(KtExport, FailureRaisesCautionFileInOut) {
  auto model = testing::FreshModel();
  NoticeBoard board;
  const std::string path = "/nonexistent-folder-for-kt/out.xls";
  EXPECT_TRUE(KtExportCommand(*model, KtStepTotals{}, path, board).has_value());
  EXPECT_TRUE(board.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_EQ(model->ModelFilePath, path);
}

}  // namespace
}  // namespace tavrine

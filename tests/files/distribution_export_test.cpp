#include "files/distribution_export.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "files/cp932.h"
#include "sample_models.h"

namespace tavrine {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The grid of tests/data/distribution_export.csv: 3 columns by 2 rows.
void FillExportGrid(ElementModel& m) {
  RectPointSet& set = m.RectCalPointSet;
  set.DivX = 2, set.DivY = 1, set.LastIndex = 5;
  const double hx[6] = {3, 1234.6, -0.00125, 0, 100, -2};
  for (int k = 0; k < 6; ++k) {
    RectCalPoint& p = set.Points[k];
    p.PGroX = k % 3 - 1.0, p.PGroY = k < 3 ? -2 : 2, p.PGroZ = 0.5;
    p.Hx = hx[k];
  }
  set.Points[0].Hy = 4;
  set.Points[3].Hz = 1e-10;
}

TEST(DistributionExport, GoldenFile) {
  auto model = testing::FreshModel();
  FillExportGrid(*model);
  ExportBytes file = FormatDistributionExport(*model);
  ASSERT_FALSE(file.error);
  EXPECT_TRUE(file.bytes == Slurp(testing::DataPath("distribution_export.csv")));
}

std::vector<std::string> Lines(const std::string& cp932) {
  std::vector<std::string> lines;
  std::string text = *Cp932ToUtf8(cp932);
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(DistributionExport, ShapeFollowsTheDivisions) {
  auto model = testing::FreshModel();
  model->RectCalPointSet.DivX = 2, model->RectCalPointSet.DivY = 2;
  const auto lines = Lines(FormatDistributionExport(*model).bytes);
  ASSERT_EQ(lines.size(), 4u * 8 + 3);
  auto items = [](const std::string& line) {
    return std::count(line.begin(), line.end(), ',') + 1;
  };
  for (int block = 0; block < 4; ++block) {
    const int first = block * 9;
    for (int l = 1; l <= 3; ++l) {
      EXPECT_EQ(items(lines[first + l]), 4 + 3);
    }
    for (int l = 5; l <= 7; ++l) {
      EXPECT_EQ(items(lines[first + l]), 3 + 1 + 3);
    }
    if (block < 3) {
      EXPECT_EQ(lines[first + 8], " ");
    }
  }
  EXPECT_EQ(lines[27], "Hの大きさ分布 Unit[Gauss]");
}

TEST(DistributionExport, GridBeyondThePointSetIsRefused) {
  auto model = testing::FreshModel();
  model->RectCalPointSet.DivX = 300, model->RectCalPointSet.DivY = 300;
  EXPECT_TRUE(FormatDistributionExport(*model).error);
  EXPECT_NE(FormatDistributionExport(*model).error->message.find("上限"), std::string::npos);
  model->RectCalPointSet.DivX = -2;
  const auto negative = FormatDistributionExport(*model).error;
  ASSERT_TRUE(negative);
  EXPECT_NE(negative->message.find("負"), std::string::npos) << negative->message;
  model->RectCalPointSet.DivX = 49, model->RectCalPointSet.DivY = 999;  // exactly 50000 + 1
  EXPECT_FALSE(FormatDistributionExport(*model).error);
}

TEST(DistributionExport, CommandReplacesWithoutAskingAndSetsThePath) {
  auto model = testing::FreshModel();
  FillExportGrid(*model);
  const std::string path = ::testing::TempDir() + "/tavrine_export.csv";
  { std::ofstream(path) << "old"; }
  NoticeBoard notices;
  EXPECT_FALSE(DistributionExportCommand(*model, path, notices));
  EXPECT_TRUE(Slurp(path) == Slurp(testing::DataPath("distribution_export.csv")));
  EXPECT_EQ(model->ModelFilePath, path);
  EXPECT_FALSE(notices.IsOpen(NoticeId::CautionFileInOut));

  model->RectCalPointSet.DivX = 1000, model->RectCalPointSet.DivY = 1000;
  EXPECT_TRUE(DistributionExportCommand(*model, path, notices));
  EXPECT_TRUE(notices.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_TRUE(Slurp(path) == Slurp(testing::DataPath("distribution_export.csv")));
}

}  // namespace
}  // namespace tavrine

// The batch runner's sweep end to end: five thicknesses of a sector magnet against five models
// made by hand and computed one by one, a variant that cannot be built, and the manifest's lines
// run as they stand.
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

#include "calcpoints/grids.h"
#include "files/cp932.h"
#include "files/model_file.h"
#include "model/text_rules.h"
#include "sample_models.h"

namespace tavrine {
namespace {

using Table = std::vector<std::vector<std::string>>;

class BatchSweep : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/tavrine_sweep_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Exit code; standard output in out.txt.
  int Run(const std::string& args) const {
    const std::string command = std::string(TAVRINE_BATCH_EXE) + " " + args + " >'" +
                                Path("out.txt") + "' 2>'" + Path("err.txt") + "' </dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  Table Summary(const std::string& folder) const {
    const auto text = Cp932ToUtf8(Slurp(Path(folder + "/summary.csv")));
    EXPECT_TRUE(text);
    Table rows;
    std::istringstream lines(text.value_or(""));
    for (std::string line; std::getline(lines, line);) {
      rows.emplace_back();
      std::istringstream cells(line.substr(0, line.size() - 1));  // without the CR
      for (std::string cell; std::getline(cells, cell, ',');) {
        rows.back().push_back(cell);
      }
    }
    return rows;
  }

  std::string dir_;
};

// A quarter-ring sector magnet at the origin with its own grid, and a small prism above it.
std::unique_ptr<ElementModel> SectorModel(double thickness) {
  auto m = testing::FreshModel();
  m->SecMagCount = 1;
  m->SecMagTable[1] = SecMag{
      .Ri = 5, .Ro = 10, .T = thickness, .OpenAngle = DegToRad(90), .Br = 12000, .Hcj = 15000};
  m->RecMagCount = 1;
  m->RecMagTable[1] = RecMag{.a = 4, .b = 4, .l = 2, .Ox = 6, .Oy = 2, .Oz = 5, .Br = 11000};
  NullNotices notices;
  EXPECT_EQ(GenerateSectGrid(
                *m, {.MagN = 1, .DivR = 2, .DivT = 3, .Ri = 4, .Ro = 11, .SweepDeg = 90, .DisZ = 1},
                notices),
            GridOutcome::kGenerated);
  return m;
}

// Column `column` of the force command's value line, in the summary's number form.
std::string PrintedComponent(const std::string& out, int column) {
  std::istringstream lines(out.substr(out.find('\n') + 1));
  std::string cell;
  for (int c = 0; c <= column; ++c) {
    std::getline(lines, cell, ',');
  }
  return ShortestDecimal(std::stod(cell));
}

TEST_F(BatchSweep, FiveThicknessesMatchFiveRunsMadeByHand) {
  ASSERT_FALSE(WriteModelFile(*SectorModel(3), Path("base.csv")));
  const std::string base = "sweep '" + Path("base.csv") + "' --vary SecMag.1.T=1:5:1 --jobs 2 ";
  ASSERT_EQ(Run(base + "-o '" + Path("run") + "' --sets sector"), 0) << Slurp(Path("err.txt"));
  ASSERT_EQ(Run(base + "-o '" + Path("force") + "' --study force --magnet 1"), 0);
  const Table run = Summary("run"), force = Summary("force");
  ASSERT_EQ(run.size(), 6u);
  ASSERT_EQ(force.size(), 6u);
  EXPECT_EQ(run[0], (std::vector<std::string>{"SecMag.1.T", "max|H|(Oe)", "R(mm)", "θ(deg)",
                                              "Z(mm)", "状態", "変形"}));
  EXPECT_EQ(force[0][1], "Fx(N)");
  for (int k = 1; k <= 5; ++k) {
    const std::string model = Path("hand" + std::to_string(k) + ".csv");
    ASSERT_FALSE(WriteModelFile(*SectorModel(k), model));
    ASSERT_EQ(Run("run '" + model + "' --sets sector -o '" + model + ".out'"), 0);
    ModelReadResult result = ReadModelFile(model + ".out", *testing::FreshModel());
    ASSERT_TRUE(result.ok());
    const SectPointSet& set = result.model->SectCalPointSet;
    int peak = 0;
    for (int i = 0; i <= set.LastIndex; ++i) {
      const SectCalPoint &p = set.Points[i], &q = set.Points[peak];
      if (std::hypot(p.Hx, p.Hy, p.Hz) > std::hypot(q.Hx, q.Hy, q.Hz)) {
        peak = i;
      }
    }
    const SectCalPoint& p = set.Points[peak];
    EXPECT_EQ(run[k], (std::vector<std::string>{
                          std::to_string(k), ShortestDecimal(std::hypot(p.Hx, p.Hy, p.Hz)),
                          ShortestDecimal(p.R), ShortestDecimal(RadToDeg(p.Theta)),
                          ShortestDecimal(p.Z), "正常", "v00" + std::to_string(k)}));
    ASSERT_EQ(Run("force '" + model + "' --magnet 1"), 0);
    const std::string printed = Slurp(Path("out.txt"));
    EXPECT_EQ(force[k][1], PrintedComponent(printed, 0)) << k;
    EXPECT_EQ(force[k][3], PrintedComponent(printed, 2)) << k;
  }
  EXPECT_NE(run[1][1], run[5][1]);  // the thickness does change the field
}

TEST_F(BatchSweep, AVariantThatCannotBeBuiltIsReportedAndTheOthersRun) {
  ASSERT_FALSE(WriteModelFile(*SectorModel(2), Path("base.csv")));
  EXPECT_EQ(Run("sweep '" + Path("base.csv") + "' -o '" + Path("s") +
                "' --vary SectGrid.AngleDiv=0:6:3 --sets sector"),
            1);
  const std::string manifest = Slurp(Path("s/manifest.txt"));
  EXPECT_EQ(std::count(manifest.begin(), manifest.end(), '\n'), 2);
  // The manifest's lines as any runner would take them, then the summary.
  ASSERT_EQ(std::system(("sh -e '" + Path("s/manifest.txt") + "'").c_str()), 0);
  EXPECT_EQ(Run("collect '" + Path("s") + "'"), 1);
  const Table rows = Summary("s");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_NE(rows[1][5].find(NoticeInfo(NoticeId::Caution2).message), std::string::npos);
  EXPECT_EQ(rows[1][1], "");
  EXPECT_EQ(rows[2][5], "正常");
  EXPECT_EQ(rows[3][5], "正常");
  EXPECT_EQ(rows[3][0], "6");
  const std::string local = Slurp(Path("s/summary.csv"));
  EXPECT_EQ(Run("sweep '" + Path("base.csv") + "' -o '" + Path("s") +
                "' --vary SectGrid.AngleDiv=0:6:3 --sets sector --jobs 2"),
            1);
  EXPECT_EQ(Slurp(Path("s/summary.csv")), local);
}

TEST_F(BatchSweep, GridOptionsAreTheDialogsFields) {
  auto model = SectorModel(2);
  ASSERT_FALSE(WriteModelFile(*model, Path("base.csv")));
  ASSERT_EQ(Run("grid rect '" + Path("base.csv") + "' -o '" + Path("rect.csv") +
                "' --magnet 1 --xl 2 --yl 0.5 --divx 4 --divy 2 --disz 3 --half-x 0"),
            0);
  ASSERT_EQ(Run("grid sector '" + Path("rect.csv") + "' -o '" + Path("both.csv") +
                "' --divr 1 --ri 6 --ro 9 --divt 2 --start -30 --sweep 60 --disz 0.25"),
            0);
  ModelReadResult base = ReadModelFile(Path("base.csv"), *testing::FreshModel());
  NullNotices notices;
  ASSERT_EQ(GenerateRectGrid(*base.model,
                             {.MagN = 1,
                              .DivX = 4,
                              .DivY = 2,
                              .XL = 2,
                              .YL = 0.5,
                              .DisZ = 3,
                              .HalfX = false,
                              .HalfY = false},
                             notices),
            GridOutcome::kGenerated);
  ASSERT_EQ(GenerateSectGrid(*base.model,
                             {.MagN = 1,
                              .DivR = 1,
                              .DivT = 2,
                              .Ri = 6,
                              .Ro = 9,
                              .StartDeg = -30,
                              .SweepDeg = 60,
                              .DisZ = 0.25},
                             notices),
            GridOutcome::kGenerated);
  EXPECT_TRUE(Slurp(Path("both.csv")) == FormatModelFile(*base.model).bytes);
  EXPECT_EQ(base.model->RectCalPointSet.Points[0].PGroX, 6 - 4);  // x from −a/2·XL
}

TEST_F(BatchSweep, UsageErrorsAreExitTwo) {
  ASSERT_FALSE(WriteModelFile(*SectorModel(2), Path("base.csv")));
  const std::string in = "sweep '" + Path("base.csv") + "' ";
  for (const std::string& args :
       {in + "--vary SecMag.1.T=1:2:1", in + "-o d", in + "-o d --vary SecMag.2.T=1:2:1",
        in + "-o d --vary SecMag.1.T=1:2:-1", in + "-o d --vary a=1 --table t.csv",
        in + "-o d --vary SecMag.1.T=1 --study pcx", in + "-o d --vary SecMag.1.T=1 --jobs 0",
        std::string("grid rect '") + Path("base.csv") + "' -o x.csv --divx 0",
        std::string("grid sector '") + Path("base.csv") + "' -o x.csv --divt 0",
        std::string("collect")}) {
    EXPECT_EQ(Run(args), 2) << args;
  }
  EXPECT_EQ(Run("collect '" + Path("nothing") + "'"), 1);
  EXPECT_EQ(Run("sweep --help"), 0);
  EXPECT_NE(Slurp(Path("out.txt")).find("--vary"), std::string::npos);
}

}  // namespace
}  // namespace tavrine

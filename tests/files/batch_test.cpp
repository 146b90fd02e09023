// The batch runner end to end: the executable against the library, exit codes and messages.
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "calcpoints/field_runs.h"
#include "files/distribution_export.h"
#include "files/model_file.h"
#include "sample_models.h"

namespace tavrine {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Outcome {
  int exit_code = -1;
  std::string out, err;
};

class Batch : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/tavrine_batch_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  Outcome Run(const std::string& args, const std::string& shell_prefix = "") const {
    const std::string out = dir_ + "/stdout.txt", err = dir_ + "/stderr.txt";
    const std::string command = shell_prefix + std::string(TAVRINE_BATCH_EXE) + " " + args + " >'" +
                                out + "' 2>'" + err + "' </dev/null";
    const int status = std::system(command.c_str());
    Outcome outcome;
    outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = Slurp(out);
    outcome.err = Slurp(err);
    return outcome;
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

// Magnets and coils around a few points of each set.
std::unique_ptr<ElementModel> RunnableModel() {
  auto m = testing::SmallModel();
  RectPointSet& rect = m->RectCalPointSet;
  rect.DivX = 4, rect.DivY = 4, rect.LastIndex = 24;
  for (int k = 0; k <= 24; ++k) {
    rect.Points[k] = {0, 0, 0, (k % 5) * 1.5 - 3, (k / 5) * 1.5 - 3, 4.5, 0, 0, 0};
  }
  SectPointSet& sect = m->SectCalPointSet;
  sect.LastIndex = 11;
  for (int k = 0; k <= 11; ++k) {
    sect.Points[k] = {6 + k * 0.5, DegToRad(k * 5.0), 1, 0, 0, 0, 0, 0, 0};
    // The runs take the global coordinates; the file holds only R, θ, Z for this set.
  }
  return m;
}

TEST_F(Batch, RunMatchesTheLibraryForOneAndTwoThreads) {
  auto model = RunnableModel();
  ASSERT_FALSE(WriteModelFile(*model, Path("in.csv")));
  // What the library computes from the same file.
  ModelReadResult read = ReadModelFile(Path("in.csv"), *testing::FreshModel());
  ASSERT_TRUE(read.ok());
  NullProgress progress;
  NullNotices notices;
  RectPointDistFieldCaluculation(*read.model, progress, notices, RunOptions{1});
  SectPointDistFieldCaluculation(*read.model, progress, notices, RunOptions{1});
  const std::string expected = FormatModelFile(*read.model).bytes;
  EXPECT_NE(read.model->RectCalPointSet.Points[12].Hz, 0.0);

  for (const char* threads : {"1", "2"}) {
    const std::string out = Path(std::string("out") + threads + ".csv");
    Outcome o = Run("run '" + Path("in.csv") + "' -o '" + out + "' --threads " + threads);
    EXPECT_EQ(o.exit_code, 0) << o.err;
    EXPECT_TRUE(Slurp(out) == expected) << threads;
  }
  EXPECT_TRUE(Slurp(Path("out1.csv")) == Slurp(Path("out2.csv")));

  Outcome rect_only = Run("run '" + Path("in.csv") + "' -o '" + Path("rect.csv") + "' --sets rect");
  ASSERT_EQ(rect_only.exit_code, 0) << rect_only.err;
  ModelReadResult rect = ReadModelFile(Path("rect.csv"), *testing::FreshModel());
  ASSERT_TRUE(rect.ok());
  // Read back from the file, so equal to 15 significant digits.
  const double hz = read.model->RectCalPointSet.Points[12].Hz;
  EXPECT_NEAR(rect.model->RectCalPointSet.Points[12].Hz, hz, std::abs(hz) * 1e-14);
  EXPECT_EQ(rect.model->SectCalPointSet.Points[3].Hx, 0.0);
}

TEST_F(Batch, SetsNoneWritesTheFileBack) {
  ASSERT_FALSE(WriteModelFile(*testing::SmallModel(), Path("in.csv")));
  Outcome o = Run("run '" + Path("in.csv") + "' --sets=none --output='" + Path("out.csv") + "'");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_TRUE(Slurp(Path("out.csv")) == Slurp(testing::DataPath("model_small.csv")));
  EXPECT_TRUE(o.err.empty()) << o.err;
}

TEST_F(Batch, ExportWritesTheDistribution) {
  auto model = testing::SmallModel();
  ASSERT_FALSE(WriteModelFile(*model, Path("in.csv")));
  Outcome o = Run("export '" + Path("in.csv") + "' -o '" + Path("dist.csv") + "'");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  ModelReadResult read = ReadModelFile(Path("in.csv"), *testing::FreshModel());
  EXPECT_TRUE(Slurp(Path("dist.csv")) == FormatDistributionExport(*read.model).bytes);
}

TEST_F(Batch, UnreadableInputIsExitOneWithTheFileAndLine) {
  const std::string golden = Slurp(testing::DataPath("model_small.csv"));
  { std::ofstream(Path("cut.csv"), std::ios::binary) << golden.substr(0, golden.size() / 2); }
  { std::ofstream(Path("old.csv"), std::ios::binary) << "keep me"; }
  Outcome cut = Run("run '" + Path("cut.csv") + "' -o '" + Path("old.csv") + "'");
  EXPECT_EQ(cut.exit_code, 1);
  EXPECT_EQ(std::count(cut.err.begin(), cut.err.end(), '\n'), 1) << cut.err;
  EXPECT_NE(cut.err.find(Path("cut.csv") + ":"), std::string::npos) << cut.err;
  EXPECT_EQ(Slurp(Path("old.csv")), "keep me");

  Outcome missing = Run("export '" + Path("missing.csv") + "' -o '" + Path("old.csv") + "'");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
}

TEST_F(Batch, UnwritableOutputIsExitOne) {
  ASSERT_FALSE(WriteModelFile(*testing::SmallModel(), Path("in.csv")));
  Outcome o = Run("run '" + Path("in.csv") + "' --sets none -o '" + Path("no/such/out.csv") + "'");
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
  EXPECT_NE(o.err.find("no/such/out.csv"), std::string::npos) << o.err;
}

// Refused inputs end with exit code 1 and one line naming the file and the reason.
TEST_F(Batch, InputsThatAreNoModelFilesAreRefusedAtOnce) {
  std::string huge = Slurp(testing::DataPath("model_small.csv"));
  huge.replace(huge.find("\" 12000\""), 8, "\" 1e400\"");
  { std::ofstream(Path("huge.csv"), std::ios::binary) << huge; }
  for (const std::string& input : {std::string("/dev/zero"), dir_, Path("huge.csv")}) {
    Outcome o = Run("run '" + input + "' -o '" + Path("out.csv") + "'");
    EXPECT_EQ(o.exit_code, 1) << input;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.err.find(input + ":"), std::string::npos) << o.err;
  }
  EXPECT_NE(Run("run '" + Path("huge.csv") + "' -o x.csv").err.find("大きすぎます"),
            std::string::npos);
}

// A sector point on the sector magnet's inner rim in its face plane raises Caution3, titled
// "警告".
TEST_F(Batch, WarningTitleIsPrintedOnce) {
  auto model = testing::FreshModel();
  model->SecMagCount = 1;
  model->SecMagTable[1] = {.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = 1, .Br = 12000};
  model->SectCalPointSet.Points[0].R = 5;
  ASSERT_FALSE(WriteModelFile(*model, Path("in.csv")));
  Outcome o = Run("run '" + Path("in.csv") + "' --sets sector -o '" + Path("out.csv") + "'");
  EXPECT_EQ(o.exit_code, 0) << o.err;
  EXPECT_EQ(o.err, "tavrine-batch: 警告: ゼロで除算しようとしています。\n");
}

// A write stopped by the file size limit fails cleanly and leaves no temporary file behind.
TEST_F(Batch, FileSizeLimitLeavesNoTemporaryFile) {
  auto model = testing::SmallModel();
  model->RectCalPointSet.LastIndex = 2000;
  ASSERT_FALSE(WriteModelFile(*model, Path("in.csv")));
  ASSERT_EQ(mkdir(Path("out").c_str(), 0755), 0);
  Outcome o = Run("run '" + Path("in.csv") + "' --sets none -o '" + Path("out/big.csv") + "'",
                  "ulimit -f 16; ");  // 8 KB
  EXPECT_EQ(o.exit_code, 1);
  EXPECT_NE(o.err.find("ファイルサイズの上限"), std::string::npos) << o.err;
  EXPECT_EQ(std::system(("rmdir '" + Path("out") + "'").c_str()), 0) << "the folder is empty";
}

TEST_F(Batch, BadUsageIsExitTwo) {
  ASSERT_FALSE(WriteModelFile(*testing::SmallModel(), Path("in.csv")));
  const std::string in = "'" + Path("in.csv") + "'";
  for (const std::string& args :
       {std::string(""), std::string("frobnicate"), "run " + in, std::string("run -o x.csv"),
        "run " + in + " -o x.csv --threads 0", "run " + in + " -o x.csv --threads two",
        "run " + in + " -o x.csv --sets both", "run " + in + " -o x.csv --bogus",
        "run " + in + " " + in + " -o x.csv", "export " + in + " -o x.csv --threads 2",
        "run " + in + " -o"}) {
    Outcome o = Run(args);
    EXPECT_EQ(o.exit_code, 2) << args;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << args << ": " << o.err;
  }
  Outcome help = Run("--help");
  EXPECT_EQ(help.exit_code, 0);
  for (const char* option : {"--threads", "--sets", "-o", "run", "export", "none"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(Run("run --help").exit_code, 0);
}

// Only the picture commands load the GUI libraries; tavrine-batch hands them on unchanged.
TEST_F(Batch, PictureCommandsRunApartFromTheGuiLibraries) {
  Outcome libraries = Run("", "ldd ");
  ASSERT_EQ(libraries.exit_code, 0) << libraries.err;
  EXPECT_NE(libraries.out.find("libc.so"), std::string::npos) << libraries.out;
  EXPECT_EQ(libraries.out.find("Qt"), std::string::npos) << libraries.out;

  Outcome help = Run("render --help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.out.find("使い方: tavrine-batch render"), 0u) << help.out;
  ASSERT_FALSE(WriteModelFile(*testing::SmallModel(), Path("in.csv")));
  Outcome usage = Run("map '" + Path("in.csv") + "'");
  EXPECT_EQ(usage.exit_code, 2);
  EXPECT_EQ(usage.err.find("tavrine-batch: 使い方: tavrine-batch map"), 0u) << usage.err;
  Outcome missing = Run("render '" + Path("none.csv") + "' -o '" + Path("v.png") + "'");
#ifdef TAVRINE_BATCH_PICTURES
  EXPECT_EQ(missing.exit_code, 1) << missing.err;
  Outcome views = Run("render '" + Path("in.csv") + "' -o '" + Path("views.png") + "'");
  EXPECT_EQ(views.exit_code, 0) << views.err;
  EXPECT_EQ(Slurp(Path("views.png")).substr(0, 4), "\x89PNG");
#else
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("QtGui"), std::string::npos) << missing.err;
#endif
}

}  // namespace
}  // namespace tavrine

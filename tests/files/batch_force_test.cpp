// The batch runner's force command end to end: the executable against the library.
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

#include "files/model_file.h"
#include "sample_models.h"
#include "studies/force_form.h"
#include "studies/force_study.h"

namespace tavrine {
namespace {

struct ForceOutcome {
  int exit_code = -1;
  std::string out, err;
};

class BatchForce : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/tavrine_force_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  ForceOutcome Run(const std::string& args) const {
    const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
    std::string command = TAVRINE_BATCH_EXE;
    command += " force ";
    command += args;
    command += " >'" + out;
    command += "' 2>'" + err;
    command += "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
  }
  // The file's path quoted for the shell, then the options.
  ForceOutcome RunOn(const std::string& name, const std::string& options) const {
    std::string args = "'";
    args += Path(name);
    args += "' ";
    args += options;
    return Run(args);
  }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

TEST_F(BatchForce, PrintsTheDialogsResultLinesForTheLibrarysForce) {
  auto model = testing::SmallModel();
  model->RecMagCount = 3;
  model->RecMagTable[3] = {.a = 8, .b = 6, .l = 3, .Ox = -1, .Oy = 1, .Oz = 12, .Br = 11000};
  ASSERT_FALSE(WriteModelFile(*model, Path("in.csv")));
  ModelReadResult read = ReadModelFile(Path("in.csv"), *testing::FreshModel());
  ASSERT_TRUE(read.ok());
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  const auto force = study.Run(*read.model, 3, progress, notices, {.threads = 1});
  ASSERT_TRUE(force.has_value());
  std::string expected;
  for (char c : ForceResultText(force->total)) {
    if (c != '\r') {
      expected += c;
    }
  }
  const ForceOutcome outcome = RunOn("in.csv", "--magnet 3 --threads 2");
  EXPECT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.out, expected + "\n");
}

TEST_F(BatchForce, RefusesAMissingMagnetAndAnUnreadableFile) {
  ASSERT_FALSE(WriteModelFile(*testing::SmallModel(), Path("in.csv")));
  const ForceOutcome missing = RunOn("in.csv", "--magnet 3");
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("入力された番号の角柱磁石はありません"), std::string::npos);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(RunOn("in.csv", "").exit_code, 2);
  EXPECT_EQ(RunOn("in.csv", "--magnet 0").exit_code, 2);
  EXPECT_EQ(RunOn("none.csv", "--magnet 2").exit_code, 1);
}

}  // namespace
}  // namespace tavrine

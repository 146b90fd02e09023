// The batch runner's study commands end to end: the executable against the dialogs' logic.
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

#include "files/model_file.h"
#include "model/text_rules.h"
#include "sample_models.h"
#include "studies/force_form.h"
#include "studies/force_study.h"
#include "studies/kt_results.h"
#include "studies/kt_sweep.h"
#include "studies/pc_form.h"

namespace tavrine {
namespace {

struct ForceOutcome {
  int exit_code = -1;
  std::string out, err;
};

class BatchStudy : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/tavrine_force_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  ForceOutcome Run(const std::string& args, const std::string& verb = "force") const {
    const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
    std::string command = TAVRINE_BATCH_EXE;
    command += " " + verb + " ";
    command += args;
    command += " >'" + out;
    command += "' 2>'" + err;
    command += "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
  }
  // The file's path quoted for the shell, then the options.
  ForceOutcome RunOn(const std::string& name,
                     const std::string& options,
                     const std::string& verb = "force") const {
    std::string args = "'";
    args += Path(name);
    args += "' ";
    args += options;
    return Run(args, verb);
  }
  // The model written and read back, as the batch runner will see it.
  std::unique_ptr<ElementModel> WriteAndRead(const ElementModel& model) const {
    EXPECT_FALSE(WriteModelFile(model, Path("in.csv")));
    ModelReadResult read = ReadModelFile(Path("in.csv"), *testing::FreshModel());
    EXPECT_TRUE(read.ok());
    return std::move(read.model);
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

std::string Digits(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v + 0.0);
  return text;
}

TEST_F(BatchStudy, ForceWritesTheDialogsForceAndTorqueForEveryMagnetKind) {
  auto written = testing::SmallModel();
  written->RecMagCount = 3;
  written->RecMagTable[3] = {.a = 8, .b = 6, .l = 3, .Ox = -1, .Oy = 1, .Oz = 12, .Br = 11000};
  const auto model = WriteAndRead(*written);
  const std::pair<ForceTarget, const char*> cases[] = {
      {{ForceMagnetKind::kRec, 3}, "--magnet 3"},
      {{ForceMagnetKind::kSec, 1}, "--kind sector --magnet 1"},
      {{ForceMagnetKind::kRh, 1}, "--kind rh --magnet 1 --threads 2"}};
  for (const auto& [target, options] : cases) {
    ForceStudy study;
    NullProgress progress;
    NullNotices notices;
    const auto r = study.Run(*model, target, progress, notices, {.threads = 1});
    ASSERT_TRUE(r.has_value());
    std::string expected = "Fx[N],Fy[N],Fz[N],Tx[N・m],Ty[N・m],Tz[N・m]\n";
    for (double v : {r->total.x, r->total.y, r->total.z, r->torque.x, r->torque.y, r->torque.z}) {
      expected += Digits(v) + ",";
    }
    expected.back() = '\n';
    const ForceOutcome outcome = RunOn("in.csv", options);
    EXPECT_EQ(outcome.exit_code, 0) << outcome.err;
    EXPECT_EQ(outcome.out, expected) << options;
  }
}

TEST_F(BatchStudy, PcWritesTheGraphWindowsFiguresAndTables) {
  const auto model = WriteAndRead(*testing::SmallModel());
  // The dialog, as a user fills it in: magnet 1 of the sector kind, 4 radial × 6 angular × 2.
  PcForm form(PcShape::kSect);
  NoticeBoard notices;
  form.Load(*model);
  form.Prepare(*model, notices);
  form.Edit(PcField::kMagNumber, "1", *model, notices);
  form.Edit(PcField::kText3, "2", *model, notices);
  form.Edit(PcField::kOuterDiv, "4", *model, notices);
  form.Edit(PcField::kInnerDiv, "6", *model, notices);
  form.Edit(PcField::kNDivZ, "2", *model, notices);
  form.Edit(PcField::kTextTemp, "150", *model, notices);
  form.Edit(PcField::kTextHcj20, "12", *model, notices);
  NullProgress progress;
  const auto request = form.StartCalculation(*model, notices);
  ASSERT_TRUE(request.has_value());
  form.FinishCalculation(RunPcCalculation(*model, *request, progress, notices));
  const PcDistribution d = form.Distribution(*model, notices);
  const FluxLossCurve loss = form.FluxLoss(*model, notices);
  const ForceOutcome outcome = RunOn(
      "in.csv",
      "--kind sector --magnet 1 --divisions 4 6 2 --depth -2 --temperature 150 --hcj20 12", "pc");
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  const std::string head = "平均ﾊﾟｰﾐｱﾝｽ,最小ﾊﾟｰﾐｱﾝｽ,最大ﾊﾟｰﾐｱﾝｽ,体積（mm3）\n" + Digits(d.mean) +
                           "," + Digits(d.min) + "," + Digits(d.max) + "," + Digits(d.volume) +
                           "\n\nﾊﾟｰﾐｱﾝｽ,累積体積比\n";
  EXPECT_EQ(outcome.out.substr(0, head.size()), head);
  const std::string last_loss = Digits(loss.rows.back().x) + "," + Digits(loss.rows.back().y);
  EXPECT_NE(outcome.out.find("\n温度（℃）,不可逆熱減磁率（%）\n"), std::string::npos);
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - last_loss.size() - 1), last_loss + "\n");
  // A value the dialog refuses is a usage error, not a silent default.
  EXPECT_EQ(RunOn("in.csv",
                  "--kind sector --magnet 1 --divisions 4 91 2 --depth 2 --temperature 150 "
                  "--hcj20 12",
                  "pc")
                .exit_code,
            2);
}

TEST_F(BatchStudy, KtSweepsTheSetUpFileAndWritesTheExportTable) {
  const auto model = WriteAndRead(*testing::SmallModel());
  {
    std::ofstream setup(Path("kt.txt"));
    setup << "# rotor over the sample model\nmodel in.csv\nframe 0 0 1 0 0 10\n"
             "angles 0 20 10\ncoil strrec 1 4 2 1\ncoil strcyl 1 3 2 4\n";
  }
  KtState& kt = model->Kt;
  kt.Orz = 1;
  kt.ThetaRz = DegToRad(10);
  kt.StartAngle = 0;
  kt.EndAngle = DegToRad(20);
  kt.StepAngle = DegToRad(10);
  kt.KtSelectionCount = {1, 0, 1, 0};
  kt.KtSelection[0][1] = kt.KtSelection[2][1] = 1;
  kt.DivL[0][1] = 4, kt.DivW[0][1] = 2, kt.DivT[0][1] = 1;
  kt.DivL[2][1] = 3, kt.DivW[2][1] = 2, kt.DivT[2][1] = 4;
  KtStepTotals totals;
  NullProgress progress;
  NullNotices notices;
  ASSERT_EQ(RunKtSweep(*model, totals, progress, notices), KtSweepOutcome::kDone);
  ASSERT_NE(totals.ForceZ[1], 0);
  ASSERT_FALSE(KtExportCommand(*model, totals, Path("desktop.xls"), notices));
  const ForceOutcome outcome = Run("'" + Path("kt.txt") + "' -o '" + Path("batch.xls") + "'", "kt");
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(Slurp(Path("batch.xls")), Slurp(Path("desktop.xls")));
  {
    std::ofstream setup(Path("bad.txt"));
    setup << "model in.csv\ncoil strrec 7 4 2 1\nangles 0 x 5\n";
  }
  const ForceOutcome bad = Run("'" + Path("bad.txt") + "'", "kt");
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.err.find("bad.txt:3:"), std::string::npos) << bad.err;
}

TEST_F(BatchStudy, ForceRefusesAMissingMagnetAndAnUnreadableFile) {
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

// "kt": a Kt sweep set up by a small text file next to the model, written as the Kt export
// writes its step totals.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "commands.h"
#include "files/file_error.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "studies/kt_results.h"
#include "studies/kt_sweep.h"
#include "study_io.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct KtOptions {
  std::string setup, output, model;  // model: given instead of the set-up file's model line
  int threads = 0;
  bool help = false;
};

int Usage(const std::string& message) {
  return StudyUsage("kt", message);
}

std::optional<int> ParseKtOptions(const std::vector<std::string>& args, KtOptions& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const bool has_value = i + 1 < args.size();
    if (word == "--help" || word == "-h") {
      o.help = true;
    } else if (auto code = TakeSharedStudyOption("kt", args, i, o.threads, o.output)) {
      if (*code != 0) {
        return code;
      }
    } else if (word == "--model") {
      if (!has_value) {
        return Usage("--model の後にファイル名がありません");
      }
      o.model = args[++i];
    } else if (word.size() > 1 && word[0] == '-') {
      return Usage("不明なオプションです: " + word);
    } else if (o.setup.empty()) {
      o.setup = word;
    } else {
      return Usage("設定ファイルは一つだけ指定してください: " + word);
    }
  }
  if (!o.help && o.setup.empty()) {
    return Usage("設定ファイルがありません");
  }
  return std::nullopt;
}

void PrintKtHelp() {
  std::fputs(
      "使い方: tavrine-batch kt SETUP.txt [--model MODEL.csv] [--threads N] [-o OUT.xls]\n"
      "  設定ファイル SETUP.txt（UTF-8、一行に一項目、# 以降は注釈）の回転座標、回転させる\n"
      "  コイルとその分割数、回転角で Kt を計算し、Ktの計算の「ﾌｧｲﾙに保存」と同じ力とトルクの\n"
      "  表を書き出します。\n"
      "    model MODEL.csv                 形状データファイル（設定ファイルのフォルダから）\n"
      "    frame Orx Ory Orz θrx θry θrz   回転座標の原点（mm）と回転角（度）\n"
      "    angles 開始角 終了角 ｽﾃｯﾌﾟ角      Z軸まわりの回転角（度）\n"
      "    coil 種類 番号 L W T             回転させるコイル（何行でも）。種類は strrec\n"
      "                                    （角型直線）、secrec（角型曲線）、strcyl\n"
      "                                    （円柱型直線）、seccyl（円柱型曲線）。L W T は\n"
      "                                    ｺｲﾙ分割数の L方向・W方向・T方向。\n"
      "  --model MODEL.csv  設定ファイルの model の行の代わりに使う形状データファイル。\n"
      "  --threads N  計算に使うスレッド数（1〜1024、既定はコア数）。結果は同じです。\n"
      "  -o OUT.xls   標準出力（UTF-8）の代わりに、保存と同じ CP932、CR LF のファイルに\n"
      "               書きます。\n"
      "終了コード: 0 成功、1 ファイルを読めない・書けない（ファイル名、行番号、理由を表示）、\n"
      "2 使い方の誤り。\n",
      stdout);
}

struct SetupError {
  int line = 0;
  std::string reason;
};

struct KtSetup {
  std::string model;
  std::array<double, 6> frame{};
  std::array<double, 3> angles{0, 40, 5};
  struct Coil {
    int kind = 0, n = 0, l = 0, w = 0, t = 0;
  };
  std::vector<Coil> coils;
};

std::optional<int> KindCode(const std::string& word) {
  const std::array<const char*, kKtKinds> names = {"strrec", "secrec", "strcyl", "seccyl"};
  for (int k = 0; k < kKtKinds; ++k) {
    if (word == names[static_cast<size_t>(k)]) {
      return k;
    }
  }
  return std::nullopt;
}

// The numbers after the key word, exactly `count` of them.
std::optional<std::vector<double>> Numbers(std::istringstream& in, size_t count) {
  std::vector<double> values;
  std::string word;
  while (in >> word) {
    const auto value = DecimalNumber(word);
    if (!value) {
      return std::nullopt;
    }
    values.push_back(*value);
  }
  return values.size() == count ? std::optional(values) : std::nullopt;
}

std::optional<SetupError> ReadLine(const std::string& line, KtSetup& setup) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::string key;
  if (!(in >> key)) {
    return std::nullopt;
  }
  if (key == "model") {
    std::getline(in >> std::ws, setup.model);
    return setup.model.empty() ? std::optional(SetupError{0, "model の後にファイル名がありません"})
                               : std::nullopt;
  }
  if (key == "coil") {
    std::string kind;
    in >> kind;
    const auto code = KindCode(kind);
    const auto v = Numbers(in, 4);
    if (!code || !v) {
      return SetupError{0, "coil には種類と四つの整数（番号 L W T）が必要です"};
    }
    setup.coils.push_back({*code, static_cast<int>((*v)[0]), static_cast<int>((*v)[1]),
                           static_cast<int>((*v)[2]), static_cast<int>((*v)[3])});
    return std::nullopt;
  }
  const size_t count = key == "frame" ? 6 : key == "angles" ? 3 : 0;
  const auto v = count > 0 ? Numbers(in, count) : std::nullopt;
  if (!v) {
    return SetupError{0, count > 0 ? key + " の数値の数が違います" : "不明な項目です: " + key};
  }
  if (key == "frame") {
    std::copy(v->begin(), v->end(), setup.frame.begin());
  } else {
    std::copy(v->begin(), v->end(), setup.angles.begin());
  }
  return std::nullopt;
}

std::optional<SetupError> ReadSetup(const std::string& path, bool model_given, KtSetup& setup) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return SetupError{0, "ファイルを開けません"};
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (auto error = ReadLine(line, setup)) {
      error->line = number;
      return error;
    }
  }
  if (setup.model.empty() && !model_given) {
    return SetupError{0, "model の行がありません"};
  }
  return std::nullopt;
}

int CoilCount(const ElementModel& model, int kind) {
  const std::array<int32_t, kKtKinds> counts = {model.StrRecCoilCount, model.SecRecCoilCount,
                                                model.StrCylCoilCount, model.SecCylCoilCount};
  return counts[static_cast<size_t>(kind)];
}

// The frame, angles and list into the model's Kt state, as the set-up dialogs store them.
std::optional<std::string> ApplySetup(const KtSetup& setup, ElementModel& model) {
  KtState& kt = model.Kt;
  kt.Orx = setup.frame[0];
  kt.Ory = setup.frame[1];
  kt.Orz = setup.frame[2];
  kt.ThetaRx = DegToRad(setup.frame[3]);
  kt.ThetaRy = DegToRad(setup.frame[4]);
  kt.ThetaRz = DegToRad(setup.frame[5]);
  if (!(setup.angles[2] > 0)) {
    return "ｽﾃｯﾌﾟ角は 0 より大きくしてください";
  }
  kt.StartAngle = DegToRad(setup.angles[0]);
  kt.EndAngle = DegToRad(setup.angles[1]);
  kt.StepAngle = DegToRad(setup.angles[2]);
  for (const KtSetup::Coil& c : setup.coils) {
    if (c.n < 1 || c.n >= kKtSlots || c.n > CoilCount(model, c.kind)) {
      return "指定した番号のｺｲﾙがありません: " + std::to_string(c.n);
    }
    const size_t k = static_cast<size_t>(c.kind);
    if (c.l < 1 || c.w < 1 || c.t < 1 || int64_t{c.l} * c.w * c.t > kPointSlots ||
        kt.KtSelectionCount[k] >= kKtSlots - 1) {
      return "分割数が範囲外か、コイルが 50 を超えます: " + std::to_string(c.n);
    }
    const size_t p = static_cast<size_t>(++kt.KtSelectionCount[k]);
    kt.KtSelection[k][p] = c.n;
    kt.DivL[k][p] = c.l;
    kt.DivW[k][p] = c.w;
    kt.DivT[k][p] = c.t;
  }
  return std::nullopt;
}

std::string ModelPath(const std::string& setup_path, const std::string& model) {
  if (!model.empty() && model[0] == '/') {
    return model;
  }
  const size_t slash = setup_path.rfind('/');
  return slash == std::string::npos ? model : setup_path.substr(0, slash + 1) + model;
}

}  // namespace

int KtCommand(const std::vector<std::string>& args) {
  KtOptions options;
  if (auto code = ParseKtOptions(args, options)) {
    return *code;
  }
  if (options.help) {
    PrintKtHelp();
    return 0;
  }
  KtSetup setup;
  if (const auto error = ReadSetup(options.setup, !options.model.empty(), setup)) {
    std::fprintf(stderr, "tavrine-batch: %s:%d: %s\n", options.setup.c_str(), error->line,
                 error->reason.c_str());
    return 1;
  }
  int exit_code = 0;
  const auto model = ReadStudyModel(
      options.model.empty() ? ModelPath(options.setup, setup.model) : options.model, exit_code);
  if (!model) {
    return exit_code;
  }
  if (const auto error = ApplySetup(setup, *model)) {
    std::fprintf(stderr, "tavrine-batch: %s: %s\n", options.setup.c_str(), error->c_str());
    return 1;
  }
  NoticeBoard notices;
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  KtStepTotals totals;
  if (RunKtSweep(*model, totals, progress, notices, nullptr, {.threads = options.threads}) !=
      KtSweepOutcome::kDone) {
    PrintRaisedNotices(notices);
    return 2;
  }
  PrintRaisedNotices(notices);
  if (options.output.empty()) {
    std::string text;
    for (char c : FormatKtExportText(model->Kt, totals)) {
      if (c != '\r') {
        text += c;
      }
    }
    return WriteStudyResult(text, "");
  }
  NoticeBoard file_notices;
  if (const auto error = KtExportCommand(*model, totals, options.output, file_notices)) {
    std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(options.output, *error).c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrine::batch

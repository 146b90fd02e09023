// "force": read a model file and write the force (N) and the torque about the magnet's own
// origin (N·m) that the rest of the model exerts on one rectangular, sector or RH magnet.
#include <cstdio>
#include <unistd.h>

#include "commands.h"
#include "studies/force_form.h"
#include "studies/force_study.h"
#include "study_io.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct ForceOptions {
  std::string input, output;
  ForceMagnetKind kind = ForceMagnetKind::kRec;
  int magnet = 0;
  int threads = 0;
  bool help = false;
};

int Usage(const std::string& message) {
  return StudyUsage("force", message);
}

bool ParseKind(const std::string& word, ForceMagnetKind& kind) {
  if (word == "rect") {
    kind = ForceMagnetKind::kRec;
  } else if (word == "sector") {
    kind = ForceMagnetKind::kSec;
  } else if (word == "rh") {
    kind = ForceMagnetKind::kRh;
  } else {
    return false;
  }
  return true;
}

std::optional<int> ParseForceOptions(const std::vector<std::string>& args, ForceOptions& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const bool has_value = i + 1 < args.size();
    std::optional<int> n;
    if (word == "--help" || word == "-h") {
      o.help = true;
    } else if (word == "--kind") {
      if (!has_value || !ParseKind(args[++i], o.kind)) {
        return Usage("--kind には rect、sector、rh のいずれかを指定してください");
      }
    } else if (word == "--magnet") {
      if (!has_value || !(n = WholeNumber(args[++i], 1, kElementCapacity))) {
        return Usage("--magnet には 1 から 1000 の磁石番号を指定してください");
      }
      o.magnet = *n;
    } else if (auto code = TakeSharedStudyOption("force", args, i, o.threads, o.output)) {
      if (*code != 0) {
        return code;
      }
    } else if (word.size() > 1 && word[0] == '-') {
      return Usage("不明なオプションです: " + word);
    } else if (o.input.empty()) {
      o.input = word;
    } else {
      return Usage("入力ファイルは一つだけ指定してください: " + word);
    }
  }
  if (!o.help && o.input.empty()) {
    return Usage("入力ファイルがありません");
  }
  if (!o.help && o.magnet == 0) {
    return Usage("--magnet で磁石の番号を指定してください");
  }
  return std::nullopt;
}

void PrintForceHelp() {
  std::fputs(
      "使い方: tavrine-batch force MODEL.csv [--kind rect|sector|rh] --magnet N [--threads N]\n"
      "                            [-o OUT.csv]\n"
      "  形状データファイル MODEL.csv の磁石 N に、ほかのすべての要素が及ぼす力とトルクを\n"
      "  計算し、見出し行と値の行の CSV で書き出します（力の計算と同じ結果）。\n"
      "    Fx[N],Fy[N],Fz[N],Tx[N・m],Ty[N・m],Tz[N・m]\n"
      "  力は全体座標の成分、トルクは磁石の基準点（自身の座標の原点）のまわりです。\n"
      "  値は 17 桁で、読み戻すと同じ倍精度の値になります。\n"
      "  --kind K     磁石の種類: rect（角柱磁石、既定）、sector（扇形・中空円柱・弓形磁石）、\n"
      "               rh（RH型磁石）。\n"
      "  --magnet N   その種類の表での磁石番号。\n"
      "  --threads N  計算に使うスレッド数（1〜1024、既定はコア数）。結果は同じです。\n"
      "  -o OUT.csv   標準出力の代わりに CP932、CR LF のファイルに書きます。\n"
      "終了コード: 0 成功、1 入力ファイルを読めない・出力ファイルを書けない、\n"
      "2 使い方の誤りまたは磁石番号の誤り。\n",
      stdout);
}

std::string_view NoMagnetText(ForceMagnetKind kind) {
  switch (kind) {
    case ForceMagnetKind::kSec:
      return "入力された番号の扇形磁石はありません";
    case ForceMagnetKind::kRh:
      return "入力された番号のRH型磁石はありません";
    default:
      return ForceForm::kNoMagnetText;
  }
}

std::string ForceCsv(const ForceResult& r) {
  std::string text = "Fx[N],Fy[N],Fz[N],Tx[N・m],Ty[N・m],Tz[N・m]\n";
  for (double v : {r.total.x, r.total.y, r.total.z, r.torque.x, r.torque.y, r.torque.z}) {
    text += FullPrecision(v) + ",";
  }
  text.back() = '\n';
  return text;
}

}  // namespace

int ForceCommand(const std::vector<std::string>& args) {
  ForceOptions options;
  if (auto code = ParseForceOptions(args, options)) {
    return *code;
  }
  if (options.help) {
    PrintForceHelp();
    return 0;
  }
  int exit_code = 0;
  const auto model = ReadStudyModel(options.input, exit_code);
  if (!model) {
    return exit_code;
  }
  NoticeBoard notices;
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  ForceStudy study;
  const auto result = study.Run(*model, {options.kind, options.magnet}, progress, notices,
                                {.threads = options.threads});
  if (!result) {
    std::fprintf(stderr, "tavrine-batch: %s: %d\n", std::string(NoMagnetText(options.kind)).c_str(),
                 options.magnet);
    return 2;
  }
  PrintRaisedNotices(notices);
  return WriteStudyResult(ForceCsv(*result), options.output);
}

}  // namespace tavrine::batch

// "pc": the permeance coefficient distribution of one rectangular or sector magnet and its
// irreversible flux loss estimate, by the Pc dialog's own logic, written as CSV.
#include <cstdio>
#include <unistd.h>

#include "commands.h"
#include "studies/pc_form.h"
#include "study_io.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct PcOptions {
  std::string input, output;
  PcShape shape = PcShape::kRect;
  bool kind_given = false;
  // The dialog's texts: magnet number, X and Y divisions, layers, depth, Tmax, Hcj(20 °C).
  std::string magnet, div_x, div_y, div_z, depth, temperature, hcj20;
  int threads = 0;
  bool help = false;
};

int Usage(const std::string& message) {
  return StudyUsage("pc", message);
}

std::string* TextOption(const std::string& word, PcOptions& o) {
  if (word == "--magnet")
    return &o.magnet;
  if (word == "--depth")
    return &o.depth;
  if (word == "--temperature")
    return &o.temperature;
  if (word == "--hcj20")
    return &o.hcj20;
  return nullptr;
}

// One option word with its values, or the usage error.
std::optional<int> TakeOption(const std::vector<std::string>& args, size_t& i, PcOptions& o) {
  const std::string& word = args[i];
  auto values = [&](size_t count) { return i + count < args.size(); };
  if (word == "--kind") {
    if (!values(1) || (args[i + 1] != "rect" && args[i + 1] != "sector")) {
      return Usage("--kind には rect か sector を指定してください");
    }
    o.shape = args[++i] == "rect" ? PcShape::kRect : PcShape::kSect;
    o.kind_given = true;
  } else if (word == "--divisions") {
    if (!values(3)) {
      return Usage("--divisions には三つの分割数 A B Z を指定してください");
    }
    o.div_x = args[++i];
    o.div_y = args[++i];
    o.div_z = args[++i];
  } else if (auto code = TakeSharedStudyOption("pc", args, i, o.threads, o.output)) {
    return *code != 0 ? code : std::nullopt;
  } else if (std::string* text = TextOption(word, o)) {
    if (!values(1)) {
      return Usage(word + " の値がありません");
    }
    *text = args[++i];
  } else {
    return Usage("不明なオプションです: " + word);
  }
  return std::nullopt;
}

std::optional<int> ParsePcOptions(const std::vector<std::string>& args, PcOptions& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--help" || word == "-h") {
      o.help = true;
    } else if (word.size() > 1 && word[0] == '-' && !DecimalNumber(word)) {
      if (auto code = TakeOption(args, i, o)) {
        return code;
      }
    } else if (o.input.empty()) {
      o.input = word;
    } else {
      return Usage("入力ファイルは一つだけ指定してください: " + word);
    }
  }
  if (o.help) {
    return std::nullopt;
  }
  if (o.input.empty() || !o.kind_given || o.magnet.empty() || o.div_x.empty() || o.depth.empty() ||
      o.temperature.empty() || o.hcj20.empty()) {
    return Usage(
        "MODEL、--kind、--magnet、--divisions、--depth、--temperature、--hcj20 が必要です");
  }
  return std::nullopt;
}

void PrintPcHelp() {
  std::fputs(
      "使い方: tavrine-batch pc MODEL.csv --kind rect|sector --magnet N --divisions A B Z\n"
      "                         --depth D --temperature T --hcj20 H [--threads N] [-o OUT.csv]\n"
      "  Pcの計算の画面と同じ入力で、磁石 N のパーミアンス分布と熱減磁率を計算し、CSV で\n"
      "  書き出します。先頭から、グラフ画面の見出し（平均ﾊﾟｰﾐｱﾝｽ、最小ﾊﾟｰﾐｱﾝｽ、最大ﾊﾟｰﾐｱﾝｽ、\n"
      "  体積（mm3））とその値、空行、分布関数の表（ﾊﾟｰﾐｱﾝｽ、累積体積比、101 行）、空行、\n"
      "  温度と不可逆熱減磁率の表（温度（℃）、不可逆熱減磁率（%）、101 行）です。\n"
      "  値は 17 桁で、読み戻すと同じ倍精度の値になります。\n"
      "  --kind       rect（角柱磁石、N は 2 から）か sector（円柱・扇型磁石、N は 1 から）。\n"
      "  --divisions  A B Z: 角柱は X方向・Y方向・厚さ方向の分割数（各 50、50、20 まで）、\n"
      "               扇型は径（X)方向・角度（Y)方向・厚さ方向の分割数（30、90、15 まで）。\n"
      "  --depth D    厚さ方向解析領域（mm）。-3 と 3 は同じで、磁石の厚さを超えると全体。\n"
      "  --temperature T  最高温度（℃、0 を超え 300 まで）。\n"
      "  --hcj20 H    20℃の保磁力Hcj（kOe、0 から 50）。Br、温度係数、ﾘｺｲﾙ透磁率は画面の\n"
      "               既定値と磁石の値です。\n"
      "  -o OUT.csv   標準出力の代わりに CP932、CR LF のファイルに書きます。\n"
      "終了コード: 0 成功、1 入力ファイルを読めない・出力ファイルを書けない、\n"
      "2 使い方の誤り（画面が受け付けない値を含む）。\n",
      stdout);
}

// Types each value into its field as the user would; a value the dialog refuses is a usage
// error, never a silent default.
std::optional<int> FillForm(PcForm& form, const PcOptions& o, const ElementModel& model) {
  NoticeBoard refusals;
  form.Load(model);
  form.Prepare(model, refusals);
  const bool rect = o.shape == PcShape::kRect;
  const std::pair<PcField, const std::string*> entries[] = {
      {PcField::kMagNumber, &o.magnet},
      {PcField::kText3, &o.depth},
      {rect ? PcField::kInnerDiv : PcField::kOuterDiv, &o.div_x},
      {rect ? PcField::kOuterDiv : PcField::kInnerDiv, &o.div_y},
      {PcField::kNDivZ, &o.div_z},
      {PcField::kTextTemp, &o.temperature},
      {PcField::kTextHcj20, &o.hcj20}};
  for (const auto& [field, text] : entries) {
    form.Edit(field, *text, model, refusals);
    if (form.Text(field) != *text) {
      return Usage(std::string(PcFieldOf(o.shape, field).label) +
                   " の値を受け付けません: " + *text);
    }
  }
  return std::nullopt;
}

std::string PcCsv(const PcDistribution& d, const FluxLossCurve& loss) {
  std::string text = "平均ﾊﾟｰﾐｱﾝｽ,最小ﾊﾟｰﾐｱﾝｽ,最大ﾊﾟｰﾐｱﾝｽ,体積（mm3）\n";
  text += FullPrecision(d.mean) + "," + FullPrecision(d.min) + "," + FullPrecision(d.max) + "," +
          FullPrecision(d.volume) + "\n\nﾊﾟｰﾐｱﾝｽ,累積体積比\n";
  for (const PcCurvePoint& row : d.rows) {
    text += FullPrecision(row.x) + "," + FullPrecision(row.y) + "\n";
  }
  text += "\n温度（℃）,不可逆熱減磁率（%）\n";
  for (const PcCurvePoint& row : loss.rows) {
    text += FullPrecision(row.x) + "," + FullPrecision(row.y) + "\n";
  }
  return text;
}

}  // namespace

int PcCommand(const std::vector<std::string>& args) {
  PcOptions options;
  if (auto code = ParsePcOptions(args, options)) {
    return *code;
  }
  if (options.help) {
    PrintPcHelp();
    return 0;
  }
  int exit_code = 0;
  const auto model = ReadStudyModel(options.input, exit_code);
  if (!model) {
    return exit_code;
  }
  PcForm form(options.shape);
  if (auto code = FillForm(form, options, *model)) {
    return *code;
  }
  NoticeBoard notices;
  const std::optional<PcRunRequest> request = form.StartCalculation(*model, notices);
  if (!request) {
    return Usage("磁石番号 " + options.magnet + " の磁石はありません");
  }
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  form.FinishCalculation(
      RunPcCalculation(*model, *request, progress, notices, {.threads = options.threads}));
  const PcDistribution distribution = form.Distribution(*model, notices);
  const FluxLossCurve loss = form.FluxLoss(*model, notices);
  PrintRaisedNotices(notices);
  return WriteStudyResult(PcCsv(distribution, loss), options.output);
}

}  // namespace tavrine::batch

// "force": read a model file and print the force (N) that the rest of the model exerts on one
// rectangular magnet, in the dialog's result lines.
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

#include "commands.h"
#include "files/model_file.h"
#include "model/notices.h"
#include "model/resets.h"
#include "model/text_rules.h"
#include "studies/force_form.h"
#include "studies/force_study.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct ForceOptions {
  std::string input;
  int magnet = 0;
  int threads = 0;
  bool help = false;
};

int ForceUsage(const std::string& message) {
  std::fprintf(stderr, "tavrine-batch: %s（tavrine-batch force --help を参照）\n", message.c_str());
  return 2;
}

std::optional<int> PositiveNumber(const std::string& text, int largest) {
  if (!IsValidIntegerEntry(text) || text.find(',') != std::string::npos || text.size() > 6) {
    return std::nullopt;
  }
  const int n = RoundToInt32(NumericValue(text));
  return n >= 1 && n <= largest ? std::optional<int>(n) : std::nullopt;
}

std::optional<int> ParseForceOptions(const std::vector<std::string>& args, ForceOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const bool has_value = i + 1 < args.size();
    if (word == "--help" || word == "-h") {
      options.help = true;
    } else if (word == "--magnet") {
      std::optional<int> n;
      if (!has_value || !(n = PositiveNumber(args[++i], kElementCapacity))) {
        return ForceUsage("--magnet には 1 から 1000 の磁石番号を指定してください");
      }
      options.magnet = *n;
    } else if (word == "--threads") {
      std::optional<int> n;
      if (!has_value || !(n = PositiveNumber(args[++i], 1024))) {
        return ForceUsage("--threads には 1 から 1024 の整数を指定してください");
      }
      options.threads = *n;
    } else if (word.size() > 1 && word[0] == '-') {
      return ForceUsage("不明なオプションです: " + word);
    } else if (options.input.empty()) {
      options.input = word;
    } else {
      return ForceUsage("入力ファイルは一つだけ指定してください: " + word);
    }
  }
  if (!options.help && options.input.empty()) {
    return ForceUsage("入力ファイルがありません");
  }
  if (!options.help && options.magnet == 0) {
    return ForceUsage("--magnet で角柱磁石の番号を指定してください");
  }
  return std::nullopt;
}

void PrintForceHelp() {
  std::fputs(
      "使い方: tavrine-batch force MODEL.csv --magnet N [--threads N]\n"
      "  形状データファイル MODEL.csv の角柱磁石 N に、ほかのすべての要素が及ぼす力を計算し、\n"
      "  力の計算の結果（Fx、Fy、Fz [N]）を標準出力に表示します。\n"
      "  --threads N  計算に使うスレッド数（1〜1024、既定はコア数）。\n"
      "終了コード: 0 成功、1 入力ファイルを読めない、2 使い方の誤りまたは磁石番号の誤り。\n",
      stdout);
}

// The result lines with LF line ends, as a terminal wants them.
std::string TerminalLines(const Vec3& force) {
  std::string text = ForceResultText(force), out;
  for (char c : text) {
    if (c != '\r') {
      out += c;
    }
  }
  return out + "\n";
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
  auto initial = std::make_unique<ElementModel>();
  FullReset(*initial);
  ModelReadResult read = ReadModelFile(options.input, *initial);
  if (!read.ok()) {
    std::fprintf(stderr, "tavrine-batch: %s\n",
                 DescribeFileError(options.input, *read.error).c_str());
    return 1;
  }
  NoticeBoard notices;
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  ForceStudy study;
  const auto result =
      study.Run(*read.model, options.magnet, progress, notices, {.threads = options.threads});
  if (!result) {
    std::fprintf(stderr, "tavrine-batch: %s: %d\n", std::string(ForceForm::kNoMagnetText).c_str(),
                 options.magnet);
    return 2;
  }
  for (const NoticeText& notice : AllNotices()) {
    if (notices.RaiseCount(notice.id) > 0) {
      std::fprintf(stderr, "tavrine-batch: 警告: %s: %s\n", notices.Title(notice.id).c_str(),
                   std::string(notice.message).c_str());
    }
  }
  std::fputs(TerminalLines(result->total).c_str(), stdout);
  return 0;
}

}  // namespace tavrine::batch

// "run": read a model file, run the chosen field runs, write the model file with the results.
// "export": the distribution export of a model file's rectangular set.
#include "model_commands.h"

#include <memory>
#include <optional>
#include <unistd.h>

#include "calcpoints/field_runs.h"
#include "files/distribution_export.h"
#include "files/model_file.h"
#include "files/safe_write.h"
#include "model/notices.h"
#include "model/resets.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct Options {
  std::string input, output;
  int threads = 0;
  bool rect = true, sector = true;
  bool help = false;
};

// Exit code 2 with one line on stderr.
int UsageError(const std::string& message) {
  std::fprintf(stderr, "tavrine-batch: %s（tavrine-batch --help を参照）\n", message.c_str());
  return 2;
}

std::optional<int> ParseThreads(const std::string& text) {
  if (text.empty() || text.size() > 4 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int n = std::stoi(text);
  return n >= 1 && n <= 1024 ? std::optional<int>(n) : std::nullopt;
}

bool ParseSets(const std::string& text, Options& options) {
  if (text == "none") {
    options.rect = options.sector = false;
    return true;
  }
  options.rect = options.sector = false;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string word = text.substr(start, comma - start);
    if (word == "rect") {
      options.rect = true;
    } else if (word == "sector") {
      options.sector = true;
    } else {
      return false;
    }
    start = comma + 1;
  }
  return true;
}

// Splits "--name=value" and "--name value"; returns the error exit code, if any.
std::optional<int> ParseOptions(const std::vector<std::string>& args, bool run, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i], value;
    const size_t eq = word.rfind("--", 0) == 0 ? word.find('=') : std::string::npos;
    const bool inline_value = eq != std::string::npos;
    if (inline_value) {
      value = word.substr(eq + 1);
      word = word.substr(0, eq);
    }
    auto take_value = [&]() -> bool {
      if (inline_value) {
        return true;
      }
      if (i + 1 >= args.size()) {
        return false;
      }
      value = args[++i];
      return true;
    };
    if (word == "--help" || word == "-h") {
      options.help = true;
    } else if (word == "-o" || word == "--output") {
      if (!take_value() || value.empty()) {
        return UsageError(word + " に出力ファイルがありません");
      }
      options.output = value;
    } else if (run && word == "--threads") {
      std::optional<int> n;
      if (!take_value() || !(n = ParseThreads(value))) {
        return UsageError("--threads には 1 から 1024 の整数を指定してください");
      }
      options.threads = *n;
    } else if (run && word == "--sets") {
      if (!take_value() || !ParseSets(value, options)) {
        return UsageError(
            "--sets には rect、sector、rect,sector、none のいずれかを指定してください");
      }
    } else if (word.size() > 1 && word[0] == '-') {
      return UsageError("不明なオプションです: " + args[i]);
    } else if (options.input.empty()) {
      options.input = word;
    } else {
      return UsageError("入力ファイルは一つだけ指定してください: " + word);
    }
  }
  if (options.help) {
    return std::nullopt;
  }
  if (options.input.empty()) {
    return UsageError("入力ファイルがありません");
  }
  if (options.output.empty()) {
    return UsageError("出力ファイルを -o で指定してください");
  }
  return std::nullopt;
}

int FileFailure(const std::string& path, const FileError& error) {
  std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(path, error).c_str());
  return 1;
}

// The model of the input file on top of the initial values, or an exit code after a message.
std::unique_ptr<ElementModel> ReadInput(const std::string& path, int& exit_code) {
  auto initial = std::make_unique<ElementModel>();
  FullReset(*initial);
  ModelReadResult read = ReadModelFile(path, *initial);
  if (!read.ok()) {
    exit_code = FileFailure(path, *read.error);
    return nullptr;
  }
  read.model->ModelFilePath = path;
  return std::move(read.model);
}

// Each notice raised during the runs, once, with its title and message.
void PrintNotices(const NoticeBoard& notices) {
  for (const NoticeText& notice : AllNotices()) {
    if (notices.RaiseCount(notice.id) > 0) {
      std::fprintf(stderr, "tavrine-batch: 警告: %s: %s\n", notices.Title(notice.id).c_str(),
                   std::string(notice.message).c_str());
    }
  }
}

}  // namespace

void PrintHelp(std::FILE* out) {
  std::fputs(
      "使い方: tavrine-batch COMMAND ...\n"
      "\n"
      "  tavrine-batch run MODEL.csv -o OUT.csv [--threads N] [--sets SETS]\n"
      "      形状データファイル MODEL.csv を読み込み、ファイルが持つ計算点で磁界計算を行い、\n"
      "      計算結果を含む形状データファイルを OUT.csv に書き出します。\n"
      "      --threads N  計算に使うスレッド数（1〜1024、既定はコア数）。結果はスレッド数に\n"
      "                   よらず同じです。\n"
      "      --sets SETS  計算する計算点の組: rect（四角型）、sector（扇型）、rect,sector\n"
      "                   （既定、両方）、none（計算せずに読み込みと書き出しのみ）。\n"
      "\n"
      "  tavrine-batch export MODEL.csv -o DIST.csv\n"
      "      MODEL.csv の四角型計算点の計算結果を 3D 分布用データとして DIST.csv に\n"
      "      書き出します。\n"
      "\n"
      "  tavrine-batch force MODEL.csv --magnet N [--threads N]\n"
      "      MODEL.csv の角柱磁石 N に働く力を標準出力に表示します（tavrine-batch force "
      "--help）。\n"
      "\n"
      "  tavrine-batch render ...\n"
      "      形状データファイルの四面図を画像に描画します（tavrine-batch render --help）。\n"
      "\n"
      "  tavrine-batch map ...\n"
      "      四角型計算点の計算結果を磁界マップの画像に描画します（tavrine-batch map --help）。\n"
      "\n"
      "  -o FILE, --output FILE  出力ファイル。既存のファイルは、新しいファイルを書き終えて\n"
      "                          から置き換えます。失敗したときは元のファイルが残ります。\n"
      "  -h, --help              この説明を表示します。\n"
      "\n"
      "端末では進行状況を標準エラー出力に表示します。計算中の警告は種類ごとに一度だけ、\n"
      "題名とメッセージを標準エラー出力に表示します。\n"
      "\n"
      "終了コード: 0 成功、1 入力ファイルを読めない（ファイル名、行番号、理由を一行で表示）\n"
      "または出力ファイルを書けない、2 使い方の誤り。\n",
      out);
}

// What run and export start with: the options and the input model, or the exit code when the
// command ends there (help, a usage error, an unreadable input).
struct OpenedCommand {
  Options options;
  std::unique_ptr<ElementModel> model;
  int exit_code = 0;
};

OpenedCommand OpenCommand(const std::vector<std::string>& args, bool run) {
  OpenedCommand opened;
  if (auto code = ParseOptions(args, run, opened.options)) {
    opened.exit_code = *code;
  } else if (opened.options.help) {
    PrintHelp(stdout);
  } else {
    opened.model = ReadInput(opened.options.input, opened.exit_code);
  }
  return opened;
}

int RunCommand(const std::vector<std::string>& args) {
  auto [options, model, exit_code] = OpenCommand(args, true);
  if (!model) {
    return exit_code;
  }
  const RunOptions run{options.threads};  // 0: the runs take one thread per core
  NoticeBoard notices;
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  if (options.rect) {
    RectPointDistFieldCaluculation(*model, progress, notices, run);
  }
  if (options.sector) {
    SectPointDistFieldCaluculation(*model, progress, notices, run);
  }
  PrintNotices(notices);
  if (auto error = WriteModelFile(*model, options.output)) {
    return FileFailure(options.output, *error);
  }
  return 0;
}

int ExportCommand(const std::vector<std::string>& args) {
  auto [options, model, exit_code] = OpenCommand(args, false);
  if (!model) {
    return exit_code;
  }
  ExportBytes file = FormatDistributionExport(*model);
  if (file.error) {
    return FileFailure(options.input, *file.error);  // the grid shape comes from the input
  }
  if (auto failure = ReplaceFileContents(options.output, file.bytes)) {
    return FileFailure(options.output, FileError{0, *failure});
  }
  return 0;
}

}  // namespace tavrine::batch

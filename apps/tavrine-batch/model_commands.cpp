// "run": read a model file, run the chosen field runs, write the model file with the results.
// "export": the distribution export of a model file's rectangular set.
#include "model_commands.h"

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <system_error>
#include <unistd.h>

#include "batch/vtk_export.h"
#include "calcpoints/field_runs.h"
#include "files/distribution_export.h"
#include "files/model_file.h"
#include "files/safe_write.h"
#include "model/notices.h"
#include "study_io.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct Options {
  std::string input, output, vtk;
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
    } else if (run && word == "--vtk") {
      if (!take_value() || !(value.ends_with(".vts") || value.ends_with(".vtu"))) {
        return UsageError(
            "--vtk には .vts（四角型）または .vtu（扇型）のファイルを指定してください");
      }
      options.vtk = value;
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
  if (options.output.empty() && options.vtk.empty()) {
    return UsageError("出力ファイルを -o で指定してください");
  }
  return std::nullopt;
}

int FileFailure(const std::string& path, const FileError& error) {
  std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(path, error).c_str());
  return 1;
}

// The model of the input file on top of the initial values, or an exit code after a message;
// the file's bytes are kept in `bytes` for the output to be built in.
std::unique_ptr<ElementModel> ReadInput(const std::string& path,
                                        int& exit_code,
                                        std::string& bytes) {
  ModelReadResult read = ReadModelFileAfterStartUp(path);
  if (!read.ok()) {
    exit_code = FileFailure(path, *read.error);
    return nullptr;
  }
  read.model->ModelFilePath = path;
  bytes = std::move(read.bytes);
  return std::move(read.model);
}

// The set the file's extension names, with its field, for ParaView.
int WriteVtk(const ElementModel& model, const std::string& path) {
  const VtkBytes file = path.ends_with(".vts") ? FormatRectVtk(model) : FormatSectVtk(model);
  if (file.error) {
    return FileFailure(path, FileError{0, *file.error});
  }
  if (auto failure = ReplaceFileContents(path, file.bytes)) {
    return FileFailure(path, FileError{0, *failure});
  }
  return 0;
}

// The node tables depend on no file: with threads to spare the process's shared tables are
// built while the input is read, else by the first run's threads.
class TablesBeside {
 public:
  void Start(const Options& options) {
    if ((options.rect || options.sector) && options.threads != 1) {
      try {
        warming_ = std::async(std::launch::async, [] { (void)SharedFieldQuadrature(); });
      } catch (const std::system_error&) {
        // No thread to spare after all: the first run builds the tables.
      }
    }
  }

 private:
  std::future<void> warming_;  // waited for when the command ends
};

// The chosen runs (threads 0: one per core); a run that needs the tables while they are still
// being built waits for them.
void RunFields(ElementModel& model, const Options& options, NoticeBoard& notices) {
  const RunOptions run{.threads = options.threads};
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  if (options.rect) {
    RectPointDistFieldCaluculation(model, progress, notices, run);
  }
  if (options.sector) {
    SectPointDistFieldCaluculation(model, progress, notices, run);
  }
}

}  // namespace

void PrintHelp(std::FILE* out) {
  std::fputs(
      "使い方: tavrine-batch COMMAND ...\n"
      "\n"
      "  tavrine-batch run MODEL.csv -o OUT.csv [--threads N] [--sets SETS] [--vtk OUT.vts|.vtu]\n"
      "      形状データファイル MODEL.csv を読み込み、ファイルが持つ計算点で磁界計算を行い、\n"
      "      計算結果を含む形状データファイルを OUT.csv に書き出します。\n"
      "      --threads N  計算に使うスレッド数（1〜1024、既定はコア数）。結果はスレッド数に\n"
      "                   よらず同じです。\n"
      "      --sets SETS  計算する計算点の組: rect（四角型）、sector（扇型）、rect,sector\n"
      "                   （既定、両方）、none（計算せずに読み込みと書き出しのみ）。\n"
      "      --vtk FILE   計算点と磁界ベクトル（mm、Oe）を VTK の XML 形式で書き出します\n"
      "                   （ParaView で開けます）。.vts は四角型、.vtu は扇型の計算点です。\n"
      "                   --vtk があれば -o は省略できます。\n"
      "\n"
      "  tavrine-batch export MODEL.csv -o DIST.csv\n"
      "      MODEL.csv の四角型計算点の計算結果を 3D 分布用データとして DIST.csv に\n"
      "      書き出します。\n"
      "\n"
      "  tavrine-batch force MODEL.csv [--kind rect|sector|rh] --magnet N [--threads N]\n"
      "      MODEL.csv の磁石 N に働く力とトルクを CSV で書き出します（tavrine-batch force "
      "--help）。\n"
      "\n"
      "  tavrine-batch grid rect|sector MODEL.csv -o OUT.csv ...\n"
      "      計算点の作成ダイアログと同じ設定で計算点を作ります（tavrine-batch grid --help）。\n"
      "\n"
      "  tavrine-batch sweep MODEL.csv -o DIR --vary KEY=FROM:TO:STEP ... [--jobs N] [--slurm]\n"
      "      数値を変えた変形ごとのモデルと、その計算コマンドの一覧 DIR/manifest.txt を作り\n"
      "      ます（tavrine-batch sweep --help）。\n"
      "\n"
      "  tavrine-batch collect DIR\n"
      "      sweep のフォルダの計算結果を DIR/summary.csv に集計します。\n"
      "\n"
      "  tavrine-batch pc MODEL.csv --kind rect|sector --magnet N --divisions A B Z ...\n"
      "      パーミアンス分布と熱減磁率を CSV で書き出します（tavrine-batch pc --help）。\n"
      "\n"
      "  tavrine-batch kt SETUP.txt [-o OUT.xls]\n"
      "      設定ファイルの回転座標とコイルで Kt を計算し、力とトルクの表を書き出します\n"
      "      （tavrine-batch kt --help）。\n"
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
  std::string input_bytes;
};

// `before_reading` sees the options of a command that goes on to read its input.
OpenedCommand OpenCommand(const std::vector<std::string>& args,
                          bool run,
                          const std::function<void(const Options&)>& before_reading = {}) {
  OpenedCommand opened;
  if (auto code = ParseOptions(args, run, opened.options)) {
    opened.exit_code = *code;
  } else if (opened.options.help) {
    PrintHelp(stdout);
  } else {
    if (before_reading) {
      before_reading(opened.options);
    }
    opened.model = ReadInput(opened.options.input, opened.exit_code, opened.input_bytes);
  }
  return opened;
}

int RunCommand(const std::vector<std::string>& args) {
  TablesBeside tables;
  auto [options, model, exit_code, input_bytes] =
      OpenCommand(args, true, [&](const Options& parsed) { tables.Start(parsed); });
  if (!model) {
    return exit_code;
  }
  NoticeBoard notices;
  if (options.rect || options.sector) {
    RunFields(*model, options, notices);
  }
  PrintRaisedNotices(notices);
  if (!options.output.empty()) {
    if (auto error = WriteModelFile(*model, options.output, std::move(input_bytes))) {
      return FileFailure(options.output, *error);
    }
  }
  return options.vtk.empty() ? 0 : WriteVtk(*model, options.vtk);
}

int ExportCommand(const std::vector<std::string>& args) {
  auto [options, model, exit_code, input_bytes] = OpenCommand(args, false);
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

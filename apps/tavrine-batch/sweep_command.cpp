// "sweep": one model file per variant of a model, a manifest of the commands that compute them,
// optionally a Slurm job-array script, and with --jobs the local run and the summary.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "batch/sweep_keys.h"
#include "files/item_reader.h"
#include "files/model_file.h"
#include "files/safe_write.h"
#include "job_runner.h"
#include "sweep_commands.h"
#include "sweep_folder.h"
#include "sweep_studies.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

struct SweepArgs {
  std::string input, dir, study = "run", table;
  std::vector<std::string> varies, study_options;
  int jobs = 0;
  bool slurm = false, help = false;
};

int SweepUsage(const std::string& message) {
  std::fprintf(stderr, "tavrine-batch: %s（tavrine-batch sweep --help を参照）\n", message.c_str());
  return 2;
}

void PrintSweepHelp() {
  std::fputs(
      "使い方: tavrine-batch sweep MODEL.csv -o DIR (--vary KEY=FROM:TO:STEP ... | --table "
      "FILE.csv)\n"
      "                            [--study run|force|pc|kt] [計算のオプション] [--jobs N] "
      "[--slurm]\n"
      "  形状データファイル MODEL.csv の数値を変えた変形ごとに形状データファイル DIR/v001.csv …\n"
      "  を書き、変形ごとの tavrine-batch のコマンドを一行ずつ DIR/manifest.txt に書きます。\n"
      "  各コマンドは結果をモデルの隣（DIR/v001.run.csv など）に、メッセージを DIR/v001.log\n"
      "  に書きます。\n"
      "  --vary KEY=FROM:TO:STEP  KEY の値を FROM から TO まで STEP おきに変えます（KEY=値 で\n"
      "                 一つの値）。複数の --vary はすべての組み合わせになります。\n"
      "                 KEY は 表.番号.項目 で、形状データファイルの名前を使います（単位も\n"
      "                 ファイルと同じ: mm、度、Gauss、Oe、A）。表: RecMag、SecMag、RhMag、\n"
      "                 StrRecCoil、StrCylCoil、SecRecCoil、SecCylCoil（または見出し\n"
      "                 「扇型磁石データ」など）。項目: 列見出しから (i) を除いたもの（Br、Hcj、\n"
      "                 a、T、開き角、Ox、AngZ、BrAngle、Current など）。例: SecMag.1.T\n"
      "                 計算点: RectGrid.MagN|XL|DivX|YL|DivY|DisZ|XSymmetric|YSymmetric、\n"
      "                 SectGrid.MagN|RDiv|CalPointRi|CalPointRo|AngleDiv|TStart|TSweep|DisZ。\n"
      "                 計算点のキーがあると、変形ごとにその計算点をダイアログと同じ規則で\n"
      "                 作り直します。\n"
      "  --table FILE.csv  変形を一行ずつ並べた表。見出しの行がキーです。\n"
      "  --study S      各変形で行う計算: run（磁界計算、既定）、force（磁石に働く力とトルク、\n"
      "                 --magnet N が必要）、pc（パーミアンス分布と熱減磁率、pc のオプション\n"
      "                 が必要）、kt（Kt、設定ファイル SETUP.txt が必要。その model の行の\n"
      "                 代わりに各変形を使います）。ほかのオプション（--sets、--kind、\n"
      "                 --magnet、--threads など）はそのまま各変形のコマンドに渡します。\n"
      "  --jobs N       マニフェストをこの計算機の N 個のプロセスで実行し、集計します。\n"
      "  --slurm        Slurm のジョブ配列スクリプト DIR/sweep.sbatch を書きます\n"
      "                 （sbatch DIR/sweep.sbatch で投入）。\n"
      "  集計は tavrine-batch collect DIR で DIR/summary.csv に書きます（--jobs では自動）。\n"
      "  GNU parallel では parallel -a DIR/manifest.txt で同じ行を実行できます。\n"
      "  作れない変形（計算点が受け付けられないなど）はモデルを書かず、集計でその理由を\n"
      "  表示します。ほかの変形は計算します。\n"
      "終了コード: 0 成功、1 入力ファイルを読めない・フォルダに書けない、または結果のない変形が\n"
      "ある、2 使い方の誤り（キーの誤りを含む）。\n",
      stdout);
}

std::optional<int> PositiveJobs(const std::string& text) {
  if (text.empty() || text.size() > 4 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int n = std::stoi(text);
  return n >= 1 && n <= 1024 ? std::optional<int>(n) : std::nullopt;
}

// A study option naming a file here is passed with its absolute path, so that the manifest's
// lines run the same from any folder and on any host that sees the same paths.
std::string StudyWord(const std::string& word) {
  std::error_code error;
  const bool file_like = word.find_first_of("./") != std::string::npos;  // not "rect", "2"
  if (!file_like || word.starts_with("-") || word.starts_with("/") || ParseNumberItem(word) ||
      !std::filesystem::is_regular_file(word, error)) {
    return word;
  }
  const auto path = std::filesystem::absolute(word, error);
  return error ? word : path.lexically_normal().string();
}

// The sweep's own options; every other word goes to the study's command as it stands.
// Stores the value of an option that takes one; false when the option does not.
std::optional<int> TakeOptionValue(const std::string& word,
                                   const std::string& value,
                                   SweepArgs& out) {
  if (word == "--vary") {
    out.varies.push_back(value);
  } else if (word == "--table") {
    out.table = value;
  } else if (word == "--study") {
    out.study = value;
  } else if (word == "--jobs") {
    auto n = PositiveJobs(value);
    if (!n) {
      return SweepUsage("--jobs には 1 から 1024 の整数を指定してください");
    }
    out.jobs = *n;
  } else {
    out.dir = value;
  }
  return std::nullopt;
}

std::optional<int> CheckSweepArgs(const SweepArgs& out) {
  if (out.input.empty()) {
    return SweepUsage("入力ファイルがありません（sweep MODEL.csv -o DIR ...）");
  }
  if (out.dir.empty()) {
    return SweepUsage("出力フォルダを -o で指定してください");
  }
  if (out.varies.empty() == out.table.empty()) {
    return SweepUsage("--vary または --table のどちらか一方で変形を指定してください");
  }
  if (!FindSweepStudy(out.study)) {
    std::string names;
    for (const SweepStudy& study : SweepStudies()) {
      names += (names.empty() ? "" : "、") + std::string(study.name);
    }
    return SweepUsage("--study には " + names + " のいずれかを指定してください: " + out.study);
  }
  if (out.jobs > 0 && out.slurm) {
    return SweepUsage("--jobs と --slurm は同時に指定できません");
  }
  return std::nullopt;
}

std::optional<int> ParseSweepArgs(const std::vector<std::string>& args, SweepArgs& out) {
  static const std::vector<std::string> kWithValue = {"-o",      "--output", "--vary",
                                                      "--table", "--study",  "--jobs"};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--help" || word == "-h") {
      out.help = true;
    } else if (i == 0 && !word.starts_with("-")) {
      out.input = word;
    } else if (std::find(kWithValue.begin(), kWithValue.end(), word) != kWithValue.end()) {
      if (i + 1 >= args.size()) {
        return SweepUsage(word + " に値がありません");
      }
      if (auto code = TakeOptionValue(word, args[++i], out)) {
        return code;
      }
    } else if (word == "--slurm") {
      out.slurm = true;
    } else if (word.find('\n') != std::string::npos) {
      return SweepUsage("オプションに改行は使えません");
    } else {
      out.study_options.push_back(StudyWord(word));
    }
  }
  return out.help ? std::nullopt : CheckSweepArgs(out);
}

// The variants from --vary or --table, or the exit code after a message.
std::optional<sweep::VariantTable> Variants(const SweepArgs& args, int& exit_code) {
  std::variant<sweep::VariantTable, std::string> table;
  if (!args.table.empty()) {
    FileBytes file = ReadWholeFile(args.table);
    if (file.error) {
      std::fprintf(stderr, "tavrine-batch: %s: %s\n", args.table.c_str(), file.error->c_str());
      exit_code = 1;
      return std::nullopt;
    }
    table = sweep::ParseVariantTable(file.bytes);
    if (auto* error = std::get_if<std::string>(&table)) {
      *error = args.table + ": " + *error;
    }
  } else {
    std::vector<sweep::VaryRange> ranges;
    for (const std::string& text : args.varies) {
      auto range = sweep::ParseVary(text);
      if (auto* error = std::get_if<std::string>(&range)) {
        exit_code = SweepUsage(*error);
        return std::nullopt;
      }
      ranges.push_back(std::get<sweep::VaryRange>(range));
    }
    table = sweep::ProductOf(ranges);
  }
  if (auto* error = std::get_if<std::string>(&table)) {
    exit_code = SweepUsage(*error);
    return std::nullopt;
  }
  return std::get<sweep::VariantTable>(table);
}

std::optional<std::vector<sweep::SweepKey>> Keys(const std::vector<std::string>& texts,
                                                 const ElementModel& model) {
  std::vector<sweep::SweepKey> keys;
  for (const std::string& text : texts) {
    auto key = sweep::ParseSweepKey(text, model);
    if (auto* error = std::get_if<std::string>(&key)) {
      SweepUsage(*error);
      return std::nullopt;
    }
    keys.push_back(std::get<sweep::SweepKey>(key));
  }
  return keys;
}

std::string ThisProgram() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("tavrine-batch") : path.string();
}

// The complete command of one variant; its result appears only when the command succeeded.
std::string ManifestLine(const std::string& dir,
                         const std::string& name,
                         const SweepStudy& study,
                         const std::vector<std::string>& options) {
  const std::string result = InFolder(dir, name + std::string(study.suffix));
  std::vector<std::string> words = {ShellWord(ThisProgram()), std::string(study.command)};
  if (!study.model_option.empty()) {
    words.emplace_back(study.model_option);
  }
  words.push_back(ShellWord(InFolder(dir, name + ".csv")));
  if (study.writes_output) {
    words.insert(words.end(), {"-o", ShellWord(result)});
  }
  for (const std::string& option : options) {
    words.push_back(ShellWord(option));
  }
  words.push_back(std::string("2>").append(ShellWord(InFolder(dir, name + ".log"))));
  if (!study.writes_output) {
    words.insert(words.end(), {std::string(">").append(ShellWord(result + ".part")), "&&", "mv",
                               "-f", ShellWord(result + ".part"), ShellWord(result)});
  }
  std::string line;
  for (const std::string& word : words) {
    line.append(line.empty() ? "" : " ").append(word);
  }
  return line;
}

// Why the variant's model cannot be written as a file that the command will read, if so.
std::optional<std::string> BuildVariant(const ElementModel& base,
                                        const std::vector<sweep::SweepKey>& keys,
                                        const std::vector<double>& values,
                                        const std::string& path) {
  auto model = std::make_unique<ElementModel>(base);
  if (auto failure = sweep::ApplyVariant(*model, keys, values)) {
    return failure;
  }
  ModelFileBytes file = FormatModelFile(*model);
  if (!file.error) {
    if (auto reread = ParseModelFile(file.bytes, base); !reread.ok()) {
      file.error = reread.error;  // such as a coil whose cross-section became zero
    }
  }
  if (file.error) {
    return "形状データファイルにできません: " + file.error->message;
  }
  if (auto error = ReplaceFileContents(path, file.bytes)) {
    return path + ": " + *error;
  }
  return std::nullopt;
}

void RemoveStale(const std::string& dir, const std::string& name, const SweepStudy& study) {
  for (const std::string& suffix : {std::string(study.suffix), std::string(study.suffix) + ".part",
                                    std::string(".log"), std::string(".csv")}) {
    std::remove(InFolder(dir, name + suffix).c_str());
  }
}

// Array task k runs line k of the manifest, exactly as written.
std::optional<std::string> WriteSlurmScript(const std::string& dir, size_t lines) {
  const std::string manifest = InFolder(dir, kManifestName);
  const bool plain_dir = dir.find_first_of(" \t'\"\\%") == std::string::npos;
  const std::string script =
      "#!/bin/sh\n"
      "#SBATCH --job-name=tavrine-sweep\n"
      "#SBATCH --array=1-" +
      std::to_string(lines) + "\n" + "#SBATCH --ntasks=1\n" +
      (plain_dir ? "#SBATCH --output=" + InFolder(dir, "slurm-%a.out") + "\n" : "") +
      "line=$(sed -n \"${SLURM_ARRAY_TASK_ID}p\" " + ShellWord(manifest) +
      ")\n"
      "exec /bin/sh -c \"$line\"\n";
  const std::string path = InFolder(dir, "sweep.sbatch");
  if (auto error = ReplaceFileContents(path, script)) {
    return path + ": " + *error;
  }
  return std::nullopt;
}

// The variant files and the manifest lines of those that could be built.
// The variant's manifest line, or nothing once it is reported as refused.
std::optional<std::string> WriteVariant(const SweepArgs& args,
                                        const ElementModel& base,
                                        const std::vector<sweep::SweepKey>& keys,
                                        const std::vector<double>& values,
                                        const std::string& name,
                                        std::vector<std::string>& refusals) {
  const SweepStudy& study = *FindSweepStudy(args.study);
  RemoveStale(args.dir, name, study);
  if (auto failure = BuildVariant(base, keys, values, InFolder(args.dir, name + ".csv"))) {
    ReplaceFileContents(InFolder(args.dir, name + ".log"), "tavrine-batch: " + *failure + "\n");
    refusals.push_back(name + ": " + *failure);
    return std::nullopt;
  }
  return ManifestLine(args.dir, name, study, args.study_options);
}

// The variant files and the manifest lines of those that could be built.
std::optional<std::vector<std::string>> WriteVariants(const SweepArgs& args,
                                                      const ElementModel& base,
                                                      const std::vector<sweep::SweepKey>& keys,
                                                      const sweep::VariantTable& variants,
                                                      Progress& progress) {
  const size_t count = variants.rows.size();
  for (size_t i = 0; i < count; ++i) {
    std::error_code error;
    const std::string model = InFolder(args.dir, sweep::VariantName(i, count) + ".csv");
    if (std::filesystem::equivalent(args.input, model, error)) {
      SweepUsage("入力ファイルを変形のファイルで上書きしてしまいます: " + model);
      return std::nullopt;
    }
  }
  std::vector<std::string> lines, refusals;
  progress.Open("sweep", "パラメータスイープ");
  progress.StartBar(std::to_string(count) + " 件の変形の形状データを作成中");
  for (size_t i = 0; i < count; ++i) {
    const std::string name = sweep::VariantName(i, count);
    if (auto line = WriteVariant(args, base, keys, variants.rows[i], name, refusals)) {
      lines.push_back(*line);
    }
    progress.SetBarFraction(double(i + 1) / double(count));
  }
  progress.Close();
  for (const std::string& refusal : refusals) {
    std::fprintf(stderr, "tavrine-batch: %s\n", refusal.c_str());
  }
  std::printf("%s: %zu 件の変形（作れなかった変形 %zu 件）\n", args.dir.c_str(), count,
              refusals.size());
  return lines;
}

std::optional<std::string> WriteManifest(const std::string& dir,
                                         const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\n";
  }
  const std::string path = InFolder(dir, kManifestName);
  std::remove(InFolder(dir, kSummaryName).c_str());
  if (auto error = ReplaceFileContents(path, text)) {
    return path + ": " + *error;
  }
  return std::nullopt;
}

int FolderFailure(const std::string& message) {
  std::fprintf(stderr, "tavrine-batch: %s\n", message.c_str());
  return 1;
}

void PrintNextSteps(const std::string& dir, bool slurm) {
  const std::string quoted = ShellWord(dir);
  if (slurm) {
    std::printf("投入: sbatch %s\n", ShellWord(InFolder(dir, "sweep.sbatch")).c_str());
  } else {
    std::printf("実行: parallel -a %s（または sweep --jobs N）\n",
                ShellWord(InFolder(dir, kManifestName)).c_str());
  }
  std::printf("集計: tavrine-batch collect %s\n", quoted.c_str());
}

// The folder with its variants, plan, manifest and job-array script: the manifest's lines, or
// the exit code after a message.
std::variant<std::vector<std::string>, int> WriteSweepFolder(
    SweepArgs& args,
    const ElementModel& base,
    const std::vector<sweep::SweepKey>& keys,
    const sweep::VariantTable& variants) {
  std::error_code error;
  std::filesystem::create_directories(args.dir, error);
  if (error) {
    return FolderFailure(args.dir + ": " + error.message());
  }
  args.dir = std::filesystem::absolute(args.dir, error).lexically_normal().string();
  if (args.dir.size() > 1 && args.dir.ends_with('/')) {
    args.dir.pop_back();
  }
  TerminalProgress terminal;
  NullProgress quiet;
  auto lines = WriteVariants(args, base, keys, variants,
                             isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet);
  if (!lines) {
    return 2;
  }
  const SweepPlan plan{args.study, args.study_options, variants};
  if (auto failure = WritePlan(args.dir, plan);
      failure || (failure = WriteManifest(args.dir, *lines))) {
    return FolderFailure(*failure);
  }
  if (args.slurm && lines->empty()) {
    std::fputs("tavrine-batch: 計算できる変形がないため、sweep.sbatch は書きません\n", stderr);
  } else if (args.slurm) {
    if (auto failure = WriteSlurmScript(args.dir, lines->size())) {
      return FolderFailure(*failure);
    }
  }
  return *lines;
}

}  // namespace

int SweepCommand(const std::vector<std::string>& words) {
  SweepArgs args;
  if (auto code = ParseSweepArgs(words, args)) {
    return *code;
  }
  if (args.help) {
    PrintSweepHelp();
    return 0;
  }
  int exit_code = 0;
  ModelReadResult read = ReadModelFileAfterStartUp(args.input);
  if (!read.ok()) {
    return FolderFailure(DescribeFileError(args.input, *read.error));
  }
  auto variants = Variants(args, exit_code);
  if (!variants) {
    return exit_code;
  }
  auto keys = Keys(variants->keys, *read.model);
  if (!keys) {
    return 2;
  }
  auto written = WriteSweepFolder(args, *read.model, *keys, *variants);
  if (const int* code = std::get_if<int>(&written)) {
    return *code;
  }
  const auto& lines = std::get<std::vector<std::string>>(written);
  if (args.jobs == 0) {
    PrintNextSteps(args.dir, args.slurm);
    return lines.size() == variants->rows.size() ? 0 : 1;
  }
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  RunCommandLines(lines, args.jobs, progress);
  return CollectSweep(args.dir);
}

}  // namespace tavrine::batch

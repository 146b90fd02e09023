// "collect": one summary row per variant from whatever results a sweep folder holds.
#include <cstdio>
#include <unistd.h>

#include "batch/sweep_summary.h"
#include "files/safe_write.h"
#include "sweep_commands.h"
#include "sweep_folder.h"
#include "sweep_studies.h"
#include "terminal_progress.h"

namespace tavrine::batch {

namespace {

std::string LastLine(const std::string& text) {
  size_t end = text.find_last_not_of("\r\n");
  if (end == std::string::npos) {
    return {};
  }
  const size_t start = text.find_last_of('\n', end);
  std::string line = text.substr(start == std::string::npos ? 0 : start + 1,
                                 end + 1 - (start == std::string::npos ? 0 : start + 1));
  const std::string prefix = "tavrine-batch: ";
  return line.starts_with(prefix) ? line.substr(prefix.size()) : line;
}

// The first warning a variant's log holds, if any.
std::optional<std::string> FirstWarning(const std::string& log) {
  const size_t at = log.find("警告: ");
  if (at == std::string::npos) {
    return std::nullopt;
  }
  return log.substr(at, log.find('\n', at) - at);
}

sweep::SummaryRow RowOf(const std::string& dir,
                        const SweepStudy& study,
                        const SweepPlan& plan,
                        size_t index) {
  const auto& table = plan.variants;
  sweep::SummaryRow row{sweep::VariantName(index, table.rows.size()), table.rows[index], {}, {}};
  const FileBytes log = ReadWholeFile(InFolder(dir, row.variant + ".log"));
  const std::string result = InFolder(dir, row.variant + std::string(study.suffix));
  if (ReadWholeFile(result).error) {
    const std::string why = log.error ? std::string() : LastLine(log.bytes);
    row.state =
        "失敗: " + (why.empty() ? std::string("結果がありません（未実行または実行中）") : why);
    return row;
  }
  StudyResult read = study.read(result, plan.options);
  row.figures = read.figures;
  if (read.failure) {
    row.state = "失敗: " + *read.failure;
  } else if (auto warning = log.error ? std::nullopt : FirstWarning(log.bytes)) {
    row.state = std::string(sweep::kStateOk) + "（" + *warning + "）";
  } else {
    row.state = sweep::kStateOk;
  }
  return row;
}

}  // namespace

int CollectSweep(const std::string& dir) {
  SweepPlan plan;
  if (auto error = ReadPlan(dir, plan)) {
    std::fprintf(stderr, "tavrine-batch: %s\n", error->c_str());
    return 1;
  }
  const SweepStudy* study = FindSweepStudy(plan.study);
  if (!study) {
    std::fprintf(stderr, "tavrine-batch: %s: 不明な計算の種類です: %s\n",
                 InFolder(dir, kPlanName).c_str(), plan.study.c_str());
    return 1;
  }
  std::vector<sweep::SummaryRow> rows;
  size_t failed = 0;
  TerminalProgress terminal;
  NullProgress quiet;
  Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(terminal) : quiet;
  progress.Open("collect", "集計");
  progress.StartBar(std::to_string(plan.variants.rows.size()) + " 件の結果を読み込み中");
  for (size_t i = 0; i < plan.variants.rows.size(); ++i) {
    rows.push_back(RowOf(dir, *study, plan, i));
    failed += rows.back().state.starts_with(sweep::kStateOk) ? 0 : 1;
    progress.SetBarFraction(double(i + 1) / double(plan.variants.rows.size()));
  }
  progress.Close();
  const std::string path = InFolder(dir, kSummaryName);
  const auto text = sweep::ToFileText(sweep::FormatSummary(plan.variants.keys, rows));
  const auto error = text
                         ? ReplaceFileContents(path, *text)
                         : std::optional<std::string>("コード ページ 932 で書けない文字があります");
  if (error) {
    std::fprintf(stderr, "tavrine-batch: %s: %s\n", path.c_str(), error->c_str());
    return 1;
  }
  std::printf("%s: %zu 件の変形（失敗 %zu 件）\n", path.c_str(), rows.size(), failed);
  return failed == 0 ? 0 : 1;
}

int CollectCommand(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(
        "使い方: tavrine-batch collect DIR\n"
        "  tavrine-batch sweep が作ったフォルダ DIR にある計算結果を集め、変形ごとに一行の\n"
        "  DIR/summary.csv を書きます。結果のない変形は、その理由を行に書きます。\n"
        "終了コード: 0 すべての変形に結果がある、1 結果のない変形がある、またはフォルダを\n"
        "読めない・summary.csv を書けない、2 使い方の誤り。\n",
        stdout);
    return 0;
  }
  if (args.size() != 1 || args[0].starts_with("-")) {
    std::fputs(
        "tavrine-batch: フォルダを一つ指定してください（tavrine-batch collect --help を参照）\n",
        stderr);
    return 2;
  }
  return CollectSweep(args[0]);
}

}  // namespace tavrine::batch

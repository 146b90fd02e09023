// The sweep folder's plan files: sweep.txt in UTF-8 lines, variants.csv in code page 932.
#include "sweep_folder.h"

#include "files/safe_write.h"
#include "model/text_rules.h"

namespace tavrine::batch {

std::string InFolder(const std::string& dir, const std::string& name) {
  return dir.ends_with('/') ? dir + name : dir + "/" + name;
}

std::string ShellWord(const std::string& word) {
  if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                              "0123456789_-./=:,+") == std::string::npos) {
    return word;
  }
  std::string quoted = "'";
  for (char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

std::optional<std::string> WritePlan(const std::string& dir, const SweepPlan& plan) {
  std::string text = "study " + plan.study + "\n";
  for (const std::string& option : plan.options) {
    text += "option " + option + "\n";
  }
  if (auto error = ReplaceFileContents(InFolder(dir, kPlanName), text)) {
    return InFolder(dir, kPlanName) + ": " + *error;
  }
  std::vector<std::string> heading{std::string(sweep::kVariantHeading)};
  heading.insert(heading.end(), plan.variants.keys.begin(), plan.variants.keys.end());
  std::string table = sweep::CsvLine(heading);
  for (size_t i = 0; i < plan.variants.rows.size(); ++i) {
    std::vector<std::string> cells{sweep::VariantName(i, plan.variants.rows.size())};
    for (double v : plan.variants.rows[i]) {
      cells.push_back(ShortestDecimal(v));
    }
    table += sweep::CsvLine(cells);
  }
  const std::string path = InFolder(dir, kVariantsName);
  auto bytes = sweep::ToFileText(table);
  if (!bytes) {
    return path + ": コード ページ 932 で書けない文字がキーにあります";
  }
  if (auto error = ReplaceFileContents(path, *bytes)) {
    return path + ": " + *error;
  }
  return std::nullopt;
}

std::optional<std::string> ReadPlan(const std::string& dir, SweepPlan& plan) {
  const std::string path = InFolder(dir, kPlanName);
  FileBytes file = ReadWholeFile(path);
  if (file.error) {
    return path + ": " + *file.error + "（sweep で作ったフォルダを指定してください）";
  }
  size_t start = 0;
  while (start < file.bytes.size()) {
    const size_t end = std::min(file.bytes.find('\n', start), file.bytes.size());
    const std::string line = file.bytes.substr(start, end - start);
    start = end + 1;
    if (line.starts_with("study ")) {
      plan.study = line.substr(6);
    } else if (line.starts_with("option ")) {
      plan.options.push_back(line.substr(7));
    }
  }
  const std::string table_path = InFolder(dir, kVariantsName);
  FileBytes table = ReadWholeFile(table_path);
  if (table.error) {
    return table_path + ": " + *table.error;
  }
  auto variants = sweep::ParseVariantTable(table.bytes);
  if (auto* error = std::get_if<std::string>(&variants)) {
    return table_path + ": " + *error;
  }
  plan.variants = std::get<sweep::VariantTable>(variants);
  return std::nullopt;
}

}  // namespace tavrine::batch

// Variant ranges and tables, and the sweep folder's comma-separated text.
#include "batch/sweep_variants.h"

#include <cmath>

#include "files/cp932.h"
#include "files/item_reader.h"
#include "model/text_rules.h"

namespace tavrine::sweep {

namespace {

std::optional<double> Number(std::string_view text) {
  auto value = ParseNumberItem(text);
  if (!value || !std::isfinite(*value) || text.empty()) {
    return std::nullopt;
  }
  return value;
}

double Rounded15(double value) {
  return std::stod(ShortestDecimal(value));
}

std::variant<std::vector<double>, std::string> RangeValues(double from, double to, double step) {
  if (from == to) {
    return std::vector<double>{from};
  }
  if (step == 0 || (to - from) / step < 0) {
    return std::string("STEP の向きが FROM から TO への向きと合いません");
  }
  const double steps = std::floor((to - from) / step * (1 + 1e-12) + 1e-9);
  if (steps + 1 > double(kMaxVariants)) {
    return std::string("値が多すぎます");
  }
  std::vector<double> values;
  for (int k = 0; k <= static_cast<int>(steps); ++k) {
    values.push_back(Rounded15(from + k * step));
  }
  return values;
}

}  // namespace

std::variant<VaryRange, std::string> ParseVary(std::string_view text) {
  const size_t eq = text.rfind('=');
  if (eq == std::string_view::npos || eq == 0) {
    return "--vary は KEY=FROM:TO:STEP の形で指定してください: " + std::string(text);
  }
  VaryRange range{std::string(text.substr(0, eq)), {}};
  std::string_view range_text = text.substr(eq + 1);
  std::vector<double> parts;
  for (size_t start = 0;;) {
    const size_t colon = std::min(range_text.find(':', start), range_text.size());
    auto value = Number(range_text.substr(start, colon - start));
    if (!value) {
      return "--vary の値が数値ではありません: " + std::string(text);
    }
    parts.push_back(*value);
    if (colon == range_text.size()) {
      break;
    }
    start = colon + 1;
  }
  if (parts.size() != 1 && parts.size() != 3) {
    return "--vary は KEY=FROM:TO:STEP の形で指定してください: " + std::string(text);
  }
  if (parts.size() == 1) {
    range.values = {parts[0]};
    return range;
  }
  auto values = RangeValues(parts[0], parts[1], parts[2]);
  if (auto* error = std::get_if<std::string>(&values)) {
    return *error + ": " + std::string(text);
  }
  range.values = std::get<std::vector<double>>(values);
  return range;
}

std::variant<VariantTable, std::string> ProductOf(const std::vector<VaryRange>& ranges) {
  VariantTable table;
  double total = 1;
  for (const VaryRange& r : ranges) {
    table.keys.push_back(r.key);
    total *= static_cast<double>(r.values.size());
  }
  if (total > double(kMaxVariants)) {
    return "変形が多すぎます（" + std::to_string(kMaxVariants) + " 件まで）";
  }
  table.rows.assign(static_cast<size_t>(total), std::vector<double>(ranges.size()));
  size_t repeat = static_cast<size_t>(total);
  for (size_t k = 0; k < ranges.size(); ++k) {
    repeat /= ranges[k].values.size();  // the later ranges vary faster
    for (size_t row = 0; row < table.rows.size(); ++row) {
      table.rows[row][k] = ranges[k].values[(row / repeat) % ranges[k].values.size()];
    }
  }
  return table;
}

std::variant<std::vector<std::vector<std::string>>, std::string> ReadCsvRows(
    std::string_view bytes) {
  std::string text(bytes);
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.erase(0, 3);
  } else if (auto utf8 = Cp932ToUtf8(text)) {
    text = *utf8;  // code page 932, as every file of this program; plain ASCII reads the same
  }
  ItemReader reader(text);
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string_view> items;
  while (reader.NextLine(items)) {
    if (items.size() == 1 && items[0].empty()) {
      continue;  // empty lines
    }
    rows.emplace_back(items.begin(), items.end());
  }
  if (reader.Error()) {
    return std::to_string(reader.LineNumber()) + " 行目: " + *reader.Error();
  }
  return rows;
}

std::variant<VariantTable, std::string> ParseVariantTable(std::string_view bytes) {
  auto read = ReadCsvRows(bytes);
  if (auto* error = std::get_if<std::string>(&read)) {
    return *error;
  }
  auto& rows = std::get<std::vector<std::vector<std::string>>>(read);
  if (rows.empty()) {
    return std::string("見出しの行がありません");
  }
  const size_t first = !rows[0].empty() && rows[0][0] == kVariantHeading ? 1 : 0;
  VariantTable table;
  table.keys.assign(rows[0].begin() + static_cast<long>(first), rows[0].end());
  for (size_t r = 1; r < rows.size(); ++r) {
    if (rows[r].size() != rows[0].size()) {
      return std::to_string(r + 1) + " 行目の項目数が見出しと違います";
    }
    std::vector<double> values;
    for (size_t c = first; c < rows[r].size(); ++c) {
      auto value = Number(rows[r][c]);
      if (!value) {
        return std::to_string(r + 1) + " 行目の値が数値ではありません: " + rows[r][c];
      }
      values.push_back(*value);
    }
    table.rows.push_back(values);
  }
  if (table.rows.size() > kMaxVariants) {
    return "変形が多すぎます（" + std::to_string(kMaxVariants) + " 件まで）";
  }
  return table;
}

std::string VariantName(size_t index, size_t count) {
  const size_t width = std::max<size_t>(3, std::to_string(count).size());
  const std::string digits = std::to_string(index + 1);
  std::string name(1 + width - std::min(width, digits.size()), '0');
  name[0] = 'v';
  return name.append(digits);
}

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    const std::string& cell = cells[i];
    if (i > 0) {
      line += ',';
    }
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
      line += cell;
      continue;
    }
    line += '"';
    for (char c : cell) {
      if (c != '"') {  // the model file's item reader has no escaped quotes
        line += (c == '\r' || c == '\n') ? ' ' : c;
      }
    }
    line += '"';
  }
  return line + "\r\n";
}

std::optional<std::string> ToFileText(const std::string& utf8) {
  return Utf8ToCp932(utf8);
}

}  // namespace tavrine::sweep

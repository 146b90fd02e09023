// Headline figures of the studies and the summary table.
#include "batch/sweep_summary.h"

#include <algorithm>
#include <cmath>

#include "batch/sweep_variants.h"
#include "files/item_reader.h"
#include "model/text_rules.h"

namespace tavrine::sweep {

namespace {

struct Peak {
  double magnitude = -1;
  size_t index = 0;
};

template <class Set>
Peak PeakOf(const Set& set) {
  Peak peak;
  for (int32_t i = 0; i <= set.LastIndex; ++i) {
    const auto& p = set.Points[static_cast<size_t>(i)];
    const double h = std::sqrt(p.Hx * p.Hx + p.Hy * p.Hy + p.Hz * p.Hz);
    if (h > peak.magnitude) {  // the first point of the largest value
      peak = {h, static_cast<size_t>(i)};
    }
  }
  return peak;
}

}  // namespace

Figures RunFigures(const ElementModel& model, bool rect, bool sect) {
  Figures figures;
  const bool both = rect && sect;
  if (rect) {
    const std::string set = both ? "四角型 " : "";
    const Peak peak = PeakOf(model.RectCalPointSet);
    const RectCalPoint& p = model.RectCalPointSet.Points[peak.index];
    figures.push_back({set + "max|H|(Oe)", ShortestDecimal(peak.magnitude)});
    figures.push_back({set + "X(mm)", ShortestDecimal(p.PGroX)});
    figures.push_back({set + "Y(mm)", ShortestDecimal(p.PGroY)});
    figures.push_back({set + "Z(mm)", ShortestDecimal(p.PGroZ)});
  }
  if (sect) {
    const std::string set = both ? "扇型 " : "";
    const Peak peak = PeakOf(model.SectCalPointSet);
    const SectCalPoint& p = model.SectCalPointSet.Points[peak.index];
    figures.push_back({set + "max|H|(Oe)", ShortestDecimal(peak.magnitude)});
    figures.push_back({set + "R(mm)", ShortestDecimal(p.R)});
    figures.push_back({set + "θ(deg)", ShortestDecimal(RadToDeg(p.Theta))});
    figures.push_back({set + "Z(mm)", ShortestDecimal(p.Z)});
  }
  return figures;
}

std::optional<Figures> LabelledFigures(std::string_view text) {
  Figures figures;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const size_t eq = line.find('='), open = line.rfind('['), close = line.rfind(']');
    if (eq == std::string_view::npos || eq == 0 || open == std::string_view::npos ||
        close == std::string_view::npos || open < eq || close < open) {
      continue;
    }
    // "+1.23 E+0": the printed pattern puts a space before the exponent.
    std::string number(line.substr(eq + 1, open - eq - 1));
    number.erase(std::remove(number.begin(), number.end(), ' '), number.end());
    const auto value = ParseNumberItem(number);
    if (!value || number.empty()) {
      continue;
    }
    const std::string name(line.substr(0, eq)), unit(line.substr(open + 1, close - open - 1));
    figures.push_back({name + "(" + unit + ")", ShortestDecimal(*value)});
  }
  return figures.empty() ? std::nullopt : std::optional<Figures>(figures);
}

std::string FormatSummary(const std::vector<std::string>& keys,
                          const std::vector<SummaryRow>& rows) {
  std::vector<std::string> columns;
  for (const SummaryRow& row : rows) {
    for (const auto& [heading, value] : row.figures) {
      if (std::find(columns.begin(), columns.end(), heading) == columns.end()) {
        columns.push_back(heading);
      }
    }
  }
  std::vector<std::string> heading = keys;
  heading.insert(heading.end(), columns.begin(), columns.end());
  heading.insert(heading.end(), {"状態", std::string(kVariantHeading)});
  std::string text = CsvLine(heading);
  for (const SummaryRow& row : rows) {
    std::vector<std::string> cells;
    for (double v : row.values) {
      cells.push_back(ShortestDecimal(v));
    }
    for (const std::string& column : columns) {
      auto it = std::find_if(row.figures.begin(), row.figures.end(),
                             [&](const auto& f) { return f.first == column; });
      cells.push_back(it == row.figures.end() ? std::string() : it->second);
    }
    cells.push_back(row.state);
    cells.push_back(row.variant);
    text += CsvLine(cells);
  }
  return text;
}

}  // namespace tavrine::sweep

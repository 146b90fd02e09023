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

// Every cell read as a number, or nothing.
std::optional<std::vector<double>> NumberRow(const CsvRow& row) {
  std::vector<double> values;
  for (const std::string& cell : row) {
    const auto value = cell.empty() ? std::nullopt : ParseNumberItem(cell);
    if (!value) {
      return std::nullopt;
    }
    values.push_back(*value);
  }
  return values;
}

// "Fx[N]" as "Fx(N)"; full-width brackets and plain names stay as written.
std::string Heading(const std::string& cell) {
  std::string heading = cell;
  const size_t open = heading.find('['), close = heading.rfind(']');
  if (open != std::string::npos && close == heading.size() - 1 && open < close) {
    heading[open] = '(';
    heading[close] = ')';
  }
  return heading;
}

}  // namespace

std::optional<Figures> HeadlineFigures(const std::vector<CsvRow>& rows) {
  const auto values = rows.size() < 2 ? std::nullopt : NumberRow(rows[1]);
  if (!values || values->size() != rows[0].size()) {
    return std::nullopt;
  }
  Figures figures;
  for (size_t i = 0; i < values->size(); ++i) {
    figures.push_back({Heading(rows[0][i]), ShortestDecimal((*values)[i])});
  }
  return figures;
}

std::optional<Figures> PcFigures(const std::vector<CsvRow>& rows) {
  auto figures = HeadlineFigures(rows);
  const auto last = rows.empty() ? std::nullopt : NumberRow(rows.back());
  if (!figures || !last || last->size() != 2) {
    return std::nullopt;
  }
  figures->push_back({"最高温度(℃)", ShortestDecimal((*last)[0])});
  figures->push_back({"不可逆熱減磁率(%)", ShortestDecimal((*last)[1])});
  return figures;
}

std::optional<Figures> KtFigures(const std::vector<CsvRow>& rows) {
  constexpr size_t kColumns = 8, kTorqueZ = 7;  // step, angle, Fx, Fy, Fz, Tx, Ty, Tz
  double peak = 0, sum = 0;
  size_t count = 0;
  for (const CsvRow& cells : rows) {
    const auto row = NumberRow(cells);
    if (!row || row->size() != kColumns) {
      continue;
    }
    const double torque = (*row)[kTorqueZ];
    if (count == 0 || std::fabs(torque) > std::fabs(peak)) {
      peak = torque;
    }
    sum += torque;
    ++count;
  }
  if (count == 0) {
    return std::nullopt;
  }
  return Figures{{"最大トルク(Nm)", ShortestDecimal(peak)},
                 {"平均トルク(Nm)", ShortestDecimal(sum / static_cast<double>(count))}};
}

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

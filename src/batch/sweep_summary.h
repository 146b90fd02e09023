// A sweep's headline figures per variant and the summary table (one row per variant: the keys,
// the figures under headings with their units, the variant's state and model file).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/element_model.h"

namespace tavrine::sweep {

// Heading (with unit) and value text of each headline figure.
using Figures = std::vector<std::pair<std::string, std::string>>;

// The point of largest |H| of each set the run computed: |H| (Oe) and the position as the
// model file holds it (global x, y, z of a rectangular point; own R, θ, Z of a sector point).
// With both sets the headings carry the set's name.
Figures RunFigures(const ElementModel& model, bool rect, bool sect);

using CsvRow = std::vector<std::string>;

// A study's CSV result as the force and pc commands begin it: the first row's headings
// ("Fx[N]" …) over the second row's values; headings are written "Name(unit)".
std::optional<Figures> HeadlineFigures(const std::vector<CsvRow>& rows);

// The pc result (its empty lines left out): its headline and the loss at the chosen
// temperature (the last row of the loss-versus-temperature table that ends it).
std::optional<Figures> PcFigures(const std::vector<CsvRow>& rows);

// The Kt table (angle, force and torque per step): the peak and the mean of the torque about
// the Kt frame's z axis over the swept angles. Nothing without a row of numbers.
std::optional<Figures> KtFigures(const std::vector<CsvRow>& rows);

struct SummaryRow {
  std::string variant;
  std::vector<double> values;  // of the keys
  Figures figures;
  std::string state;  // "正常", or why the variant has no result
};

inline constexpr std::string_view kStateOk = "正常";

// The summary's text (UTF-8): figure columns in the order they first appear over the rows,
// empty cells where a row lacks one.
std::string FormatSummary(const std::vector<std::string>& keys,
                          const std::vector<SummaryRow>& rows);

}  // namespace tavrine::sweep

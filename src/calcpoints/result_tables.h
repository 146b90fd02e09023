// Values of the two field result tables: headings row, then one row of 7 texts per point.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/element_model.h"

namespace tavrine {

using ResultRow = std::array<std::string, 7>;

// round(v·10^digits)/10^digits half to even, in the general decimal form with a leading blank
// for values >= 0.
std::string RoundedCell(double value, int digits);

// Global positions (0.01 mm) and global fields (0.1 Oe).
std::vector<ResultRow> RectResultRows(const ElementModel& model);
// Own cylindrical positions of the sector magnet and the field in its own frame: radial,
// tangential and axial components.
std::vector<ResultRow> SectResultRows(const ElementModel& model);

}  // namespace tavrine

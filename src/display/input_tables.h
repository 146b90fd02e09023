// Texts of the input data tables "磁石とｺｲﾙﾃﾞｰﾀの表示": one table per element kind, lengths in
// mm, angles in degrees, currents in A from the current density and the wire cross-section.
#pragma once

#include <string>
#include <vector>

#include "model/element_model.h"

namespace tavrine {

struct InputTable {
  std::string grid;                            // "Grid1" … "Grid7"
  std::vector<std::string> headings;           // column 0 holds the kind's title
  std::vector<std::vector<std::string>> rows;  // elements 1 … count, number first
};

// All seven, in the order they are rebuilt: Grid1, Grid2, Grid7, Grid3, Grid4, Grid5, Grid6.
// Counts outside 0 … 1000 are clamped to the table's slots.
std::vector<InputTable> InputDataTables(const ElementModel& model);

}  // namespace tavrine

// The colour dialog's three palettes as data, and the settings each row sets.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "model/element_model.h"

namespace tavrine {

struct BackgroundRow {
  std::string_view option;  // objectName of its option button
  Rgb colour;
};
struct AxisRow {
  std::string_view option;
  Rgb x, y, z;
};
struct MagnetRow {
  std::string_view option;
  Rgb north, south;
};

// Rows 1..10 from top to bottom; row 0 ("変更なし", Option1) has no action.
extern const std::array<BackgroundRow, 10> kBackgroundPalette;
extern const std::array<AxisRow, 10> kAxisPalette;
// Rows 1..4; rows 5..10 (Option25..Option30) have no action.
extern const std::array<MagnetRow, 4> kMagnetPalette;

// Each sets the row's colours and returns true, or returns false for a row without an action;
// on true the caller runs RedrawAll.
bool SetBackgroundRow(ElementModel& model, int row);
bool SetAxisRow(ElementModel& model, int row);
bool SetMagnetRow(ElementModel& model, int row);

// The rows (1 …) whose colours are those in force, the first of equal rows; 0 for none.
struct ColourRowsInForce {
  int background = 0, axis = 0, magnet = 0;
};
ColourRowsInForce RowsInForce(const ElementModel& model);

}  // namespace tavrine

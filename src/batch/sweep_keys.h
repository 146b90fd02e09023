// Sweep keys: "Table.N.Field" for a field of element N as the model file names it (file units:
// mm, degrees, gauss, oersted, ampere), and "RectGrid.Field" / "SectGrid.Field" for a setting
// of a calculation grid, which lays that grid again on every variant.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/element_model.h"

namespace tavrine::sweep {

enum class GridKind { kNone, kRect, kSect };

struct SweepKey {
  std::string text;  // as given
  GridKind grid = GridKind::kNone;
  int section = 0;  // model file section of the element table
  int element = 0;  // element number
  int column = 0;   // file column (1 = first value after the number) or grid field
};

// The key, or why it names no field of this model.
std::variant<SweepKey, std::string> ParseSweepKey(std::string_view text, const ElementModel& model);

// The grid settings a grid key may name, in the grid dialog's field order.
enum RectGridKey {
  kRectMagN,
  kRectXL,
  kRectDivX,
  kRectYL,
  kRectDivY,
  kRectDisZ,
  kRectHalfX,
  kRectHalfY
};
enum SectGridKey {
  kSectMagN,
  kSectDivR,
  kSectRi,
  kSectRo,
  kSectDivT,
  kSectTStart,
  kSectTSweep,
  kSectDisZ
};

// Grid field → text as typed into the grid dialog. Lays the grid again from the grid the model
// holds (the sector grid's radii, angles and height read from its points), the dialog's
// defaults for what the file does not hold, and these texts; or says why the grid is refused.
using GridTexts = std::map<int, std::string>;
std::optional<std::string> LayGrid(ElementModel& model, GridKind grid, const GridTexts& texts);

// Sets every key to its value; element fields first, currents from the final cross-sections,
// then the grids named by keys are laid again with the grid dialogs' code and refusals. Returns
// why the variant cannot be built (the model is then partly changed).
std::optional<std::string> ApplyVariant(ElementModel& model,
                                        const std::vector<SweepKey>& keys,
                                        const std::vector<double>& values);

}  // namespace tavrine::sweep

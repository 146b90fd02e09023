// The calculation points with their field as VTK XML files for ParaView: the rectangular set as
// a structured grid (.vts), the sector set as an unstructured grid of quadrilaterals (.vtu).
// Positions in mm (global frame), field H in oersted.
#pragma once

#include <optional>
#include <string>

#include "model/element_model.h"

namespace tavrine {

struct VtkBytes {
  std::string bytes;
  std::optional<std::string> error;  // the set's points do not form its grid
};

// Point n of the rectangular set is (n mod (DivX+1), n div (DivX+1)) of the structured grid.
VtkBytes FormatRectVtk(const ElementModel& model);
// Cells join neighbouring rings and angles; the points are the set's own, in order.
VtkBytes FormatSectVtk(const ElementModel& model);

}  // namespace tavrine

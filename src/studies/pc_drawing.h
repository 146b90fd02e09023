// The field vectors of a Pc run's cells in the main window's four views.
#pragma once

#include <vector>

#include "display/views.h"
#include "model/element_model.h"
#include "studies/pc_analysis.h"

namespace tavrine {

inline constexpr Rgb kPcVectorColour{122, 255, 255};

// A line from each cell centre to the centre plus VectorScale·H, into every view.
void DrawPcCellVectors(const ElementModel& model,
                       Views& views,
                       const std::vector<PcCellVector>& vectors);

}  // namespace tavrine

// What the main window asks of the display: the redraw, the grey fill, vectors, readouts,
// free-view rotation and zoom axes, over the four canvases indexed by ViewIndex.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "display/canvas.h"
#include "model/element_model.h"

namespace tavrine::view_drawing {

using Canvases = std::array<Canvas*, 4>;
// By ViewIndex, the six items of each view's readout group.
using ReadoutTexts = std::array<std::array<std::string, 6>, 4>;

void RedrawAll(ElementModel& model, const Canvases& canvases);
void FillGrey(const Canvases& canvases);
void DrawRectVectors(ElementModel& model, const Canvases& canvases);
void DrawSectVectors(ElementModel& model, const Canvases& canvases);
ReadoutTexts RunReadouts(const ElementModel& model, bool rect_set);
// Returns the texts of Text3, Text4, Text5.
std::array<std::string, 3> RotateFreeView(ElementModel& model,
                                          const Canvases& canvases,
                                          double x,
                                          double y);
void DrawFreeAxesInSideView(ElementModel& model, const Canvases& canvases);

}  // namespace tavrine::view_drawing

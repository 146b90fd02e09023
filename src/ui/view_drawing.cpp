// Interim display calls: the grey fill and the background; the element drawing, vectors and
// readouts come from the display module.
#include "ui/view_drawing.h"

namespace tavrine::view_drawing {

void RedrawAll(ElementModel& model, const Canvases& canvases) {
  for (Canvas* canvas : canvases)
    canvas->Fill(model.View.BackgroundColour);
}

void FillGrey(const Canvases& canvases) {
  for (Canvas* canvas : canvases)
    canvas->Fill(Rgb{200, 200, 200});
}

void DrawRectVectors(ElementModel&, const Canvases&) {}
void DrawSectVectors(ElementModel&, const Canvases&) {}

ReadoutTexts RunReadouts(const ElementModel&, bool) {
  ReadoutTexts texts;
  for (auto& group : texts)
    group = {"Hx=0", "Hy=0", "Hz=0", "Px=", "Py=", "Pz="};
  return texts;
}

std::array<std::string, 3> RotateFreeView(ElementModel& model,
                                          const Canvases& canvases,
                                          double,
                                          double) {
  RedrawAll(model, canvases);
  return {"X=0", "Y=0", "Z=0"};
}

void DrawFreeAxesInSideView(ElementModel&, const Canvases&) {}

}  // namespace tavrine::view_drawing

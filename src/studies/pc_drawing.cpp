// Cell vectors of a Pc run, projected with the views' current scale and angles.
#include "studies/pc_drawing.h"

#include <array>

namespace tavrine {

void DrawPcCellVectors(const ElementModel& model,
                       Views& views,
                       const std::vector<PcCellVector>& vectors) {
  std::array<ViewProjector, kViewCount> projectors = {
      ProjectorFor(model, views[0], AnglesOfView(model, 0)),
      ProjectorFor(model, views[1], AnglesOfView(model, 1)),
      ProjectorFor(model, views[2], AnglesOfView(model, 2)),
      ProjectorFor(model, views[3], AnglesOfView(model, 3))};
  const double scale = model.View.VectorScale;
  for (const PcCellVector& v : vectors) {
    for (int view : kRedrawOrder) {
      const ViewProjector& projector = projectors[static_cast<size_t>(view)];
      const ScreenPoint p = projector.Project(v.position);
      const ScreenPoint q = projector.Project(v.position + scale * v.h);
      views[view].Line(p.x, p.y, q.x, q.y, kPcVectorColour);
    }
  }
}

}  // namespace tavrine

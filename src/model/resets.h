// Initial values of the model: full reset, model reset (before a file is read) and the clears.
#pragma once

#include <array>

#include "model/element_model.h"

namespace tavrine {

void FullReset(ElementModel& model);
void ModelReset(ElementModel& model);
// Zeroes Hx, Hy, Hz of points begin..end-1 of a point set.
template <class Point>
void ClearPointResults(std::array<Point, kPointSlots>& points, int begin, int end) {
  for (int i = begin; i < end; ++i) {
    Point& p = points[static_cast<size_t>(i)];
    p.Hx = p.Hy = p.Hz = 0;
  }
}

void ClearRectResults(ElementModel& model);
void ClearSectResults(ElementModel& model);
void ClearKtResults(ElementModel& model);

}  // namespace tavrine

// How far the model reaches from the global origin (mm): the auto-fit's measure of the model.
#pragma once

#include "model/element_model.h"

namespace tavrine {

// The largest distance from the origin of any corner of any element's own-frame bounding box,
// over elements 1 to the count of every kind; 0 for a model without elements. A corner of the
// box is never nearer than the body's farthest point, so the whole body lies within it.
double FarthestExtent(const ElementModel& model);

}  // namespace tavrine

// A straight line between two global points (mm) with its colour: what grid previews hand the
// display to draw in the four views.
#pragma once

#include "geometry/vec3.h"
#include "model/element_model.h"

namespace tavrine {

struct WorldLine {
  Vec3 a, b;
  Rgb colour;
};

}  // namespace tavrine

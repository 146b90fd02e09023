// Shared test helpers: relative-tolerance vector comparison and a heap-allocated model.
#pragma once

#include <cmath>
#include <gmock/gmock.h>
#include <memory>

#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/resets.h"

namespace tavrine::testing {

// |actual − expected| <= rel·|expected| + abs, componentwise on the vector's magnitude.
MATCHER_P3(VecNear, expected, rel, abs, "") {
  const double scale =
      std::sqrt(expected.x * expected.x + expected.y * expected.y + expected.z * expected.z);
  const double tol = rel * scale + abs;
  const double dx = arg.x - expected.x, dy = arg.y - expected.y, dz = arg.z - expected.z;
  *result_listener << "actual (" << arg.x << ", " << arg.y << ", " << arg.z << ")";
  return std::abs(dx) <= tol && std::abs(dy) <= tol && std::abs(dz) <= tol;
}

inline std::unique_ptr<ElementModel> FreshModel() {
  auto model = std::make_unique<ElementModel>();
  FullReset(*model);
  return model;
}

}  // namespace tavrine::testing

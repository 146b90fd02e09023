// A model with 1000 elements of every kind spread over a 10 × 10 × 10 lattice (50 mm pitch),
// for the display benchmarks.
#pragma once

#include <memory>

#include "model/element_model.h"
#include "model/resets.h"
#include "model/text_rules.h"

namespace tavrine::bench {

inline std::unique_ptr<ElementModel> FullDisplayModel() {
  auto model = std::make_unique<ElementModel>();
  FullReset(*model);
  for (int i = 1; i <= kElementCapacity; ++i) {
    const size_t s = static_cast<size_t>(i);
    const double ox = 50.0 * (i % 10), oy = 50.0 * ((i / 10) % 10), oz = 50.0 * (i / 100);
    const double ang = DegToRad(3.0 * i);
    model->RecMagTable[s] = {10, 8, 5, ox, oy, oz, ang, 0, 0, 12000};
    model->SecMagTable[s] = {5, 10, 4, DegToRad(90), ox, oy, oz, 0, ang, 0, 12000};
    model->RhMagTable[s] = {6, 3, ox, oy, oz, 0, 0, ang, -12000};
    model->StrCylCoilTable[s] = {20, 1, 5, ox, oy, oz, ang, 0, 0};
    model->StrRecCoilTable[s] = {20, 3, 2, -5, ox, oy, oz, 0, ang, 0};
    model->SecCylCoilTable[s] = {12, DegToRad(120), 1, 5, ox, oy, oz, 0, 0, ang};
    model->SecRecCoilTable[s] = {8, 12, 3, DegToRad(60), 5, ox, oy, oz, ang, 0, 0};
  }
  model->RecMagCount = model->RhMagCount = model->StrCylCoilCount = kElementCapacity;
  model->StrRecCoilCount = model->SecCylCoilCount = model->SecRecCoilCount = kElementCapacity;
  model->SecMagCount = kElementCapacity;
  return model;
}

}  // namespace tavrine::bench

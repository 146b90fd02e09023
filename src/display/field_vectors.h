// Field vectors of a calculation-point set in the four views, the extreme points of a run and
// the readout texts of the four views' groups. Vector lengths: VectorScale mm per Oe.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "display/canvas.h"
#include "display/views.h"
#include "model/element_model.h"

namespace tavrine {

enum class PointSetKind { kRect, kSect };

inline constexpr Rgb kVectorPositiveHz{255, 20, 147};
inline constexpr Rgb kVectorNegativeHz{100, 149, 237};

// The vector scale box's text, read into the model whenever the box changes.
void SetVectorScaleFromText(ElementModel& model, std::string_view text);

void DrawFieldVector(
    const ElementModel& model, Canvas& canvas, PointSetKind set, int k, const ViewAngles& angles);
void DrawAllFieldVectors(const ElementModel& model, Views& views, PointSetKind set);

struct FieldExtremes {
  int magnitude = 0, hx = 0, hy = 0, hz = 0;  // point numbers
};
FieldExtremes FindFieldExtremes(const ElementModel& model, PointSetKind set);

// The six items of one group for point k of the set.
std::array<std::string, 6> ExtremeReadoutTexts(const ElementModel& model, PointSetKind set, int k);
// Writes the four groups into views.texts.readouts (and tells the observer).
void ShowExtremesReadout(const ElementModel& model,
                         Views& views,
                         PointSetKind set,
                         const FieldExtremes& extremes);

}  // namespace tavrine

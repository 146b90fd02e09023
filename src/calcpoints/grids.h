// Rectangular and sector calculation grids: settings, point generation in the chosen magnet's
// own frame and the global coordinates of the points (mm, rad).
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

// What the rectangular grid form hands over ("入力"), already read as numbers.
struct RectGridInput {
  int32_t MagN = 1;
  int32_t DivX = 40, DivY = 40;
  double XL = 1.0, YL = 1.0, DisZ = 1.0;
  bool HalfX = true, HalfY = true;  // "1/2 領域" of the X and Y rows
};

struct SectGridInput {
  int32_t MagN = 1;
  int32_t DivR = 10, DivT = 36;
  double Ri = 0, Ro = 50;
  double StartDeg = 0, SweepDeg = 360;
  double DisZ = 0.5;
};

enum class GridOutcome { kGenerated, kRefused };

// A refused grid (too many points, negative divisions, no such table slot, or for the sector
// grid a zero division count) raises its notice and leaves the previous grid and settings.
GridOutcome GenerateRectGrid(ElementModel& model, const RectGridInput& input, Notices& notices);
GridOutcome GenerateSectGrid(ElementModel& model, const SectGridInput& input, Notices& notices);

// Global position of sector point n from its own cylindrical coordinates on magnet MagN.
Vec3 SectPointGlobal(const ElementModel& model, int n);
// PGroX, PGroY, PGroZ of sector points 0..LastIndex from their own coordinates, so that they
// follow the magnet as it is now.
void UpdateSectPointGlobals(ElementModel& model);

struct GridLine {
  Vec3 a, b;  // global end points
  Rgb colour;
};

// The preview of the last grid of each set, as global lines.
std::vector<GridLine> RectGridPreviewLines(const ElementModel& model);
std::vector<GridLine> SectGridPreviewLines(const ElementModel& model);

}  // namespace tavrine

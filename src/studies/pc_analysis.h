// Permeance coefficient (Pc) of the cells of one rectangular or sector magnet: the cell grid,
// the field run over its layers and the volume-weighted distribution. Lengths mm, H in Oe.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "calcpoints/field_runs.h"
#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"

namespace tavrine {

enum class PcShape { kRect, kSect };

inline constexpr int kPcCellSlots = 50001;  // cells 0..50000
inline constexpr int kPcCurveRows = 101;

// Cell counts of an analysis. Rectangular: inner = NA (local x), outer = NB (local y);
// sector: inner = NT (angle), outer = NR (radius). A cell of a layer has index
// inner_index + inner·outer_index; layer E (from 1) adds inner·outer·(E − 1).
struct PcDivisions {
  int inner = 0, outer = 0, layers = 0;
  int LayerCells() const { return inner * outer; }
  int Cells() const { return inner * outer * layers; }
};

// Centres and cell volumes of one analysis region, in the magnet's own frame (Cartesian for a
// rectangular magnet, cylindrical r, θ, z for a sector magnet).
struct PcCellGrid {
  std::vector<double> inner_centres;  // xs[j] or θs[j]
  std::vector<double> outer_centres;  // ys[i] or rs[i]
  std::vector<double> layer_z;        // z_E, E = 1..layers
  std::vector<double> outer_volume;   // volume of one cell in row or ring i
};

// Centres of n equal steps over [low, high]; a single step is placed at the middle.
std::vector<double> StepCentres(double low, double high, int n);
PcCellGrid RecPcGrid(const RecMag& magnet, const PcDivisions& div, double depth);
PcCellGrid SecPcGrid(const SecMag& magnet, const PcDivisions& div, double depth);

// The field vector of one cell, for the main window's views.
struct PcCellVector {
  Vec3 position;  // global, mm
  Vec3 h;         // global, Oe
};

struct PcRunRequest {
  PcShape shape = PcShape::kRect;
  int magnet = 0;  // slot in RecMagTable or SecMagTable
  PcDivisions divisions;
  double depth = 0;  // D, never positive
};

struct PcRunResult {
  std::vector<double> cell_pc, cell_volume;  // Cells() entries, in cell-index order
  std::vector<PcCellVector> vectors;         // rectangular analyses only
};

// Pc = −(Br + Hz) ÷ Hz, Hz the field along the magnet's own +z axis; a cell with no defined Pc
// (Hz zero or not finite) gives nullopt.
std::optional<double> CellPc(double br, double hz);

// Runs the layers one after the other on `options.threads` threads. The cell centres of each
// layer overwrite the first points of the shape's calculation-point set, whose results are
// cleared and rewritten; the point count of the set is kept. Bit-identical for any thread
// count. A cell without a defined Pc raises Caution3 and keeps Pc 0 with volume 0, so it takes
// no part in any volume-weighted result.
PcRunResult RunPcCalculation(ElementModel& model,
                             const PcRunRequest& request,
                             Progress& progress,
                             Notices& notices,
                             const RunOptions& options = {});

// The cell lists of one dialog, kept while the dialog is loaded.
struct PcAnalysis {
  PcAnalysis();
  // Zeroes every cell, clears pcDone and the count of stored cells.
  void ClearCells();
  // Takes the cells of a complete run and sets pcDone.
  void StoreRun(const PcRunResult& result);

  int32_t n = 0;
  PcDivisions divisions;
  double depth = 0;
  bool pcDone = false;
  // Cells written by the last complete run: the distribution and the loss estimate read these,
  // whatever the division fields show now.
  int cell_count = 0;
  std::vector<double> cell_pc, cell_volume;  // kPcCellSlots each, never resized
};

struct PcCurvePoint {
  double x = 0, y = 0;
};

struct PcDistribution {
  std::array<PcCurvePoint, kPcCurveRows> rows{};  // x = Pc, y = cumulative volume fraction
  double mean = 0, min = 0, max = 0, volume = 0;
};

// Sorts the stored cells by ascending Pc (volumes move with them) and builds the cumulative
// volume fraction F(x) = (volume of the cells with Pc < x) ÷ V at x = k ÷ 100 × 2·mean. Zero
// total volume raises Caution12, leaves the mean undivided and F at 0.
PcDistribution ComputePcDistribution(PcAnalysis& analysis, Notices& notices);

}  // namespace tavrine

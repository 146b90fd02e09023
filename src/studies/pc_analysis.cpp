// The Pc cell grid, the layer-by-layer field run over the cell centres and the cumulative
// volume distribution of the cells' Pc.
#include "studies/pc_analysis.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "calcpoints/parallel_points.h"
#include "calcpoints/point_fields.h"
#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/capacity.h"
#include "model/resets.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

// Step between the first and last of n centres; a single centre spans the whole extent.
double CentreStep(const std::vector<double>& centres, double low, double high) {
  const size_t n = centres.size();
  if (n < 2) {
    return high - low;
  }
  return (centres[n - 1] - centres[0]) / static_cast<double>(n - 1);
}

std::vector<double> LayerDepths(const PcDivisions& div, double depth) {
  std::vector<double> z;
  for (int e = 1; e <= div.layers; ++e) {
    z.push_back(depth / div.layers * (e - 0.5));
  }
  return z;
}

bool FitsCapacity(const PcDivisions& div) {
  return div.inner >= 1 && div.outer >= 1 && div.layers >= 1 &&
         static_cast<int64_t>(div.inner) * div.outer <= kPointSlots &&
         static_cast<int64_t>(div.inner) * div.outer * div.layers <= kPcCellSlots;
}

}  // namespace

std::vector<double> StepCentres(double low, double high, int n) {
  if (n < 1) {
    return {};
  }
  if (n == 1) {
    return {(low + high) / 2};
  }
  const double first = low + (high - low) / n / 2;
  const double last = high - (high - low) / n / 2;
  std::vector<double> centres(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) {
    centres[static_cast<size_t>(j)] = first + (last - first) / (n - 1) * j;
  }
  return centres;
}

PcCellGrid RecPcGrid(const RecMag& magnet, const PcDivisions& div, double depth) {
  PcCellGrid grid;
  grid.inner_centres = StepCentres(-magnet.a / 2, magnet.a / 2, div.inner);
  grid.outer_centres = StepCentres(-magnet.b / 2, magnet.b / 2, div.outer);
  grid.layer_z = LayerDepths(div, depth);
  const double dx = CentreStep(grid.inner_centres, -magnet.a / 2, magnet.a / 2);
  const double dy = CentreStep(grid.outer_centres, -magnet.b / 2, magnet.b / 2);
  const double v = -(dx * dy) * depth / div.layers;
  grid.outer_volume.assign(grid.outer_centres.size(), v);
  return grid;
}

PcCellGrid SecPcGrid(const SecMag& magnet, const PcDivisions& div, double depth) {
  PcCellGrid grid;
  const double open = magnet.OpenAngle;
  grid.inner_centres = StepCentres(-open / 2, open / 2, div.inner);
  grid.outer_centres = StepCentres(magnet.Ri, magnet.Ro, div.outer);
  grid.layer_z = LayerDepths(div, depth);
  const double two_pi = 2 * Pi();
  for (double r : grid.outer_centres) {
    // r·ΔR·ΔΘ·|D| ÷ NZ, written as the ring's share of a full turn.
    const double ring =
        two_pi * r * (magnet.Ro - magnet.Ri) / div.outer * open / div.inner / two_pi;
    grid.outer_volume.push_back(-ring * depth / div.layers);
  }
  return grid;
}

std::optional<double> CellPc(double br, double hz) {
  if (hz == 0 || !std::isfinite(hz)) {
    return std::nullopt;
  }
  const double pc = -(br + hz) / hz;
  if (!std::isfinite(pc)) {
    return std::nullopt;
  }
  return pc;
}

namespace {

// What one layer's field sum works on: the layer's points and the fixed per-run tables.
struct LayerRun {
  const ElementModel& model;
  const FieldQuadrature& quadrature;
  const std::vector<PreparedSecMag>& sectors;
  Notices& notices;
  Progress& progress;
  WorkerPool& pool;
};

// One element kind against every point of the layer, in its own progress window.
template <class Point, class Record, class Kernel>
void SumKind(std::array<Point, kPointSlots>& points,
             int point_count,
             const ElementTable<Record>& table,
             int count,
             const LayerRun& run,
             std::string_view window,
             std::string_view title,
             Kernel kernel) {
  AddElementFieldsInWindow(points, point_count, table, count, run.pool, run.progress, window, title,
                           kernel);
}

// The kinds of a permeance run in their order: rectangular magnets (slot 1 included), sector
// magnets, straight round wires, straight rectangular wires, RH magnets, round-wire arcs,
// rectangular-wire arcs.
template <class Point>
void SumLayer(std::array<Point, kPointSlots>& points, int point_count, const LayerRun& run) {
  const ElementModel& m = run.model;
  SumKind(points, point_count, m.RecMagTable, ClampedCount(m.RecMagCount), run, "ProgressRecMag",
          "角柱型磁石からの磁界計算中", [&](int e, const Vec3& p) {
            return RecMagLocalField(m.RecMagTable[static_cast<size_t>(e)], p, run.notices);
          });
  SumKind(points, point_count, m.SecMagTable, static_cast<int>(run.sectors.size()), run,
          "ProgressSecMag", "（中空）円柱型磁石からの磁界計算中", [&](int e, const Vec3& p) {
            return SecMagLocalField(run.sectors[static_cast<size_t>(e - 1)], p, run.notices);
          });
  SumKind(points, point_count, m.StrCylCoilTable, ClampedCount(m.StrCylCoilCount), run,
          "ProgressCoil", "ｺｲﾙからの磁界計算中", [&](int e, const Vec3& p) {
            return StrCylCoilLocalField(m.StrCylCoilTable[static_cast<size_t>(e)], p,
                                        run.quadrature);
          });
  SumKind(points, point_count, m.StrRecCoilTable, ClampedCount(m.StrRecCoilCount), run,
          "ProgressCoil", "ｺｲﾙからの磁界計算中", [&](int e, const Vec3& p) {
            return StrRecCoilLocalField(m.StrRecCoilTable[static_cast<size_t>(e)], p,
                                        run.quadrature);
          });
  // The kinds a permeance run once left out, after the others so their sums keep their order.
  SumKind(points, point_count, m.RhMagTable, ClampedCount(m.RhMagCount), run, "ProgressRhMag",
          "RH型磁石からの磁界計算中", [&](int e, const Vec3& p) {
            return RhMagLocalField(m.RhMagTable[static_cast<size_t>(e)], p, run.quadrature,
                                   run.notices);
          });
  SumKind(points, point_count, m.SecCylCoilTable, ClampedCount(m.SecCylCoilCount), run,
          "ProgressCoil", "円柱扇型ｺｲﾙからの磁界計算中", [&](int e, const Vec3& p) {
            return SecCylCoilLocalField(m.SecCylCoilTable[static_cast<size_t>(e)], p,
                                        run.quadrature);
          });
  SumKind(points, point_count, m.SecRecCoilTable, ClampedCount(m.SecRecCoilCount), run,
          "ProgressCoil", "角柱扇型ｺｲﾙからの磁界計算中", [&](int e, const Vec3& p) {
            return SecRecCoilLocalField(m.SecRecCoilTable[static_cast<size_t>(e)], p,
                                        run.quadrature);
          });
}

// Places layer z of the rectangular grid into the rectangular set, its fields cleared for the
// sums in the same pass that writes the points.
void PlaceRecLayer(ElementModel& model, const PcCellGrid& grid, double z, const RecMag& magnet) {
  const ElementFrame frame(PlacementOf(magnet));
  const size_t inner = grid.inner_centres.size();
  for (size_t i = 0; i < grid.outer_centres.size(); ++i) {
    for (size_t j = 0; j < inner; ++j) {
      RectCalPoint& p = model.RectCalPointSet.Points[j + inner * i];
      p.LocalX = grid.inner_centres[j];
      p.LocalY = grid.outer_centres[i];
      p.LocalZ = z;
      const Vec3 g = frame.PointToGlobal({p.LocalX, p.LocalY, p.LocalZ});
      p.PGroX = g.x;
      p.PGroY = g.y;
      p.PGroZ = g.z;
      p.Hx = p.Hy = p.Hz = 0;
    }
  }
}

// Places layer z of the sector grid into the sector set, cleared likewise.
void PlaceSecLayer(ElementModel& model, const PcCellGrid& grid, double z, const SecMag& magnet) {
  const Placement placement = PlacementOf(magnet);
  const size_t inner = grid.inner_centres.size();
  for (size_t i = 0; i < grid.outer_centres.size(); ++i) {
    for (size_t j = 0; j < inner; ++j) {
      SectCalPoint& p = model.SectCalPointSet.Points[j + inner * i];
      p.R = grid.outer_centres[i];
      p.Theta = grid.inner_centres[j];
      p.Z = z;
      const Vec3 g = CylPointToGlobal(p.R, p.Theta, p.Z, placement);
      p.PGroX = g.x;
      p.PGroY = g.y;
      p.PGroZ = g.z;
      p.Hx = p.Hy = p.Hz = 0;
    }
  }
}

// Pc and volume of every cell of layer `layer` (from 0) out of the set's first points; `axis`
// is the magnet's own +z in global components.
template <class Point>
void TakeLayerPc(const std::array<Point, kPointSlots>& points,
                 const PcCellGrid& grid,
                 int layer,
                 double br,
                 const Vec3& axis,
                 bool keep_vectors,
                 PcRunResult& result,
                 Notices& notices) {
  const size_t inner = grid.inner_centres.size();
  const size_t layer_cells = inner * grid.outer_centres.size();
  for (size_t k = 0; k < layer_cells; ++k) {
    const Point& p = points[k];
    const size_t cell = layer_cells * static_cast<size_t>(layer) + k;
    // The field along the magnet's own magnetisation axis, whichever way the magnet is turned.
    const double h_axis = p.Hx * axis.x + p.Hy * axis.y + p.Hz * axis.z;
    const std::optional<double> pc = CellPc(br, h_axis);
    if (pc) {
      result.cell_pc[cell] = *pc;
      result.cell_volume[cell] = grid.outer_volume[k / inner];
    } else {
      notices.Raise(NoticeId::Caution3);
    }
    if (keep_vectors) {
      result.vectors.push_back({{p.PGroX, p.PGroY, p.PGroZ}, {p.Hx, p.Hy, p.Hz}});
    }
  }
}

}  // namespace

PcRunResult RunPcCalculation(ElementModel& model,
                             const PcRunRequest& request,
                             Progress& progress,
                             Notices& notices,
                             const RunOptions& options) {
  PcRunResult result;
  const PcDivisions& div = request.divisions;
  if (!FitsCapacity(div) || request.magnet < 1 || request.magnet > kElementCapacity) {
    return result;
  }
  const size_t slot = static_cast<size_t>(request.magnet);
  const bool rect = request.shape == PcShape::kRect;
  const PcCellGrid grid = rect ? RecPcGrid(model.RecMagTable[slot], div, request.depth)
                               : SecPcGrid(model.SecMagTable[slot], div, request.depth);
  const double br = rect ? model.RecMagTable[slot].Br : model.SecMagTable[slot].Br;
  const Vec3 axis = ElementFrame(rect ? PlacementOf(model.RecMagTable[slot])
                                      : PlacementOf(model.SecMagTable[slot]))
                        .VectorToGlobal({0, 0, 1});
  result.cell_pc.assign(static_cast<size_t>(div.Cells()), 0.0);
  if (rect) {
    result.vectors.reserve(static_cast<size_t>(div.Cells()));
  }
  result.cell_volume.assign(static_cast<size_t>(div.Cells()), 0.0);

  const RunSetUp setup(options);
  const FieldQuadrature& quadrature = setup.Quadrature();
  const std::vector<PreparedSecMag> sectors = PrepareModelSectors(model, quadrature);
  OncePerRunNotices once(notices);
  const LayerRun run{model, quadrature, sectors, once, progress, setup.Pool()};
  // The whole set once; each layer's placing then clears only the points it sums into.
  if (rect) {
    ClearPointFields(model.RectCalPointSet.Points, setup.Pool());
  } else {
    ClearPointFields(model.SectCalPointSet.Points, setup.Pool());
  }
  for (int layer = 0; layer < div.layers; ++layer) {
    const double z = grid.layer_z[static_cast<size_t>(layer)];
    if (rect) {
      PlaceRecLayer(model, grid, z, model.RecMagTable[slot]);
      SumLayer(model.RectCalPointSet.Points, div.LayerCells(), run);
      TakeLayerPc(model.RectCalPointSet.Points, grid, layer, br, axis, true, result, once);
    } else {
      PlaceSecLayer(model, grid, z, model.SecMagTable[slot]);
      SumLayer(model.SectCalPointSet.Points, div.LayerCells(), run);
      TakeLayerPc(model.SectCalPointSet.Points, grid, layer, br, axis, false, result, once);
    }
  }
  return result;
}

PcAnalysis::PcAnalysis() : cell_pc(kPcCellSlots, 0.0), cell_volume(kPcCellSlots, 0.0) {}

void PcAnalysis::ClearCells() {
  std::fill(cell_pc.begin(), cell_pc.end(), 0.0);
  std::fill(cell_volume.begin(), cell_volume.end(), 0.0);
  cell_count = 0;
  pcDone = false;
}

void PcAnalysis::StoreRun(const PcRunResult& result) {
  const size_t count = std::min(result.cell_pc.size(), cell_pc.size());
  std::copy_n(result.cell_pc.begin(), count, cell_pc.begin());
  std::copy_n(result.cell_volume.begin(), count, cell_volume.begin());
  cell_count = static_cast<int>(count);
  pcDone = true;
}

PcDistribution ComputePcDistribution(PcAnalysis& analysis, Notices& notices) {
  const size_t count = static_cast<size_t>(std::clamp(analysis.cell_count, 0, kPcCellSlots));
  std::vector<std::pair<double, double>> cells(count);
  for (size_t k = 0; k < count; ++k) {
    cells[k] = {analysis.cell_pc[k], analysis.cell_volume[k]};
  }
  std::stable_sort(cells.begin(), cells.end(),
                   [](const auto& l, const auto& r) { return l.first < r.first; });
  // below[m]: volume of the m cells of smallest Pc.
  std::vector<double> below(count + 1, 0.0);
  PcDistribution out;
  double weighted = 0;
  for (size_t k = 0; k < count; ++k) {
    analysis.cell_pc[k] = cells[k].first;
    analysis.cell_volume[k] = cells[k].second;
    below[k + 1] = below[k] + cells[k].second;
    weighted += cells[k].second * cells[k].first;
  }
  out.volume = below[count];
  if (count > 0) {
    out.min = cells.front().first;
    out.max = cells.back().first;
  }
  const bool no_volume = out.volume == 0;
  if (no_volume) {
    notices.Raise(NoticeId::Caution12);
  }
  out.mean = no_volume ? weighted : weighted / out.volume;
  for (int k = 0; k < kPcCurveRows; ++k) {
    const double x = k / 100.0 * out.mean * 2;
    const auto first_not_below = std::lower_bound(
        cells.begin(), cells.end(), x, [](const auto& cell, double v) { return cell.first < v; });
    const double f =
        no_volume ? 0 : below[static_cast<size_t>(first_not_below - cells.begin())] / out.volume;
    out.rows[static_cast<size_t>(k)] = {x, f};
  }
  return out;
}

}  // namespace tavrine

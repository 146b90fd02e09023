// The rectangular and sector field runs. Each point adds the global field of every visited
// element to its accumulator step by step, element by element, so the sums do not depend on
// how the points are shared out between threads.
#include "calcpoints/field_runs.h"

#include <array>
#include <atomic>
#include <set>
#include <string>
#include <utility>

#include "calcpoints/grids.h"
#include "calcpoints/parallel_points.h"
#include "calcpoints/point_fields.h"
#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/capacity.h"
#include "model/resets.h"

namespace tavrine {

namespace {

struct RunContext {
  const FieldQuadrature& quadrature;
  Notices& notices;
  Progress& progress;
  WorkerPool& pool;
  // The run's sector magnets, prepared once rather than at every point.
  std::vector<PreparedSecMag> sectors;
};

// One step: elements first..last of a table against every point of the set.
template <class Point, class Record, class Kernel>
void RunStep(std::array<Point, kPointSlots>& points,
             int point_count,
             const ElementTable<Record>& table,
             int first,
             int last,
             const RunContext& run,
             Kernel kernel) {
  AddElementFields(points, point_count, table, first, last, run.pool, run.progress,
                   [&](int e, const Vec3& local) { return kernel(e, local); });
}

// Kernels of element number e of the model's tables.
auto RecKernel(const ElementModel& model, const RunContext& run) {
  return [&](int e, const Vec3& p) {
    return RecMagLocalField(model.RecMagTable[static_cast<size_t>(e)], p, run.notices);
  };
}
auto SecKernel(const RunContext& run) {
  return [&run](int e, const Vec3& p) {
    return SecMagLocalField(run.sectors[static_cast<size_t>(e - 1)], p, run.notices);
  };
}
auto RhKernel(const ElementModel& model, const RunContext& run) {
  return [&](int e, const Vec3& p) {
    return RhMagLocalField(model.RhMagTable[static_cast<size_t>(e)], p, run.quadrature,
                           run.notices);
  };
}
template <auto Field, class Record>
auto CoilKernel(const ElementTable<Record>& table, const RunContext& run) {
  return
      [&](int e, const Vec3& p) { return Field(table[static_cast<size_t>(e)], p, run.quadrature); };
}

// A step of the rectangular run: its own bar under the window title of the step.
template <class Point, class Record, class Kernel>
void RectStep(std::array<Point, kPointSlots>& points,
              int point_count,
              const ElementTable<Record>& table,
              int first,
              int last,
              const RunContext& run,
              std::string_view text,
              Kernel kernel) {
  if (last < first) {
    return;
  }
  run.progress.SetTitle(text);
  run.progress.StartBar(text);
  RunStep(points, point_count, table, first, last, run, kernel);
}

// A window of the sector run with one bar over one step.
template <class Point, class Record, class Kernel>
void SectStep(std::array<Point, kPointSlots>& points,
              int point_count,
              const ElementTable<Record>& table,
              int last,
              const RunContext& run,
              std::string_view window,
              std::string_view title,
              Kernel kernel) {
  AddElementFieldsInWindow(points, point_count, table, last, run.pool, run.progress, window, title,
                           kernel);
}

}  // namespace

std::vector<PreparedSecMag> PrepareModelSectors(const ElementModel& model,
                                                const FieldQuadrature& quadrature) {
  std::vector<PreparedSecMag> sectors;
  const int count = ClampedCount(SecMagLoopCount(model));
  sectors.reserve(static_cast<size_t>(count));
  for (int e = 1; e <= count; ++e) {
    sectors.push_back(PrepareSecMag(model.SecMagTable[static_cast<size_t>(e)], quadrature));
  }
  return sectors;
}

RunSetUp::RunSetUp(const RunOptions& options)
    : lease_(ResolveThreadCount(options.threads)),
      quadrature_(SharedFieldQuadrature(TasksOn(lease_.Pool()))) {}

void RectPointDistFieldCaluculation(ElementModel& model,
                                    Progress& progress,
                                    Notices& notices,
                                    const RunOptions& options) {
  const RunSetUp setup(options);
  ClearPointFields(model.RectCalPointSet.Points, setup.Pool());
  OncePerRunNotices once(notices);
  const RunContext run{setup.Quadrature(), once, progress, setup.Pool(),
                       PrepareModelSectors(model, setup.Quadrature())};
  auto& points = model.RectCalPointSet.Points;
  const int n = std::clamp(model.RectCalPointSet.LastIndex, 0, kCalPointCapacity) + 1;
  progress.Open("ProgressMagField", "磁界計算中");
  RectStep(points, n, model.RecMagTable, 2, ClampedCount(model.RecMagCount), run,
           "１．角柱磁石からの磁界計算中", RecKernel(model, run));
  RectStep(points, n, model.SecMagTable, 1, ClampedCount(SecMagLoopCount(model)), run,
           "２．(中空)円柱型磁石からの磁界計算中", SecKernel(run));
  RectStep(points, n, model.RhMagTable, 1, ClampedCount(model.RhMagCount), run,
           "３．RH型磁石からの磁界計算中", RhKernel(model, run));
  RectStep(points, n, model.StrCylCoilTable, 1, ClampedCount(model.StrCylCoilCount), run,
           "４．円柱ｺｲﾙからの磁界計算中",
           CoilKernel<StrCylCoilLocalField>(model.StrCylCoilTable, run));
  RectStep(points, n, model.StrRecCoilTable, 1, ClampedCount(model.StrRecCoilCount), run,
           "５．角柱ｺｲﾙからの磁界計算中",
           CoilKernel<StrRecCoilLocalField>(model.StrRecCoilTable, run));
  RectStep(points, n, model.SecCylCoilTable, 1, ClampedCount(model.SecCylCoilCount), run,
           "６．円柱扇型ｺｲﾙからの磁界計算中",
           CoilKernel<SecCylCoilLocalField>(model.SecCylCoilTable, run));
  RectStep(points, n, model.SecRecCoilTable, 1, ClampedCount(model.SecRecCoilCount), run,
           "７．角柱扇型ｺｲﾙからの磁界計算中",
           CoilKernel<SecRecCoilLocalField>(model.SecRecCoilTable, run));
  progress.Close();
}

void SectPointDistFieldCaluculation(ElementModel& model,
                                    Progress& progress,
                                    Notices& notices,
                                    const RunOptions& options) {
  const RunSetUp setup(options);
  ClearPointFields(model.SectCalPointSet.Points, setup.Pool());
  OncePerRunNotices once(notices);
  const RunContext run{setup.Quadrature(), once, progress, setup.Pool(),
                       PrepareModelSectors(model, setup.Quadrature())};
  SectPointSet& set = model.SectCalPointSet;
  const int n = std::clamp(set.LastIndex, 0, kCalPointCapacity) + 1;
  // Whatever the model holds: the points follow the magnet they were laid on.
  UpdateSectPointGlobals(model);
  SectStep(set.Points, n, model.RecMagTable, ClampedCount(model.RecMagCount), run, "ProgressRecMag",
           "角柱型磁石からの磁界計算中", RecKernel(model, run));
  SectStep(set.Points, n, model.SecMagTable, ClampedCount(SecMagLoopCount(model)), run,
           "ProgressSecMag", "（中空）円柱型磁石からの磁界計算中", SecKernel(run));
  SectStep(set.Points, n, model.StrCylCoilTable, ClampedCount(model.StrCylCoilCount), run,
           "ProgressCoil", "ｺｲﾙからの磁界計算中",
           CoilKernel<StrCylCoilLocalField>(model.StrCylCoilTable, run));
  SectStep(set.Points, n, model.StrRecCoilTable, ClampedCount(model.StrRecCoilCount), run,
           "ProgressCoil", "ｺｲﾙからの磁界計算中",
           CoilKernel<StrRecCoilLocalField>(model.StrRecCoilTable, run));
  // The kinds the sector run once left out, after the others so their sums keep their order.
  SectStep(set.Points, n, model.RhMagTable, ClampedCount(model.RhMagCount), run, "ProgressRhMag",
           "RH型磁石からの磁界計算中", RhKernel(model, run));
  SectStep(set.Points, n, model.SecCylCoilTable, ClampedCount(model.SecCylCoilCount), run,
           "ProgressCoil", "円柱扇型ｺｲﾙからの磁界計算中",
           CoilKernel<SecCylCoilLocalField>(model.SecCylCoilTable, run));
  SectStep(set.Points, n, model.SecRecCoilTable, ClampedCount(model.SecRecCoilCount), run,
           "ProgressCoil", "角柱扇型ｺｲﾙからの磁界計算中",
           CoilKernel<SecRecCoilLocalField>(model.SecRecCoilTable, run));
}

}  // namespace tavrine

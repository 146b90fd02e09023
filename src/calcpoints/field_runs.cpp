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
  int threads;
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
  AddElementFields(
      points, point_count, table, first, last, run.threads, run.progress,
      [&](int e, const Vec3& local) { return kernel(table[static_cast<size_t>(e)], local); });
}

auto RecKernel(const RunContext& run) {
  return [&run](const RecMag& m, const Vec3& p) { return RecMagLocalField(m, p, run.notices); };
}
auto SecKernel(const RunContext& run) {
  return [&run](const SecMag& m, const Vec3& p) {
    return SecMagLocalField(m, p, run.quadrature, run.notices);
  };
}
auto RhKernel(const RunContext& run) {
  return [&run](const RhMag& m, const Vec3& p) {
    return RhMagLocalField(m, p, run.quadrature, run.notices);
  };
}
template <class Record, Vec3 (*Field)(const Record&, const Vec3&, const FieldQuadrature&)>
auto CoilKernel(const RunContext& run) {
  return [&run](const Record& c, const Vec3& p) { return Field(c, p, run.quadrature); };
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
  AddElementFieldsInWindow(
      points, point_count, table, last, run.threads, run.progress, window, title,
      [&](int e, const Vec3& local) { return kernel(table[static_cast<size_t>(e)], local); });
}

}  // namespace

void RectPointDistFieldCaluculation(ElementModel& model,
                                    Progress& progress,
                                    Notices& notices,
                                    const RunOptions& options) {
  ClearRectResults(model);
  const FieldQuadrature quadrature;
  OncePerRunNotices once(notices);
  const RunContext run{quadrature, once, progress, ResolveThreadCount(options.threads)};
  auto& points = model.RectCalPointSet.Points;
  const int n = std::clamp(model.RectCalPointSet.LastIndex, 0, kCalPointCapacity) + 1;
  progress.Open("ProgressMagField", "磁界計算中");
  RectStep(points, n, model.RecMagTable, 2, ClampedCount(model.RecMagCount), run,
           "１．角柱磁石からの磁界計算中", RecKernel(run));
  RectStep(points, n, model.SecMagTable, 1, ClampedCount(SecMagLoopCount(model)), run,
           "２．(中空)円柱型磁石からの磁界計算中", SecKernel(run));
  RectStep(points, n, model.RhMagTable, 1, ClampedCount(model.RhMagCount), run,
           "３．RH型磁石からの磁界計算中", RhKernel(run));
  RectStep(points, n, model.StrCylCoilTable, 1, ClampedCount(model.StrCylCoilCount), run,
           "４．円柱ｺｲﾙからの磁界計算中", CoilKernel<StrCylCoil, StrCylCoilLocalField>(run));
  RectStep(points, n, model.StrRecCoilTable, 1, ClampedCount(model.StrRecCoilCount), run,
           "５．角柱ｺｲﾙからの磁界計算中", CoilKernel<StrRecCoil, StrRecCoilLocalField>(run));
  RectStep(points, n, model.SecCylCoilTable, 1, ClampedCount(model.SecCylCoilCount), run,
           "６．円柱扇型ｺｲﾙからの磁界計算中", CoilKernel<SecCylCoil, SecCylCoilLocalField>(run));
  RectStep(points, n, model.SecRecCoilTable, 1, ClampedCount(model.SecRecCoilCount), run,
           "７．角柱扇型ｺｲﾙからの磁界計算中", CoilKernel<SecRecCoil, SecRecCoilLocalField>(run));
  progress.Close();
}

void SectPointDistFieldCaluculation(ElementModel& model,
                                    Progress& progress,
                                    Notices& notices,
                                    const RunOptions& options) {
  ClearSectResults(model);
  const FieldQuadrature quadrature;
  OncePerRunNotices once(notices);
  const RunContext run{quadrature, once, progress, ResolveThreadCount(options.threads)};
  SectPointSet& set = model.SectCalPointSet;
  const int n = std::clamp(set.LastIndex, 0, kCalPointCapacity) + 1;
  // Whatever the model holds: the points follow the magnet they were laid on.
  UpdateSectPointGlobals(model);
  SectStep(set.Points, n, model.RecMagTable, ClampedCount(model.RecMagCount), run, "ProgressRecMag",
           "角柱型磁石からの磁界計算中", RecKernel(run));
  SectStep(set.Points, n, model.SecMagTable, ClampedCount(SecMagLoopCount(model)), run,
           "ProgressSecMag", "（中空）円柱型磁石からの磁界計算中", SecKernel(run));
  SectStep(set.Points, n, model.StrCylCoilTable, ClampedCount(model.StrCylCoilCount), run,
           "ProgressCoil", "ｺｲﾙからの磁界計算中",
           CoilKernel<StrCylCoil, StrCylCoilLocalField>(run));
  SectStep(set.Points, n, model.StrRecCoilTable, ClampedCount(model.StrRecCoilCount), run,
           "ProgressCoil", "ｺｲﾙからの磁界計算中",
           CoilKernel<StrRecCoil, StrRecCoilLocalField>(run));
  // The kinds the sector run once left out, after the others so their sums keep their order.
  SectStep(set.Points, n, model.RhMagTable, ClampedCount(model.RhMagCount), run, "ProgressRhMag",
           "RH型磁石からの磁界計算中", RhKernel(run));
  SectStep(set.Points, n, model.SecCylCoilTable, ClampedCount(model.SecCylCoilCount), run,
           "ProgressCoil", "円柱扇型ｺｲﾙからの磁界計算中",
           CoilKernel<SecCylCoil, SecCylCoilLocalField>(run));
  SectStep(set.Points, n, model.SecRecCoilTable, ClampedCount(model.SecRecCoilCount), run,
           "ProgressCoil", "角柱扇型ｺｲﾙからの磁界計算中",
           CoilKernel<SecRecCoil, SecRecCoilLocalField>(run));
}

}  // namespace tavrine

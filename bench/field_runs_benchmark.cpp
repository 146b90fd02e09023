// Seconds per rectangular run of a 41 × 41 grid over a mixed model, on 1 and 2 threads, and
// their ratio.
#include <array>
#include <benchmark/benchmark.h>
#include <memory>

#include "calcpoints/field_runs.h"
#include "calcpoints/grids.h"
#include "field/literal_kernels.h"
#include "geometry/transforms.h"
#include "model/resets.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "thread_scaling.h"

namespace tavrine {
namespace {

// 8 sector magnets (a ring), 4 rectangular magnets, 2 RH magnets, 4 conductors of each kind.
std::unique_ptr<ElementModel> MixedModel() {
  auto m = std::make_unique<ElementModel>();
  FullReset(*m);
  MakeWorldBox(*m, 100);
  for (int i = 0; i < 4; ++i) {
    m->RecMagTable[2 + i] = {.a = 10, .b = 8, .l = 5, .Ox = -30.0 + 20 * i, .Oz = -10, .Br = 12000};
  }
  m->RecMagCount = 5;
  for (int i = 1; i <= 8; ++i) {
    m->SecMagTable[i] = {.Ri = 20,
                         .Ro = 30,
                         .T = 5,
                         .OpenAngle = DegToRad(44),
                         .Oz = -20,
                         .AngZ = DegToRad(45.0 * i),
                         .Br = (i % 2 ? 12000.0 : -12000.0)};
  }
  m->SecMagCount = 8;
  for (int i = 1; i <= 2; ++i) {
    m->RhMagTable[i] = {.R = 5, .HT = 6, .Ox = 40.0 * i - 60, .Oy = 40, .Br = 12500};
  }
  m->RhMagCount = 2;
  for (int i = 1; i <= 4; ++i) {
    const double y = -45.0 + 5 * i;
    m->StrCylCoilTable[i] = {.Lx = 40, .R = 1, .CurrentDensity = 5, .Oy = y, .Oz = 5};
    m->StrRecCoilTable[i] = {.Lx = 40, .W = 2, .T = 1, .CurrentDensity = 5, .Oy = -y, .Oz = 5};
    m->SecCylCoilTable[i] = {.R = 15,
                             .Angle = DegToRad(80),
                             .rwire = 1,
                             .CurrentDensity = 5,
                             .Oz = 8,
                             .AngZ = DegToRad(90.0 * i)};
    m->SecRecCoilTable[i] = {.Ri = 10,
                             .Ro = 12,
                             .T = 2,
                             .Angle = DegToRad(80),
                             .CurrentDensity = 5,
                             .Oz = 12,
                             .AngZ = DegToRad(90.0 * i)};
  }
  m->StrCylCoilCount = m->StrRecCoilCount = m->SecCylCoilCount = m->SecRecCoilCount = 4;
  NullNotices quiet;
  GenerateRectGrid(
      *m, {.MagN = 1, .DivX = 40, .DivY = 40, .DisZ = 1, .HalfX = false, .HalfY = false}, quiet);
  return m;
}

void BM_RectRun(benchmark::State& state) {
  auto model = MixedModel();
  NullProgress progress;
  NullNotices notices;
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    RectPointDistFieldCaluculation(*model, progress, notices, {.threads = threads});
    benchmark::DoNotOptimize(model->RectCalPointSet.Points[0].Hz);
  }
  state.SetItemsProcessed(state.iterations() * 1681 * (4 + 8 + 2 + 16));
}
BENCHMARK(BM_RectRun)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime();

// The same run on 1 and 2 threads alternately, with their ratio.
void BM_RectRunThreads(benchmark::State& state) {
  const std::array<std::unique_ptr<ElementModel>, 2> models{MixedModel(), MixedModel()};
  NullProgress progress;
  NullNotices notices;
  bench::TimeOneAndTwoThreads(state, 1681.0 * (4 + 8 + 2 + 16), [&](int threads, int copy) {
    RectPointDistFieldCaluculation(*models[copy], progress, notices, {.threads = threads});
  });
}
BENCHMARK(BM_RectRunThreads)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same run single-threaded with the literal per-component kernels, element outer and point
// inner: the straightforward algorithm the runs are measured against.
template <class Record, class Kernel>
void LiteralStep(
    ElementModel& m, const ElementTable<Record>& table, int first, int last, Kernel kernel) {
  for (int e = first; e <= last; ++e) {
    const ElementFrame frame(PlacementOf(table[e]));
    for (int i = 0; i <= m.RectCalPointSet.LastIndex; ++i) {
      RectCalPoint& p = m.RectCalPointSet.Points[i];
      const Vec3 h =
          frame.VectorToGlobal(kernel(table[e], frame.PointToLocal({p.PGroX, p.PGroY, p.PGroZ})));
      p.Hx += h.x;
      p.Hy += h.y;
      p.Hz += h.z;
    }
  }
}

void LiteralRectRun(ElementModel& m) {
  ClearRectResults(m);
  NullNotices n;
  const GaussLegendreTable sector(500), rh(100), coil(50);
  LiteralStep(m, m.RecMagTable, 2, m.RecMagCount,
              [&](const RecMag& r, const Vec3& p) { return literal::RecMagLocalField(r, p, n); });
  LiteralStep(m, m.SecMagTable, 1, SecMagLoopCount(m), [&](const SecMag& r, const Vec3& p) {
    return literal::SecMagLocalField(r, sector, p, n);
  });
  LiteralStep(m, m.RhMagTable, 1, m.RhMagCount,
              [&](const RhMag& r, const Vec3& p) { return literal::RhMagLocalField(r, rh, p, n); });
  LiteralStep(m, m.StrCylCoilTable, 1, m.StrCylCoilCount, [&](const StrCylCoil& r, const Vec3& p) {
    return literal::StrCylCoilLocalField(r, coil, p);
  });
  LiteralStep(m, m.StrRecCoilTable, 1, m.StrRecCoilCount, [&](const StrRecCoil& r, const Vec3& p) {
    return literal::StrRecCoilLocalField(r, coil, p);
  });
  LiteralStep(m, m.SecCylCoilTable, 1, m.SecCylCoilCount, [&](const SecCylCoil& r, const Vec3& p) {
    return literal::SecCylCoilLocalField(r, coil, p);
  });
  LiteralStep(m, m.SecRecCoilTable, 1, m.SecRecCoilCount, [&](const SecRecCoil& r, const Vec3& p) {
    return literal::SecRecCoilLocalField(r, coil, p);
  });
}

void BM_RectRunLiteral(benchmark::State& state) {
  auto model = MixedModel();
  for (auto _ : state) {
    LiteralRectRun(*model);
    benchmark::DoNotOptimize(model->RectCalPointSet.Points[0].Hz);
  }
  state.SetItemsProcessed(state.iterations() * 1681 * (4 + 8 + 2 + 16));
}
BENCHMARK(BM_RectRunLiteral)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace tavrine

BENCHMARK_MAIN();

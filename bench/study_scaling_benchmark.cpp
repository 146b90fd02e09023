// Seconds on 1 and 2 threads and their ratio for every run and study over more than 100 000
// (point, element) pairs: both field runs, the permeance layers, the force study, the Kt sweep.
#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

#include "calcpoints/field_runs.h"
#include "calcpoints/grids.h"
#include "files/model_file.h"
#include "model/resets.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "studies/force_study.h"
#include "studies/kt_sweep.h"
#include "studies/pc_analysis.h"
#include "thread_scaling.h"

namespace tavrine {
namespace {

using bench::TimeOneAndTwoThreads;

// A ring of `count` alternating sector magnets about the z axis, 1 mm below z = 0; with
// `prisms`, the same ring of rectangular magnets instead, whose closed-form field costs a tenth.
std::unique_ptr<ElementModel> Ring(int count, bool prisms = false) {
  auto m = std::make_unique<ElementModel>();
  FullReset(*m);
  MakeWorldBox(*m, 100);
  const double step = 360.0 / count;
  if (prisms) {
    for (int i = 2; i <= count + 1; ++i) {
      const double angle = DegToRad(step * i);
      m->RecMagTable[static_cast<size_t>(i)] = {.a = 4,
                                                .b = 4,
                                                .l = 5,
                                                .Ox = 25 * std::cos(angle),
                                                .Oy = 25 * std::sin(angle),
                                                .Oz = -1,
                                                .AngZ = angle,
                                                .Br = (i % 2 ? 12000.0 : -12000.0)};
    }
    m->RecMagCount = count + 1;
    return m;
  }
  for (int i = 1; i <= count; ++i) {
    m->SecMagTable[static_cast<size_t>(i)] = {.Ri = 20,
                                              .Ro = 30,
                                              .T = 5,
                                              .OpenAngle = DegToRad(step * 0.9),
                                              .Oz = -1,
                                              .AngZ = DegToRad(step * i),
                                              .Br = (i % 2 ? 12000.0 : -12000.0)};
  }
  m->SecMagCount = count;
  return m;
}

// Two copies of a model, for the side-by-side timing.
using Copies = std::array<std::unique_ptr<ElementModel>, 2>;
Copies TwoOf(const ElementModel& model) {
  return {std::make_unique<ElementModel>(model), std::make_unique<ElementModel>(model)};
}

void BM_RectRunRing20(benchmark::State& state) {
  auto model = Ring(20);
  NullNotices quiet;
  GenerateRectGrid(*model,
                   {.MagN = 1, .DivX = 99, .DivY = 99, .DisZ = 1, .HalfX = false, .HalfY = false},
                   quiet);
  const int points = model->RectCalPointSet.LastIndex + 1;
  const Copies copies = TwoOf(*model);
  NullProgress progress;
  TimeOneAndTwoThreads(state, 20.0 * points, [&](int threads, int copy) {
    RectPointDistFieldCaluculation(*copies[copy], progress, quiet, {.threads = threads});
  });
}
BENCHMARK(BM_RectRunRing20)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SectRunRing20(benchmark::State& state) {
  auto model = Ring(20);
  NullNotices quiet;
  GenerateSectGrid(*model, {.MagN = 1, .DivR = 99, .DivT = 99, .Ri = 0, .Ro = 60, .DisZ = 1},
                   quiet);
  const int points = model->SectCalPointSet.LastIndex + 1;
  const Copies copies = TwoOf(*model);
  NullProgress progress;
  TimeOneAndTwoThreads(state, 20.0 * points, [&](int threads, int copy) {
    SectPointDistFieldCaluculation(*copies[copy], progress, quiet, {.threads = threads});
  });
}
BENCHMARK(BM_SectRunRing20)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ten layers of 20 × 20 cells in a prism inside a ring of 30 sectors or 30 prisms: many small
// steps.
void BM_PermeanceLayers(benchmark::State& state) {
  auto model = Ring(30, state.range(0) == 1);
  RecMag& target = model->RecMagTable[static_cast<size_t>(model->RecMagCount + 1)];
  target = {.a = 20, .b = 20, .l = 10, .Oz = 5, .Br = 12000};
  const int slot = ++model->RecMagCount;
  const PcDivisions div{20, 20, 10};
  const Copies copies = TwoOf(*model);
  NullProgress progress;
  NullNotices quiet;
  TimeOneAndTwoThreads(state, 31.0 * div.Cells(), [&](int threads, int copy) {
    RunPcCalculation(*copies[copy], {PcShape::kRect, slot, div, -10}, progress, quiet, {threads});
  });
}
BENCHMARK(BM_PermeanceLayers)
    ->ArgName("prisms")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The force on magnet 2 of the sample model, read once outside the timing.
void BM_ForceStudySample(benchmark::State& state) {
  auto initial = std::make_unique<ElementModel>();
  FullReset(*initial);
  const ModelReadResult read = ReadModelFile(TAVRINE_SAMPLE_MODEL, *initial);
  if (!read.ok()) {
    state.SkipWithError("sample model unreadable");
    return;
  }
  const ElementModel& m = *read.model;
  const int sources = m.RecMagCount - 2 + m.SecMagCount + m.RhMagCount + m.StrCylCoilCount +
                      m.StrRecCoilCount + m.SecCylCoilCount + m.SecRecCoilCount;
  std::array<ForceStudy, 2> studies;
  NullProgress progress;
  NullNotices quiet;
  const int points = studies[0].Run(m, 2, progress, quiet)->points;
  TimeOneAndTwoThreads(state, 1.0 * points * sources, [&](int threads, int copy) {
    benchmark::DoNotOptimize(studies[copy].Run(m, 2, progress, quiet, {.threads = threads}));
  });
}
BENCHMARK(BM_ForceStudySample)->Unit(benchmark::kMillisecond)->Iterations(10);

// A 60° arc of 40 × 5 × 2 pieces turned in 13 steps over a ring of 24 sectors or prisms.
void BM_KtSweep(benchmark::State& state) {
  auto model = Ring(24, state.range(0) == 1);
  model->SecRecCoilTable[1] = {
      .Ri = 32, .Ro = 40, .T = 3, .Angle = DegToRad(60), .CurrentDensity = 5, .Oz = 6};
  model->SecRecCoilCount = 1;
  KtState& kt = model->Kt;
  kt.KtSelectionCount[1] = 1;
  kt.KtSelection[1][1] = 1;
  kt.DivL[1][1] = 40;
  kt.DivW[1][1] = 5;
  kt.DivT[1][1] = 2;
  kt.StartAngle = 0;
  kt.EndAngle = DegToRad(60);
  kt.StepAngle = DegToRad(5);
  const Copies copies = TwoOf(*model);
  std::array<KtStepTotals, 2> totals;
  NullProgress progress;
  NullNotices quiet;
  TimeOneAndTwoThreads(state, 13.0 * 400 * 24, [&](int threads, int copy) {
    RunKtSweep(*copies[copy], totals[copy], progress, quiet, nullptr, {threads});
  });
}
BENCHMARK(BM_KtSweep)
    ->ArgName("prisms")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace tavrine

BENCHMARK_MAIN();

// Seconds per force study on a prism above another, well separated (10 mm) and near contact
// (0.1 mm), against the fixed 2 × 51 × 51 face-point sum of the field the study used to take;
// near contact also on 1 and 2 threads.
#include <array>
#include <benchmark/benchmark.h>
#include <memory>

#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/resets.h"
#include "model/world_frame.h"
#include "studies/force_study.h"
#include "thread_scaling.h"

namespace tavrine {
namespace {

std::unique_ptr<ElementModel> TwoPrisms(double gap) {
  auto m = std::make_unique<ElementModel>();
  FullReset(*m);
  MakeWorldBox(*m, 100);
  m->RecMagTable[2] = {.a = 10, .b = 8, .l = 4, .Br = 12000};
  m->RecMagTable[3] = {.a = 9, .b = 8, .l = 3, .Ox = 1.5, .Oy = 0.5, .Oz = gap + 3, .Br = 11000};
  m->RecMagCount = 3;
  return m;
}

void BM_ForceStudy(benchmark::State& state) {
  const auto model = TwoPrisms(state.range(0) / 10.0);
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  int points = 0;
  for (auto _ : state) {
    points = study.Run(*model, 3, progress, notices, {.threads = 1})->points;
    benchmark::DoNotOptimize(points);
  }
  state.counters["points"] = points;
  state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_ForceStudy)->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

// Near contact (0.1 mm) on 1 and 2 threads: a cheap source, so the panels' own work counts.
void BM_ForceStudyThreads(benchmark::State& state) {
  const auto model = TwoPrisms(0.1);
  std::array<ForceStudy, 2> studies;
  NullProgress progress;
  NullNotices notices;
  const int points = studies[0].Run(*model, 3, progress, notices)->points;
  bench::TimeOneAndTwoThreads(state, points, [&](int threads, int copy) {
    benchmark::DoNotOptimize(studies[copy].Run(*model, 3, progress, notices, {.threads = threads}));
  });
}
BENCHMARK(BM_ForceStudyThreads)->Unit(benchmark::kMillisecond)->Iterations(10);

// What the study cost with its fixed grid: its quadrature tables, then the field of the lower
// prism at the 2 × 51 × 51 rectangle centres of the upper one's faces.
void BM_FixedFaceGrid(benchmark::State& state) {
  const auto model = TwoPrisms(10);
  const RecMag& source = model->RecMagTable[2];
  const RecMag& target = model->RecMagTable[3];
  const ElementFrame frame(PlacementOf(source));
  NullNotices notices;
  for (auto _ : state) {
    const FieldQuadrature tables;
    benchmark::DoNotOptimize(&tables);
    Vec3 sum;
    for (double z : {target.Oz, target.Oz - target.l}) {
      for (int i = 0; i < 51; ++i) {
        for (int j = 0; j < 51; ++j) {
          const Vec3 p{target.Ox + target.a * (j - 25) / 51, target.Oy + target.b * (i - 25) / 51,
                       z};
          sum += RecMagLocalField(source, frame.PointToLocal(p), notices);
        }
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 2 * 51 * 51);
}
BENCHMARK(BM_FixedFaceGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrine

BENCHMARK_MAIN();

// Time per (point, element) pair of each kind's fast kernel and of its literal per-component
// form, one thread, over two 9 × 9 grids of points around one element of ordinary size; the
// counters give both in thread CPU ns per pair and their ratio.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <vector>

#include "field/literal_kernels.h"
#include "field/local_fields.h"
#include "kernel_timing.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

const FieldQuadrature& Quadrature() {
  static const FieldQuadrature q;
  return q;
}

// A 9 × 9 grid over [−half, half]² at height z, plus the same grid at a second height.
std::vector<Vec3> Grid(double half, double z0, double z1) {
  std::vector<Vec3> points;
  for (double z : {z0, z1}) {
    for (int i = 0; i < 9; ++i) {
      for (int j = 0; j < 9; ++j) {
        points.push_back({-half + half * i / 4.0, -half + half * j / 4.0, z});
      }
    }
  }
  return points;
}

template <class Kernel>
void Run(benchmark::State& state, const std::vector<Vec3>& points, Kernel kernel) {
  for (auto _ : state) {
    for (const Vec3& p : points) {
      benchmark::DoNotOptimize(kernel(p));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}

// The fast kernel timed by the benchmark loop, then both forms side by side for the ratio.
template <class Fast, class Literal>
void Compare(benchmark::State& state, const std::vector<Vec3>& points, Fast fast, Literal literal) {
  Run(state, points, fast);
  const double fast_ns = BestNsPerPair(points, fast, 20);
  const double literal_ns = BestNsPerPair(points, literal, 3);
  state.counters["fast_ns"] = fast_ns;
  state.counters["literal_ns"] = literal_ns;
  state.counters["ratio"] = literal_ns / fast_ns;
}

const RecMag kPrism{.a = 20, .b = 10, .l = 5, .Br = 12000};
const SecMag kSector{.Ri = 10, .Ro = 20, .T = 5, .OpenAngle = DegToRad(60), .Br = 12000};
const RhMag kRh{.R = 10, .HT = 8, .Br = 12000};
const StrCylCoil kStrCyl{.Lx = 40, .R = 1, .CurrentDensity = 3};
const StrRecCoil kStrRec{.Lx = 40, .W = 4, .T = 2, .CurrentDensity = 3};
const SecCylCoil kSecCyl{.R = 20, .Angle = DegToRad(90), .rwire = 1, .CurrentDensity = 3};
const SecRecCoil kSecRec{.Ri = 15, .Ro = 20, .T = 3, .Angle = DegToRad(90), .CurrentDensity = 3};

NullNotices& Quiet() {
  static NullNotices notices;
  return notices;
}

void BM_RecMag(benchmark::State& s) {
  Compare(
      s, Grid(15, 1, -2.5), [](const Vec3& p) { return RecMagLocalField(kPrism, p, Quiet()); },
      [](const Vec3& p) { return literal::RecMagLocalField(kPrism, p, Quiet()); });
}
void BM_SecMag(benchmark::State& s) {
  Compare(
      s, Grid(25, 1, -2.5),
      [](const Vec3& p) { return SecMagLocalField(kSector, p, Quadrature(), Quiet()); },
      [](const Vec3& p) {
        return literal::SecMagLocalField(kSector, Quadrature().sector, p, Quiet());
      });
}
void BM_RhMag(benchmark::State& s) {
  Compare(
      s, Grid(15, 1, -4),
      [](const Vec3& p) { return RhMagLocalField(kRh, p, Quadrature(), Quiet()); },
      [](const Vec3& p) { return literal::RhMagLocalField(kRh, Quadrature().rh, p, Quiet()); });
}
void BM_StrCylCoil(benchmark::State& s) {
  Compare(
      s, Grid(10, 3, 0.5),
      [](const Vec3& p) { return StrCylCoilLocalField(kStrCyl, p, Quadrature()); },
      [](const Vec3& p) { return literal::StrCylCoilLocalField(kStrCyl, Quadrature().coil, p); });
}
void BM_StrRecCoil(benchmark::State& s) {
  Compare(
      s, Grid(10, 3, -1.3),
      [](const Vec3& p) { return StrRecCoilLocalField(kStrRec, p, Quadrature()); },
      [](const Vec3& p) { return literal::StrRecCoilLocalField(kStrRec, Quadrature().coil, p); });
}
void BM_SecCylCoil(benchmark::State& s) {
  Compare(
      s, Grid(25, 3, 0.5),
      [](const Vec3& p) { return SecCylCoilLocalField(kSecCyl, p, Quadrature()); },
      [](const Vec3& p) { return literal::SecCylCoilLocalField(kSecCyl, Quadrature().coil, p); });
}
void BM_SecRecCoil(benchmark::State& s) {
  Compare(
      s, Grid(25, 3, -1.3),
      [](const Vec3& p) { return SecRecCoilLocalField(kSecRec, p, Quadrature()); },
      [](const Vec3& p) { return literal::SecRecCoilLocalField(kSecRec, Quadrature().coil, p); });
}
void BM_SecMagPrepared(benchmark::State& s) {
  const PreparedSecMag prepared = PrepareSecMag(kSector, Quadrature());
  Run(s, Grid(25, 1, -2.5), [&](const Vec3& p) { return SecMagLocalField(prepared, p, Quiet()); });
}

BENCHMARK(BM_RecMag)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecMag)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecMagPrepared)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RhMag)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrCylCoil)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrRecCoil)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecCylCoil)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecRecCoil)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrine

BENCHMARK_MAIN();

// Time per (point, element) pair of each kind's fast kernel and of its literal per-component
// form, one thread, over a grid of points around one element of ordinary size.
#include <benchmark/benchmark.h>
#include <vector>

#include "field/literal_kernels.h"
#include "field/local_fields.h"
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

void BM_RecMagFast(benchmark::State& s) {
  Run(s, Grid(15, 1, -2.5), [](const Vec3& p) { return RecMagLocalField(kPrism, p, Quiet()); });
}
void BM_RecMagLiteral(benchmark::State& s) {
  Run(s, Grid(15, 1, -2.5),
      [](const Vec3& p) { return literal::RecMagLocalField(kPrism, p, Quiet()); });
}
void BM_SecMagFast(benchmark::State& s) {
  Run(s, Grid(25, 1, -2.5),
      [](const Vec3& p) { return SecMagLocalField(kSector, p, Quadrature(), Quiet()); });
}
void BM_SecMagPrepared(benchmark::State& s) {
  const PreparedSecMag prepared = PrepareSecMag(kSector, Quadrature());
  Run(s, Grid(25, 1, -2.5), [&](const Vec3& p) { return SecMagLocalField(prepared, p, Quiet()); });
}
void BM_SecMagLiteral(benchmark::State& s) {
  Run(s, Grid(25, 1, -2.5), [](const Vec3& p) {
    return literal::SecMagLocalField(kSector, Quadrature().sector, p, Quiet());
  });
}
void BM_RhMagFast(benchmark::State& s) {
  Run(s, Grid(15, 1, -4),
      [](const Vec3& p) { return RhMagLocalField(kRh, p, Quadrature(), Quiet()); });
}
void BM_RhMagLiteral(benchmark::State& s) {
  Run(s, Grid(15, 1, -4),
      [](const Vec3& p) { return literal::RhMagLocalField(kRh, Quadrature().rh, p, Quiet()); });
}
void BM_StrCylCoilFast(benchmark::State& s) {
  Run(s, Grid(10, 3, 0.5),
      [](const Vec3& p) { return StrCylCoilLocalField(kStrCyl, p, Quadrature()); });
}
void BM_StrCylCoilLiteral(benchmark::State& s) {
  Run(s, Grid(10, 3, 0.5),
      [](const Vec3& p) { return literal::StrCylCoilLocalField(kStrCyl, Quadrature().coil, p); });
}
void BM_StrRecCoilFast(benchmark::State& s) {
  Run(s, Grid(10, 3, -1.3),
      [](const Vec3& p) { return StrRecCoilLocalField(kStrRec, p, Quadrature()); });
}
void BM_StrRecCoilLiteral(benchmark::State& s) {
  Run(s, Grid(10, 3, -1.3),
      [](const Vec3& p) { return literal::StrRecCoilLocalField(kStrRec, Quadrature().coil, p); });
}
void BM_SecCylCoilFast(benchmark::State& s) {
  Run(s, Grid(25, 3, 0.5),
      [](const Vec3& p) { return SecCylCoilLocalField(kSecCyl, p, Quadrature()); });
}
void BM_SecCylCoilLiteral(benchmark::State& s) {
  Run(s, Grid(25, 3, 0.5),
      [](const Vec3& p) { return literal::SecCylCoilLocalField(kSecCyl, Quadrature().coil, p); });
}
void BM_SecRecCoilFast(benchmark::State& s) {
  Run(s, Grid(25, 3, -1.3),
      [](const Vec3& p) { return SecRecCoilLocalField(kSecRec, p, Quadrature()); });
}
void BM_SecRecCoilLiteral(benchmark::State& s) {
  Run(s, Grid(25, 3, -1.3),
      [](const Vec3& p) { return literal::SecRecCoilLocalField(kSecRec, Quadrature().coil, p); });
}

BENCHMARK(BM_RecMagFast);
BENCHMARK(BM_RecMagLiteral);
BENCHMARK(BM_SecMagFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecMagPrepared)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecMagLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RhMagFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RhMagLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrCylCoilFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrCylCoilLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrRecCoilFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrRecCoilLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecCylCoilFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecCylCoilLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecRecCoilFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecRecCoilLiteral)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrine

BENCHMARK_MAIN();

// Near-surface cases of the magnet kernels in the field-kernel benchmark: per kind the time per
// pair far from the body and within 0.1 mm of it, and their ratio (the fixed rules of the far
// field cost the same at every point, so the ratio is the near cost over the old rule's).
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <ctime>
#include <vector>

#include "field/local_fields.h"
#include "kernel_timing.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

const FieldQuadrature& NearQuadrature() {
  static const FieldQuadrature q;
  return q;
}

NullNotices& Silent() {
  static NullNotices notices;
  return notices;
}

template <class Kernel>
void NearAndFar(benchmark::State& state,
                const std::vector<Vec3>& near,
                const std::vector<Vec3>& far,
                Kernel kernel) {
  for (auto _ : state) {
    for (const Vec3& p : near) {
      benchmark::DoNotOptimize(kernel(p));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(near.size()));
  const double near_ns = BestNsPerPair(near, kernel, 5), far_ns = BestNsPerPair(far, kernel, 5);
  state.counters["near_ns"] = near_ns;
  state.counters["far_ns"] = far_ns;
  state.counters["near_over_far"] = near_ns / far_ns;
}

// 81 heights from 1 µm to 0.1 mm, spread log-uniformly, for the near grids.
double Height(int k) {
  return 1e-3 * std::pow(100.0, (k % 81) / 80.0);
}

const RecMag kNearPrism{.a = 20, .b = 10, .l = 5, .Br = 12000};
const SecMag kNearSector{.Ri = 10, .Ro = 20, .T = 5, .OpenAngle = DegToRad(60), .Br = 12000};
const RhMag kNearRh{.R = 10, .HT = 8, .Br = 12000};

// Above and below the faces and beside the rims of each body, within 0.1 mm; far points 5 mm
// and more from it.
std::vector<Vec3> PrismNear() {
  std::vector<Vec3> points;
  for (int k = 0; k < 81; ++k) {
    const double x = -10 + 20 * (k % 9 + 0.5) / 9, y = -5 + 10 * (k / 9 + 0.5) / 9;
    points.push_back(k % 3 == 0 ? Vec3{10 + Height(k), y, -2} : Vec3{x, y, Height(k)});
  }
  return points;
}
std::vector<Vec3> SectorNear() {
  std::vector<Vec3> points;
  const SecMag& m = kNearSector;
  for (int k = 0; k < 81; ++k) {
    const double r = m.Ri + (m.Ro - m.Ri) * (k % 9 + 0.5) / 9;
    const double a = m.OpenAngle * ((k / 9 + 0.5) / 9 - 0.5);
    const double z = k % 3 == 0 ? -m.T - Height(k) : k % 3 == 1 ? Height(k) : -Height(k);
    points.push_back({r * std::cos(a), r * std::sin(a), z});
  }
  return points;
}
std::vector<Vec3> RhNear() {
  std::vector<Vec3> points;
  for (int k = 0; k < 81; ++k) {
    const double r = kNearRh.R + (k % 2 == 0 ? Height(k) : -Height(k));
    const double a = 2 * Pi() * k / 81;
    points.push_back({r * std::cos(a), r * std::sin(a), -kNearRh.HT * (k % 9 + 0.5) / 9});
  }
  return points;
}
std::vector<Vec3> Far(double reach, double z) {
  std::vector<Vec3> points;
  for (int k = 0; k < 81; ++k) {
    const double a = 2 * Pi() * k / 81;
    points.push_back({reach * std::cos(a), reach * std::sin(a), z + (k % 9)});
  }
  return points;
}

void BM_RecMagNearAndFar(benchmark::State& s) {
  NearAndFar(s, PrismNear(), Far(30, 5),
             [](const Vec3& p) { return RecMagLocalField(kNearPrism, p, Silent()); });
}
void BM_SecMagNearAndFar(benchmark::State& s) {
  const PreparedSecMag prepared = PrepareSecMag(kNearSector, NearQuadrature());
  NearAndFar(s, SectorNear(), Far(30, 5),
             [&](const Vec3& p) { return SecMagLocalField(prepared, p, Silent()); });
}
void BM_RhMagNearAndFar(benchmark::State& s) {
  NearAndFar(s, RhNear(), Far(20, 5),
             [](const Vec3& p) { return RhMagLocalField(kNearRh, p, NearQuadrature(), Silent()); });
}

BENCHMARK(BM_RecMagNearAndFar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecMagNearAndFar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RhMagNearAndFar)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrine

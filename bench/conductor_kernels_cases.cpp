// The conductor kinds in field_kernels_benchmark: thread CPU ns per pair far from the conductor
// (2–20 mm) and within 0.1 mm of it (1 µm to 0.1 mm outside and inside), each with the literal
// rule's cost on the same points and their ratio.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <ctime>
#include <vector>

#include "field/literal_kernels.h"
#include "field/local_fields.h"
#include "kernel_timing.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

const FieldQuadrature& Rules() {
  static const FieldQuadrature q;
  return q;
}

template <class Fast, class Literal>
void Measure(benchmark::State& state, const std::vector<Vec3>& points, Fast fast, Literal literal) {
  for (auto _ : state) {
    for (const Vec3& p : points) {
      benchmark::DoNotOptimize(fast(p));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
  const double fast_ns = BestNsPerPair(points, fast, 10);
  const double literal_ns = BestNsPerPair(points, literal, 2);
  state.counters["fast_ns"] = fast_ns;
  state.counters["literal_ns"] = literal_ns;
  state.counters["ratio"] = literal_ns / fast_ns;
}

constexpr double kNear[] = {1e-3, 1e-2, 0.05, 0.1};
constexpr double kFar[] = {2, 5, 10, 20};

const StrCylCoil kRound{.Lx = 40, .R = 1, .CurrentDensity = 3};
const StrRecCoil kBar{.Lx = 40, .W = 4, .T = 2, .CurrentDensity = 3};
const SecCylCoil kArc{.R = 10, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 3};
const SecRecCoil kBand{.Ri = 15, .Ro = 20, .T = 3, .Angle = DegToRad(90), .CurrentDensity = 3};

// Round wire: round the side at several stations, across the end faces and round the rims.
std::vector<Vec3> RoundWirePoints(const double (&offsets)[4], bool inside_too) {
  std::vector<Vec3> points;
  for (double d : offsets) {
    for (int k = 0; k < 8; ++k) {
      const double a = 0.7 * k, c = std::cos(a), s = std::sin(a);
      const double radii[] = {kRound.R + d, inside_too ? kRound.R - d : kRound.R + 2 * d};
      for (double r : radii) {
        points.push_back({-15 + 4.0 * k, r * c, r * s});  // the side
      }
      points.push_back({kRound.Lx / 2 + d, 0.1 * k * c, 0.1 * k * s});       // end face
      points.push_back({kRound.Lx / 2 + d * c, (kRound.R + d * s) * c, 0});  // rim
    }
  }
  return points;
}

// Rectangular bar: above and below, beside, off the ends and along the edges.
std::vector<Vec3> BarPoints(const double (&offsets)[4], bool inside_too) {
  std::vector<Vec3> points;
  for (double d : offsets) {
    const double in = inside_too ? -d : 2 * d;
    for (int k = 0; k < 8; ++k) {
      const double x = -15 + 4.0 * k, y = -1.8 + 0.5 * k;
      points.push_back({x, y, d});
      points.push_back({x, y, -kBar.T - in});
      points.push_back({x, kBar.W / 2 + d, -0.25 * k});
      points.push_back({kBar.Lx / 2 + d, y, -0.25 * k});
      points.push_back({x, kBar.W / 2 + d, d});
    }
  }
  return points;
}

// Rectangular-wire arc: above, below, beside the walls, off the end faces, along the edges.
std::vector<Vec3> BandPoints(const double (&offsets)[4], bool inside_too) {
  std::vector<Vec3> points;
  auto polar = [](double r, double a, double z) {
    return Vec3{r * std::cos(a), r * std::sin(a), z};
  };
  for (double d : offsets) {
    const double in = inside_too ? -d : 2 * d;
    for (int k = 0; k < 8; ++k) {
      const double a = -0.7 + 0.2 * k, r = 15.3 + 0.6 * k, z = -0.35 * k;
      points.push_back(polar(r, a, d));
      points.push_back(polar(r, a, -kBand.T - in));
      points.push_back(polar(kBand.Ro + d, a, z));
      points.push_back(polar(kBand.Ri - d, a, z));
      points.push_back(polar(r, kBand.Angle / 2 + d / r, z));
      points.push_back(polar(kBand.Ro + d, a, d));
    }
  }
  return points;
}

// Round-wire arc: round the cross-section at several azimuths, off the end faces.
std::vector<Vec3> ArcPoints(const double (&offsets)[4], bool inside_too) {
  std::vector<Vec3> points;
  auto at = [](double d, double psi, double theta) {
    const double r = kArc.R + (kArc.rwire + d) * std::cos(psi);
    return Vec3{r * std::cos(theta), r * std::sin(theta), (kArc.rwire + d) * std::sin(psi)};
  };
  for (double d : offsets) {
    for (int k = 0; k < 8; ++k) {
      const double psi = 0.8 * k, theta = -0.9 + 0.25 * k;
      points.push_back(at(d, psi, theta));
      points.push_back(at(inside_too ? -d : 2 * d, psi + 0.4, theta + 0.1));
      points.push_back(at(d, psi, kArc.Angle / 2 + d / kArc.R));
    }
  }
  return points;
}

void BM_StrCylCoilFar(benchmark::State& s) {
  Measure(
      s, RoundWirePoints(kFar, false),
      [](const Vec3& p) { return StrCylCoilLocalField(kRound, p, Rules()); },
      [](const Vec3& p) { return literal::StrCylCoilLocalField(kRound, Rules().coil, p); });
}
void BM_StrCylCoilNear(benchmark::State& s) {
  Measure(
      s, RoundWirePoints(kNear, true),
      [](const Vec3& p) { return StrCylCoilLocalField(kRound, p, Rules()); },
      [](const Vec3& p) { return literal::StrCylCoilLocalField(kRound, Rules().coil, p); });
}
void BM_StrRecCoilFar(benchmark::State& s) {
  Measure(
      s, BarPoints(kFar, false),
      [](const Vec3& p) { return StrRecCoilLocalField(kBar, p, Rules()); },
      [](const Vec3& p) { return literal::StrRecCoilLocalField(kBar, Rules().coil, p); });
}
void BM_StrRecCoilNear(benchmark::State& s) {
  Measure(
      s, BarPoints(kNear, true),
      [](const Vec3& p) { return StrRecCoilLocalField(kBar, p, Rules()); },
      [](const Vec3& p) { return literal::StrRecCoilLocalField(kBar, Rules().coil, p); });
}
void BM_SecCylCoilFar(benchmark::State& s) {
  Measure(
      s, ArcPoints(kFar, false),
      [](const Vec3& p) { return SecCylCoilLocalField(kArc, p, Rules()); },
      [](const Vec3& p) { return literal::SecCylCoilLocalField(kArc, Rules().coil, p); });
}
void BM_SecCylCoilNear(benchmark::State& s) {
  Measure(
      s, ArcPoints(kNear, true),
      [](const Vec3& p) { return SecCylCoilLocalField(kArc, p, Rules()); },
      [](const Vec3& p) { return literal::SecCylCoilLocalField(kArc, Rules().coil, p); });
}
void BM_SecRecCoilFar(benchmark::State& s) {
  Measure(
      s, BandPoints(kFar, false),
      [](const Vec3& p) { return SecRecCoilLocalField(kBand, p, Rules()); },
      [](const Vec3& p) { return literal::SecRecCoilLocalField(kBand, Rules().coil, p); });
}
void BM_SecRecCoilNear(benchmark::State& s) {
  Measure(
      s, BandPoints(kNear, true),
      [](const Vec3& p) { return SecRecCoilLocalField(kBand, p, Rules()); },
      [](const Vec3& p) { return literal::SecRecCoilLocalField(kBand, Rules().coil, p); });
}

BENCHMARK(BM_StrCylCoilFar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrCylCoilNear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrRecCoilFar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrRecCoilNear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecCylCoilFar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecCylCoilNear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecRecCoilFar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SecRecCoilNear)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrine

// Gauss–Legendre rule by bisection on the Legendre polynomial between the bracketing sines, with
// weights from the Christoffel sum 2 / Σ (2k + 1)·P_k(x)². The roots are found eight at a time:
// each lane does exactly the operations of a root of its own, so the lanes' divisions overlap
// while every node keeps its bits.
#include "field/gauss_legendre.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "model/text_rules.h"

namespace tavrine {
namespace {

constexpr int kLanes = 8;
using Lanes = std::array<double, kLanes>;

// Four lanes of one register; the arithmetic is lane by lane, as in scalar code.
using Quad = double __attribute__((vector_size(32)));
constexpr int kQuads = kLanes / 4;

// P_n(x) lane by lane by the three-term recurrence.
__attribute__((target_clones("avx2", "default"))) void Legendre(int n, const double* x, double* p) {
  Quad xs[kQuads], previous[kQuads], current[kQuads];
  std::memcpy(xs, x, sizeof xs);
  for (int q = 0; q < kQuads; ++q) {
    previous[q] = Quad{1.0, 1.0, 1.0, 1.0};
    current[q] = n == 0 ? previous[q] : xs[q];
  }
  for (int k = 1; k < n; ++k) {
    const double a = 2.0 * k + 1.0, b = k, c = k + 1.0;
    for (int q = 0; q < kQuads; ++q) {
      const Quad next = (a * xs[q] * current[q] - b * previous[q]) / c;
      previous[q] = current[q];
      current[q] = next;
    }
  }
  std::memcpy(p, current, sizeof current);
}

Lanes Legendre(int n, const Lanes& x) {
  Lanes p;
  Legendre(n, x.data(), p.data());
  return p;
}

bool StillBisecting(double p, double a, double b) {
  return std::abs(p) > 1e-10 && std::abs(a - b) > 1e-10;
}

// The positive roots of P_n in the brackets [a, b]: the last midpoints of the bisections.
Lanes BisectRoots(int n, Lanes a, Lanes b) {
  Lanes pa = Legendre(n, a), m, p;
  p.fill(1.0);
  bool any = false;
  for (int l = 0; l < kLanes; ++l) {
    m[l] = (a[l] + b[l]) / 2.0;
    any = any || StillBisecting(p[l], a[l], b[l]);
  }
  while (any) {
    std::array<bool, kLanes> going;
    for (int l = 0; l < kLanes; ++l) {
      going[l] = StillBisecting(p[l], a[l], b[l]);
      if (going[l]) {
        m[l] = (a[l] + b[l]) / 2.0;
      }
    }
    const Lanes pm = Legendre(n, m);
    any = false;
    for (int l = 0; l < kLanes; ++l) {
      if (!going[l]) {
        continue;
      }
      p[l] = pm[l];
      if (p[l] * pa[l] > 0) {
        a[l] = m[l];
        pa[l] = p[l];
      } else {
        b[l] = m[l];
      }
      any = any || StillBisecting(p[l], a[l], b[l]);
    }
  }
  return m;
}

// Two Newton steps on P_n from the bisection's midpoint: the root to rounding, so that the far
// fields carry no error of the table (the bisection alone leaves about 1e-10 in the nodes).
Lanes PolishRoots(int n, Lanes x) {
  for (int step = 0; step < 2; ++step) {
    const Lanes p = Legendre(n, x), previous = Legendre(n - 1, x);
    for (int l = 0; l < kLanes; ++l) {
      const double slope = n * (x[l] * p[l] - previous[l]) / (x[l] * x[l] - 1.0);
      x[l] -= slope != 0 ? p[l] / slope : 0.0;
    }
  }
  return x;
}

__attribute__((target_clones("avx2", "default"))) void ChristoffelWeights(int n,
                                                                          const double* x,
                                                                          double* w) {
  Quad xs[kQuads], sum[kQuads], previous[kQuads], current[kQuads];
  std::memcpy(xs, x, sizeof xs);
  for (int q = 0; q < kQuads; ++q) {
    sum[q] = previous[q] = Quad{};
    current[q] = Quad{1.0, 1.0, 1.0, 1.0};
  }
  for (int k = 0; k < n; ++k) {
    const double a = 2.0 * k + 1.0, b = k, c = k + 1.0;
    for (int q = 0; q < kQuads; ++q) {
      sum[q] += a * current[q] * current[q];
      const Quad next = (a * xs[q] * current[q] - b * previous[q]) / c;
      previous[q] = current[q];
      current[q] = next;
    }
  }
  for (int q = 0; q < kQuads; ++q) {
    const Quad weights = 2.0 / sum[q];
    std::memcpy(w + 4 * q, &weights, sizeof weights);
  }
}

// Roots i = first..first + kLanes − 1 (from 1) of the half rule; lanes past `half` repeat the
// last root and are not stored.
void PlaceRoots(int n, int half, int first, std::vector<double>& nodes) {
  const double pi = Pi();
  Lanes a, b;
  for (int l = 0; l < kLanes; ++l) {
    const int i = std::min(first + l, half);
    a[l] = std::sin((n - 2 * i) * pi / (2.0 * n));
    b[l] = std::sin((n - 2 * i + 2) * pi / (2.0 * n));
  }
  const Lanes m = PolishRoots(n, BisectRoots(n, a, b));
  for (int l = 0; l < kLanes && first + l <= half; ++l) {
    const int i = first + l;
    nodes[static_cast<size_t>(n - i)] = m[l];
    nodes[static_cast<size_t>(i - 1)] = -m[l];
  }
}

void RunTasks(const TaskRunner& run, int count, const std::function<void(int)>& task) {
  if (run) {
    run(count, task);
    return;
  }
  for (int t = 0; t < count; ++t) {
    task(t);
  }
}

}  // namespace

GaussLegendreTable::GaussLegendreTable(int node_count, const TaskRunner& run) {
  const int n = node_count < 0 ? 0 : node_count;
  nodes_.assign(n, 0.0);
  weights_.assign(n, 0.0);
  const double pi = Pi();
  const int half = RoundToInt32(n / 2.0);
  RunTasks(run, (half + kLanes - 1) / kLanes,
           [&](int group) { PlaceRoots(n, half, 1 + group * kLanes, nodes_); });
  RunTasks(run, (n + kLanes - 1) / kLanes, [&](int group) {
    const int j = group * kLanes;
    Lanes x{}, w;
    std::copy_n(nodes_.begin() + j, std::min(kLanes, n - j), x.begin());
    ChristoffelWeights(n, x.data(), w.data());
    std::copy_n(w.begin(), std::min(kLanes, n - j), weights_.begin() + j);
  });
  turn_cos_.resize(n);
  turn_sin_.resize(n);
  for (int j = 0; j < n; ++j) {
    turn_cos_[j] = std::cos(pi + pi * nodes_[j]);
    turn_sin_[j] = std::sin(pi + pi * nodes_[j]);
  }
}

GaussLegendreTable GaussLegendre(int node_count) {
  return GaussLegendreTable(node_count);
}

}  // namespace tavrine

// Gauss–Legendre rule by bisection on the Legendre polynomial between the bracketing sines, with
// weights from the Christoffel sum 2 / Σ (2k + 1)·P_k(x)².
#include "field/gauss_legendre.h"

#include <cmath>

#include "model/text_rules.h"

namespace tavrine {
namespace {

// P_n(x) by the three-term recurrence.
double Legendre(int n, double x) {
  if (n == 0) {
    return 1.0;
  }
  double previous = 1.0, current = x;
  for (int k = 1; k < n; ++k) {
    const double next = ((2.0 * k + 1.0) * x * current - k * previous) / (k + 1.0);
    previous = current;
    current = next;
  }
  return current;
}

// The positive root of P_n in [a, b]: the last midpoint of the bisection.
double BisectRoot(int n, double a, double b) {
  double pa = Legendre(n, a);
  double p = 1.0, m = (a + b) / 2.0;
  while (std::abs(p) > 1e-10 && std::abs(a - b) > 1e-10) {
    m = (a + b) / 2.0;
    p = Legendre(n, m);
    if (p * pa > 0) {
      a = m;
      pa = p;
    } else {
      b = m;
    }
  }
  return m;
}

// Two Newton steps on P_n from the bisection's midpoint: the root to rounding, so that the far
// fields carry no error of the table (the bisection alone leaves about 1e-10 in the nodes).
double PolishRoot(int n, double x) {
  for (int step = 0; step < 2; ++step) {
    const double p = Legendre(n, x), previous = Legendre(n - 1, x);
    const double slope = n * (x * p - previous) / (x * x - 1.0);
    x -= slope != 0 ? p / slope : 0.0;
  }
  return x;
}

double Weight(int n, double x) {
  double sum = 0.0, previous = 0.0, current = 1.0;
  for (int k = 0; k < n; ++k) {
    sum += (2.0 * k + 1.0) * current * current;
    const double next = ((2.0 * k + 1.0) * x * current - k * previous) / (k + 1.0);
    previous = current;
    current = next;
  }
  return 2.0 / sum;
}

}  // namespace

GaussLegendreTable::GaussLegendreTable(int node_count) {
  const int n = node_count < 0 ? 0 : node_count;
  nodes_.assign(n, 0.0);
  weights_.assign(n, 0.0);
  const double pi = Pi();
  const int half = RoundToInt32(n / 2.0);
  for (int i = 1; i <= half; ++i) {
    const double a = std::sin((n - 2 * i) * pi / (2.0 * n));
    const double b = std::sin((n - 2 * i + 2) * pi / (2.0 * n));
    const double m = PolishRoot(n, BisectRoot(n, a, b));
    nodes_[n - i] = m;
    nodes_[i - 1] = -m;
  }
  turn_cos_.resize(n);
  turn_sin_.resize(n);
  for (int j = 0; j < n; ++j) {
    weights_[j] = Weight(n, nodes_[j]);
    turn_cos_[j] = std::cos(pi + pi * nodes_[j]);
    turn_sin_[j] = std::sin(pi + pi * nodes_[j]);
  }
}

GaussLegendreTable GaussLegendre(int node_count) {
  return GaussLegendreTable(node_count);
}

}  // namespace tavrine

// Gauss–Legendre rule by the Legendre recurrence, bisection of the roots to 1e-10 and the
// weights 2 / Σ (2k + 1)·P_k(x)².
#include "field/gauss_legendre.h"

#include <cmath>

#include "model/text_rules.h"

namespace tavrine {

namespace {

double LegendreP(int n, double x) {
  double previous = 1, current = x;
  if (n == 0) {
    return 1;
  }
  for (int k = 1; k < n; ++k) {
    const double next = ((2 * k + 1) * x * current - k * previous) / (k + 1);
    previous = current;
    current = next;
  }
  return current;
}

double WeightAt(int n, double x) {
  double previous = 1, current = x;
  double sum = 1;  // k = 0
  for (int k = 1; k < n; ++k) {
    sum += (2 * k + 1) * current * current;
    const double next = ((2 * k + 1) * x * current - k * previous) / (k + 1);
    previous = current;
    current = next;
  }
  return 2 / sum;
}

double BisectRoot(int n, int i) {
  const double pi = Pi();
  double a = std::sin((n - 2 * i) * pi / (2 * n));
  double b = std::sin((n - 2 * i + 2) * pi / (2 * n));
  double pa = LegendreP(n, a);
  double p = 1, m = a;
  while (std::abs(p) > 1e-10 && std::abs(a - b) > 1e-10) {
    m = (a + b) / 2;
    p = LegendreP(n, m);
    if (p * pa > 0) {
      a = m;
      pa = p;
    } else {
      b = m;
    }
  }
  return m;
}

}  // namespace

GaussLegendreTable::GaussLegendreTable(int n) {
  if (n <= 0) {
    return;
  }
  nodes_.assign(static_cast<size_t>(n), 0.0);
  for (int i = 1; i <= RoundToInt32(n / 2.0); ++i) {
    const double m = BisectRoot(n, i);
    nodes_[static_cast<size_t>(n - i)] = m;
    nodes_[static_cast<size_t>(i - 1)] = -m;
  }
  weights_.resize(static_cast<size_t>(n));
  for (size_t j = 0; j < nodes_.size(); ++j) {
    weights_[j] = WeightAt(n, nodes_[j]);
  }
}

GaussLegendreTable GaussLegendre(int node_count) {
  return GaussLegendreTable(node_count);
}

}  // namespace tavrine

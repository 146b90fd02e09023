// Adaptive Gauss–Legendre integration in long double for the exact references of the field
// tests: independent of the kernels' own rules and tables.
#pragma once

#include <array>
#include <cmath>
#include <functional>

namespace tavrine::testing {

using Ld = long double;
using Pair2 = std::array<Ld, 2>;

// 12-node Gauss–Legendre on [−1, 1] by Newton's method in long double.
struct Rule12 {
  Ld x[12], w[12];
  Rule12() {
    for (int i = 0; i < 12; ++i) {
      Ld t = std::cos(3.14159265358979323846L * (i + 0.75L) / 12.5L), dp = 1;
      for (int it = 0; it < 100; ++it) {
        Ld p0 = 1, p1 = t;
        for (int k = 2; k <= 12; ++k) {
          const Ld p2 = ((2 * k - 1) * t * p1 - (k - 1) * p0) / k;
          p0 = p1;
          p1 = p2;
        }
        dp = 12 * (t * p1 - p0) / (t * t - 1);
        t -= p1 / dp;
      }
      x[i] = t;
      w[i] = 2 / ((1 - t * t) * dp * dp);
    }
  }
};

inline Pair2 Panel(const std::function<Pair2(Ld)>& f, Ld a, Ld b) {
  static const Rule12 rule;
  Pair2 sum{0, 0};
  for (int i = 0; i < 12; ++i) {
    const Pair2 v = f((a + b) / 2 + (b - a) / 2 * rule.x[i]);
    sum[0] += rule.w[i] * v[0];
    sum[1] += rule.w[i] * v[1];
  }
  return {sum[0] * (b - a) / 2, sum[1] * (b - a) / 2};
}

// Adaptive bisection until each panel and its two halves agree to `tol` (absolute); a panel
// next to an integrable singularity stops at depth 40, far below the tolerance.
inline Pair2 Adaptive(const std::function<Pair2(Ld)>& f, Ld a, Ld b, Ld tol, int depth = 0) {
  const Ld m = (a + b) / 2;
  const Pair2 whole = Panel(f, a, b), left = Panel(f, a, m), right = Panel(f, m, b);
  const Pair2 halves{left[0] + right[0], left[1] + right[1]};
  if (depth > 40 ||
      std::fmax(std::abs(whole[0] - halves[0]), std::abs(whole[1] - halves[1])) < tol) {
    return halves;
  }
  const Pair2 l = Adaptive(f, a, m, tol, depth + 1), r = Adaptive(f, m, b, tol, depth + 1);
  return {l[0] + r[0], l[1] + r[1]};
}

// The same bisection for an integrand of N components, each panel split until every component
// of it and its two halves agree to `tol`.
template <size_t N, class F>
std::array<Ld, N> AdaptiveN(const F& f, Ld a, Ld b, Ld tol, int depth = 0) {
  static const Rule12 rule;
  auto panel = [&](Ld lo, Ld hi) {
    std::array<Ld, N> sum{};
    for (int i = 0; i < 12; ++i) {
      const std::array<Ld, N> v = f((lo + hi) / 2 + (hi - lo) / 2 * rule.x[i]);
      for (size_t k = 0; k < N; ++k) {
        sum[k] += rule.w[i] * v[k] * (hi - lo) / 2;
      }
    }
    return sum;
  };
  const Ld m = (a + b) / 2;
  const std::array<Ld, N> whole = panel(a, b), left = panel(a, m), right = panel(m, b);
  std::array<Ld, N> halves{};
  Ld worst = 0;
  for (size_t k = 0; k < N; ++k) {
    halves[k] = left[k] + right[k];
    worst = std::fmax(worst, std::abs(whole[k] - halves[k]));
  }
  if (depth > 40 || worst < tol) {
    return halves;
  }
  const std::array<Ld, N> l = AdaptiveN<N>(f, a, m, tol, depth + 1);
  const std::array<Ld, N> r = AdaptiveN<N>(f, m, b, tol, depth + 1);
  for (size_t k = 0; k < N; ++k) {
    halves[k] = l[k] + r[k];
  }
  return halves;
}

}  // namespace tavrine::testing

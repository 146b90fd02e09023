// Composite 10-node Gauss–Legendre sums over [0, length] on panels that double in length away
// from 0, for integrands whose nearest singularity lies about `scale` from 0 in the complex plane.
#pragma once

#include <cmath>

namespace tavrine {

// The positive half of the 10-node Gauss–Legendre rule on [−1, 1].
inline constexpr double kPanelNodes[5] = {0.14887433898163121088, 0.4333953941292471908,
                                          0.67940956829902440623, 0.86506336668898451073,
                                          0.97390652851717172008};
inline constexpr double kPanelWeights[5] = {0.29552422471475287017, 0.26926671930999635509,
                                            0.219086362515982044, 0.14945134915058059315,
                                            0.066671344308688137594};

// Panels [0, h], [h, 2h], [2h, 4h], … with h = scale: each panel lies at least its own length
// from the singularity, where 10 nodes give about 16 digits. With `growth` 3 the panels are
// [0, h], [h, 3h], [3h, 9h], …, each half its length from the singularity, where 10 nodes still
// give about 12 digits on a third fewer panels. A scale below 1e-9·length is raised to it, so a
// point on the singularity itself still gets a finite, nearly exact sum. Calls emit(t, w) for
// every node t in [0, length] with its weight w.
template <class Emit>
void GradedPanelNodes(double length, double scale, const Emit& emit, double growth = 2) {
  if (!(length > 0)) {
    return;
  }
  double lo = 0, hi = std::fmin(length, std::fmax(scale, 1e-9 * length));
  for (;;) {
    const double half = (hi - lo) / 2, mid = (hi + lo) / 2;
    for (int k = 0; k < 5; ++k) {
      emit(mid - half * kPanelNodes[k], half * kPanelWeights[k]);
      emit(mid + half * kPanelNodes[k], half * kPanelWeights[k]);
    }
    if (hi >= length) {
      return;
    }
    lo = hi;
    hi = std::fmin(growth * hi, length);
  }
}

// ∫ f over [0, length] on the graded panels.
template <class F>
double GradedIntegral(double length, double scale, const F& f) {
  double sum = 0;
  GradedPanelNodes(length, scale, [&](double t, double w) { sum += w * f(t); });
  return sum;
}

}  // namespace tavrine

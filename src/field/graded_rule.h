// A composite Gauss–Legendre rule over an angle interval, its panels doubling in width away from
// one angle: a near-singularity at distance δ from that angle costs O(log(L/δ)) panels.
#pragma once

#include <array>
#include <vector>

namespace tavrine {

// Nodes and weights (rad) of one graded rule; fixed capacity, so filling never allocates.
struct GradedNodes {
  static constexpr int kCapacity = 2048;
  int size = 0;
  std::array<double, kCapacity> angle, weight;
};

class GradedRule {
 public:
  static constexpr int kPanelNodes = 10;
  GradedRule();
  // [lo, hi] split at `at` (clamped into it); the two panels next to it are `first` wide and
  // every further one twice the previous. `first` is raised to keep within the capacity. With
  // `also` (another near-singular angle, such as the point's angle a turn away) the interval is
  // halved between the two and each half graded toward its own.
  void Fill(double lo, double hi, double at, double first, GradedNodes& out) const;
  void Fill(double lo, double hi, double at, double also, double first, GradedNodes& out) const;

  // The same grading over half a turn on each side of a point, from tables: panels
  // [π/2^(j+1), π/2^j] for j below `levels`, then [0, π/2^levels]; offsets from the point's
  // angle as cos, sin and weight. `levels` is the least with π/2^levels ≤ `first`.
  struct HalfTurn {
    const double *cos, *sin, *weight;
    int outer, inner;  // node counts: the outer panels, then the innermost one
    const double *inner_cos, *inner_sin, *inner_weight;
  };
  static constexpr int kTurnLevels = 48;
  HalfTurn HalfTurnNodes(double first) const;

 private:
  void Append(double lo, double hi, double at, double first, GradedNodes& out) const;
  void AddPanel(double a, double b, GradedNodes& out) const;
  std::array<double, kPanelNodes> nodes_, weights_;
  std::vector<double> outer_;  // cos, sin, weight blocks of kTurnLevels panels each
  std::vector<double> inner_;  // cos, sin, weight blocks of kTurnLevels + 1 panels each
};

}  // namespace tavrine

// Graded composite rule on a 10-node Gauss–Legendre panel whose nodes are Newton-refined to
// rounding (the bisection table is good to about 1e-10 only).
#include "field/graded_rule.h"

#include <algorithm>
#include <cmath>

#include "model/text_rules.h"

namespace tavrine {
namespace {

// P_n(x) and P_n'(x) by the three-term recurrence.
std::pair<double, double> LegendreAndSlope(int n, double x) {
  double previous = 1.0, current = x;
  for (int k = 1; k < n; ++k) {
    const double next = ((2.0 * k + 1.0) * x * current - k * previous) / (k + 1.0);
    previous = current;
    current = next;
  }
  return {current, n * (x * current - previous) / (x * x - 1.0)};
}

// Panels per side at most; the rule has room for both sides.
constexpr int kMaxPanelsPerSide = GradedNodes::kCapacity / (4 * GradedRule::kPanelNodes);

}  // namespace

GradedRule::GradedRule() {
  const int n = kPanelNodes;
  for (int i = 0; i < n; ++i) {
    double x = -std::cos(Pi() * (i + 0.75) / (n + 0.5));
    for (int step = 0; step < 100; ++step) {
      const auto [p, dp] = LegendreAndSlope(n, x);
      const double dx = p / dp;
      x -= dx;
      if (std::abs(dx) < 1e-17) {
        break;
      }
    }
    const double dp = LegendreAndSlope(n, x).second;
    nodes_[i] = x;
    weights_[i] = 2.0 / ((1.0 - x * x) * dp * dp);
  }
  const int outer = kTurnLevels * n, inner = (kTurnLevels + 1) * n;
  outer_.resize(3 * outer);
  inner_.resize(3 * inner);
  GradedNodes panel;
  for (int level = 0; level <= kTurnLevels; ++level) {
    const double edge = std::ldexp(Pi(), -level);
    for (int kind = 0; kind < 2; ++kind) {  // the panel below `edge`, then the innermost one
      if (kind == 0 && level == kTurnLevels) {
        continue;
      }
      panel.size = 0;
      AddPanel(kind == 0 ? edge / 2 : 0.0, edge, panel);
      double* block = kind == 0 ? outer_.data() : inner_.data();
      const int stride = kind == 0 ? outer : inner;
      for (int k = 0; k < n; ++k) {
        block[level * n + k] = std::cos(panel.angle[k]);
        block[stride + level * n + k] = std::sin(panel.angle[k]);
        block[2 * stride + level * n + k] = panel.weight[k];
      }
    }
  }
}

GradedRule::HalfTurn GradedRule::HalfTurnNodes(double first) const {
  int levels = 1;
  while (levels < kTurnLevels && std::ldexp(Pi(), -levels) > first) {
    ++levels;
  }
  const int n = kPanelNodes, outer = kTurnLevels * n, inner = (kTurnLevels + 1) * n;
  const double* o = outer_.data();
  const double* i = inner_.data() + levels * n;
  return {o, o + outer, o + 2 * outer, levels * n, n, i, i + inner, i + 2 * inner};
}

void GradedRule::AddPanel(double a, double b, GradedNodes& out) const {
  const double half = (b - a) / 2, mid = (a + b) / 2;
  for (int k = 0; k < kPanelNodes; ++k) {
    out.angle[out.size] = mid + half * nodes_[k];
    out.weight[out.size] = half * weights_[k];
    ++out.size;
  }
}

void GradedRule::Fill(double lo, double hi, double at, double first, GradedNodes& out) const {
  out.size = 0;
  Append(lo, hi, at, first, out);
}

void GradedRule::Fill(
    double lo, double hi, double at, double also, double first, GradedNodes& out) const {
  out.size = 0;
  const double a = std::clamp(std::min(at, also), lo, hi);
  const double b = std::clamp(std::max(at, also), lo, hi);
  if (b - a <= 4 * first) {
    Append(lo, hi, at, first, out);
    return;
  }
  Append(lo, (a + b) / 2, a, first, out);
  Append((a + b) / 2, hi, b, first, out);
}

void GradedRule::Append(double lo, double hi, double at, double first, GradedNodes& out) const {
  at = std::clamp(at, lo, hi);
  const double widest = std::max(at - lo, hi - at);
  first = std::max(first, std::ldexp(widest, 2 - kMaxPanelsPerSide));
  for (int side = 0; side < 2; ++side) {
    const double end = side == 0 ? at - lo : hi - at;  // distances from `at`
    double from = 0, width = first;
    while (from < end) {
      const double to = from + width < end ? from + width : end;
      if (side == 0) {
        AddPanel(at - to, at - from, out);
      } else {
        AddPanel(at + from, at + to, out);
      }
      from = to;
      width = from;
    }
  }
}

}  // namespace tavrine

// Field of an RH-type magnet: the charge (Br/4π)·cos θ on the curved surface, height integral in
// closed form, angle on the 100 full-turn nodes. Works in the point's x, y directly, so the
// squared horizontal distance to a surface line is a sum of squares and never negative.
#include <algorithm>
#include <cmath>

#include "field/local_fields.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

// Within 0.4·R of the curved surface the 100 fixed nodes lose digits (1e-9 at about 0.3·R).
constexpr double kRhNearFactor = 0.4;
// Nearer than 0.1·R even the turned nodes, crowded at the point's angle, lose digits.
constexpr double kRhGradedFactor = 0.1;

struct RhSums {
  double x = 0, y = 0, z = 0;
  double undefined = 0;
};

// Σ w·cosθ·(…) of the three integrands; a node on the point's surface line (d·A·B = 0)
// contributes 0.
__attribute__((target_clones("avx2", "default"))) RhSums RhNodes(const double* __restrict c_theta,
                                                                 const double* __restrict s_theta,
                                                                 const double* __restrict weight,
                                                                 int n,
                                                                 double radius,
                                                                 double x,
                                                                 double y,
                                                                 double top,
                                                                 double bottom) {
  double sx = 0, sy = 0, sz = 0;
  double undefined = 0;
#pragma omp simd reduction(+ : sx, sy, sz, undefined)
  for (int k = 0; k < n; ++k) {
    const double c = c_theta[k];
    const double dx = x - radius * c, dy = y - radius * s_theta[k];
    const double d = dx * dx + dy * dy;
    const double a = std::sqrt(top * top + d), b = std::sqrt(d + bottom * bottom);
    const double dab = d * a * b;
    const bool ok = dab != 0;
    const double inv = ok ? 1.0 / (ok ? dab : 1.0) : 0.0;
    const double wc = weight[k] * c;
    const double height = (bottom * a - top * b) * inv;  // ((HT + z)/B − z/A)/d
    sx += wc * dx * height;
    sy += wc * dy * height;
    sz += wc * (b - a) * d * inv;  // 1/A − 1/B
    undefined += ok ? 0.0 : 1.0;
  }
  return {sx, sy, sz, undefined};
}

// Node cos, sin and weight (in units of π) at the point's angle (cos ca, sin ca) plus each
// offset, and `stride` entries on at the angle minus it.
void AddTurnNodes(double ca,
                  double sa,
                  const double* __restrict co,
                  const double* __restrict so,
                  const double* __restrict wo,
                  int count,
                  int stride,
                  double* __restrict c,
                  double* __restrict s,
                  double* __restrict w) {
  const double inv_pi = 1 / Pi();
#pragma omp simd
  for (int j = 0; j < count; ++j) {
    c[j] = ca * co[j] - sa * so[j];
    s[j] = sa * co[j] + ca * so[j];
    c[stride + j] = ca * co[j] + sa * so[j];
    s[stride + j] = sa * co[j] - ca * so[j];
    w[j] = wo[j] * inv_pi;
    w[stride + j] = w[j];
  }
}

// Near the curved surface the integrand in θ peaks at the point's own angle with a width of
// about distance/R: there the rule is graded toward that angle over the half turns on either
// side, from tables of the offsets' cos and sin.
RhSums NearSums(const RhMag& m, const Vec3& p, double distance, const GradedRule& rule) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y);
  const double ca = rho > 0 ? p.x / rho : 1.0, sa = rho > 0 ? p.y / rho : 0.0;
  const GradedRule::HalfTurn half = rule.HalfTurnNodes(distance / std::max(rho, m.R));
  alignas(64) double values[3 * 2 * GradedRule::kPanelNodes * (GradedRule::kTurnLevels + 1)];
  const int n = 2 * (half.outer + half.inner);
  double* c = values;
  double* s = c + n;
  double* w = s + n;
  AddTurnNodes(ca, sa, half.cos, half.sin, half.weight, half.outer, n / 2, c, s, w);
  AddTurnNodes(ca, sa, half.inner_cos, half.inner_sin, half.inner_weight, half.inner, n / 2,
               c + half.outer, s + half.outer, w + half.outer);
  return RhNodes(c, s, w, n, m.R, p.x, p.y, p.z, m.HT + p.z);
}

// With the point on angle 0 the nodes at ±θ see the same distances, so each pair is one
// evaluation: Σ over θ in (0, π) of w·cosθ·(…) for x and z and of w·sinθ·(…) for y.
__attribute__((target_clones("avx2", "default"))) RhSums PairedNodes(
    const double* __restrict c_theta,
    const double* __restrict s_theta,
    const double* __restrict weight,
    int n,
    double radius,
    double rho,
    double top,
    double bottom) {
  double sx = 0, sy = 0, sz = 0;
#pragma omp simd reduction(+ : sx, sy, sz)
  for (int k = 0; k < n; ++k) {
    const double c = c_theta[k], s = s_theta[k];
    const double dx = rho - radius * c, dy = -radius * s;
    const double d = dx * dx + dy * dy;
    const double a = std::sqrt(top * top + d), b = std::sqrt(d + bottom * bottom);
    const double inv = 1.0 / (d * a * b);
    const double height = (bottom * a - top * b) * inv;
    sx += weight[k] * c * dx * height;
    sy += weight[k] * s * dy * height;
    sz += weight[k] * c * (b - a) * d * inv;
  }
  return {sx, sy, sz, 0};
}

// Between the graded and the fixed rule's reach: the fixed nodes with the point turned onto
// angle 0, where the full-turn nodes crowd at both ends of their interval. The charge
// cos(θ + φ) of a pair ±θ adds to 2·cosφ·cosθ in x and z and to −2·sinφ·sinθ in y; the sums
// are turned back. The table is symmetric, so its first half holds one node of each pair.
RhSums TurnedSums(const RhMag& m, const Vec3& p, const GaussLegendreTable& table) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y), ca = p.x / rho, sa = p.y / rho;
  const RhSums pairs =
      PairedNodes(table.TurnCos().data(), table.TurnSin().data(), table.Weights().data(),
                  table.Size() / 2, m.R, rho, p.z, m.HT + p.z);
  const double x = 2 * ca * pairs.x, y = -2 * sa * pairs.y;
  return {ca * x - sa * y, sa * x + ca * y, 2 * ca * pairs.z, 0};
}

}  // namespace

MagnetReach RhMagReachOf(const RhMag& m, const Vec3& p) {
  const double beyond = std::max({0.0, p.z, -m.HT - p.z});
  const double gap = std::sqrt(p.x * p.x + p.y * p.y) - m.R;
  const double distance = std::sqrt(gap * gap + beyond * beyond);
  return {distance, distance < kRhNearFactor * m.R, distance <= 1e-12 * m.R};
}

Vec3 RhMagLocalField(const RhMag& m,
                     const Vec3& p,
                     const FieldQuadrature& quadrature,
                     Notices& notices) {
  const MagnetReach reach = RhMagReachOf(m, p);
  RhSums sums;
  if (reach.near && reach.distance < kRhGradedFactor * m.R) {
    sums = NearSums(m, p, reach.distance, quadrature.graded);
  } else if (reach.near) {
    sums = TurnedSums(m, p, quadrature.rh);
  } else {
    const GaussLegendreTable& table = quadrature.rh;
    sums = RhNodes(table.TurnCos().data(), table.TurnSin().data(), table.Weights().data(),
                   table.Size(), m.R, p.x, p.y, p.z, m.HT + p.z);
  }
  if (sums.undefined > 0 || reach.on_edge) {
    notices.Raise(NoticeId::Caution3);
  }
  const double scale = Pi() * m.R * (m.Br / (4 * Pi()));
  return {sums.x * scale, sums.y * scale, sums.z * scale};
}

}  // namespace tavrine

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

// Near the curved surface the integrand in θ peaks at the point's own angle with a width of
// about distance/R: there the rule is graded toward that angle over the full turn around it.
RhSums NearSums(const RhMag& m, const Vec3& p, double distance, const GradedRule& rule) {
  const double at = std::atan2(p.y, p.x);
  GradedNodes nodes;
  rule.Fill(at - Pi(), at + Pi(), at, distance / std::max(std::hypot(p.x, p.y), m.R), nodes);
  const int n = nodes.size;
  double values[3 * GradedNodes::kCapacity];
  double *c = values, *s = c + n, *w = s + n;
  BatchCosSin(nodes.angle.data(), c, s, n);
  for (int k = 0; k < n; ++k) {
    w[k] = nodes.weight[k] / Pi();
  }
  return RhNodes(c, s, w, n, m.R, p.x, p.y, p.z, m.HT + p.z);
}

}  // namespace

MagnetReach RhMagReachOf(const RhMag& m, const Vec3& p) {
  const double beyond = std::max({0.0, p.z, -m.HT - p.z});
  const double gap = std::hypot(p.x, p.y) - m.R;
  const double distance = std::hypot(gap, beyond);
  return {distance, distance < kRhNearFactor * m.R, distance <= 1e-12 * m.R};
}

Vec3 RhMagLocalField(const RhMag& m,
                     const Vec3& p,
                     const FieldQuadrature& quadrature,
                     Notices& notices) {
  const MagnetReach reach = RhMagReachOf(m, p);
  RhSums sums;
  if (reach.near) {
    sums = NearSums(m, p, reach.distance, quadrature.graded);
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

// Field of an RH-type magnet: the charge (Br/4π)·cos θ on the curved surface, height integral in
// closed form, angle on the 100 full-turn nodes. Works in the point's x, y directly, so the
// squared horizontal distance to a surface line is a sum of squares and never negative.
#include <cmath>

#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

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

}  // namespace

Vec3 RhMagLocalField(const RhMag& m,
                     const Vec3& p,
                     const FieldQuadrature& quadrature,
                     Notices& notices) {
  const GaussLegendreTable& table = quadrature.rh;
  const RhSums sums = RhNodes(table.TurnCos().data(), table.TurnSin().data(),
                              table.Weights().data(), table.Size(), m.R, p.x, p.y, p.z, m.HT + p.z);
  if (sums.undefined > 0) {
    notices.Raise(NoticeId::Caution3);
  }
  const double scale = Pi() * m.R * (m.Br / (4 * Pi()));
  return {sums.x * scale, sums.y * scale, sums.z * scale};
}

}  // namespace tavrine

// Biot–Savart fields of the four current-element kinds in their own frames (mm, A/mm² → Oe):
// away from the conductor one direction in closed form and the others on the 50-node rule, node
// loops vectorised; next to it, and for the round-wire arc everywhere, the exact forms of
// field/conductor_fields.h.
#include <cmath>

#include "field/arc_z_sums.h"
#include "field/conductor_fields.h"
#include "field/graded_panels.h"
#include "field/local_fields.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

constexpr int kMaxNodes = 128;  // the coil rule has 50 nodes; larger tables use the heap

// Node rows padded to whole vectors of eight: the padding nodes get weight 0 and cos 1, sin 0,
// so the vector loops run without a scalar tail and the padding adds exactly 0.
int Padded(int n) {
  return (n + 7) / 8 * 8;
}

// Up to eight padded node rows, on the stack for the usual node counts.
class Scratch {
 public:
  Scratch(int n, int rows)
      : stride_(Padded(n)), heap_(stride_ > kMaxNodes ? static_cast<size_t>(stride_) * rows : 0) {}
  int Stride() const { return stride_; }
  double* Row(int row) { return (heap_.empty() ? stack_ : heap_.data()) + row * stride_; }

 private:
  int stride_;
  double stack_[8 * kMaxNodes];
  std::vector<double> heap_;
};

// Copies n values into a padded row and fills the padding with `pad`.
double* PadRow(double* row, const double* values, int n, int stride, double pad) {
  for (int k = 0; k < stride; ++k) {
    row[k] = k < n ? values[k] : pad;
  }
  return row;
}

// cos and sin of the nodes (α/2)·x_k over [−α/2, α/2], from half of them by symmetry.
void ArcAngles(const GaussLegendreTable& table, double half_angle, double* c, double* s) {
  const int n = table.Size(), half = (n + 1) / 2;
  for (int k = 0; k < half; ++k) {
    c[k] = half_angle * table.Nodes()[k];
  }
  BatchCosSin(c, c, s, half);
  for (int k = half; k < n; ++k) {
    c[k] = c[n - 1 - k];
    s[k] = -s[n - 1 - k];
  }
  for (int k = n; k < Padded(n); ++k) {
    c[k] = 1;
    s[k] = 0;
  }
}

struct Pair {
  double a = 0, b = 0;
};

// (Q − a)/(Q + a) with Q = sqrt(a² + b2) as num/den, without the cancellation of Q − a for a > 0.
inline __attribute__((always_inline)) Pair EdgeRatio(double a, double b2, double big_q) {
  return a > 0 ? Pair{b2, (big_q + a) * (big_q + a)} : Pair{(big_q - a) * (big_q - a), b2};
}

// Rectangular straight wire: per sheet height the log ratio, and the four arctangents paired as
// atan A + atan B = atan2(A + B, 1 − A·B) (exact while each lies in (−π/2, π/2)).
__attribute__((target_clones("avx2", "default"))) void StrRecArgs(const double* __restrict nodes,
                                                                  int n,
                                                                  double t_half,
                                                                  double t_mid,
                                                                  double z,
                                                                  double p,
                                                                  double q,
                                                                  double u,
                                                                  double v,
                                                                  double* __restrict pairs,
                                                                  double* __restrict logs) {
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const double e = t_half * nodes[k] + t_mid - z;
    const bool ok = e != 0;
    const double ee = e * e, ed = ok ? e : 1.0;
    const double qu = std::sqrt(q * q + u * u + ee), qv = std::sqrt(q * q + v * v + ee);
    const double pu = std::sqrt(p * p + u * u + ee), pv = std::sqrt(p * p + v * v + ee);
    const double a1 = ok ? q * u / (ed * qu) : 0.0, b1 = ok ? q * v / (ed * qv) : 0.0;
    const double a2 = ok ? p * v / (ed * pv) : 0.0, b2 = ok ? p * u / (ed * pu) : 0.0;
    pairs[k] = a1 + b1;
    pairs[n + k] = 1 - a1 * b1;
    pairs[2 * n + k] = a2 + b2;
    pairs[3 * n + k] = 1 - a2 * b2;
    const Pair rqv = EdgeRatio(q, v * v + ee, qv), rqu = EdgeRatio(q, u * u + ee, qu);
    const Pair rpv = EdgeRatio(p, v * v + ee, pv), rpu = EdgeRatio(p, u * u + ee, pu);
    const double num = rqv.a * rqu.b * rpv.a * rpu.b, den = rqv.b * rqu.a * rpv.b * rpu.a;
    logs[k] = ok && num > 0 && den > 0 ? num / den : 1.0;
  }
}

// log(|x + X|) with X = sqrt(x² + d) as num/den: x + X = d/(X − x) where x < 0.
inline __attribute__((always_inline)) Pair RimSum(double x, double big_x, double d) {
  return x >= 0 ? Pair{x + big_x, 1.0} : Pair{d, big_x - x};
}

// Rectangular-wire arc, x and y: per θ node the four edge distances and the log argument, as
// ln(num/den) with r − a + D taken as (e² + zz)/(D − (r − a)) where r − a < 0.
__attribute__((target_clones("avx2", "default"))) void SecRecEdges(const double* __restrict c_theta,
                                                                   const double* __restrict s_theta,
                                                                   int n,
                                                                   double x,
                                                                   double y,
                                                                   double z0,
                                                                   double z1,
                                                                   double ri,
                                                                   double ro,
                                                                   double* __restrict bracket,
                                                                   double* __restrict ratio) {
  const double zz0 = z0 * z0, zz1 = z1 * z1;
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const double c = c_theta[k], s = s_theta[k];
    const double a = x * c + y * s, e = x * s - y * c, ee = e * e;
    const double xo = x - ro * c, yo = y - ro * s, xi = x - ri * c, yi = y - ri * s;
    const double ho = xo * xo + yo * yo, hi = xi * xi + yi * yi;
    const double d0o = std::sqrt(ho + zz0), d0i = std::sqrt(hi + zz0);
    const double d1o = std::sqrt(ho + zz1), d1i = std::sqrt(hi + zz1);
    const Pair t0o = RimSum(ro - a, d0o, ee + zz0), t1i = RimSum(ri - a, d1i, ee + zz1);
    const Pair t0i = RimSum(ri - a, d0i, ee + zz0), t1o = RimSum(ro - a, d1o, ee + zz1);
    const double num = t0o.a * t1i.a * t0i.b * t1o.b, den = t0o.b * t1i.b * t0i.a * t1o.a;
    const bool ok = num > 0 && den > 0;
    ratio[k] = ok ? num / (ok ? den : 1.0) : 1.0;
    bracket[k] = d1i + d0o - d0i - d1o;
    bracket[n + k] = a;
  }
}

// Rectangular-wire arc, z: Σ_i W_i Σ_k w_k·(z/(q·E0) − (T + z)/(q·E1))·r_i·(a_k − r_i) over the
// radii (outer) and the node angles (inner). As a − r = −u, that is −Σ_i W_i·r_i·S(r_i) with the
// row sums S of field/arc_z_sums.h, times z0² − z1² for a point above or below the conductor.
double SecRecZ(const ArcRows& rows,
               const double* radii,
               const double* radial_weight,
               int n_radii,
               double z0,
               double z1) {
  const bool same_side = z0 * z1 > 0;
  double total = 0;
  for (int i = 0; i < n_radii; ++i) {
    total += radial_weight[i] * radii[i] * SecRecZRow(rows, radii[i], z0, z1, same_side);
  }
  return same_side ? -((z0 - z1) * (z0 + z1)) * total : -total;
}

}  // namespace

Vec3 StrCylCoilLocalField(const StrCylCoil& c, const Vec3& p, const FieldQuadrature&) {
  return StrCylCoilRimField(c, p);
}

Vec3 StrRecCoilLocalField(const StrRecCoil& c, const Vec3& p, const FieldQuadrature& q) {
  // The sheet rule over the height is exact to rounding once the point is a quarter of the
  // height away from the bar; nearer, the sheets next to the point need the closed form.
  if (StrRecCoilDistance(c, p) < c.T / 4) {
    return StrRecCoilClosedForm(c, p);
  }
  const GaussLegendreTable& table = q.coil;
  const int n = table.Size();
  Scratch scratch(n, 5);
  double* pairs = scratch.Row(0);  // four rows of n, the last within the fifth row's padding
  double* logs = scratch.Row(4);
  StrRecArgs(table.Nodes().data(), n, c.T / 2, -c.T / 2, p.z, c.Lx / 2 + p.x, c.Lx / 2 - p.x,
             c.W / 2 + p.y, c.W / 2 - p.y, pairs, logs);
  BatchAtan2(pairs, pairs + n, pairs, n);
  BatchAtan2(pairs + 2 * n, pairs + 3 * n, pairs + 2 * n, n);
  BatchLog(logs, n);
  double sy = 0, sz = 0;
  for (int k = 0; k < n; ++k) {
    const double w = table.Weights()[k];
    sy += w * (pairs[k] + pairs[2 * n + k]);
    sz += w * logs[k];
  }
  const double j = c.CurrentDensity, half = c.T / 2;
  return {0, half * (j * sy), half * (-(j / 2) * sz)};
}

// The 50 × 50 rule over the heights keeps the square-root ends of the cross-section's width and
// is off by parts per million even far away: the graded slices are exact everywhere.
Vec3 SecCylCoilLocalField(const SecCylCoil& c, const Vec3& p, const FieldQuadrature&) {
  return SecCylCoilSliceField(c, p);
}

Vec3 SecRecCoilLocalField(const SecRecCoil& c, const Vec3& p, const FieldQuadrature& q) {
  Vec3 mapped;
  if (SecRecCoilMappedField(c, p, mapped)) {
    return mapped;
  }
  if (SecRecCoilIsNear(c, p)) {
    return SecRecCoilSliceField(c, p);
  }
  const GaussLegendreTable& table = q.coil;
  const int n = table.Size();
  Scratch scratch(n, 7);
  const int np = scratch.Stride();
  double* cos_theta = scratch.Row(0);
  double* sin_theta = scratch.Row(1);
  const double* weight = PadRow(scratch.Row(2), table.Weights().data(), n, np, 0);
  double* bracket = scratch.Row(3);  // and the radial coordinate a right after it
  double* ratio = scratch.Row(5);
  ArcAngles(table, c.Angle / 2, cos_theta, sin_theta);
  SecRecEdges(cos_theta, sin_theta, n, p.x, p.y, p.z, p.z + c.T, c.Ri, c.Ro, bracket, ratio);
  BatchLog(ratio, n);
  const double j = c.CurrentDensity;
  double sx = 0, sy = 0;
  for (int k = 0; k < n; ++k) {
    const double g = (bracket[k] + bracket[n + k] * ratio[k]) * j;
    sx += table.Weights()[k] * g * cos_theta[k];
    sy += table.Weights()[k] * g * sin_theta[k];
  }
  // Radii: a cross-section's width or more away from it, 10 nodes are as exact as the 50.
  double* radii = scratch.Row(6);
  double coarse_weights[10];
  const bool coarse = SecRecCoilEdgeDistance(c, p) >= c.Ro - c.Ri;
  const int n_radii = coarse ? 10 : n;
  for (int i = 0; i < n_radii; ++i) {
    const double node = coarse ? (i < 5 ? -kPanelNodes[i] : kPanelNodes[i - 5]) : table.Nodes()[i];
    radii[i] = (c.Ro - c.Ri) / 2 * node + (c.Ro + c.Ri) / 2;
  }
  for (int i = 0; i < 10; ++i) {
    coarse_weights[i] = kPanelWeights[i % 5];
  }
  double* along = scratch.Row(3);  // the x/y rows are spent
  double* across = scratch.Row(4);
  for (int k = 0; k < np; ++k) {
    const double e = p.x * sin_theta[k] - p.y * cos_theta[k];
    along[k] = p.x * cos_theta[k] + p.y * sin_theta[k];
    across[k] = e * e;
  }
  const double sz =
      SecRecZ({along, across, weight, np}, radii, coarse ? coarse_weights : table.Weights().data(),
              n_radii, p.z, p.z + c.T);
  const double half = c.Angle / 2;
  return {sx * half, sy * half, sz * j * ((c.Ro - c.Ri) * c.Angle / 4)};
}

}  // namespace tavrine

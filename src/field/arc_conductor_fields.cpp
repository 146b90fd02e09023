// Exact fields of the arcs in their own frames (mm, A/mm² → Oe). Rectangular wire: the radial and
// height integrals of each radial slice in closed form, the angle on panels graded towards the
// point's own azimuth and the arc's ends. Round wire: the radial integral in closed form, the
// height and the angle on rules sized or graded by the singularities' distance.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "field/conductor_fields.h"
#include "field/graded_panels.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

// The graded angle nodes of one point and their weights.
struct SliceNodes {
  std::vector<double> theta, weight;
  // Angle pieces graded from `from` towards `to` (either order).
  void AddPiece(double from, double to, double scale) {
    const double sign = to >= from ? 1.0 : -1.0;
    GradedPanelNodes(std::abs(to - from), scale, [&](double t, double w) {
      theta.push_back(from + sign * t);
      weight.push_back(w);
    });
  }
};

// Angular distance from θ to the nearest image of the azimuth φ.
double AngleGap(double theta, double phi) {
  return std::abs(std::remainder(theta - phi, 2 * Pi()));
}

// [lo, hi] halved, each half graded from its own end: from the scale of the singularities or
// from the angle to the point's azimuth, whichever is larger.
void AddInterval(SliceNodes& nodes, double lo, double hi, double phi, double tau) {
  const double mid = (lo + hi) / 2;
  nodes.AddPiece(lo, mid, std::fmax(tau, AngleGap(lo, phi)));
  nodes.AddPiece(hi, mid, std::fmax(tau, AngleGap(hi, phi)));
}

// Per node: cos θ, sin θ, a = x·cosθ + y·sinθ, e = x·sinθ − y·cosθ, the radial and axial slice
// sums, and three scratch rows for the batched logarithms and arctangents.
struct SliceRows {
  explicit SliceRows(int n) : n_(n), data_(static_cast<size_t>(n) * 9) {}
  double* Row(int k) { return data_.data() + static_cast<ptrdiff_t>(k) * n_; }

 private:
  int n_;
  std::vector<double> data_;
};

// One corner (u = r − a, w) of every slice, added with `sign`: the primitives of (u + a)·w/Q³
// (radial, −Q − a·ln(u + Q)) and of (u + a)·u/Q³ (axial, w·ln(u + Q) − e·atan(uw/(eQ)) −
// a·ln(w + Q)), Q = sqrt(u² + e² + w²); a term whose factor is 0 is taken as its limit 0.
void AddCorner(SliceRows& rows, int n, double r, double w, double sign) {
  const double *a = rows.Row(2), *e = rows.Row(3);
  double *radial = rows.Row(4), *axial = rows.Row(5);
  double *log_u = rows.Row(6), *log_w = rows.Row(7), *turn = rows.Row(8);
  const double ww = w * w;
  for (int k = 0; k < n; ++k) {
    const double u = r - a[k], uu = u * u, ee = e[k] * e[k], q = std::sqrt(uu + ww + ee);
    log_u[k] = u >= 0 ? u + q : (ee + ww) / (q - u);
    log_w[k] = w >= 0 ? w + q : (uu + ee) / (q - w);
    turn[k] = e[k] != 0 ? u * w / (e[k] * q) : 0.0;
    radial[k] -= sign * q;
  }
  BatchLog(log_u, n);
  BatchLog(log_w, n);
  BatchAtan(turn, n);
  for (int k = 0; k < n; ++k) {
    const double ak = a[k];
    const double a_log_u = ak != 0 ? ak * log_u[k] : 0.0, a_log_w = ak != 0 ? ak * log_w[k] : 0.0;
    const double w_log_u = w != 0 ? w * log_u[k] : 0.0;
    radial[k] -= sign * a_log_u;
    axial[k] += sign * (w_log_u - e[k] * turn[k] - a_log_w);
  }
}

// Distance in the (r, z) half-plane from (ρ, z) to the edges of the cross-section rectangle
// Ri…Ro × −T…0 (inside it as outside): where the slices' integrands turn singular.
double EdgeDistance(const SecRecCoil& c, double rho, double z) {
  const double dr = std::fmax(std::fmax(c.Ri - rho, rho - c.Ro), 0.0);
  const double dz = std::fmax(std::fmax(-c.T - z, z), 0.0);
  if (dr > 0 || dz > 0) {
    return std::hypot(dr, dz);
  }
  return std::fmin(std::fmin(rho - c.Ri, c.Ro - rho), std::fmin(-z, z + c.T));
}

// Round-wire arc, per node (a slice at angle θ, where a and c are the point's radial and across
// coordinates, and a height ζ = rwire·sin β of the cross-section, half-width s = rwire·cos β): the
// radial bracket times z − ζ and the axial bracket without its log, whose argument goes to
// ratio[k]. The differences that cancel for a point beside the span (l·m > 0) are taken in their
// exact forms; a point on a node itself gives 0 there.
struct Brackets {
  double radial = 0, axial = 0, ratio = 1;
};

inline __attribute__((always_inline)) Brackets RoundWireBrackets(
    double a, double c, double zeta, double s, double z, double radius) {
  const double dz = z - zeta, d = dz * dz + c * c;
  const double l = radius + s - a, m = radius - s - a;
  const double big_a = std::sqrt(l * l + d), big_b = std::sqrt(m * m + d), ab = big_a * big_b;
  const bool ok = d > 0 && ab > 0;
  const double squares = 2 * s * (l + m);  // l² − m²
  const double safe_ab = ok ? ab : 1.0;
  // (A − B)/(A·B) and (l·B − m·A)/(d·A·B), one division each
  const double a_minus_b = squares / ((big_a + big_b) * safe_ab);
  const bool beside = l * m > 0;
  const double den = beside ? (l * big_b + m * big_a) : (ok ? d : 1.0);
  const double spread = (beside ? squares : l * big_b - m * big_a) / (den * safe_ab);
  // |l + A|/|m + B| with x + X taken as d/(X − x) where x < 0, as one quotient
  const double top = l >= 0 ? l + big_a : d, top_den = l >= 0 ? 1.0 : big_a - l;
  const double bottom = m >= 0 ? m + big_b : d, bottom_den = m >= 0 ? 1.0 : big_b - m;
  return {ok ? (a * spread + a_minus_b) * dz : 0.0, ok ? -spread * d + a * a_minus_b : 0.0,
          ok ? (top * bottom_den) / (top_den * bottom) : 1.0};
}

__attribute__((target_clones("avx2", "default"))) void RoundWireNodes(
    const double* __restrict along,
    const double* __restrict beside,
    const double* __restrict zeta,
    const double* __restrict half_width,
    int n,
    double z,
    double radius,
    double* __restrict radial,
    double* __restrict axial,
    double* __restrict ratio) {
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const Brackets b = RoundWireBrackets(along[k], beside[k], zeta[k], half_width[k], z, radius);
    radial[k] = b.radial;
    axial[k] = b.axial;
    ratio[k] = b.ratio;
  }
}

struct Sums {
  double x = 0, y = 0, z = 0;
};

// One height over all the angle nodes: Σ w·cosθ·radial, Σ w·sinθ·radial and Σ w·axial, the log
// arguments to ratio[k].
__attribute__((target_clones("avx2", "default"))) Sums RoundWireRow(const double* __restrict along,
                                                                    const double* __restrict beside,
                                                                    const double* __restrict w_cos,
                                                                    const double* __restrict w_sin,
                                                                    const double* __restrict weight,
                                                                    int n,
                                                                    double zeta,
                                                                    double s,
                                                                    double z,
                                                                    double radius,
                                                                    double* __restrict ratio) {
  double sx = 0, sy = 0, sz = 0;
#pragma omp simd reduction(+ : sx, sy, sz)
  for (int k = 0; k < n; ++k) {
    const Brackets b = RoundWireBrackets(along[k], beside[k], zeta, s, z, radius);
    sx += w_cos[k] * b.radial;
    sy += w_sin[k] * b.radial;
    sz += weight[k] * b.axial;
    ratio[k] = b.ratio;
  }
  return {sx, sy, sz};
}

// A point where the slice integrand over β turns (near) singular, with the distance in β of that
// singularity from the real axis; ends of the range are not singular (scale 0 marks them).
struct BetaSplit {
  double at = 0, scale = 0;
};

// The graded β nodes of one slice: split at the height of the point (inside the cross-section)
// and at the rim point nearest to it, each half-interval graded from its own end.
void AddBetaNodes(SliceNodes& nodes, double a, double c, double z, const SecCylCoil& coil) {
  const double rw = coil.rwire, h = std::hypot(a - coil.R, z);
  BetaSplit splits[4] = {{-Pi() / 2, 0}, {Pi() / 2, 0}};
  int n = 2;
  const double rim_gap = std::abs(h - rw);
  splits[n++] = {std::asin(h > 0 ? std::clamp(z / h, -1.0, 1.0) : 0.0),
                 std::hypot(rim_gap, c) / (rw + h)};
  if (h < rw) {
    splits[n++] = {std::asin(std::clamp(z / rw, -1.0, 1.0)), std::abs(c) / rw};
  }
  for (int k = 1; k < n; ++k) {  // at most four: insertion order
    for (int i = k; i > 0 && splits[i].at < splits[i - 1].at; --i) {
      std::swap(splits[i], splits[i - 1]);
    }
  }
  auto scale_at = [&](const BetaSplit& end) {
    if (end.scale > 0 || (end.at > -Pi() / 2 && end.at < Pi() / 2)) {
      return end.scale;
    }
    double gap = 1e300;
    for (int k = 0; k < n; ++k) {
      if (splits[k].at > -Pi() / 2 && splits[k].at < Pi() / 2) {
        gap = std::fmin(gap, std::fmax(splits[k].scale, std::abs(splits[k].at - end.at)));
      }
    }
    return gap;
  };
  for (int k = 0; k + 1 < n; ++k) {
    const BetaSplit lo = splits[k], hi = splits[k + 1];
    if (hi.at > lo.at) {
      const double mid = (lo.at + hi.at) / 2;
      nodes.AddPiece(lo.at, mid, scale_at(lo));
      nodes.AddPiece(hi.at, mid, scale_at(hi));
    }
  }
}

// An n-node Gauss–Legendre rule on [−1, 1] to rounding (Newton's method on P_n), for the far
// rules below, whose error budget the module's bisection-built tables would spend alone.
struct FarGauss {
  std::vector<double> nodes, weights;
  explicit FarGauss(int n) : nodes(n), weights(n) {
    for (int i = 0; i < n; ++i) {
      double x = std::cos(Pi() * (i + 0.75) / (n + 0.5)), slope = 1;
      for (int it = 0; it < 100; ++it) {
        double p0 = 1, p1 = x;
        for (int k = 2; k <= n; ++k) {
          const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
          p0 = p1;
          p1 = p2;
        }
        slope = n * (x * p1 - p0) / (x * x - 1);
        const double step = p1 / slope;
        x -= step;
        if (std::abs(step) < 1e-16) {
          break;
        }
      }
      nodes[n - 1 - i] = x;
      weights[n - 1 - i] = 2 / ((1 - x * x) * slope * slope);
    }
  }
  int Size() const { return static_cast<int>(nodes.size()); }
};

// The smallest kept rule that integrates, over [lo, hi], a function analytic up to a singularity
// at `at` (and its mirror image) to about 1e-13 of its size: the error falls as ρ^(−2n), ρ the
// Bernstein ellipse through the singularity. Null where more than the largest rule is needed.
const FarGauss* FarRule(double lo, double hi, std::complex<double> at) {
  static const std::vector<FarGauss> rules = [] {
    std::vector<FarGauss> all;
    for (int n = 4; n <= 160; n += n < 48 ? 2 : 8) {
      all.emplace_back(n);
    }
    return all;
  }();
  const double half = (hi - lo) / 2, mid = (hi + lo) / 2;
  const std::complex<double> t = (at - mid) / half;
  const double r = std::abs(t + std::sqrt(t * t - 1.0)), rho = std::fmax(r, 1 / r);
  const double need = std::log(1e13) / (2 * std::log(rho));
  for (const FarGauss& rule : rules) {
    if (rule.Size() >= need) {
      return &rule;
    }
  }
  return nullptr;
}

const FarGauss& FarGauss4() {
  static const FarGauss rule(4);
  return rule;
}

// The larger of two rules, null if either is.
const FarGauss* Larger(const FarGauss* a, const FarGauss* b) {
  return a == nullptr || b == nullptr ? nullptr : (a->Size() >= b->Size() ? a : b);
}

// Angle nodes over [−half, half] through θ = φ + τ·sinh u: the singularities at φ ± iτ move to
// u = ±iπ/2 whatever τ, so the nodes crowd round the point's azimuth as much as its distance
// asks. τ is taken at most 3: the factors cos θ and sin θ grow off the real axis like a
// singularity there. False where more nodes than the largest rule would be needed.
bool AddSinhAngles(SliceNodes& nodes, double half, double phi, double scale) {
  const double tau = std::fmin(scale, 3.0);
  const double u_lo = std::asinh((-half - phi) / tau), u_hi = std::asinh((half - phi) / tau);
  const FarGauss* rule = &FarGauss4();
  for (double image : {-2 * Pi(), 0.0, 2 * Pi()}) {
    rule = Larger(rule, FarRule(u_lo, u_hi, std::asinh(std::complex<double>(image, tau) / tau)));
  }
  if (rule == nullptr || !(tau > 0)) {
    return false;
  }
  for (int k = 0; k < rule->Size(); ++k) {
    const double u = (u_hi - u_lo) / 2 * rule->nodes[k] + (u_hi + u_lo) / 2;
    nodes.theta.push_back(phi + tau * std::sinh(u));
    nodes.weight.push_back(rule->weights[k] * (u_hi - u_lo) / 2 * tau * std::cosh(u));
  }
  return true;
}

// Distance from the point to the round wire's surface, as if the arc were a full torus.
double TorusGap(const SecCylCoil& c, double rho, double z) {
  return std::abs(std::hypot(rho - c.R, z) - c.rwire);
}

// The angle θ's singularity lies τ off the real axis at the point's azimuth: there a source
// point of radius ≤ R + rwire is a distance `gap` away.
double AngleScale(const SecCylCoil& c, double rho, double gap) {
  const double x = gap * gap / (2 * std::fmax(c.R + c.rwire, rho) * rho);
  return rho > 0 ? std::log1p(x + std::sqrt(x * (x + 2))) : 1e9;
}
}  // namespace

double SecRecCoilEdgeDistance(const SecRecCoil& c, const Vec3& p) {
  return EdgeDistance(c, std::hypot(p.x, p.y), p.z);
}

bool SecRecCoilIsNear(const SecRecCoil& c, const Vec3& p) {
  const double rho = std::hypot(p.x, p.y);
  return EdgeDistance(c, rho, p.z) < 0.4 * std::fmax(rho * c.Angle / 2, (c.Ro - c.Ri) / 2);
}

// The slice at angle θ carries J·dθ through Ri…Ro × −T…0; its field at the point has the radial
// and height integrals in closed form. Next to the point's azimuth the slices' integrand has a
// kink (inside the cross-section's span) or a near log singularity (next to an edge), hence the
// split there and the grading.
Vec3 SecRecCoilSliceField(const SecRecCoil& c, const Vec3& p) {
  const double rho = std::hypot(p.x, p.y), half = c.Angle / 2, phi = std::atan2(p.y, p.x);
  const double d = EdgeDistance(c, rho, p.z), x = d * d / (2 * std::fmax(c.Ro, rho) * rho);
  const double tau = rho > 0 ? std::log1p(x + std::sqrt(x * (x + 2))) : 1e9;
  SliceNodes nodes;
  if (rho > 0 && std::abs(phi) < half) {
    AddInterval(nodes, -half, phi, phi, tau);
    AddInterval(nodes, phi, half, phi, tau);
  } else {
    AddInterval(nodes, -half, half, phi, tau);
  }
  const int n = static_cast<int>(nodes.theta.size());
  SliceRows rows(n);
  double *cos_t = rows.Row(0), *sin_t = rows.Row(1), *a = rows.Row(2), *e = rows.Row(3);
  BatchCosSin(nodes.theta.data(), cos_t, sin_t, n);
  for (int k = 0; k < n; ++k) {
    a[k] = p.x * cos_t[k] + p.y * sin_t[k];
    e[k] = p.x * sin_t[k] - p.y * cos_t[k];
    rows.Row(4)[k] = rows.Row(5)[k] = 0;
  }
  const double z0 = p.z, z1 = p.z + c.T;
  AddCorner(rows, n, c.Ro, z1, 1);
  AddCorner(rows, n, c.Ri, z1, -1);
  AddCorner(rows, n, c.Ro, z0, -1);
  AddCorner(rows, n, c.Ri, z0, 1);
  Vec3 h;
  for (int k = 0; k < n; ++k) {
    const double wr = nodes.weight[k] * rows.Row(4)[k];
    h += Vec3{wr * cos_t[k], wr * sin_t[k], nodes.weight[k] * rows.Row(5)[k]};
  }
  return c.CurrentDensity * h;
}

// A wire's radius or more away from the wire, the slices' integrand is analytic round the real
// range in θ and in β, and one Gauss–Legendre rule each, sized by the singularities' distance,
// is exact to rounding: the rim singularity in β lies at least ln((gap + rwire)/rwire) off the
// real axis. Nearer, or for a rule larger than kept, false.
bool SecCylCoilFarField(const SecCylCoil& c, const Vec3& p, Vec3& field) {
  const double rho = std::hypot(p.x, p.y), half = c.Angle / 2, phi = std::atan2(p.y, p.x);
  const double gap = TorusGap(c, rho, p.z);
  if (!(gap >= c.rwire) || !(half > 0)) {
    return false;
  }
  SliceNodes angles;
  if (!AddSinhAngles(angles, half, phi, AngleScale(c, rho, gap))) {
    return false;
  }
  const FarGauss* heights =
      FarRule(-Pi() / 2, Pi() / 2, {Pi() / 2, std::log((gap + c.rwire) / c.rwire)});
  if (heights == nullptr) {
    return false;
  }
  const int nt = static_cast<int>(angles.theta.size()), nb = heights->Size();
  std::vector<double> rows(static_cast<size_t>(nt) * 7 + static_cast<size_t>(nb) * 2);
  double *cos_t = rows.data(), *sin_t = cos_t + nt, *along = sin_t + nt, *beside = along + nt;
  double *w_cos = beside + nt, *w_sin = w_cos + nt, *ratio = w_sin + nt;
  double *cos_b = ratio + nt, *sin_b = cos_b + nb;
  const double* weight = angles.weight.data();
  BatchCosSin(angles.theta.data(), cos_t, sin_t, nt);
  for (int k = 0; k < nt; ++k) {
    along[k] = p.x * cos_t[k] + p.y * sin_t[k];
    beside[k] = p.x * sin_t[k] - p.y * cos_t[k];
    w_cos[k] = weight[k] * cos_t[k];
    w_sin[k] = weight[k] * sin_t[k];
  }
  for (int i = 0; i < nb; ++i) {
    cos_b[i] = Pi() / 2 * heights->nodes[i];
  }
  BatchCosSin(cos_b, cos_b, sin_b, nb);
  Vec3 h;
  for (int i = 0; i < nb; ++i) {
    const Sums row = RoundWireRow(along, beside, w_cos, w_sin, weight, nt, c.rwire * sin_b[i],
                                  c.rwire * cos_b[i], p.z, c.R, ratio);
    BatchLog(ratio, nt);
    double logs = 0;
    for (int k = 0; k < nt; ++k) {
      logs += weight[k] * ratio[k];
    }
    h += (heights->weights[i] * c.rwire * cos_b[i]) * Vec3{row.x, row.y, row.z + logs};
  }
  field = (c.CurrentDensity * Pi() / 2) * h;
  return true;
}

// The round wire's field as ∫dθ ∫dβ over the slices, β the angle of the height ζ = rwire·sin β
// within the cross-section (which takes the square-root ends of the half-width s(ζ) away); θ
// graded towards the point's azimuth and the arc's ends, β per slice towards the point's height
// and its nearest rim point. The radial integral of each slice height is in closed form.
Vec3 SecCylCoilSliceField(const SecCylCoil& c, const Vec3& p) {
  Vec3 far;
  if (SecCylCoilFarField(c, p, far)) {
    return far;
  }
  const double rho = std::hypot(p.x, p.y), half = c.Angle / 2, phi = std::atan2(p.y, p.x);
  const double tau = AngleScale(c, rho, TorusGap(c, rho, p.z));
  // Off the wire and away from the end faces the angle singularities lie off the real axis;
  // next to an end face, as inside, the graded panels.
  const bool outside =
      std::hypot(rho - c.R, p.z) > c.rwire && rho * (half - std::abs(phi)) > c.rwire;
  SliceNodes angles;
  const bool mapped = outside && AddSinhAngles(angles, half, phi, tau);
  if (!mapped && rho > 0 && std::abs(phi) < half) {
    AddInterval(angles, -half, phi, phi, tau);
    AddInterval(angles, phi, half, phi, tau);
  } else if (!mapped) {
    AddInterval(angles, -half, half, phi, tau);
  }
  Vec3 h;
  SliceNodes heights;
  std::vector<double> rows;
  for (size_t k = 0; k < angles.theta.size(); ++k) {
    const double cs = std::cos(angles.theta[k]), sn = std::sin(angles.theta[k]);
    const double a = p.x * cs + p.y * sn, across = p.x * sn - p.y * cs;
    heights.theta.clear();
    heights.weight.clear();
    AddBetaNodes(heights, a, across, p.z, c);
    const int n = static_cast<int>(heights.theta.size());
    rows.resize(static_cast<size_t>(n) * 7);
    double *half_width = rows.data(), *zeta = half_width + n, *radial = zeta + n;
    double *axial = radial + n, *ratio = axial + n, *along = ratio + n, *beside = along + n;
    BatchCosSin(heights.theta.data(), half_width, zeta, n);
    for (int i = 0; i < n; ++i) {
      half_width[i] *= c.rwire;
      zeta[i] *= c.rwire;
      along[i] = a;
      beside[i] = across;
    }
    RoundWireNodes(along, beside, zeta, half_width, n, p.z, c.R, radial, axial, ratio);
    BatchLog(ratio, n);
    double sum_radial = 0, sum_axial = 0;
    for (int i = 0; i < n; ++i) {
      const double w = heights.weight[i] * half_width[i];  // dζ = rwire·cos β dβ
      sum_radial += w * radial[i];
      sum_axial += w * (axial[i] + ratio[i]);
    }
    const double wk = angles.weight[k];
    h += Vec3{wk * sum_radial * cs, wk * sum_radial * sn, wk * sum_axial};
  }
  return c.CurrentDensity * h;
}

}  // namespace tavrine

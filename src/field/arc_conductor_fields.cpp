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
#include <iterator>
#include <numbers>
#include <utility>
#include <vector>

#include "field/conductor_fields.h"
#include "field/gauss_legendre.h"
#include "field/graded_panels.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

// π as the model's Pi() gives it, known here at compile time: the slice loops use it per node.
constexpr double kPi = 3.14159265358979323846;

// Panels tripling in length away from a singularity: about 12 digits, well inside the 1e-9 the
// fields need, on a third fewer nodes than doubling ones.
constexpr double kPanelGrowth = 3;

// The graded angle nodes of one point and their weights, on the stack: at most six pieces of
// at most 20 panels of 10 nodes (a piece's first panel is at least 1e-9 of it, each next one
// three times the last).
struct SliceNodes {
  static constexpr int kCapacity = 1280;
  int size = 0;
  alignas(32) double theta[kCapacity];
  alignas(32) double weight[kCapacity];
  // Angle pieces graded from `from` towards `to` (either order).
  void AddPiece(double from, double to, double scale) {
    const double sign = to >= from ? 1.0 : -1.0;
    GradedPanelNodes(
        std::abs(to - from), scale,
        [&](double t, double w) {
          if (size < kCapacity) {
            theta[size] = from + sign * t;
            weight[size++] = w;
          }
        },
        kPanelGrowth);
  }
};

// The library's fmin and fmax are calls; these compare, and like them pass over a NaN in `b`
// (never in `a` where they are used).
inline double MinOf(double a, double b) {
  return b < a ? b : a;
}
inline double MaxOf(double a, double b) {
  return b > a ? b : a;
}

// sqrt(x² + y²): the library's hypot guards against overflow no coordinate here comes near, at
// several times the cost.
inline double Hypot(double x, double y) {
  return std::sqrt(x * x + y * y);
}

// Angular distance from θ to the nearest image of the azimuth φ.
double AngleGap(double theta, double phi) {
  return std::abs(std::remainder(theta - phi, 2 * kPi));
}

// [lo, hi] halved, each half graded from its own end: from the scale of the singularities or
// from the angle to the point's azimuth, whichever is larger.
void AddInterval(SliceNodes& nodes, double lo, double hi, double phi, double tau) {
  const double mid = (lo + hi) / 2;
  nodes.AddPiece(lo, mid, std::fmax(tau, AngleGap(lo, phi)));
  nodes.AddPiece(hi, mid, std::fmax(tau, AngleGap(hi, phi)));
}

// Distance in the (r, z) half-plane from (ρ, z) to the edges of the cross-section rectangle
// Ri…Ro × −T…0 (inside it as outside): where the slices' integrands turn singular.
double EdgeDistance(const SecRecCoil& c, double rho, double z) {
  const double dr = std::fmax(std::fmax(c.Ri - rho, rho - c.Ro), 0.0);
  const double dz = std::fmax(std::fmax(-c.T - z, z), 0.0);
  if (dr > 0 || dz > 0) {
    return Hypot(dr, dz);
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
  // beside the span (l·m > 0) the brackets keep finite limits as d → 0, on the node itself too
  const bool beside = l * m > 0, ok = (ab > 0) & (beside | (d > 0));
  const double squares = 2 * s * (l + m);  // l² − m²
  const double safe_ab = ok ? ab : 1.0;
  // (A − B)/(A·B) and (l·B − m·A)/(d·A·B), one division each
  const double a_minus_b = squares / ((big_a + big_b) * safe_ab);
  const double den = beside ? (l * big_b + m * big_a) : (ok ? d : 1.0);
  const double spread = (beside ? squares : l * big_b - m * big_a) / (den * safe_ab);
  // |l + A|/|m + B| with x + X taken as d/(X − x) where x < 0, as one quotient; with both
  // negative the factors d cancel
  const bool below = (l < 0) & (m < 0);
  const double top = l >= 0 ? l + big_a : (below ? 1.0 : d), top_den = l >= 0 ? 1.0 : big_a - l;
  const double bottom = m >= 0 ? m + big_b : (below ? 1.0 : d),
               bottom_den = m >= 0 ? 1.0 : big_b - m;
  return {ok ? (a * spread + a_minus_b) * dz : 0.0, ok ? -spread * d + a * a_minus_b : 0.0,
          ok ? (top * bottom_den) / (top_den * bottom) : 1.0};
}

struct SliceSums {
  double radial = 0, axial = 0;
};

// One slice at along a, across c over its height nodes β (cos β and sin β given): Σ w·s·radial
// and Σ w·s·axial with the half-width s = rwire·cos β at the height rwire·sin β (dζ = s·dβ); the
// log arguments go to ratio[k] and w·s to width_weight[k].
__attribute__((target_clones("avx2", "default"))) SliceSums RoundWireColumn(
    const double* __restrict cos_b,
    const double* __restrict sin_b,
    const double* __restrict weight,
    int n,
    double a,
    double c,
    const SecCylCoil& coil,
    double z,
    double* __restrict ratio,
    double* __restrict width_weight) {
  const double rw = coil.rwire, radius = coil.R;
  double radial = 0, axial = 0;
#pragma omp simd reduction(+ : radial, axial)
  for (int k = 0; k < n; ++k) {
    const double s = rw * cos_b[k], ww = weight[k] * s;
    const Brackets b = RoundWireBrackets(a, c, rw * sin_b[k], s, z, radius);
    radial += ww * b.radial;
    axial += ww * b.axial;
    ratio[k] = b.ratio;
    width_weight[k] = ww;
  }
  return {radial, axial};
}

struct Sums {
  double x = 0, y = 0, z = 0;
};

// Σ a[k]·b[k] on four running sums, which the processor adds side by side where one would wait
// on each addition in turn; the same order on every machine.
double Dot(const double* a, const double* b, int n) {
  double sums[4] = {0, 0, 0, 0};
  int k = 0;
  for (; k + 4 <= n; k += 4) {
    for (int j = 0; j < 4; ++j) {
      sums[j] += a[k + j] * b[k + j];
    }
  }
  double tail = 0;
  for (; k < n; ++k) {
    tail += a[k] * b[k];
  }
  return ((sums[0] + sums[1]) + (sums[2] + sums[3])) + tail;
}

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

// Gauss–Legendre error on [lo, hi] for a function analytic up to a singularity at x + iy (and
// its mirror image) falls as ρ^(−2n), ρ the Bernstein ellipse through it (1 on the interval).
double EllipseThrough(double lo, double hi, double x, double y) {
  const double half = (hi - lo) / 2, tx = (x - (hi + lo) / 2) / half, ty = y / half;
  const double axis =
      (std::sqrt((tx - 1) * (tx - 1) + ty * ty) + std::sqrt((tx + 1) * (tx + 1) + ty * ty)) /
      2;  // the ellipse's semi-major
  return axis + std::sqrt((axis - 1) * (axis + 1));
}

// The nodes needed for about 1e-13 (or 1/`reach`) of the function's size within the ellipse ρ.
double NodesNeeded(double rho, double reach = 1e13) {
  return std::log(reach) / (2 * std::log(rho));
}

// From e^u at each node (in place) to θ = at + step·sinh u, and its weight to w·half·σ·cosh u.
__attribute__((target_clones("avx2", "default"))) void SinhNodes(double* __restrict theta,
                                                                 double* __restrict weight,
                                                                 const double* __restrict w,
                                                                 int n,
                                                                 double half,
                                                                 double sigma,
                                                                 double at,
                                                                 double step) {
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const double grow = theta[k], shrink = 1 / grow;
    weight[k] = w[k] * half * sigma * ((grow + shrink) / 2);
    theta[k] = at + step * ((grow - shrink) / 2);
  }
}

// Appends `rule` over u in [u_lo, u_hi], carried through θ = at + sign·σ·sinh u (weights
// σ·cosh u): the nodes crowd round `at` as much as σ asks, a singularity σ off the axis at `at`
// going to Im u = π/2. False, with nothing added, where they would not fit.
template <class Nodes>
bool AppendSinhMapped(Nodes& nodes,
                      const GaussLegendreTable& rule,
                      double u_lo,
                      double u_hi,
                      double at,
                      double sign,
                      double sigma) {
  const int n = rule.Size(), first = nodes.size;
  if (first + n > static_cast<int>(std::size(nodes.theta))) {
    return false;
  }
  const double half = (u_hi - u_lo) / 2, mid = (u_hi + u_lo) / 2;
  double* u = nodes.theta + first;
  for (int k = 0; k < n; ++k) {
    u[k] = half * rule.Nodes()[k] + mid;  // u, then e^u
  }
  BatchExp(u, n);
  SinhNodes(u, nodes.weight + first, rule.Weights().data(), n, half, sigma, at, sign * sigma);
  nodes.size += n;
  return true;
}

// The round-wire arc's near angle rules aim at 1e-11 of a slice's size: the angle sum's error
// is then some 1e-11 of |H| (2e-11 at most over thousands of points near and inside thin and fat
// wires), well inside 1e-9, on a sixth fewer slices than at 1e-13, each costing a height rule.
constexpr double kNearAngleReach = 1e11;
// Its sized height rules aim at 1e-12: their error bound's constant runs larger (1e-11 moved
// fields by up to 2e-10 of |H|, 1e-12 by 3e-11).
constexpr double kNearHeightReach = 1e12;

// The smallest kept rule of at least `need` nodes (and at least 4); null beyond the largest.
constexpr int kLargestRule = 160;
const GaussLegendreTable* FarRuleOf(double need) {
  static const std::vector<GaussLegendreTable> rules = [] {
    std::vector<GaussLegendreTable> all;
    for (int n = 4; n <= kLargestRule; n += n < 48 ? 2 : 8) {
      all.emplace_back(n);
    }
    return all;
  }();
  if (!(need <= kLargestRule)) {
    return nullptr;
  }
  // sizes 4, 6, …, 48, then 56, 64, …: the first at least `need`, by its index
  const double steps = need <= 48 ? std::ceil((need - 4) / 2) : 22 + std::ceil((need - 48) / 8);
  return &rules[static_cast<size_t>(MaxOf(steps, 0.0))];
}

// Where the slices' integrand in θ turns singular: on θ = φ + 2πk + i·s for s from `nearest` to
// `farthest` (both signs), the source points nearest to and farthest from the point; nearest is
// 0 for a point within the cross-section's span beyond an end of the arc.
struct AngleSingularity {
  double nearest = 0, farthest = 0;
};

// The imaginary offset s of the singularity from a source point at distance `gap` in the (r, z)
// half-plane and radius `radius`, seen from a point at radius ρ: cosh s = 1 + gap²/(2ρ·radius).
double ImaginaryOffset(double gap, double rho, double radius) {
  const double x = gap * gap / (2 * radius * rho);
  return rho > 0 && radius > 0 ? std::log1p(x + std::sqrt(x * (x + 2))) : 1e9;
}

// Where the slice's integrand over β turns singular, off the real axis by `rim` at a rim point
// whose distance to the point vanishes, cos(β − ψ) = (h² + rwire² + c²)/(2h·rwire) for the point
// at (h, ψ) about the wire's centre line, and by `chord` where the height's chord passes through
// the point, rwire·sin β = z ± i·c (|1 ± sin β| = reach_up, reach_down over rwire there).
struct HeightPoles {
  double h, rim, chord, reach_up, reach_down;
};

// ln(1 + t) for t ≥ 0 in place, on one batch of logarithms: ln(1 ⊕ t) times t/((1 ⊕ t) − 1)
// takes back the digits the sum rounded away.
void BatchLog1p(double* values, double* scratch, int count) {
  for (int k = 0; k < count; ++k) {
    scratch[k] = 1 + values[k];
  }
  BatchLog(scratch, count);
  for (int k = 0; k < count; ++k) {
    const double t = values[k], sum = 1 + t;
    values[k] = sum == 1 ? t : scratch[k] * (t / (sum - 1));
  }
}

// The slices of one block at once, each with its poles in β: their logarithms in one batch.
constexpr int kRoundBlock = 64;
struct SliceBlock {
  alignas(32) double cos_t[kRoundBlock], sin_t[kRoundBlock];
  alignas(32) double along[kRoundBlock], across[kRoundBlock], h[kRoundBlock];
  alignas(32) double reach_up[kRoundBlock], reach_down[kRoundBlock];
  alignas(32) double offsets[2 * kRoundBlock];  // the rims' then the chords'
  int size = 0;

  HeightPoles Poles(int k) const {
    return {h[k], offsets[k], offsets[size + k], reach_up[k], reach_down[k]};
  }
  // cosh s − 1 of each offset s, then s = ln(1 + q + sqrt(q·(q + 2))) for q = cosh s − 1.
  void Fill(const double* theta, int n, const Vec3& p, const SecCylCoil& coil);
};

// The slices' coordinates of the point and their poles' e^s − 1, one vectorised pass.
__attribute__((target_clones("avx2", "default"))) void FillPoleArgs(SliceBlock& b,
                                                                    int n,
                                                                    const Vec3& p,
                                                                    const SecCylCoil& coil) {
  const double rw = coil.rwire, x = p.z / rw, px = p.x, py = p.y, pz = p.z, radius = coil.R;
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const double a = px * b.cos_t[k] + py * b.sin_t[k], c = px * b.sin_t[k] - py * b.cos_t[k];
    const double dist = Hypot(a - radius, pz), y = c / rw;
    const double rim = ((dist - rw) * (dist - rw) + c * c) / (2 * rw * dist);
    const double up = Hypot(1 + x, y), down = Hypot(1 - x, y), mean = (up + down) / 2;
    const double chord = (mean > 1.0 ? mean : 1.0) - 1;
    b.along[k] = a;
    b.across[k] = c;
    b.h[k] = dist;
    b.reach_up[k] = up;
    b.reach_down[k] = down;
    b.offsets[k] = rim + std::sqrt(rim * (rim + 2));
    b.offsets[n + k] = chord + std::sqrt(chord * (chord + 2));
  }
}

void SliceBlock::Fill(const double* theta, int n, const Vec3& p, const SecCylCoil& coil) {
  size = n;
  BatchCosSin(theta, cos_t, sin_t, n);
  FillPoleArgs(*this, n, p, coil);
  alignas(32) double scratch[2 * kRoundBlock];
  BatchLog1p(offsets, scratch, 2 * n);
  for (int k = 0; k < n; ++k) {
    offsets[k] = h[k] > 0 ? offsets[k] : 1e9;  // on the centre line no rim point comes near
  }
}

// Heights on the midpoint rule (the folded trapezoid rule of the integrand's periodic extension)
// where the slice's singularities in β lie far enough off the real axis for a few nodes: its
// error falls as e^(−2nσ). False where the graded rule is needed.
constexpr int kMidpointHeights = 160;
bool AddMidpointHeights(SliceNodes& nodes, const HeightPoles& poles) {
  const double need = std::log(kNearHeightReach) / (2 * MinOf(poles.rim, poles.chord));
  if (!(need <= kMidpointHeights)) {
    return false;
  }
  nodes.size = std::max(4, static_cast<int>(std::ceil(need)));  // the rule from MidpointRule
  return true;
}

// A point where the slice integrand over β turns (near) singular, with the distance in β of that
// singularity from the real axis; ends of the range are not singular (scale 0 marks them). Where
// `exact`, the singularities lie at at ± i·scale themselves.
struct BetaSplit {
  double at = 0, scale = 0;
  bool exact = false;
};

// The larger of two rules, null if either is.
const GaussLegendreTable* Larger(const GaussLegendreTable* a, const GaussLegendreTable* b) {
  return a == nullptr || b == nullptr ? nullptr : (a->Size() >= b->Size() ? a : b);
}

// ⌈4·log2 r⌉ for r > 0 from r's exponent and its mantissa against the quarter octaves, without
// a logarithm (a mantissa within a rounding of a quarter octave may fall on either side).
int QuarterOctaves(double r) {
  int octave = 0;
  const double m = std::frexp(r, &octave);  // r = m·2^octave, m in [0.5, 1)
  int below = 0;
  if (m == 0.5) {
    below = -4;
  } else if (m <= 0.5946035575013605) {  // 2^(−3/4)
    below = -3;
  } else if (m <= 0.7071067811865476) {  // 2^(−1/2)
    below = -2;
  } else if (m <= 0.8408964152537145) {  // 2^(−1/4)
    below = -1;
  }
  return 4 * octave + below;
}

// The rule of a height piece of length r·σ through the sinh map from a singularity at ±iσ: that
// one at u = ±iπ/2, and the next no nearer than the far end of the interval the piece halves, at
// 2r·σ (taken on the real axis, where it costs most). Looked up by quarter steps of log2 r, each
// holding the largest rule of the steps up to its top; null beyond the table.
const GaussLegendreTable* HeightPieceRule(double r) {
  constexpr int kBelow = 32, kSteps = kBelow + 4 * 50;
  static const std::vector<const GaussLegendreTable*> table = [] {
    std::vector<const GaussLegendreTable*> t(kSteps);
    for (int k = 0; k < kSteps; ++k) {
      const double top = std::exp2((k - kBelow) / 4.0), u_hi = std::asinh(top);
      const double rho = std::fmin(EllipseThrough(0, u_hi, 0, kPi / 2),
                                   EllipseThrough(0, u_hi, std::asinh(2 * top), 0));
      const GaussLegendreTable* rule = FarRuleOf(NodesNeeded(rho, kNearHeightReach));
      t[k] = k == 0 ? rule : Larger(t[k - 1], rule);
    }
    return t;
  }();
  if (!(r < std::exp2((kSteps - 1 - kBelow) / 4.0))) {
    return nullptr;
  }
  const int step = r > 0 ? QuarterOctaves(r) + kBelow : 0;
  return table[static_cast<size_t>(std::max(step, 0))];
}

// asinh(x + i·y), y ≥ 0, as its real and imaginary parts, through |w + i| and |w − i|.
void AsinhParts(double x, double y, double& re, double& im) {
  const double r1 = Hypot(x, 1 + y), r2 = Hypot(x, 1 - y);
  re = std::copysign(std::acosh(MaxOf((r1 + r2) / 2, 1.0)), x);
  im = std::asin(std::clamp((r1 - r2) / 2, -1.0, 1.0));
}

// A singularity of a slice's integrand in β at at + i·scale (scale ≥ 0).
struct BetaPole {
  double at = 0, scale = 0;
};

// The sum of distances to the foci, per unit length of the interval, of the ellipse within which
// an n-node height rule keeps its aim: a singularity outside it asks for no larger rule.
double HeightRuleSpan(int n) {
  static const std::vector<double> spans = [] {
    std::vector<double> w(kLargestRule + 1);
    for (int k = 1; k <= kLargestRule; ++k) {
      const double rho = std::exp(std::log(kNearHeightReach) / (2 * k));
      w[static_cast<size_t>(k)] = (rho + 1 / rho) / 2;
    }
    return w;
  }();
  return spans[static_cast<size_t>(n)];
}

// A lower bound of asinh t, t ≥ 0, without a logarithm: ln 2t with ln taken on the chord of each
// octave, or t/sqrt(1 + t²) (asinh's slope never falls below that one's).
double AsinhBelow(double t) {
  int octave = 0;
  const double m = std::frexp(2 * t, &octave);  // 2t = m·2^octave, m in [0.5, 1)
  const double log_two_t = (octave - 1 + (2 * m - 1)) * std::numbers::ln2;
  return MaxOf(log_two_t, t / std::sqrt(1 + t * t));
}

// Whether the singularity at x + iy (y ≥ 0), in units of σ from the piece's start, surely maps
// through asinh outside the ellipse about [0, u_hi] whose distances to the ends sum to `span`:
// its image w lies at least 2y/(|w + i| + |w − i|) ≥ y/sqrt(x² + 1 + y²) off the real axis, and
// at least asinh|x| before the start (x < 0) or after it. Cheap bounds, with a margin for
// rounding, in place of the complex asinh.
bool MapsBeyond(double x, double y, double u_hi, double span) {
  const double off = y / std::sqrt(x * x + 1 + y * y), along = AsinhBelow(std::abs(x));
  // the nearest place to the interval's middle that the bounds leave open
  const double re = x < 0 ? -along : MaxOf(along, u_hi / 2);
  return Hypot(re, off) + Hypot(re - u_hi, off) > 1.001 * span;
}

// Heights over the piece from the exact split `from` to `to` through β = at ± σ·sinh u, u from 0,
// which takes the split's own singularity to u = iπ/2 whatever σ. The table's rule allows for
// another at twice the piece's length ahead; any of `others` nearer than three lengths sizes the
// rule too (one farther maps beyond the table's). False, with nothing added, where the graded
// panels must do.
bool AddMappedHeights(
    SliceNodes& nodes, const BetaSplit& from, double to, const BetaPole* others, int count) {
  const double length = std::abs(to - from.at), sigma = from.scale, r = length / sigma;
  const GaussLegendreTable* rule = sigma > 0 ? HeightPieceRule(r) : nullptr;
  if (rule == nullptr) {
    return false;
  }
  const double u_hi = std::asinh(r), sign = to >= from.at ? 1.0 : -1.0;
  const double span = u_hi * HeightRuleSpan(rule->Size());
  double nearest = 1e300;  // the smallest ellipse through any of them
  for (int k = 0; k < count; ++k) {
    const double along = sign * (others[k].at - from.at);
    const bool itself = others[k].at == from.at && others[k].scale == from.scale;
    // one at least twice the length ahead maps no nearer than the table's own allowance, nor
    // one outside the table rule's ellipse
    const double scale = others[k].scale;
    if (!itself && along < 2 * length && along * along + scale * scale < 9 * length * length &&
        !MapsBeyond(along / sigma, scale / sigma, u_hi, span)) {
      double re = 0, im = 0;
      AsinhParts(along / sigma, scale / sigma, re, im);
      nearest = MinOf(nearest, EllipseThrough(0, u_hi, re, im));
    }
  }
  if (nearest < 1e300) {
    rule = Larger(rule, FarRuleOf(NodesNeeded(nearest, kNearHeightReach)));
  }
  return rule != nullptr && AppendSinhMapped(nodes, *rule, 0, u_hi, from.at, sign, sigma);
}

// The β nodes of one slice: split at the height of the point (inside the cross-section) and at
// the rim point nearest to it, each half-interval from its own end: through the sinh map from the
// rim point, whose singularities are known exactly, else graded.
void AddBetaNodes(SliceNodes& nodes,
                  double a,
                  double c,
                  double z,
                  const SecCylCoil& coil,
                  const HeightPoles& poles) {
  const double rw = coil.rwire, h = poles.h;
  BetaSplit splits[4] = {{-kPi / 2, 0}, {kPi / 2, 0}};
  int n = 2;
  const double rim_gap = std::abs(h - rw);
  // The rim singularities: cos(β − ψ) = (h² + rwire² + c²)/(2h·rwire), folded into ±π/2.
  splits[n++] = h > 0 ? BetaSplit{std::asin(std::clamp(z / h, -1.0, 1.0)), poles.rim, true}
                      : BetaSplit{0.0, Hypot(rim_gap, c) / (rw + h)};
  // The chord's, rwire·sin β = z ± i·c, a log pole unless the point lies beside the chord's span
  // there (|a − R| > Re s, s = sqrt(rwire² − ζ²), with a margin): both at once, and their mirror
  // images through ±π/2 (the integrand is the fold of a periodic one).
  // Inside the wire the chord's pole is a split of its own.
  BetaPole others[6];
  int count = 0;
  const double q = rw * rw - z * z + c * c, span = std::sqrt((Hypot(q, 2 * z * c) + q) / 2);
  const BetaSplit rim = splits[n - 1];
  others[count++] = {rim.at, rim.scale};
  others[count++] = {kPi - rim.at, rim.scale};
  others[count++] = {-kPi - rim.at, rim.scale};
  if (h <= rw || std::abs(a - coil.R) < 1.25 * span) {
    const double chord = std::asin(std::clamp((poles.reach_up - poles.reach_down) / 2, -1.0, 1.0));
    const double off = poles.chord;
    others[count++] = {chord, off};
    others[count++] = {kPi - chord, off};
    others[count++] = {-kPi - chord, off};
    if (h < rw) {
      splits[n++] = {chord, off, true};
    }
  }
  for (int k = 1; k < n; ++k) {  // at most four: insertion order
    for (int i = k; i > 0 && splits[i].at < splits[i - 1].at; --i) {
      std::swap(splits[i], splits[i - 1]);
    }
  }
  auto singular = [](const BetaSplit& s) {
    return s.scale > 0 || (s.at > -kPi / 2 && s.at < kPi / 2);
  };
  // Panels from a split grow from its distance to the nearest singularity, its own or a
  // neighbour's: a pole just off the point's height lies next to the rim point's split too.
  auto scale_at = [&](const BetaSplit& end) {
    double gap = 1e300;
    for (int k = 0; k < n; ++k) {
      if (singular(splits[k])) {
        gap = std::fmin(gap, std::fmax(splits[k].scale, std::abs(splits[k].at - end.at)));
      }
    }
    return gap;
  };
  auto add_piece = [&](int from, double to) {
    if (!(splits[from].exact && AddMappedHeights(nodes, splits[from], to, others, count))) {
      nodes.AddPiece(splits[from].at, to, scale_at(splits[from]));
    }
  };
  // Between an exact split and an end of the range, one mapped piece all the way: the split's
  // mirror image through the end lies twice its length away, as the table's rule allows for.
  auto whole_to_end = [&](int from, int end) {
    return splits[from].exact && !singular(splits[end]) &&
           AddMappedHeights(nodes, splits[from], splits[end].at, others, count);
  };
  for (int k = 0; k + 1 < n; ++k) {
    if (splits[k + 1].at > splits[k].at && !whole_to_end(k + 1, k) && !whole_to_end(k, k + 1)) {
      const double mid = (splits[k].at + splits[k + 1].at) / 2;
      add_piece(k, mid);
      add_piece(k + 1, mid);
    }
  }
}

constexpr double InverseFactorial(int k) {
  double f = 1;
  for (int i = 2; i <= k; ++i) {
    f *= i;
  }
  return 1 / f;
}

// Σ c[j]·y^j for j ≤ 10 in Estrin's order: four levels of products where Horner's takes ten in a
// row.
inline double Estrin10(const double* c, double y) {
  const double y2 = y * y, y4 = y2 * y2, y8 = y4 * y4;
  const double low = (c[0] + c[1] * y) + (c[2] + c[3] * y) * y2;
  const double mid = (c[4] + c[5] * y) + (c[6] + c[7] * y) * y2;
  const double high = (c[8] + c[9] * y) + c[10] * y2;
  return (low + mid * y4) + high * y8;
}

// cos β and sin β for |β| ≤ π/2, the heights' range, on their Taylor series to the terms in β²²
// and β²³ (the next fall below 1e-19 there): no range reduction, and vectorised where the
// library's would go through two calls. Within 4e-16 of the true values, as close as β itself
// is known.
__attribute__((target_clones("avx2", "default"))) void HeightCosSin(const double* __restrict beta,
                                                                    double* __restrict cos_out,
                                                                    double* __restrict sin_out,
                                                                    int n) {
  // the series' coefficients after their first terms, in powers of β²
  constexpr double kSin[] = {-InverseFactorial(3),  InverseFactorial(5),   -InverseFactorial(7),
                             InverseFactorial(9),   -InverseFactorial(11), InverseFactorial(13),
                             -InverseFactorial(15), InverseFactorial(17),  -InverseFactorial(19),
                             InverseFactorial(21),  -InverseFactorial(23)};
  constexpr double kCos[] = {-InverseFactorial(2),  InverseFactorial(4),   -InverseFactorial(6),
                             InverseFactorial(8),   -InverseFactorial(10), InverseFactorial(12),
                             -InverseFactorial(14), InverseFactorial(16),  -InverseFactorial(18),
                             InverseFactorial(20),  -InverseFactorial(22)};
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const double x = beta[k], x2 = x * x;
    sin_out[k] = x + x * (x2 * Estrin10(kSin, x2));
    cos_out[k] = 1 + x2 * Estrin10(kCos, x2);
  }
}

// Whole vectors of four: the slices' loops take a vector's lanes at once and the rest one by one.
int Padded(int n) {
  return (n + 3) / 4 * 4;
}

// cos β and sin β at the nodes of the n-node midpoint rule over [−π/2, π/2] (n from 4 to the
// largest), and its weights, as rows of Padded(n) cosines, sines and weights, the last node
// repeated at weight 0 to fill them: the same for every slice that takes the rule.
const double* MidpointRule(int n) {
  static const std::vector<std::vector<double>> rows = [] {
    std::vector<std::vector<double>> all(kMidpointHeights + 1);
    for (int m = 4; m <= kMidpointHeights; ++m) {
      const int padded = Padded(m);
      std::vector<double>& row = all[static_cast<size_t>(m)];
      row.assign(static_cast<size_t>(3 * padded), 0.0);
      std::vector<double> beta(static_cast<size_t>(padded));
      for (int i = 0; i < padded; ++i) {
        beta[static_cast<size_t>(i)] = -kPi / 2 + (std::min(i, m - 1) + 0.5) * (kPi / m);
        row[static_cast<size_t>(2 * padded + i)] = i < m ? kPi / m : 0.0;
      }
      BatchCosSin(beta.data(), row.data(), row.data() + padded, padded);
    }
    return all;
  }();
  return rows[static_cast<size_t>(n)].data();
}

// The nodes filled up to Padded(size) with copies of the last at weight 0.
void PadToVectors(SliceNodes& nodes) {
  while (nodes.size % 4 != 0 && nodes.size > 0) {
    nodes.theta[nodes.size] = nodes.theta[nodes.size - 1];
    nodes.weight[nodes.size++] = 0;
  }
}

// Nodes and weights of one sized angle rule, on the stack.
struct MappedAngles {
  int size = 0;
  alignas(32) double theta[kLargestRule];
  alignas(32) double weight[kLargestRule];
};

// Angle nodes over [−half, half] through θ = φ + τ·sinh u: the nearest singularities φ ± iτ move
// to u = ±iπ/2 whatever τ, so the nodes crowd round the point's azimuth as much as its distance
// asks; the farther ones lie on Im u = ±π/2, and the rule is sized by the worst of them. τ is
// taken at most 3: the factors cos θ and sin θ grow off the real axis like a singularity there.
// False where more nodes than the largest rule would be needed.
bool MapAngles(
    MappedAngles& out, double half, double phi, AngleSingularity sing, double reach = 1e13) {
  const double nearest = std::fmin(sing.nearest, 3.0);
  const double tau = std::fmin(std::fmax(nearest, std::abs(phi) - half), 3.0);
  if (!(tau > 0)) {
    return false;
  }
  const double u_lo = std::asinh((-half - phi) / tau), u_hi = std::asinh((half - phi) / tau);
  const double spread = std::acosh(std::fmax(std::fmax(sing.farthest, nearest) / tau, 1.0));
  const double centre = std::clamp((u_lo + u_hi) / 2, -spread, spread);
  // the image a turn away on the nearer side of the arc
  const std::complex<double> image =
      std::asinh(std::complex<double>(phi >= 0 ? -2 * kPi : 2 * kPi, nearest) / tau);
  const double rho = std::fmin(std::fmin(EllipseThrough(u_lo, u_hi, 0, std::asin(nearest / tau)),
                                         EllipseThrough(u_lo, u_hi, centre, kPi / 2)),
                               EllipseThrough(u_lo, u_hi, image.real(), image.imag()));
  const double need = NodesNeeded(rho, reach);
  const GaussLegendreTable* rule = FarRuleOf(need);
  if (rule == nullptr) {
    return false;
  }
  out.size = 0;
  return AppendSinhMapped(out, *rule, u_lo, u_hi, phi, 1.0, tau);
}

// Angle nodes over [φ, to] (either order) through θ = φ ± τ·sinh u, u from 0: for a point inside
// the wire the slices' integrand is analytic on each side of its azimuth up to φ itself, and
// singular off the axis at φ ± i·s for s from τ (the nearest rim point) to `farthest`; those lie
// on Im u = π/2. Appended to `out`; false where more nodes than the largest rule would be needed.
bool MapSide(SliceNodes& out, double phi, double to, double tau, double farthest) {
  const double length = std::abs(to - phi), sign = to >= phi ? 1.0 : -1.0;
  if (!(length > 0)) {
    return true;
  }
  const double t = std::fmin(tau, 3.0);
  if (!(t > 0)) {
    return false;  // on the surface: the graded panels
  }
  const double u_hi = std::asinh(length / t);
  const double spread = std::acosh(std::fmax(farthest / t, 1.0));
  const std::complex<double> image = std::asinh(std::complex<double>(2 * kPi, t) / t);
  const double rho =
      std::fmin(std::fmin(EllipseThrough(0, u_hi, std::fmin(u_hi / 2, spread), kPi / 2),
                          EllipseThrough(0, u_hi, 0, kPi / 2)),
                EllipseThrough(0, u_hi, image.real(), image.imag()));
  const GaussLegendreTable* rule = FarRuleOf(NodesNeeded(rho, kNearAngleReach));
  return rule != nullptr && AppendSinhMapped(out, *rule, 0, u_hi, phi, sign, t);
}

// Distance from the point to the round wire's surface, as if the arc were a full torus.
double TorusGap(const SecCylCoil& c, double rho, double z) {
  return std::abs(Hypot(rho - c.R, z) - c.rwire);
}

// The angle θ's singularities: a source point of radius ≤ R + rwire lies `gap` away at the
// nearest, one of radius ≥ R − rwire at most gap + 2·rwire away at the farthest.
AngleSingularity AngleScale(const SecCylCoil& c, double rho, double gap) {
  return {ImaginaryOffset(gap, rho, std::fmax(c.R + c.rwire, rho)),
          ImaginaryOffset(gap + 2 * c.rwire, rho, c.R - c.rwire)};
}
// u + Q with Q = sqrt(u² + rest), as num/den: d/(Q − u) where u < 0 keeps its digits.
struct Quotient {
  double num, den;
};
inline __attribute__((always_inline)) Quotient PlusRoot(double u, double big_q, double rest) {
  return u >= 0 ? Quotient{u + big_q, 1.0} : Quotient{rest, big_q - u};
}

// The rectangular-wire arc's slices in closed form: per node the primitives of (u + a)·w/Q³
// (radial, −Q − a·ln(u + Q)) and of (u + a)·u/Q³ (axial, w·ln(u + Q) − e·atan(uw/(eQ)) −
// a·ln(w + Q)) at the four corners (u = r − a, w) of the cross-section, Q = sqrt(u² + e² + w²),
// with a = x·cosθ + y·sinθ and e = x·sinθ − y·cosθ. The corners' logarithms go in as three
// quotients (ln(u + Q) at each height, ln(w + Q) over all four) and their arctangents as two
// pairs, atan s − atan t = atan2(s − t, 1 + s·t) over a common denominator.
struct RecSliceRows {
  double *cos_t, *sin_t, *sum_q, *logs, *turn_y, *turn_x;
};

__attribute__((target_clones("avx2", "default"))) void RecSliceArgs(
    RecSliceRows rows, int n, double x, double y, double z0, double z1, double ri, double ro) {
  const double* __restrict cos_t = rows.cos_t;
  const double* __restrict sin_t = rows.sin_t;
  double* __restrict sum_q = rows.sum_q;
  double* __restrict logs = rows.logs;      // three rows of n
  double* __restrict turn_y = rows.turn_y;  // two rows of n each
  double* __restrict turn_x = rows.turn_x;
  const double zz0 = z0 * z0, zz1 = z1 * z1;
#pragma omp simd
  for (int k = 0; k < n; ++k) {
    const double a = x * cos_t[k] + y * sin_t[k], e = x * sin_t[k] - y * cos_t[k], ee = e * e;
    const double uo = ro - a, ui = ri - a, qo = uo * uo + ee, qi = ui * ui + ee;
    const double o0 = std::sqrt(qo + zz0), i0 = std::sqrt(qi + zz0);
    const double o1 = std::sqrt(qo + zz1), i1 = std::sqrt(qi + zz1);
    sum_q[k] = (o1 - i1) - (o0 - i0);
    const Quotient uo1 = PlusRoot(uo, o1, ee + zz1), ui1 = PlusRoot(ui, i1, ee + zz1);
    const Quotient uo0 = PlusRoot(uo, o0, ee + zz0), ui0 = PlusRoot(ui, i0, ee + zz0);
    const Quotient wo1 = PlusRoot(z1, o1, qo), wi1 = PlusRoot(z1, i1, qi);
    const Quotient wo0 = PlusRoot(z0, o0, qo), wi0 = PlusRoot(z0, i0, qi);
    logs[k] = (uo1.num * ui1.den) / (uo1.den * ui1.num);
    logs[n + k] = (uo0.num * ui0.den) / (uo0.den * ui0.num);
    logs[2 * n + k] =
        (wo1.num * wi0.num * wi1.den * wo0.den) / (wo1.den * wi0.den * wi1.num * wo0.num);
    turn_y[k] = e * z1 * (uo * i1 - ui * o1);
    turn_x[k] = ee * o1 * i1 + uo * ui * zz1;
    turn_y[n + k] = e * z0 * (uo * i0 - ui * o0);
    turn_x[n + k] = ee * o0 * i0 + uo * ui * zz0;
  }
}

constexpr int kSliceBlock = 64;

// The slices at nodes [0, n), at most one block, unscaled by the current density.
Vec3 SecRecSliceBlock(
    const SecRecCoil& c, const Vec3& p, const double* theta, const double* weight, int n) {
  alignas(32) double cos_t[kSliceBlock], sin_t[kSliceBlock], sum_q[kSliceBlock];
  alignas(32) double logs[3 * kSliceBlock], turn_y[2 * kSliceBlock], turn_x[2 * kSliceBlock];
  BatchCosSin(theta, cos_t, sin_t, n);
  const double z0 = p.z, z1 = p.z + c.T;
  RecSliceArgs({cos_t, sin_t, sum_q, logs, turn_y, turn_x}, n, p.x, p.y, z0, z1, c.Ri, c.Ro);
  BatchLog(logs, 3 * n);
  BatchAtan2(turn_y, turn_x, turn_y, 2 * n);
  Vec3 h;
  for (int k = 0; k < n; ++k) {
    const double a = p.x * cos_t[k] + p.y * sin_t[k], e = p.x * sin_t[k] - p.y * cos_t[k];
    const double l1 = logs[k], l0 = logs[n + k];
    // a term whose factor is 0 is its limit 0, whatever its logarithm
    const double a_logs = a != 0 ? a * (l1 - l0) : 0.0,
                 a_log_w = a != 0 ? a * logs[2 * n + k] : 0.0;
    const double w_logs = (z1 != 0 ? z1 * l1 : 0.0) - (z0 != 0 ? z0 * l0 : 0.0);
    const double radial = weight[k] * (-sum_q[k] - a_logs);
    const double axial = w_logs - e * (turn_y[k] - turn_y[n + k]) - a_log_w;
    h += Vec3{radial * cos_t[k], radial * sin_t[k], weight[k] * axial};
  }
  return h;
}

// The slices at the given angles, each with its radial and height integrals in closed form.
Vec3 SecRecSlices(
    const SecRecCoil& c, const Vec3& p, const double* theta, const double* weight, int n) {
  Vec3 h;
  for (int k = 0; k < n; k += kSliceBlock) {
    h += SecRecSliceBlock(c, p, theta + k, weight + k, std::min(kSliceBlock, n - k));
  }
  return c.CurrentDensity * h;
}
}  // namespace

double SecRecCoilEdgeDistance(const SecRecCoil& c, const Vec3& p) {
  return EdgeDistance(c, std::sqrt(p.x * p.x + p.y * p.y), p.z);
}

bool SecRecCoilIsNear(const SecRecCoil& c, const Vec3& p) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y);
  return EdgeDistance(c, rho, p.z) < 0.4 * std::fmax(rho * c.Angle / 2, (c.Ro - c.Ri) / 2);
}

// The slice at angle θ carries J·dθ through Ri…Ro × −T…0; its field at the point has the radial
// and height integrals in closed form. Next to the point's azimuth the slices' integrand has a
// kink (inside the cross-section's span) or a near log singularity (next to an edge), hence the
// split there and the grading.
Vec3 SecRecCoilSliceField(const SecRecCoil& c, const Vec3& p) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y), half = c.Angle / 2,
               phi = std::atan2(p.y, p.x);
  const double tau = ImaginaryOffset(EdgeDistance(c, rho, p.z), rho, std::fmax(c.Ro, rho));
  SliceNodes nodes;
  if (rho > 0 && std::abs(phi) < half) {
    AddInterval(nodes, -half, phi, phi, tau);
    AddInterval(nodes, phi, half, phi, tau);
  } else {
    AddInterval(nodes, -half, half, phi, tau);
  }
  return SecRecSlices(c, p, nodes.theta, nodes.weight, nodes.size);
}

// Outside the conductor the slices' integrand is analytic round the real range of θ, and one
// Gauss rule through the sinh map, sized by the singularities' distance, is exact to rounding.
// The closed forms are differences of the cross-section's four corners: farther than ten times
// its smaller side they lose digits, and the node rule takes over. False there and inside.
bool SecRecCoilMappedField(const SecRecCoil& c, const Vec3& p, Vec3& field) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y), half = c.Angle / 2,
               phi = std::atan2(p.y, p.x);
  const bool beside = rho < c.Ri || rho > c.Ro || p.z > 0 || p.z < -c.T;
  const double gap = beside ? EdgeDistance(c, rho, p.z) : 0.0;
  const double past_end = 2 * rho * std::sin(std::fmax(std::abs(phi) - half, 0.0) / 2);
  if (!(half > 0) || (!beside && std::abs(phi) <= half) ||
      Hypot(gap, past_end) > 10 * std::fmin(c.Ro - c.Ri, c.T)) {
    return false;
  }
  const double far_r = std::fmax(std::abs(rho - c.Ri), std::abs(rho - c.Ro));
  const double far_z = std::fmax(std::abs(p.z), std::abs(p.z + c.T));
  const AngleSingularity sing{beside ? ImaginaryOffset(gap, rho, std::fmax(c.Ro, rho)) : 0.0,
                              ImaginaryOffset(Hypot(far_r, far_z), rho, c.Ri)};
  MappedAngles angles;
  if (!MapAngles(angles, half, phi, sing)) {
    return false;
  }
  field = SecRecSlices(c, p, angles.theta, angles.weight, angles.size);
  return true;
}

// A wire's radius or more away from the wire, the slices' integrand is analytic round the real
// range in θ and in β: θ on one Gauss rule through the sinh map, sized by the singularities'
// distance. Over β the integrand rwire·cos β·(F(R + rwire·cos β) − F(R − rwire·cos β)), F the
// radial primitive at height rwire·sin β, is the half of a smooth 2π-periodic function symmetric
// about β = π/2: the trapezoid rule over the turn, folded onto [−π/2, π/2], is the midpoint rule
// there, with geometric convergence at half the nodes of Gauss–Legendre. Nearer, or for a rule
// larger than kept, false.
bool SecCylCoilFarField(const SecCylCoil& c, const Vec3& p, Vec3& field) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y), half = c.Angle / 2,
               phi = std::atan2(p.y, p.x);
  // beyond an end of the arc every rim point lies at least the chord past the end farther away
  const double beyond = std::fmax(std::abs(phi) - half, 0.0), torus_gap = TorusGap(c, rho, p.z),
               past_end = std::sin(beyond / 2);
  // Within the tube (on its centre line too) the wire itself lies round the point, or beyond an
  // end its end face ahead, whatever the tube's surface: the face's plane lies ρ·sin of the angle
  // past it away, and the angle's singularity sits on the real axis at the point's azimuth.
  const bool in_tube = Hypot(rho - c.R, p.z) < c.rwire;
  const double gap = in_tube
                         ? rho * std::sin(std::fmin(beyond, kPi / 2))
                         : std::sqrt(torus_gap * torus_gap +
                                     4 * rho * std::fmax(c.R - c.rwire, 0.0) * past_end * past_end);
  if (!(gap >= c.rwire) || !(half > 0)) {
    return false;
  }
  AngleSingularity sing = AngleScale(c, rho, torus_gap);
  if (in_tube) {
    sing.nearest = 0;
  }
  MappedAngles angles;
  if (!MapAngles(angles, half, phi, sing)) {
    return false;
  }
  // the rim singularity in β lies ln(h/rwire) off the real axis, h = gap + rwire the distance
  // to the wire's centre line: the midpoint rule's error falls as (rwire/h)^(2n)
  const double need = std::log(1e13) / (2 * std::log1p(gap / c.rwire));
  if (!(need <= kLargestRule)) {
    return false;
  }
  const int nb = std::max(4, static_cast<int>(std::ceil(need)));
  const int nt = angles.size;
  alignas(32) double rows[kLargestRule * 9];
  double *cos_t = rows, *sin_t = cos_t + nt, *along = sin_t + nt, *beside = along + nt;
  double *w_cos = beside + nt, *w_sin = w_cos + nt, *ratio = w_sin + nt;
  double *cos_b = ratio + nt, *sin_b = cos_b + nb;
  const double* weight = angles.weight;
  BatchCosSin(angles.theta, cos_t, sin_t, nt);
  for (int k = 0; k < nt; ++k) {
    along[k] = p.x * cos_t[k] + p.y * sin_t[k];
    beside[k] = p.x * sin_t[k] - p.y * cos_t[k];
    w_cos[k] = weight[k] * cos_t[k];
    w_sin[k] = weight[k] * sin_t[k];
  }
  const double step = kPi / nb;
  for (int i = 0; i < nb; ++i) {
    cos_b[i] = -kPi / 2 + (i + 0.5) * step;
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
    h += (c.rwire * cos_b[i]) * Vec3{row.x, row.y, row.z + logs};
  }
  field = (c.CurrentDensity * step) * h;
  return true;
}

// The round wire's field as ∫dθ ∫dβ over the slices, β the angle of the height ζ = rwire·sin β
// within the cross-section (which takes the square-root ends of the half-width s(ζ) away); θ on
// rules sized by the singularities' distance (inside the wire one on each side of the point's
// azimuth) or graded towards it and the arc's ends; β per slice on the midpoint rule where its
// singularities lie far off the axis, else graded towards the point's height and its nearest rim
// point. The radial integral of each slice height is in closed form.
Vec3 SecCylCoilSliceField(const SecCylCoil& c, const Vec3& p) {
  Vec3 far;
  if (SecCylCoilFarField(c, p, far)) {
    return far;
  }
  const double rho = std::sqrt(p.x * p.x + p.y * p.y), half = c.Angle / 2,
               phi = std::atan2(p.y, p.x);
  const AngleSingularity sing = AngleScale(c, rho, TorusGap(c, rho, p.z));
  const double tau = sing.nearest;
  // Off the wire and away from the end faces the angle singularities lie off the real axis, and
  // beyond an end they lie beyond the arc (at φ itself within the wire's span); inside, a sized
  // rule on each side of φ; next to an end face, the graded panels.
  const bool in_tube = Hypot(rho - c.R, p.z) <= c.rwire, beyond_end = std::abs(phi) > half;
  const bool outside = beyond_end || (!in_tube && rho * (half - std::abs(phi)) > c.rwire);
  const AngleSingularity map_sing{in_tube ? 0.0 : sing.nearest, sing.farthest};
  MappedAngles mapped;
  SliceNodes graded;
  const bool inside_arc = rho > 0 && std::abs(phi) < half;
  if (!(outside && MapAngles(mapped, half, phi, map_sing, kNearAngleReach))) {
    mapped.size = 0;
    // inside the wire a sized rule on each side of the point's azimuth
    if (!(in_tube && inside_arc && MapSide(graded, phi, -half, tau, sing.farthest) &&
          MapSide(graded, phi, half, tau, sing.farthest))) {
      graded.size = 0;
      if (inside_arc) {
        AddInterval(graded, -half, phi, phi, tau);
        AddInterval(graded, phi, half, phi, tau);
      } else {
        AddInterval(graded, -half, half, phi, tau);
      }
    }
  }
  const bool on_map = mapped.size > 0;
  const int nt = on_map ? mapped.size : graded.size;
  const double* theta = on_map ? mapped.theta : graded.theta;
  const double* theta_weight = on_map ? mapped.weight : graded.weight;
  Vec3 h;
  SliceNodes heights;
  alignas(32) double rows[4 * SliceNodes::kCapacity];
  double *cos_b = rows, *sin_b = cos_b + SliceNodes::kCapacity;
  double *ratio = sin_b + SliceNodes::kCapacity, *width_weight = ratio + SliceNodes::kCapacity;
  SliceBlock block;
  for (int first = 0; first < nt; first += kRoundBlock) {
    block.Fill(theta + first, std::min(kRoundBlock, nt - first), p, c);
    for (int k = 0; k < block.size; ++k) {
      const double a = block.along[k], across = block.across[k];
      heights.size = 0;
      const double *slice_cos = cos_b, *slice_sin = sin_b, *slice_weight = heights.weight;
      const HeightPoles poles = block.Poles(k);
      if (AddMidpointHeights(heights, poles)) {
        slice_cos = MidpointRule(heights.size);
        heights.size = Padded(heights.size);
        slice_sin = slice_cos + heights.size;
        slice_weight = slice_sin + heights.size;
      } else {
        AddBetaNodes(heights, a, across, p.z, c, poles);
        PadToVectors(heights);
        HeightCosSin(heights.theta, cos_b, sin_b, heights.size);
      }
      const int n = heights.size;
      SliceSums sums = RoundWireColumn(slice_cos, slice_sin, slice_weight, n, a, across, c, p.z,
                                       ratio, width_weight);
      BatchLog(ratio, n);
      sums.axial += Dot(width_weight, ratio, n);
      const double wk = theta_weight[first + k];
      h += Vec3{wk * sums.radial * block.cos_t[k], wk * sums.radial * block.sin_t[k],
                wk * sums.axial};
    }
  }
  return c.CurrentDensity * h;
}

}  // namespace tavrine

// Field of a sector or hollow-cylinder magnet: two uniformly charged annular-sector sheets
// (z = 0 with +Br/4π, z = −T with −Br/4π), radial integral closed, angular integral on the nodes.
// Both faces share one pass over the nodes and one batch of logarithms.
#include <algorithm>
#include <cmath>

#include "field/local_fields.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

// Within 0.06·Ro·α/2 of a face the 500 fixed nodes lose digits (1e-9 at about 0.03·Ro·α/2).
constexpr double kSecMagNearFactor = 0.06;

// Both faces: Σ w·(x·ΔU − cosθ·ΔV), Σ w·(y·ΔU − sinθ·ΔV) with Δ the upper face's value minus
// the lower one's, Σ w·h·U per face and the count of undefined nodes; the log terms follow from
// the quotient of the two faces' log arguments written to ratio[k].
struct NodeSums {
  double x = 0, y = 0, z0 = 0, z1 = 0, undefined = 0;
};

struct NodeTerms {
  double u, v, num, den;       // v for the far nodes' sums
  double w_part, sides, rims;  // the near nodes' parts of x·U − cosθ·V and y·U − sinθ·V
  bool ok;
};

// The integrand in the point's own coordinates: a = ρ·cos(φ − θ), e = ρ·sin(φ − θ), and A, B
// the distances to the outer and inner rim points. The log argument (Ro − a + A)/(Ri − a + B)
// is kept as num/den, with Ro − a + A taken as g/(A − (Ro − a)) where Ro − a < 0: the same value
// without the cancellation. A node with A·g·B = 0 (the point on a rim circle in the face plane)
// contributes 0; the near nodes (kNear) keep a node with g = 0 beyond both rims, see below.
template <bool kNear>
inline __attribute__((always_inline)) NodeTerms Node(
    double x, double y, double c, double s, double hh, double ri, double ro) {
  // The near nodes are taken about a point turned onto the x axis: y = 0 spares its terms.
  const double a = kNear ? x * c : x * c + y * s, e = kNear ? -(x * s) : y * c - x * s;
  const double g = e * e + hh;
  const double xo = x - ro * c, xi = x - ri * c;
  const double yo = kNear ? -(ro * s) : y - ro * s, yi = kNear ? -(ri * s) : y - ri * s;
  const double big_a = std::sqrt(xo * xo + yo * yo + hh);
  const double big_b = std::sqrt(xi * xi + yi * yi + hh);
  const double co = ro - a, ci = ri - a;
  const bool one_side = co * ci > 0;
  NodeTerms n;
  if constexpr (kNear) {
    // With both rims on one side of the point's foot nothing below divides by g, so only a
    // point on a rim leaves the node undefined; the point on the axis in a face plane (e = g = 0
    // at every node) keeps its face.
    n.ok = (one_side ? big_a * big_b : big_a * g * big_b) != 0;
  } else {
    n.ok = big_a * g * big_b != 0;
  }
  // As t = a² + g: U = a·W − (1/A − 1/B) and V = a²·W − ((Ro + a)/A − (Ri + a)/B) with
  // W = (co/A − ci/B)/g. With both rims on one side of the point's foot (co, ci of one sign)
  // co/A − ci/B is a small difference over a small g near the ray through the point; there
  // W = σ·(A·ga − B·gb)/(A·ga·B·gb) with ga = A + |co|, gb = B + |ci|, and σ·(A·ga − B·gb) =
  // (Ro − Ri)·|co + ci| + A·co − B·ci adds terms of one sign: the g cancels and nothing else does.
  const double w_num =
      one_side ? (ro - ri) * std::abs(co + ci) + big_a * co - big_b * ci : co * big_b - ci * big_a;
  const double w_den = one_side ? (big_a + std::abs(co)) * (big_b + std::abs(ci)) : g;
  const double inv = 1.0 / (n.ok ? big_a * big_b * w_den : 1.0);
  const double u_num = a * w_num - (big_b - big_a) * w_den;
  n.u = n.ok ? u_num * inv : 0.0;
  const double rims = (ro + a) * big_b - (ri + a) * big_a;
  if constexpr (kNear) {
    // x·U − cosθ·V = −sinθ·a·e·W − x·(1/A − 1/B) + cosθ·rims/(A·B), and with y = 0
    // y·U − sinθ·V = cosθ·a·e·W + sinθ·rims/(A·B): the W terms' a·(x − a·cosθ) = −a·e·sinθ and
    // a·(y − a·sinθ) = a·e·cosθ are taken before W, since in the face plane W grows as 1/e²
    // near the point's own angle while the sums grow only as 1/e and would lose every digit.
    n.w_part = n.ok ? a * e * w_num * inv : 0.0;
    n.sides = n.ok ? (big_b - big_a) * w_den * inv : 0.0;
    n.rims = n.ok ? rims * w_den * inv : 0.0;
  } else {
    n.v = n.ok ? (a * a * w_num - rims * w_den) * inv : 0.0;
  }
  const double num_o = co >= 0 ? co + big_a : g, den_o = co >= 0 ? 1.0 : big_a - co;
  const double num_i = ci >= 0 ? ci + big_b : g, den_i = ci >= 0 ? 1.0 : big_b - ci;
  if constexpr (kNear) {
    // Beyond both rims the two g cancel, which matters where g is 0.
    const bool beyond = co < 0 && g == 0;
    n.num = n.ok ? (beyond ? den_i : num_o * den_i) : 1.0;
    n.den = n.ok ? (beyond ? den_o : den_o * num_i) : 1.0;
  } else {
    n.num = n.ok ? num_o * den_i : 1.0;
    n.den = n.ok ? den_o * num_i : 1.0;
  }
  return n;
}

template <bool kNear>
inline __attribute__((always_inline)) NodeSums NodeLoop(const double* __restrict c_theta,
                                                        const double* __restrict s_theta,
                                                        const double* __restrict weight,
                                                        int n,
                                                        double x,
                                                        double y,
                                                        double h0,
                                                        double h1,
                                                        double ri,
                                                        double ro,
                                                        double* __restrict ratio) {
  const double hh0 = h0 * h0, hh1 = h1 * h1;
  double sx = 0, sy = 0, sz0 = 0, sz1 = 0, undefined = 0;
#pragma omp simd reduction(+ : sx, sy, sz0, sz1, undefined)
  for (int k = 0; k < n; ++k) {
    const double c = c_theta[k], s = s_theta[k], w = weight[k];
    const NodeTerms upper = Node<kNear>(x, y, c, s, hh0, ri, ro);
    const NodeTerms lower = Node<kNear>(x, y, c, s, hh1, ri, ro);
    ratio[k] = (upper.num * lower.den) / (upper.den * lower.num);
    if constexpr (kNear) {
      const double dw = upper.w_part - lower.w_part, dr = upper.rims - lower.rims;
      sx += w * (c * dr - s * dw - x * (upper.sides - lower.sides));
      sy += w * (c * dw + s * dr);
    } else {
      const double du = upper.u - lower.u, dv = upper.v - lower.v;
      sx += w * (x * du - c * dv);
      sy += w * (y * du - s * dv);
    }
    sz0 += w * (h0 * upper.u);
    sz1 += w * (h1 * lower.u);
    undefined += (upper.ok ? 0.0 : 1.0) + (lower.ok ? 0.0 : 1.0);
  }
  return {sx, sy, sz0, sz1, undefined};
}

// The fixed nodes, where the point is never close to a face, or the graded `near` nodes about a
// point on the x axis (y is not read), which may lie in a face.
__attribute__((target_clones("avx2", "default"))) NodeSums SectorNodes(
    bool near,
    const double* __restrict c_theta,
    const double* __restrict s_theta,
    const double* __restrict weight,
    int n,
    double x,
    double y,
    double h0,
    double h1,
    double ri,
    double ro,
    double* __restrict ratio) {
  return near ? NodeLoop<true>(c_theta, s_theta, weight, n, x, y, h0, h1, ri, ro, ratio)
              : NodeLoop<false>(c_theta, s_theta, weight, n, x, y, h0, h1, ri, ro, ratio);
}

struct LogSums {
  double x = 0, y = 0;
};

__attribute__((target_clones("avx2", "default"))) LogSums WeightedLogs(
    const double* __restrict wc,
    const double* __restrict ws,
    const double* __restrict logs,
    int n) {
  double sx = 0, sy = 0;
#pragma omp simd reduction(+ : sx, sy)
  for (int k = 0; k < n; ++k) {
    sx += wc[k] * logs[k];
    sy += ws[k] * logs[k];
  }
  return {sx, sy};
}

// The point's angle by the quadrant rule (±π/2 on x = 0).
double PointAngle(double x, double y) {
  if (x > 0) {
    return std::atan(y / x);
  }
  if (x == 0) {
    return y >= 0 ? Pi() / 2 : -Pi() / 2;
  }
  return y >= 0 ? std::atan(y / x) + Pi() : std::atan(y / x) - Pi();
}

// A point within this many Ro of a face plane is in it, as for the rectangular magnet: grid
// points laid on a turned magnet's face keep their rounding there, and a face's own normal
// field, a peak of width h/ρ about the point's angle, would be narrower than the finest panel
// the graded rule has room for (about 5e-15 rad) well inside this band.
constexpr double kFacePlaneBand = 1e-9;

// Strictly inside the face, in its plane: there the z field of that face is Br/2 (just outside
// either pole face it points along +z), which h·U = 0 would miss.
bool InsideFace(const SecMag& m, double x, double y) {
  const double rho = std::sqrt(x * x + y * y);
  if (!(m.Ri < rho && rho < m.Ro)) {
    return false;
  }
  return m.OpenAngle >= 2 * Pi() || std::abs(PointAngle(x, y)) < m.OpenAngle / 2;
}

bool NextToFacePlane(const SecMag& m, double z) {
  const double flat = kFacePlaneBand * m.Ro;
  return std::abs(z) < flat || std::abs(z + m.T) < flat;
}

// In the face plane: the distance from (x, y) to the face's rim arcs and radial sides.
double FaceEdgeDistance(const SecMag& m, double x, double y) {
  const double rho = std::hypot(x, y);
  const bool full = m.OpenAngle >= 2 * Pi();
  double edge = 1e300;
  if (full || std::abs(std::atan2(y, x)) <= m.OpenAngle / 2) {
    edge = std::min(std::abs(rho - m.Ri), std::abs(rho - m.Ro));
  }
  for (double side : {-m.OpenAngle / 2, m.OpenAngle / 2}) {
    if (!full) {
      const double ux = std::cos(side), uy = std::sin(side);
      const double t = std::clamp(x * ux + y * uy, m.Ri, m.Ro);
      edge = std::min(edge, std::hypot(x - t * ux, y - t * uy));
    }
  }
  return edge;
}

}  // namespace

// The node table is symmetric (x_{n−1−k} = −x_k), so half the angles give all the values.
PreparedSecMag PrepareSecMag(const SecMag& magnet, const FieldQuadrature& quadrature) {
  const GaussLegendreTable& table = quadrature.sector;
  const int n = table.Size(), half = (n + 1) / 2;
  PreparedSecMag prepared{magnet, &table, std::vector<double>(4 * static_cast<size_t>(n))};
  double* c = prepared.node_values.data();
  double* s = c + n;
  for (int k = 0; k < half; ++k) {
    c[k] = magnet.OpenAngle / 2 * table.Nodes()[k];  // angles first, turned into cos in place
  }
  BatchCosSin(c, c, s, half);
  for (int k = half; k < n; ++k) {
    c[k] = c[n - 1 - k];
    s[k] = -s[n - 1 - k];
  }
  double* wc = s + n;
  double* ws = wc + n;
  for (int k = 0; k < n; ++k) {
    wc[k] = table.Weights()[k] * c[k];
    ws[k] = table.Weights()[k] * s[k];
  }
  prepared.graded = &quadrature.graded;
  return prepared;
}

namespace {

// The field from node sums over any angle rule whose weights are in units of α/2; `in_face`
// tells whether the point, wherever the rule's angles are measured from, lies inside the face.
Vec3 SumNodes(const SecMag& m,
              const Vec3& p,
              bool in_face,
              bool near,
              const double* c,
              const double* s,
              const double* w,
              const double* wc,
              const double* ws,
              int n,
              Notices& notices) {
  const double h[2] = {p.z, p.z + m.T};
  constexpr int kStackNodes = GradedNodes::kCapacity;
  double stack_ratio[kStackNodes];
  std::vector<double> heap_ratio(n > kStackNodes ? n : 0);
  double* ratio = n > kStackNodes ? heap_ratio.data() : stack_ratio;
  const NodeSums sums = SectorNodes(near, c, s, w, n, p.x, p.y, h[0], h[1], m.Ri, m.Ro, ratio);
  if (sums.undefined > 0) {
    notices.Raise(NoticeId::Caution3);
  }
  BatchLog(ratio, n);
  const LogSums logs = WeightedLogs(wc, ws, ratio, n);
  const double scale = m.OpenAngle / 2 * (m.Br / (4 * Pi()));
  Vec3 field{(sums.x - logs.x) * scale, (sums.y - logs.y) * scale, 0};
  const double flat = kFacePlaneBand * m.Ro;
  field.z += in_face && std::abs(h[0]) < flat ? m.Br / 2 : sums.z0 * scale;
  field.z += in_face && std::abs(h[1]) < flat ? m.Br / 2 : -(sums.z1 * scale);
  return field;
}

// A point within rounding of a rim or side in a face plane (polar ρ, angle, height) taken onto
// it: the field there is unbounded, and a point laid on it through a turned magnet's transform,
// or read back from a file's 15 digits, then gives the same finite value as one laid exactly.
void SnapOntoEdge(const SecMag& m, double& rho, double& at, double& z) {
  const double band = kFacePlaneBand * m.Ro;
  z = std::abs(z) < band ? 0.0 : -m.T;
  for (const double rim : {m.Ri, m.Ro}) {
    if (rim > 0 && std::abs(rho - rim) <= band) {
      rho = rim;
    }
  }
  if (m.OpenAngle < 2 * Pi()) {
    for (const double side : {-m.OpenAngle / 2, m.OpenAngle / 2}) {
      if (std::abs(at - side) * rho <= band) {
        at = side;
      }
    }
  }
}

// Near a face the integrand in θ peaks at the point's own angle with a width of about
// distance/radius, beyond what 500 fixed nodes resolve: there the rule is graded toward that
// angle (or the nearer side of the sector) and the nodes are computed for the point. Angles
// are measured from the point's own, which turns it onto the x axis: there e = −ρ·sin θ keeps
// its digits at the nodes next to it, as y·cos θ − x·sin θ would not, and in the face plane,
// where the peak is a principal value, the nodes either side of it cancel exactly.
Vec3 NearField(const SecMag& m,
               const Vec3& p,
               double distance,
               bool on_edge,
               const GradedRule& rule,
               Notices& notices) {
  // On the axis no angle is the point's own (and atan2(−0, −0) would be −π).
  double rho = std::hypot(p.x, p.y), z = p.z;
  double at = rho > 0 ? std::atan2(p.y, p.x) : 0;
  const double half = m.OpenAngle / 2;
  if (on_edge) {
    SnapOntoEdge(m, rho, at, z);
    distance = 0;
  }
  const double first = distance / std::max(rho, m.Ro);
  GradedNodes nodes;
  if (m.OpenAngle >= 2 * Pi()) {  // a ring: the turn centred on the point has no other peak
    rule.Fill(-Pi(), Pi(), 0, first, nodes);
  } else if (const double image = at > 0 ? at - 2 * Pi() : at + 2 * Pi();
             std::abs(image) < m.OpenAngle) {  // a turn away, just beyond the other side
    rule.Fill(-half - at, half - at, 0, image - at, first, nodes);
  } else {
    rule.Fill(-half - at, half - at, 0, first, nodes);
  }
  const int n = nodes.size;
  double values[5 * GradedNodes::kCapacity];
  double *c = values, *s = c + n, *w = s + n, *wc = w + n, *ws = wc + n;
  BatchCosSin(nodes.angle.data(), c, s, n);
  for (int k = 0; k < n; ++k) {
    w[k] = nodes.weight[k] / half;
    wc[k] = w[k] * c[k];
    ws[k] = w[k] * s[k];
  }
  // A point on a rim or side is on the face's boundary, not inside it.
  const bool in_face = !on_edge && NextToFacePlane(m, z) && InsideFace(m, p.x, p.y);
  const Vec3 turned = SumNodes(m, {rho, 0, z}, in_face, true, c, s, w, wc, ws, n, notices);
  double cos_at = rho > 0 ? p.x / rho : 1, sin_at = rho > 0 ? p.y / rho : 0;
  if (on_edge) {
    cos_at = std::cos(at);
    sin_at = std::sin(at);
  }
  return {cos_at * turned.x - sin_at * turned.y, sin_at * turned.x + cos_at * turned.y, turned.z};
}

}  // namespace

MagnetReach SecMagReachOf(const SecMag& m, const Vec3& p) {
  const double upper = FaceEdgeDistance(m, p.x, p.y);
  const bool on_face = InsideFace(m, p.x, p.y);
  const double in_plane = on_face ? 0.0 : upper;
  const double distance = std::min(std::hypot(in_plane, p.z), std::hypot(in_plane, p.z + m.T));
  // Within rounding of a rim or side in a face plane, as a grid laid at distance 0 on a turned
  // magnet's face puts its points: there the field grows without bound, so it is flagged.
  const bool on_edge = upper <= kFacePlaneBand * m.Ro && NextToFacePlane(m, p.z);
  return {distance, distance < kSecMagNearFactor * m.Ro * m.OpenAngle / 2, on_edge};
}

Vec3 SecMagLocalField(const PreparedSecMag& prepared, const Vec3& p, Notices& notices) {
  const SecMag& m = prepared.magnet;
  const MagnetReach reach = SecMagReachOf(m, p);
  // On the axis in a face plane every fixed node lies on the point's ray with g = 0, which only
  // the near nodes take.
  const bool axis_in_plane = p.x == 0 && p.y == 0 && (p.z == 0 || p.z == -m.T);
  if (reach.near || axis_in_plane) {
    if (reach.on_edge) {
      notices.Raise(NoticeId::Caution3);
    }
    return NearField(m, p, reach.distance, reach.on_edge, *prepared.graded, notices);
  }
  const int n = prepared.table->Size();
  const double* c = prepared.node_values.data();
  const bool in_face = NextToFacePlane(m, p.z) && InsideFace(m, p.x, p.y);
  return SumNodes(m, p, in_face, false, c, c + n, prepared.table->Weights().data(), c + 2 * n,
                  c + 3 * n, n, notices);
}

Vec3 SecMagLocalField(const SecMag& magnet,
                      const Vec3& p,
                      const FieldQuadrature& quadrature,
                      Notices& notices) {
  return SecMagLocalField(PrepareSecMag(magnet, quadrature), p, notices);
}

}  // namespace tavrine

// Exact field of the rectangular-wire arc in its own frame (mm, A/mm² → Oe): the radial and
// height integrals of each radial slice in closed form, the angle on panels graded towards the
// point's own azimuth and the arc's ends.
#include <cmath>

#include "field/conductor_fields.h"
#include "field/graded_panels.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

struct SliceSums {
  double radial = 0, axial = 0;
};

// One corner (u, w) of a slice, e the point's distance from the slice's plane and a its
// coordinate along the slice, Q = sqrt(u² + e² + w²): the primitives of (u + a)·w/Q³ (radial,
// −Q − a·ln(u + Q)) and of (u + a)·u/Q³ (axial, w·ln(u + Q) − e·atan(uw/(eQ)) − a·ln(w + Q)).
// A term whose factor is 0 is taken as its limit 0.
SliceSums Corner(double u, double w, double a, double e) {
  const double uu = u * u, ww = w * w, ee = e * e;
  const double q = std::sqrt(uu + ww + ee);
  const double log_u = u >= 0 ? std::log(u + q) : std::log((ee + ww) / (q - u));
  const double log_w = w >= 0 ? std::log(w + q) : std::log((uu + ee) / (q - w));
  const double a_log_u = a != 0 ? a * log_u : 0.0, a_log_w = a != 0 ? a * log_w : 0.0;
  const double w_log_u = w != 0 ? w * log_u : 0.0;
  const double turn = e != 0 ? e * std::atan(u * w / (e * q)) : 0.0;
  return {-q - a_log_u, w_log_u - turn - a_log_w};
}

// Angular distance from θ to the nearest image of the azimuth φ.
double AngleGap(double theta, double phi) {
  return std::abs(std::remainder(theta - phi, 2 * Pi()));
}

struct ArcPoint {
  const SecRecCoil& coil;
  Vec3 p;
  double phi;  // the point's azimuth
  double tau;  // how far from the real angles the slices' singularities lie
};

// The slice sums at angle θ, weighted by cos θ, sin θ and 1.
Vec3 Slice(const ArcPoint& ap, double theta) {
  const double c = std::cos(theta), s = std::sin(theta);
  const double a = ap.p.x * c + ap.p.y * s, e = ap.p.x * s - ap.p.y * c;
  const double u0 = ap.coil.Ri - a, u1 = ap.coil.Ro - a, w0 = ap.p.z, w1 = ap.p.z + ap.coil.T;
  const SliceSums c11 = Corner(u1, w1, a, e), c01 = Corner(u0, w1, a, e);
  const SliceSums c10 = Corner(u1, w0, a, e), c00 = Corner(u0, w0, a, e);
  const double radial = (c11.radial - c01.radial) - (c10.radial - c00.radial);
  const double axial = (c11.axial - c01.axial) - (c10.axial - c00.axial);
  return {radial * c, radial * s, axial};
}

// ∫ over [from, to] (either order), graded from `from`.
Vec3 GradedPiece(const ArcPoint& ap, double from, double to) {
  const double scale = std::fmax(ap.tau, AngleGap(from, ap.phi));
  const double sign = to >= from ? 1.0 : -1.0;
  return GradedIntegral(std::abs(to - from), scale,
                        [&](double t) { return Slice(ap, from + sign * t); });
}

// ∫ over [lo, hi], halved so that each half is graded from its own end.
Vec3 GradedInterval(const ArcPoint& ap, double lo, double hi) {
  const double mid = (lo + hi) / 2;
  return GradedPiece(ap, lo, mid) + GradedPiece(ap, hi, mid);
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

}  // namespace

bool SecRecCoilIsNear(const SecRecCoil& c, const Vec3& p) {
  const double rho = std::hypot(p.x, p.y);
  return EdgeDistance(c, rho, p.z) < 0.4 * std::fmax(rho * c.Angle / 2, (c.Ro - c.Ri) / 2);
}

// The slice at angle θ carries J·dθ through Ri…Ro × −T…0; its field at the point has the radial
// and height integrals in closed form. Next to the point's azimuth the slices' integrand has a
// kink (inside the cross-section's span) or a near log singularity (next to an edge), hence the
// split there and the grading.
Vec3 SecRecCoilSliceField(const SecRecCoil& c, const Vec3& p) {
  const double rho = std::hypot(p.x, p.y), half = c.Angle / 2;
  const double d = EdgeDistance(c, rho, p.z), x = d * d / (2 * std::fmax(c.Ro, rho) * rho);
  ArcPoint ap{c, p, std::atan2(p.y, p.x), rho > 0 ? std::log1p(x + std::sqrt(x * (x + 2))) : 1e9};
  Vec3 h;
  if (rho > 0 && std::abs(ap.phi) < half) {
    h = GradedInterval(ap, -half, ap.phi) + GradedInterval(ap, ap.phi, half);
  } else {
    h = GradedInterval(ap, -half, half);
  }
  return c.CurrentDensity * h;
}

}  // namespace tavrine

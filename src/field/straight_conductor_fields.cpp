// Exact fields of the straight conductors in their own frames (mm, A/mm² → Oe): the rectangular
// bar in closed form, the round wire as the infinite wire plus an integral round each end rim.
#include <cmath>

#include "field/conductor_fields.h"
#include "field/graded_panels.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

// ln(b + R) with R = sqrt(b² + rest2), without the cancellation of b + R for b < 0.
double LogSum(double b, double big_r, double rest2) {
  return b >= 0 ? std::log(b + big_r) : std::log(rest2 / (big_r - b));
}

// The primitive of 1/R in a and b (R = sqrt(a² + b² + c²)): a·ln(b + R) + b·ln(a + R) −
// c·atan(ab/(cR)), each term taken as its limit 0 where its factor a, b or c is 0.
double CornerPrimitive(double a, double b, double c) {
  const double aa = a * a, bb = b * b, cc = c * c;
  const double big_r = std::sqrt(aa + bb + cc);
  const double ta = a != 0 ? a * LogSum(b, big_r, aa + cc) : 0.0;
  const double tb = b != 0 ? b * LogSum(a, big_r, bb + cc) : 0.0;
  const double tc = c != 0 ? c * std::atan(a * b / (c * big_r)) : 0.0;
  return ta + tb - tc;
}

// ∫∫ 1/R over a ∈ [a0, a1], b ∈ [b0, b1] at offset c.
double FaceIntegral(double a0, double a1, double b0, double b1, double c) {
  return (CornerPrimitive(a1, b1, c) - CornerPrimitive(a0, b1, c)) -
         (CornerPrimitive(a1, b0, c) - CornerPrimitive(a0, b0, c));
}

double Sign(double v) {
  return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

// ∫ ln((a + sqrt(a² + r²))/(a + sqrt(a² + ρ² + R²))) cos t dt over a full turn, with r the
// distance from the point to the rim point at angle t from it: one end's rim term at axial
// distance a. Its log singularity lies τ = acosh(1 + ((ρ − R)² + a²)/(2ρR)) off the real axis.
double RimMoment(double a, double rho, double radius) {
  const double gap2 = (rho - radius) * (rho - radius) + a * a, rr = 4 * rho * radius;
  const double b = std::sqrt(a * a + rho * rho + radius * radius);
  const double ab = a + b, x = gap2 / (rr / 2);
  const double tau = std::log1p(x + std::sqrt(x * (x + 2)));
  return 2 * GradedIntegral(Pi(), tau, [&](double t) {
           // a² + r² with r² = (ρ − R)² + 4ρR·sin²(t/2), exact next to the rim
           const double c = std::cos(t), s = std::sin(t / 2);
           const double big_a = std::sqrt(gap2 + rr * s * s);
           const double rel = -(rr / 2) * c / ((big_a + b) * ab);
           return (rel < -0.5 ? std::log((a + big_a) / ab) : std::log1p(rel)) * c;
         });
}

}  // namespace

double StrRecCoilDistance(const StrRecCoil& c, const Vec3& p) {
  const double dx = std::fmax(std::abs(p.x) - c.Lx / 2, 0.0);
  const double dy = std::fmax(std::abs(p.y) - c.W / 2, 0.0);
  const double dz = std::fmax(std::fmax(p.z, -c.T - p.z), 0.0);
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// H = curl(A·x̂) with A = J∫dV/R: H_y = ∂A/∂z and H_z = −∂A/∂y, each the difference of A's
// integrand integrated over the two faces normal to that axis.
Vec3 StrRecCoilClosedForm(const StrRecCoil& c, const Vec3& p) {
  const double x0 = p.x - c.Lx / 2, x1 = p.x + c.Lx / 2;
  const double y0 = p.y - c.W / 2, y1 = p.y + c.W / 2;
  const double w0 = p.z, w1 = p.z + c.T;
  const double hy = FaceIntegral(x0, x1, y0, y1, w1) - FaceIntegral(x0, x1, y0, y1, w0);
  const double hz = FaceIntegral(x0, x1, w0, w1, y1) - FaceIntegral(x0, x1, w0, w1, y0);
  return {0, c.CurrentDensity * hy, -c.CurrentDensity * hz};
}

// The cross-section integral of the filaments' field is the gradient of a potential, so by the
// divergence theorem it is an integral round the rim of each end; the part that does not depend
// on the ends is the infinite wire's 2I/ρ (2πJρ inside).
Vec3 StrCylCoilRimField(const StrCylCoil& c, const Vec3& p) {
  const double rho = std::hypot(p.y, p.z);
  if (rho == 0 || !(c.R > 0)) {
    return {0, 0, 0};  // on the axis the filaments cancel
  }
  const double front = c.Lx / 2 + p.x, back = p.x - c.Lx / 2;
  const double sf = Sign(front), sb = Sign(back);
  double v = Pi() * (sf - sb) * (rho < c.R ? rho : c.R * c.R / rho);
  if (sf != 0) {
    v += c.R * sf * RimMoment(std::abs(front), rho, c.R);
  }
  if (sb != 0) {
    v -= c.R * sb * RimMoment(std::abs(back), rho, c.R);
  }
  const double scale = c.CurrentDensity * v / rho;
  return {0, -scale * p.z, scale * p.y};
}

}  // namespace tavrine

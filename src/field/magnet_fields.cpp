// Charge-model fields of the three magnet kinds in their own frames (mm, G → Oe).
#include <cmath>

#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

constexpr std::string_view kTitleX = "ﾛｹｰｼｮﾝ  RecMagFieldX!!!";
constexpr std::string_view kTitleY = "ﾛｹｰｼｮﾝ  RecMagFieldY!!!";

std::vector<double> TurnValues(const GaussLegendreTable& table, double (*f)(double)) {
  std::vector<double> values;
  for (double x : table.Nodes()) {
    values.push_back(f(Pi() + Pi() * x));
  }
  return values;
}

// One charged face of a prism: the closed forms of the uniformly charged rectangle.
struct RectFace {
  double a, b, br, w;
  Vec3 Field(double x, double y, double h, Notices& notices) const;
};

// ½·ln of a ratio of four (R ± edge offset) factors; 0 with a notice where a factor vanishes.
double HalfLogRatio(double n, double d, double chain, std::string_view title, Notices& notices) {
  if (d == 0) {
    notices.Raise(NoticeId::Caution3, title);
    return 0;
  }
  if (n == 0 || !(chain > 0) || std::isinf(chain)) {
    notices.Raise(NoticeId::Caution11, title);
    return 0;
  }
  return 0.5 * std::log(chain);
}

Vec3 RectFace::Field(double x, double y, double h, Notices& notices) const {
  const double p = x + a / 2, q = x - a / 2, s = y + b / 2, t = y - b / 2;
  const double h2 = h * h;
  const double rps = std::sqrt(p * p + s * s + h2), rpt = std::sqrt(p * p + t * t + h2);
  const double rqs = std::sqrt(q * q + s * s + h2), rqt = std::sqrt(q * q + t * t + h2);
  const double k = w * br / (4 * Pi());
  Vec3 out;
  {
    const double d = (rpt - t) * (s + rps) * (rqs - s) * (t + rqt);
    const double n = (t + rpt) * (rps - s) * (s + rqs) * (rqt - t);
    const double chain =
        (rqt - t) * ((s + rqs) * ((t + rpt) * ((rps - s) / (s + rps)) / (rpt - t)) / (rqs - s)) /
        (t + rqt);
    out.x = HalfLogRatio(n, d, chain, kTitleX, notices) * k;
  }
  {
    const double d = (q + rqt) * (p + rps) * (rqs - q) * (rpt - p);
    const double n = (rps - p) * (q + rqs) * (p + rpt) * (rqt - q);
    const double chain =
        (rqt - q) * ((q + rqs) * ((p + rpt) * ((rps - p) / (p + rps)) / (rpt - p)) / (rqs - q)) /
        (q + rqt);
    out.y = HalfLogRatio(n, d, chain, kTitleY, notices) * k;
  }
  const double product = h * rps * rpt * rqs * rqt;
  if (product > 0.00001 || product < -0.00001) {
    out.z = k * (std::atan(p * s / (h * rps)) - std::atan(p * t / (h * rpt)) -
                 std::atan(q * s / (h * rqs)) + std::atan(q * t / (h * rqt)));
  } else if (-a / 2 < x && x < a / 2 && -b / 2 < y && y < b / 2) {
    out.z = br / 2;  // just outside either pole face the field points along +z
  }
  return out;
}

// The point's angle in the face plane: atan(y/x) with the quadrant corrections, ±π/2 on x = 0.
double PointAngle(double x, double y) {
  if (x > 0) {
    return std::atan(y / x);
  }
  if (x == 0) {
    return y >= 0 ? Pi() / 2 : -Pi() / 2;
  }
  return y >= 0 ? std::atan(y / x) + Pi() : std::atan(y / x) - Pi();
}

struct SectorNodes {
  std::vector<double> cos_theta, sin_theta, weight;
};

SectorNodes MakeSectorNodes(const GaussLegendreTable& table, double open_angle) {
  SectorNodes nodes;
  const size_t n = table.Nodes().size();
  nodes.cos_theta.resize(n);
  nodes.sin_theta.resize(n);
  nodes.weight = table.Weights();
  for (size_t k = 0; k < n; ++k) {
    const double theta = open_angle / 2 * table.Nodes()[k];
    nodes.cos_theta[k] = std::cos(theta);
    nodes.sin_theta[k] = std::sin(theta);
  }
  return nodes;
}

bool InsideSectorFace(const SecMag& m, double rho, double phi) {
  if (!(m.Ri < rho && rho < m.Ro)) {
    return false;
  }
  return m.OpenAngle >= 2 * Pi() || std::abs(phi) < m.OpenAngle / 2;
}

// One charged annular-sector face at height h below the point: radial integral in closed form,
// angular integral over the nodes.
Vec3 SectorFace(const SecMag& m,
                const SectorNodes& nodes,
                double rho,
                double phi,
                double h,
                double w,
                Notices& notices) {
  const double cphi = std::cos(phi), sphi = std::sin(phi);
  const double t = rho * rho + h * h;
  double sx = 0, sy = 0, sz = 0;
  for (size_t k = 0; k < nodes.weight.size(); ++k) {
    const double ct = nodes.cos_theta[k], st = nodes.sin_theta[k];
    const double c = cphi * ct + sphi * st;  // cos(φ − θ)
    const double s = sphi * ct - cphi * st;  // sin(φ − θ)
    const double g = rho * rho * s * s + h * h;
    const double a = std::sqrt(m.Ro * m.Ro - 2 * m.Ro * rho * c + t);
    const double b = std::sqrt(m.Ri * m.Ri - 2 * m.Ri * rho * c + t);
    if (!(a * g * b > 0)) {
      notices.Raise(NoticeId::Caution3);
      continue;
    }
    const double rc = rho * c;
    const double u = ((m.Ro * rc - t) / a - (m.Ri * rc - t) / b) / g;
    const double kk = rho * rho * (c * c - s * s) - h * h;
    const double v = ((m.Ro * kk - t * rc) / a - (m.Ri * kk - t * rc) / b) / g;
    const double l =
        std::log(std::abs((2 * m.Ro - 2 * rc + 2 * a) / (2 * m.Ri - 2 * rc + 2 * b))) + v;
    const double wk = nodes.weight[k];
    sx += wk * (cphi * rho * u - ct * l);
    sy += wk * (sphi * rho * u - st * l);
    sz += wk * (h * u);
  }
  const double scale = m.OpenAngle / 2 * m.Br / (4 * Pi()) * w;
  Vec3 out{sx * scale, sy * scale, sz * scale};
  if (!std::isfinite(out.x) || !std::isfinite(out.y)) {
    out.x = out.y = 0;
  }
  if (h == 0 && InsideSectorFace(m, rho, phi)) {
    out.z = m.Br / 2;  // h·U vanishes in the face plane; the field just outside is Br/2
  } else if (!std::isfinite(out.z)) {
    out.z = 0;
  }
  return out;
}

}  // namespace

FieldQuadrature::FieldQuadrature()
    : sector(kGaussPoints),
      rh(100),
      coil(50),
      rh_cos(TurnValues(rh, std::cos)),
      rh_sin(TurnValues(rh, std::sin)),
      coil_turn_cos(TurnValues(coil, std::cos)),
      coil_turn_sin(TurnValues(coil, std::sin)) {}

Vec3 RecMagLocalField(const RecMag& m, const Vec3& p, Notices& notices) {
  const Vec3 upper = RectFace{m.a, m.b, m.Br, +1}.Field(p.x, p.y, p.z, notices);
  const Vec3 lower = RectFace{m.a, m.b, m.Br, -1}.Field(p.x, p.y, p.z + m.l, notices);
  return upper + lower;
}

Vec3 SecMagLocalField(const SecMag& m,
                      const Vec3& p,
                      const FieldQuadrature& quadrature,
                      Notices& notices) {
  const SectorNodes nodes = MakeSectorNodes(quadrature.sector, m.OpenAngle);
  const double rho = std::sqrt(p.x * p.x + p.y * p.y);
  const double phi = PointAngle(p.x, p.y);
  return SectorFace(m, nodes, rho, phi, p.z, +1, notices) +
         SectorFace(m, nodes, rho, phi, p.z + m.T, -1, notices);
}

Vec3 RhMagLocalField(const RhMag& m,
                     const Vec3& p,
                     const FieldQuadrature& quadrature,
                     Notices& notices) {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y);
  const double phi = PointAngle(p.x, p.y);
  const double cphi = std::cos(phi), sphi = std::sin(phi);
  const double top = p.z, bottom = m.HT + p.z;
  double sx = 0, sy = 0, sz = 0;
  for (size_t k = 0; k < quadrature.rh_cos.size(); ++k) {
    const double ct = quadrature.rh_cos[k], st = quadrature.rh_sin[k];
    const double d = rho * rho + m.R * m.R - 2 * m.R * rho * (cphi * ct + sphi * st);
    const double a = std::sqrt(top * top + d), b = std::sqrt(d + bottom * bottom);
    if (!(d * a * b > 0)) {
      notices.Raise(NoticeId::Caution3);
      continue;
    }
    const double k0 = m.R * ct * quadrature.rh.Weights()[k];
    const double height = (bottom / b - top / a) / d;
    sx += (rho * cphi - m.R * ct) * k0 * height;
    sy += (rho * sphi - m.R * st) * k0 * height;
    sz += (1 / a - 1 / b) * k0;
  }
  const double scale = Pi() * m.Br / (4 * Pi());
  Vec3 out{sx * scale, sy * scale, sz * scale};
  if (!std::isfinite(out.x) || !std::isfinite(out.y) || !std::isfinite(out.z)) {
    return {};
  }
  return out;
}

}  // namespace tavrine

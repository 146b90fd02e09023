// Charge-model fields of the three magnet kinds in their own frames (mm, G → Oe).
#include <cmath>

#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

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

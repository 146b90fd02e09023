// Biot–Savart fields of the four current-element kinds in their own frames (mm, A/mm² → Oe).
// A quadrature node where the integrand is undefined (the point on a node filament or sheet)
// contributes 0.
#include <cmath>

#include "field/local_fields.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

// Nodes of [u1, u2] and their weights scaled by (u2 − u1)/2.
struct Rule {
  std::vector<double> at, weight;
};

Rule MapRule(const GaussLegendreTable& table, double u1, double u2) {
  Rule rule;
  const double half = (u2 - u1) / 2, mid = (u2 + u1) / 2;
  for (size_t k = 0; k < table.Nodes().size(); ++k) {
    rule.at.push_back(half * table.Nodes()[k] + mid);
    rule.weight.push_back(half * table.Weights()[k]);
  }
  return rule;
}

struct AngleRule {
  std::vector<double> cos, sin, weight;
};

AngleRule MapAngles(const GaussLegendreTable& table, double half_angle) {
  const Rule rule = MapRule(table, -half_angle, half_angle);
  AngleRule angles{{}, {}, rule.weight};
  for (double theta : rule.at) {
    angles.cos.push_back(std::cos(theta));
    angles.sin.push_back(std::sin(theta));
  }
  return angles;
}

Vec3 FiniteOrZero(const Vec3& v) {
  if (std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) {
    return v;
  }
  return {};
}

// ln|(2·r1 − 2a + 2·D1)·(2·r2 − 2a + 2·D2) / ((2·r3 − 2a + 2·D3)·(2·r4 − 2a + 2·D4))|.
double EdgeLog(double a,
               double r1,
               double d1,
               double r2,
               double d2,
               double r3,
               double d3,
               double r4,
               double d4) {
  return std::log(std::abs((2 * r1 - 2 * a + 2 * d1) * (2 * r2 - 2 * a + 2 * d2) /
                           ((2 * r3 - 2 * a + 2 * d3) * (2 * r4 - 2 * a + 2 * d4))));
}

}  // namespace

Vec3 StrCylCoilLocalField(const StrCylCoil& c, const Vec3& p, const FieldQuadrature& q) {
  const Rule radii = MapRule(q.coil, 0, c.R);
  const double j = c.CurrentDensity, front = c.Lx / 2 + p.x, back = p.x - c.Lx / 2;
  const double yz2 = p.y * p.y + p.z * p.z;
  double sy = 0, sz = 0;
  for (size_t i = 0; i < radii.at.size(); ++i) {
    const double rho = radii.at[i];
    double row_y = 0, row_z = 0;
    for (size_t k = 0; k < q.coil_turn_cos.size(); ++k) {
      const double cp = q.coil_turn_cos[k], sp = q.coil_turn_sin[k];
      const double f = rho * rho - 2 * rho * (p.y * cp + p.z * sp) + yz2;
      if (!(f > 0)) {
        continue;
      }
      const double s =
          front / (f * std::sqrt(front * front + f)) - back / (f * std::sqrt(back * back + f));
      const double w = q.coil.Weights()[k];
      row_y += w * s * (p.z - rho * sp) * (-rho * j);
      row_z += w * s * (p.y - rho * cp) * (rho * j);
    }
    sy += radii.weight[i] * row_y;
    sz += radii.weight[i] * row_z;
  }
  return FiniteOrZero({0, sy * Pi(), sz * Pi()});  // ψ over [0, 2π]: half-width π
}

Vec3 StrRecCoilLocalField(const StrRecCoil& c, const Vec3& p, const FieldQuadrature& q) {
  const Rule heights = MapRule(q.coil, -c.T, 0);
  const double pp = c.Lx / 2 + p.x, qq = c.Lx / 2 - p.x, u = c.W / 2 + p.y, v = c.W / 2 - p.y;
  const double j = c.CurrentDensity;
  double sy = 0, sz = 0;
  for (size_t k = 0; k < heights.at.size(); ++k) {
    const double e = heights.at[k] - p.z;
    if (e == 0) {
      continue;
    }
    const double e2 = e * e;
    const double qu = std::sqrt(qq * qq + u * u + e2), qv = std::sqrt(qq * qq + v * v + e2);
    const double pu = std::sqrt(pp * pp + u * u + e2), pv = std::sqrt(pp * pp + v * v + e2);
    const double gy = std::atan(qq * u / (e * qu)) + std::atan(qq * v / (e * qv)) +
                      std::atan(pp * v / (e * pv)) + std::atan(pp * u / (e * pu));
    const double ratio = (qv - qq) / (qq + qv) * (qq + qu) / (qu - qq) * (pv - pp) / (pp + pv) *
                         (pp + pu) / (pu - pp);
    sy += heights.weight[k] * j * gy;
    sz += heights.weight[k] * (-j / 2) * std::log(ratio);
  }
  return FiniteOrZero({0, sy, sz});
}

Vec3 SecCylCoilLocalField(const SecCylCoil& c, const Vec3& p, const FieldQuadrature& q) {
  const Rule heights = MapRule(q.coil, -c.rwire, c.rwire);
  const AngleRule angles = MapAngles(q.coil, c.Angle / 2);
  const double j = c.CurrentDensity;
  double sx = 0, sy = 0, sz = 0;
  for (size_t i = 0; i < heights.at.size(); ++i) {
    const double zeta = heights.at[i];
    const double s = std::sqrt(std::max(0.0, c.rwire * c.rwire - zeta * zeta));
    const double dz2 = (p.z - zeta) * (p.z - zeta);
    double rx = 0, ry = 0, rz = 0;
    for (size_t k = 0; k < angles.cos.size(); ++k) {
      const double ct = angles.cos[k], st = angles.sin[k];
      const double a = p.x * ct + p.y * st, cc = p.x * st - p.y * ct;
      const double d = dz2 + cc * cc;
      if (!(d > 0)) {
        continue;
      }
      const double l = c.R + s - a, n = c.R - s - a;
      const double big_a = std::sqrt(l * l + d), big_b = std::sqrt(n * n + d);
      const double inv = 1 / big_b - 1 / big_a;
      const double radial = (a * (l / (d * big_a) - n / (d * big_b)) + inv) * angles.weight[k];
      rx += radial * ct;
      ry += radial * st;
      rz += angles.weight[k] *
            (-l / big_a + n / big_b + std::log(std::abs((l + big_a) / (n + big_b))) + a * inv);
    }
    const double wi = heights.weight[i];
    sx += wi * rx * (-j * (zeta - p.z));
    sy += wi * ry * (-j * (zeta - p.z));
    sz += wi * rz * j;
  }
  return FiniteOrZero({sx, sy, sz});
}

Vec3 SecRecCoilLocalField(const SecRecCoil& c, const Vec3& p, const FieldQuadrature& q) {
  const AngleRule angles = MapAngles(q.coil, c.Angle / 2);
  const Rule radii = MapRule(q.coil, c.Ri, c.Ro);
  const double j = c.CurrentDensity, rho2 = p.x * p.x + p.y * p.y;
  const double z0 = p.z * p.z, z1 = (p.z + c.T) * (p.z + c.T);
  double sx = 0, sy = 0, sz = 0;
  for (size_t k = 0; k < angles.cos.size(); ++k) {
    const double ct = angles.cos[k], st = angles.sin[k], a = p.x * ct + p.y * st;
    auto dist = [&](double r, double zz) { return std::sqrt(r * r - 2 * a * r + rho2 + zz); };
    const double d0o = dist(c.Ro, z0), d0i = dist(c.Ri, z0);
    const double d1o = dist(c.Ro, z1), d1i = dist(c.Ri, z1);
    const double l = EdgeLog(a, c.Ro, d0o, c.Ri, d1i, c.Ri, d0i, c.Ro, d1o);
    const double bracket = d1i + d0o - d0i - d1o + a * l;
    if (std::isfinite(bracket)) {
      sx += angles.weight[k] * bracket * j * ct;
      sy += angles.weight[k] * bracket * j * st;
    }
    double row = 0;
    for (size_t i = 0; i < radii.at.size(); ++i) {
      const double r = radii.at[i];
      const double qq = r * r - 2 * a * r + rho2;
      if (!(qq > 0)) {
        continue;
      }
      const double e0 = std::sqrt(z0 + qq), e1 = std::sqrt(qq + z1);
      row += radii.weight[i] * (p.z / (qq * e0) - (c.T + p.z) / (qq * e1)) * r * (a - r);
    }
    sz += angles.weight[k] * row * j;
  }
  return FiniteOrZero({sx, sy, sz});
}

}  // namespace tavrine

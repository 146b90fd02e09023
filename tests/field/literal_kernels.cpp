// Straightforward per-component kernels: every quantity recomputed per component and per node,
// trigonometry and logarithms from the scalar library. Slow on purpose; never used by the program.
#include "field/literal_kernels.h"

#include <cmath>

#include "model/text_rules.h"

namespace tavrine::literal {
namespace {

constexpr const char* kTitleX = "ﾛｹｰｼｮﾝ  RecMagFieldX!!!";
constexpr const char* kTitleY = "ﾛｹｰｼｮﾝ  RecMagFieldY!!!";

struct Corners {
  double p, q, s, t, rps, rpt, rqs, rqt, k;
};

Corners RecCorners(const RecMag& m, double x, double y, double h, double w) {
  Corners c;
  c.p = x + m.a / 2;
  c.q = x - m.a / 2;
  c.s = y + m.b / 2;
  c.t = y - m.b / 2;
  c.rps = std::sqrt(c.p * c.p + c.s * c.s + h * h);
  c.rpt = std::sqrt(c.p * c.p + c.t * c.t + h * h);
  c.rqs = std::sqrt(c.q * c.q + c.s * c.s + h * h);
  c.rqt = std::sqrt(c.q * c.q + c.t * c.t + h * h);
  c.k = w * m.Br / (4 * Pi());
  return c;
}

}  // namespace

double PointAngle(double x, double y) {
  const double pi = Pi();
  if (x > 0) {
    return std::atan(y / x);
  }
  if (x == 0) {
    return y >= 0 ? pi / 2 : -pi / 2;
  }
  return y >= 0 ? std::atan(y / x) + pi : std::atan(y / x) - pi;
}

double RecMagFieldX(const RecMag& m, double x, double y, double h, double w, Notices& n) {
  const Corners c = RecCorners(m, x, y, h, w);
  if ((c.rpt - c.t) * (c.s + c.rps) * (c.rqs - c.s) * (c.t + c.rqt) == 0) {
    n.Raise(NoticeId::Caution3, kTitleX);
    return 0;
  }
  if ((c.t + c.rpt) * (c.rps - c.s) * (c.s + c.rqs) * (c.rqt - c.t) == 0) {
    n.Raise(NoticeId::Caution11, kTitleX);
    return 0;
  }
  const double ratio =
      (c.rqt - c.t) *
      ((c.s + c.rqs) * ((c.t + c.rpt) * ((c.rps - c.s) / (c.s + c.rps)) / (c.rpt - c.t)) /
       (c.rqs - c.s)) /
      (c.t + c.rqt);
  return 0.5 * std::log(ratio) * c.k;
}

double RecMagFieldY(const RecMag& m, double x, double y, double h, double w, Notices& n) {
  const Corners c = RecCorners(m, x, y, h, w);
  if ((c.q + c.rqt) * (c.p + c.rps) * (c.rqs - c.q) * (c.rpt - c.p) == 0) {
    n.Raise(NoticeId::Caution3, kTitleY);
    return 0;
  }
  if ((c.rps - c.p) * (c.q + c.rqs) * (c.p + c.rpt) * (c.rqt - c.q) == 0) {
    n.Raise(NoticeId::Caution11, kTitleY);
    return 0;
  }
  const double ratio =
      (c.rqt - c.q) *
      ((c.p + c.rpt) * ((c.q + c.rqs) * ((c.rps - c.p) / (c.p + c.rps)) / (c.rqs - c.q)) /
       (c.rpt - c.p)) /
      (c.q + c.rqt);
  return 0.5 * std::log(ratio) * c.k;
}

double RecMagFieldZ(const RecMag& m, double x, double y, double h, double w) {
  const Corners c = RecCorners(m, x, y, h, w);
  const double product = h * c.rps * c.rpt * c.rqs * c.rqt;
  if (product > 0.00001 || product < -0.00001) {
    return c.k * (std::atan(c.p * c.s / (h * c.rps)) - std::atan(c.p * c.t / (h * c.rpt)) -
                  std::atan(c.q * c.s / (h * c.rqs)) + std::atan(c.q * c.t / (h * c.rqt)));
  }
  if (-m.a / 2 < x && x < m.a / 2 && -m.b / 2 < y && y < m.b / 2) {
    return m.Br / 2;
  }
  return 0;
}

namespace {

enum class Component { X, Y, Z };

// One node of the sector sheet integrand; the in-face h = 0 mend is applied by the caller.
double SecMagIntegrand(
    const SecMag& m, Component which, double rho, double phi, double theta, double h, Notices& n) {
  const double delta = phi - theta, c = std::cos(delta);
  const double t = rho * rho + h * h;
  const double g = rho * rho * std::sin(delta) * std::sin(delta) + h * h;
  const double a = std::sqrt(m.Ro * m.Ro - 2 * m.Ro * rho * c + t);
  const double b = std::sqrt(m.Ri * m.Ri - 2 * m.Ri * rho * c + t);
  if (a * g * b == 0) {
    n.Raise(NoticeId::Caution3);
    return 0;
  }
  const double u = ((m.Ro * rho * c - t) / a - (m.Ri * rho * c - t) / b) / g;
  const double k4 = m.Br / (4 * Pi());
  if (which == Component::Z) {
    return h * u * k4;
  }
  const double k = rho * rho * std::cos(2 * delta) - h * h;
  const double v = ((m.Ro * k - t * rho * c) / a - (m.Ri * k - t * rho * c) / b) / g;
  const double l = std::log(std::abs(2 * m.Ro - 2 * rho * c + 2 * a)) + v -
                   std::log(std::abs(2 * m.Ri - 2 * rho * c + 2 * b));
  if (which == Component::X) {
    return (std::cos(phi) * rho * u - std::cos(theta) * l) * k4;
  }
  return (std::sin(phi) * rho * u - std::sin(theta) * l) * k4;
}

double SecMagSum(const SecMag& m,
                 Component which,
                 const GaussLegendreTable& g,
                 int N,
                 double alpha,
                 double x,
                 double y,
                 double h,
                 double w,
                 Notices& n) {
  const double rho = std::sqrt(x * x + y * y), phi = PointAngle(x, y);
  double sum = 0;
  for (int k = 0; k < N; ++k) {
    const double theta = alpha / 2 * g.Nodes()[k];
    sum += g.Weights()[k] * SecMagIntegrand(m, which, rho, phi, theta, h, n);
  }
  return alpha / 2 * sum * w;
}

}  // namespace

double SecMagFieldX(const SecMag& m,
                    const GaussLegendreTable& g,
                    int N,
                    double alpha,
                    double x,
                    double y,
                    double h,
                    double w,
                    Notices& n) {
  return SecMagSum(m, Component::X, g, N, alpha, x, y, h, w, n);
}

double SecMagFieldY(const SecMag& m,
                    const GaussLegendreTable& g,
                    int N,
                    double alpha,
                    double x,
                    double y,
                    double h,
                    double w,
                    Notices& n) {
  return SecMagSum(m, Component::Y, g, N, alpha, x, y, h, w, n);
}

// With the in-face mend: a point in the plane of the sheet and strictly inside it sees Br/2.
double SecMagFieldZ(const SecMag& m,
                    const GaussLegendreTable& g,
                    int N,
                    double alpha,
                    double x,
                    double y,
                    double h,
                    double w,
                    Notices& n) {
  if (h == 0) {
    const double rho = std::sqrt(x * x + y * y), phi = PointAngle(x, y);
    const bool angle_inside = alpha >= 2 * Pi() || std::abs(phi) < alpha / 2;
    if (m.Ri < rho && rho < m.Ro && angle_inside) {
      return m.Br / 2;
    }
  }
  return SecMagSum(m, Component::Z, g, N, alpha, x, y, h, w, n);
}

namespace {

double RhSum(const RhMag& m,
             Component which,
             const GaussLegendreTable& g,
             int N,
             double x,
             double y,
             double z,
             Notices& n) {
  const double pi = Pi();
  const double rho = std::sqrt(x * x + y * y), phi = PointAngle(x, y);
  double sum = 0;
  for (int k = 0; k < N; ++k) {
    const double theta = pi + pi * g.Nodes()[k];
    const double k0 = m.R * (m.Br / (4 * pi)) * std::cos(theta);
    const double d = rho * rho + m.R * m.R - 2 * m.R * rho * std::cos(phi - theta);
    const double a = std::sqrt(z * z + d);
    const double b = std::sqrt(d + (m.HT + z) * (m.HT + z));
    double f = 0;
    if (d * a * b == 0) {
      n.Raise(NoticeId::Caution3);
    } else if (which == Component::X) {
      f = (rho * std::cos(phi) - m.R * std::cos(theta)) * k0 / d * ((m.HT + z) / b - z / a);
    } else if (which == Component::Y) {
      f = (rho * std::sin(phi) - m.R * std::sin(theta)) * k0 / d * ((m.HT + z) / b - z / a);
    } else {
      f = (1 / a - 1 / b) * k0;
    }
    sum += g.Weights()[k] * f;
  }
  return pi * sum;
}

}  // namespace

double RhMagFieldX(
    const RhMag& m, const GaussLegendreTable& g, int N, double x, double y, double z, Notices& n) {
  return RhSum(m, Component::X, g, N, x, y, z, n);
}
double RhMagFieldY(
    const RhMag& m, const GaussLegendreTable& g, int N, double x, double y, double z, Notices& n) {
  return RhSum(m, Component::Y, g, N, x, y, z, n);
}
double RhMagFieldZ(
    const RhMag& m, const GaussLegendreTable& g, int N, double x, double y, double z, Notices& n) {
  return RhSum(m, Component::Z, g, N, x, y, z, n);
}

namespace {

// Round straight wire: ρ nodes outer, ψ nodes inner; a node on the point's filament (f = 0)
// contributes 0.
double StrCylSum(const StrCylCoil& m,
                 Component which,
                 const GaussLegendreTable& g,
                 int N,
                 double rho1,
                 double rho2,
                 double psi1,
                 double psi2,
                 double x,
                 double y,
                 double z) {
  const double j = m.CurrentDensity;
  double sum = 0;
  for (int i = 0; i < N; ++i) {
    const double rho = (rho2 - rho1) / 2 * g.Nodes()[i] + (rho2 + rho1) / 2;
    for (int k = 0; k < N; ++k) {
      const double psi = (psi2 - psi1) / 2 * g.Nodes()[k] + (psi2 + psi1) / 2;
      const double f =
          rho * rho - 2 * rho * (y * std::cos(psi) + z * std::sin(psi)) + y * y + z * z;
      if (f == 0) {
        continue;
      }
      const double p = m.Lx / 2 + x, q = x - m.Lx / 2;
      const double s = p / (f * std::sqrt(p * p + f)) - q / (f * std::sqrt(q * q + f));
      const double integrand = which == Component::Y ? s * (z - rho * std::sin(psi)) * (-rho * j)
                                                     : s * (y - rho * std::cos(psi)) * (rho * j);
      sum += g.Weights()[i] * g.Weights()[k] * integrand;
    }
  }
  return (rho2 - rho1) * (psi2 - psi1) / 4 * sum;
}

}  // namespace

double StrCylCoilFieldY(const StrCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double rho1,
                        double rho2,
                        double psi1,
                        double psi2,
                        double x,
                        double y,
                        double z) {
  return StrCylSum(m, Component::Y, g, N, rho1, rho2, psi1, psi2, x, y, z);
}
double StrCylCoilFieldZ(const StrCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double rho1,
                        double rho2,
                        double psi1,
                        double psi2,
                        double x,
                        double y,
                        double z) {
  return StrCylSum(m, Component::Z, g, N, rho1, rho2, psi1, psi2, x, y, z);
}

namespace {

double Q(double a, double b, double e) {
  return std::sqrt(a * a + b * b + e * e);
}

// Rectangular straight wire: a sheet at the point's own height (E = 0) contributes 0.
double StrRecSum(const StrRecCoil& m,
                 Component which,
                 const GaussLegendreTable& g,
                 int N,
                 double t1,
                 double t2,
                 double x,
                 double y,
                 double z) {
  const double j = m.CurrentDensity;
  const double p = m.Lx / 2 + x, q = m.Lx / 2 - x, u = m.W / 2 + y, v = m.W / 2 - y;
  double sum = 0;
  for (int k = 0; k < N; ++k) {
    const double t = (t2 - t1) / 2 * g.Nodes()[k] + (t2 + t1) / 2;
    const double e = t - z;
    if (e == 0) {
      continue;
    }
    double f;
    if (which == Component::Y) {
      f = j * (std::atan(q * u / (e * Q(q, u, e))) + std::atan(q * v / (e * Q(q, v, e))) +
               std::atan(p * v / (e * Q(p, v, e))) + std::atan(p * u / (e * Q(p, u, e))));
    } else {
      f = -(j / 2) *
          std::log((Q(q, v, e) - q) / (q + Q(q, v, e)) * (q + Q(q, u, e)) / (Q(q, u, e) - q) *
                   (Q(p, v, e) - p) / (p + Q(p, v, e)) * (p + Q(p, u, e)) / (Q(p, u, e) - p));
    }
    sum += g.Weights()[k] * f;
  }
  return (t2 - t1) / 2 * sum;
}

}  // namespace

double StrRecCoilFieldY(const StrRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double t1,
                        double t2,
                        double x,
                        double y,
                        double z) {
  return StrRecSum(m, Component::Y, g, N, t1, t2, x, y, z);
}
double StrRecCoilFieldZ(const StrRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double t1,
                        double t2,
                        double x,
                        double y,
                        double z) {
  return StrRecSum(m, Component::Z, g, N, t1, t2, x, y, z);
}

namespace {

// Round-wire arc: ζ nodes outer, θ nodes inner; d = 0 contributes 0.
double SecCylSum(const SecCylCoil& m,
                 Component which,
                 const GaussLegendreTable& g,
                 int N,
                 double z1,
                 double z2,
                 double th1,
                 double th2,
                 double x,
                 double y,
                 double z) {
  const double j = m.CurrentDensity;
  double sum = 0;
  for (int i = 0; i < N; ++i) {
    const double zeta = (z2 - z1) / 2 * g.Nodes()[i] + (z2 + z1) / 2;
    const double s = std::sqrt(m.rwire * m.rwire - zeta * zeta);
    for (int k = 0; k < N; ++k) {
      const double theta = (th2 - th1) / 2 * g.Nodes()[k] + (th2 + th1) / 2;
      const double a = x * std::cos(theta) + y * std::sin(theta);
      const double c = x * std::sin(theta) - y * std::cos(theta);
      const double d = (z - zeta) * (z - zeta) + c * c;
      if (d == 0) {
        continue;
      }
      const double l = m.R + s - a, n = m.R - s - a;
      const double aa = std::sqrt(l * l + d), bb = std::sqrt(n * n + d);
      double f;
      if (which == Component::X) {
        f = (a * (l / (d * aa) - n / (d * bb)) + (1 / bb - 1 / aa)) *
            (-j * std::cos(theta) * (zeta - z));
      } else if (which == Component::Y) {
        f = (a * (l / (d * aa) - n / (d * bb)) + (1 / bb - 1 / aa)) *
            (-j * std::sin(theta) * (zeta - z));
      } else {
        f = (-l / aa + n / bb + std::log(std::abs(l + aa)) - std::log(std::abs(n + bb)) +
             a * (1 / bb - 1 / aa)) *
            j;
      }
      sum += g.Weights()[i] * g.Weights()[k] * f;
    }
  }
  return (z2 - z1) * (th2 - th1) / 4 * sum;
}

}  // namespace

double SecCylCoilFieldX(const SecCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double z1,
                        double z2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z) {
  return SecCylSum(m, Component::X, g, N, z1, z2, th1, th2, x, y, z);
}
double SecCylCoilFieldY(const SecCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double z1,
                        double z2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z) {
  return SecCylSum(m, Component::Y, g, N, z1, z2, th1, th2, x, y, z);
}
double SecCylCoilFieldZ(const SecCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double z1,
                        double z2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z) {
  return SecCylSum(m, Component::Z, g, N, z1, z2, th1, th2, x, y, z);
}

namespace {

double SecRecXySum(const SecRecCoil& m,
                   Component which,
                   const GaussLegendreTable& g,
                   int N,
                   double th1,
                   double th2,
                   double x,
                   double y,
                   double z) {
  const double j = m.CurrentDensity, rho2 = x * x + y * y;
  double sum = 0;
  for (int k = 0; k < N; ++k) {
    const double theta = (th2 - th1) / 2 * g.Nodes()[k] + (th2 + th1) / 2;
    const double a = x * std::cos(theta) + y * std::sin(theta);
    auto d0 = [&](double r) { return std::sqrt(r * r - 2 * a * r + rho2 + z * z); };
    auto d1 = [&](double r) { return std::sqrt(r * r - 2 * a * r + rho2 + (z + m.T) * (z + m.T)); };
    const double l = std::log(
        std::abs(2 * m.Ro - 2 * a + 2 * d0(m.Ro)) * std::abs(2 * m.Ri - 2 * a + 2 * d1(m.Ri)) /
        (std::abs(2 * m.Ri - 2 * a + 2 * d0(m.Ri)) * std::abs(2 * m.Ro - 2 * a + 2 * d1(m.Ro))));
    const double bracket = d1(m.Ri) + d0(m.Ro) - d0(m.Ri) - d1(m.Ro) + a * l;
    const double f =
        which == Component::X ? bracket * j * std::cos(theta) : bracket * j * std::sin(theta);
    sum += g.Weights()[k] * f;
  }
  return (th2 - th1) / 2 * sum;
}

}  // namespace

double SecRecCoilFieldX(const SecRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z) {
  return SecRecXySum(m, Component::X, g, N, th1, th2, x, y, z);
}
double SecRecCoilFieldY(const SecRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z) {
  return SecRecXySum(m, Component::Y, g, N, th1, th2, x, y, z);
}

// r nodes outer, θ nodes inner; a point horizontally on a node filament (q = 0) contributes 0.
double SecRecCoilFieldZ(const SecRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double r1,
                        double r2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z) {
  const double j = m.CurrentDensity, rho2 = x * x + y * y;
  double sum = 0;
  for (int i = 0; i < N; ++i) {
    const double r = (r2 - r1) / 2 * g.Nodes()[i] + (r2 + r1) / 2;
    for (int k = 0; k < N; ++k) {
      const double theta = (th2 - th1) / 2 * g.Nodes()[k] + (th2 + th1) / 2;
      const double a = x * std::cos(theta) + y * std::sin(theta);
      const double q = r * r - 2 * a * r + rho2;
      if (q == 0) {
        continue;
      }
      const double e0 = std::sqrt(z * z + q), e1 = std::sqrt(q + (m.T + z) * (m.T + z));
      const double f = (z / (q * e0) - (m.T + z) / (q * e1)) * j * r * (a - r);
      sum += g.Weights()[i] * g.Weights()[k] * f;
    }
  }
  return (r2 - r1) * (th2 - th1) / 4 * sum;
}

Vec3 RecMagLocalField(const RecMag& m, const Vec3& p, Notices& n) {
  const double lower = p.z + m.l;
  return {RecMagFieldX(m, p.x, p.y, p.z, 1, n) + RecMagFieldX(m, p.x, p.y, lower, -1, n),
          RecMagFieldY(m, p.x, p.y, p.z, 1, n) + RecMagFieldY(m, p.x, p.y, lower, -1, n),
          RecMagFieldZ(m, p.x, p.y, p.z, 1) + RecMagFieldZ(m, p.x, p.y, lower, -1)};
}

Vec3 SecMagLocalField(const SecMag& m, const GaussLegendreTable& g, const Vec3& p, Notices& n) {
  const int N = g.Size();
  const double al = m.OpenAngle, lower = p.z + m.T;
  return {SecMagFieldX(m, g, N, al, p.x, p.y, p.z, 1, n) +
              SecMagFieldX(m, g, N, al, p.x, p.y, lower, -1, n),
          SecMagFieldY(m, g, N, al, p.x, p.y, p.z, 1, n) +
              SecMagFieldY(m, g, N, al, p.x, p.y, lower, -1, n),
          SecMagFieldZ(m, g, N, al, p.x, p.y, p.z, 1, n) +
              SecMagFieldZ(m, g, N, al, p.x, p.y, lower, -1, n)};
}

Vec3 RhMagLocalField(const RhMag& m, const GaussLegendreTable& g, const Vec3& p, Notices& n) {
  const int N = g.Size();
  return {RhMagFieldX(m, g, N, p.x, p.y, p.z, n), RhMagFieldY(m, g, N, p.x, p.y, p.z, n),
          RhMagFieldZ(m, g, N, p.x, p.y, p.z, n)};
}

Vec3 StrCylCoilLocalField(const StrCylCoil& m, const GaussLegendreTable& g, const Vec3& p) {
  const int N = g.Size();
  const double two_pi = 2 * Pi();
  return {0, StrCylCoilFieldY(m, g, N, 0, m.R, 0, two_pi, p.x, p.y, p.z),
          StrCylCoilFieldZ(m, g, N, 0, m.R, 0, two_pi, p.x, p.y, p.z)};
}

Vec3 StrRecCoilLocalField(const StrRecCoil& m, const GaussLegendreTable& g, const Vec3& p) {
  const int N = g.Size();
  return {0, StrRecCoilFieldY(m, g, N, -m.T, 0, p.x, p.y, p.z),
          StrRecCoilFieldZ(m, g, N, -m.T, 0, p.x, p.y, p.z)};
}

Vec3 SecCylCoilLocalField(const SecCylCoil& m, const GaussLegendreTable& g, const Vec3& p) {
  const int N = g.Size();
  const double r = m.rwire, h = m.Angle / 2;
  return {SecCylCoilFieldX(m, g, N, -r, r, -h, h, p.x, p.y, p.z),
          SecCylCoilFieldY(m, g, N, -r, r, -h, h, p.x, p.y, p.z),
          SecCylCoilFieldZ(m, g, N, -r, r, -h, h, p.x, p.y, p.z)};
}

Vec3 SecRecCoilLocalField(const SecRecCoil& m, const GaussLegendreTable& g, const Vec3& p) {
  const int N = g.Size();
  const double h = m.Angle / 2;
  return {SecRecCoilFieldX(m, g, N, -h, h, p.x, p.y, p.z),
          SecRecCoilFieldY(m, g, N, -h, h, p.x, p.y, p.z),
          SecRecCoilFieldZ(m, g, N, m.Ri, m.Ro, -h, h, p.x, p.y, p.z)};
}

}  // namespace tavrine::literal

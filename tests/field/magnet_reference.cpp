// Flat sheets: in polar coordinates (t, φ) round the foot F of the point at height h, the
// integrals over t of a uniform sheet are closed (1/r and asinh terms) on each stretch of the ray
// that lies on the face; the ray's stretches come from its crossings with the face's boundary.
// The angle is integrated adaptively (G7/K15) between the directions of corners and tangents.
#include "field/magnet_reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include <queue>

#include "model/text_rules.h"

namespace tavrine::reference {
namespace {

using Real = long double;
struct V3 {
  Real x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator*(Real k, V3 a) {
  return {k * a.x, k * a.y, k * a.z};
}
Real MaxAbs(V3 a) {
  return std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)});
}

constexpr std::array<Real, 8> kXk = {
    0.991455371120812639206854697526329L, 0.949107912342758524526189684047851L,
    0.864864423359769072789712788640926L, 0.741531185599394439863864773280788L,
    0.586087235467691130294144845693013L, 0.405845151377397166906606412076961L,
    0.207784955007898467600689403773245L, 0.0L};
constexpr std::array<Real, 8> kWk = {
    0.022935322010529224963732008058970L, 0.063092092629978553290700663189204L,
    0.104790010322250183839876322541518L, 0.140653259715525918745189590510238L,
    0.169004726639267902826583426598550L, 0.190350578064785409913256402421014L,
    0.204432940075298892414161999234649L, 0.209482141084727828012999174891714L};
constexpr std::array<Real, 4> kWg = {
    0.129484966168869693270611432679082L, 0.279705391489276667901467771423780L,
    0.381830050505118944950369775488975L, 0.417959183673469387755102040816327L};

using Integrand = std::function<V3(Real)>;

struct Piece {
  Real a, b;
  V3 value;
  Real error;
  bool operator<(const Piece& o) const { return error < o.error; }
};

// G7/K15 on [a, b], with |K15 − G7| as the error.
Piece Rule(const Integrand& f, Real a, Real b) {
  const Real half = (b - a) / 2, mid = (a + b) / 2;
  V3 kronrod = kWk[7] * f(mid), gauss = kWg[3] * f(mid);
  for (int i = 0; i < 7; ++i) {
    const V3 sum = f(mid - half * kXk[i]) + f(mid + half * kXk[i]);
    kronrod = kronrod + kWk[i] * sum;
    if (i % 2 == 1) {
      gauss = gauss + kWg[i / 2] * sum;
    }
  }
  return {a, b, half * kronrod, MaxAbs(kronrod + Real(-1) * gauss) * half};
}

// Globally adaptive: split the piece of largest error until the errors add up to 1e-14 of the
// largest component (the K15 estimate itself is far better than that), from the given breaks.
V3 Integrate(const Integrand& f, std::vector<Real> breaks) {
  std::sort(breaks.begin(), breaks.end());
  std::priority_queue<Piece> pieces;
  for (size_t i = 0; i + 1 < breaks.size(); ++i) {
    if (breaks[i + 1] > breaks[i]) {
      pieces.push(Rule(f, breaks[i], breaks[i + 1]));
    }
  }
  V3 running;
  Real error = 0;
  for (auto all = pieces; !all.empty(); all.pop()) {
    running = running + all.top().value;
    error += all.top().error;
  }
  for (int split = 0; split < 40000 && error > 1e-14L * MaxAbs(running); ++split) {
    const Piece worst = pieces.top();
    pieces.pop();
    const Real mid = (worst.a + worst.b) / 2;
    const Piece left = Rule(f, worst.a, mid), right = Rule(f, mid, worst.b);
    running = running + left.value + right.value + Real(-1) * worst.value;
    error += left.error + right.error - worst.error;
    pieces.push(left);
    pieces.push(right);
  }
  V3 total;
  for (; !pieces.empty(); pieces.pop()) {
    total = total + pieces.top().value;
  }
  return total;
}

// A flat face: its boundary as circles round the origin and straight segments, and a test for
// the points of the face.
struct Face {
  std::vector<Real> circles;
  std::vector<std::array<Real, 4>> segments;  // x0, y0, x1, y1
  std::function<bool(Real, Real)> contains;
};

// Where the ray F + t·(c, s), t > 0, crosses the face's boundary.
std::vector<Real> Crossings(const Face& face, Real fx, Real fy, Real c, Real s) {
  std::vector<Real> ts{0};
  const Real b = fx * c + fy * s;
  for (Real r : face.circles) {
    const Real disc = b * b - (fx * fx + fy * fy - r * r);
    if (disc >= 0) {
      for (Real t : {-b - std::sqrt(disc), -b + std::sqrt(disc)}) {
        ts.push_back(t);
      }
    }
  }
  for (const auto& g : face.segments) {
    const Real ex = g[2] - g[0], ey = g[3] - g[1];
    const Real den = c * ey - s * ex;
    if (den != 0) {
      const Real t = ((g[0] - fx) * ey - (g[1] - fy) * ex) / den;
      const Real u = ((g[0] - fx) * s - (g[1] - fy) * c) / den;
      if (u >= 0 && u <= 1) {
        ts.push_back(t);
      }
    }
  }
  std::erase_if(ts, [](Real t) { return t < 0; });
  std::sort(ts.begin(), ts.end());
  return ts;
}

// Field of the face with unit charge density at height h above F, one ray direction.
V3 RayField(const Face& face, Real fx, Real fy, Real h, Real phi) {
  const Real c = std::cos(phi), s = std::sin(phi);
  const std::vector<Real> ts = Crossings(face, fx, fy, c, s);
  Real radial = 0, axial = 0;
  for (size_t i = 0; i + 1 < ts.size(); ++i) {
    const Real t1 = ts[i], t2 = ts[i + 1], tm = (t1 + t2) / 2;
    if (t2 <= t1 || !face.contains(fx + tm * c, fy + tm * s)) {
      continue;
    }
    const Real r1 = std::sqrt(t1 * t1 + h * h), r2 = std::sqrt(t2 * t2 + h * h);
    axial += h * (1 / r1 - 1 / r2);
    radial += std::log((t2 + r2) / (t1 + r1)) - (t2 / r2 - t1 / r1);
  }
  return {-radial * c, -radial * s, axial};
}

V3 FaceField(const Face& face, const Vec3& p, Real face_z, Real sigma) {
  const Real fx = p.x, fy = p.y, h = Real(p.z) - face_z;
  const Real start = -Pi();
  std::vector<Real> breaks{start, start + 2 * Pi()};
  auto add = [&](Real angle) {
    const Real turn = 2 * Real(Pi());
    breaks.push_back(start + std::fmod(std::fmod(angle - start, turn) + turn, turn));
  };
  for (const auto& g : face.segments) {
    add(std::atan2(g[1] - fy, g[0] - fx));
    add(std::atan2(g[3] - fy, g[2] - fx));
  }
  const Real distance = std::hypot(fx, fy);
  for (Real r : face.circles) {
    if (distance > r) {
      const Real to_centre = std::atan2(-fy, -fx), spread = std::asin(r / distance);
      add(to_centre - spread);
      add(to_centre + spread);
    }
  }
  const Integrand ray = [&](Real phi) { return RayField(face, fx, fy, h, phi); };
  return sigma * Integrate(ray, breaks);
}

Vec3 ToVec(V3 v) {
  return {static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
}

}  // namespace

Vec3 RecMagField(const RecMag& m, const Vec3& p) {
  const Real a = m.a / 2.0L, b = m.b / 2.0L;
  Face face;
  face.segments = {{-a, -b, a, -b}, {a, -b, a, b}, {a, b, -a, b}, {-a, b, -a, -b}};
  face.contains = [=](Real x, Real y) { return std::fabs(x) <= a && std::fabs(y) <= b; };
  const Real sigma = m.Br / (4 * Real(Pi()));
  return ToVec(FaceField(face, p, 0, sigma) + FaceField(face, p, -Real(m.l), -sigma));
}

Vec3 SecMagField(const SecMag& m, const Vec3& p) {
  Face face;
  const Real ri = m.Ri, ro = m.Ro, half = m.OpenAngle / 2.0L;
  const bool full = m.OpenAngle >= 2 * Pi();
  face.circles = {ro};
  if (ri > 0) {
    face.circles.push_back(ri);
  }
  if (!full) {
    for (Real side : {-half, half}) {
      const Real c = std::cos(side), s = std::sin(side);
      face.segments.push_back({ri * c, ri * s, ro * c, ro * s});
    }
  }
  face.contains = [=](Real x, Real y) {
    const Real r = std::hypot(x, y);
    return r >= ri && r <= ro && (full || std::fabs(std::atan2(y, x)) <= half);
  };
  const Real sigma = m.Br / (4 * Real(Pi()));
  return ToVec(FaceField(face, p, 0, sigma) + FaceField(face, p, -Real(m.T), -sigma));
}

// The surface strip at θ as a finite line charge from z' = −HT to 0: its field per unit charge
// length at horizontal offset (dx, dy) is (dx, dy)·[u/(d²·r)] and 1/r1 − 1/r2 along z, with u
// the height above z' from z to z + HT; the bracket is rewritten without cancellation when both
// ends lie on one side of the point.
V3 StripField(Real dx, Real dy, Real u1, Real u2) {
  const Real d2 = dx * dx + dy * dy;
  const Real r1 = std::sqrt(d2 + u1 * u1), r2 = std::sqrt(d2 + u2 * u2);
  const Real along = u1 * u2 > 0 ? (u2 * u2 - u1 * u1) / ((u2 * r1 + u1 * r2) * r1 * r2)
                                 : (u2 / r2 - u1 / r1) / d2;
  return {dx * along, dy * along, 1 / r1 - 1 / r2};
}

Vec3 RhMagField(const RhMag& m, const Vec3& p) {
  const Real r = m.R, sigma = m.Br / (4 * Real(Pi()));
  const Real u1 = p.z, u2 = Real(p.z) + m.HT;
  const Integrand strip = [&](Real theta) {
    const Real c = std::cos(theta), s = std::sin(theta);
    return (sigma * r * c) * StripField(p.x - r * c, p.y - r * s, u1, u2);
  };
  const Real at = std::atan2(Real(p.y), Real(p.x));
  return ToVec(Integrate(strip, {at - Pi(), at, at + Pi()}));
}

}  // namespace tavrine::reference

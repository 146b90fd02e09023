// Field of a rectangular prism magnet: two uniformly charged rectangles (z = 0 with +Br/4π,
// z = −l with −Br/4π) in closed form, both faces sharing one batch of logarithms and arctangents.
#include <algorithm>
#include <cmath>

#include "field/local_fields.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

constexpr const char* kTitleX = "ﾛｹｰｼｮﾝ  RecMagFieldX!!!";
constexpr const char* kTitleY = "ﾛｹｰｼｮﾝ  RecMagFieldY!!!";
// Distances below this fraction of the magnet's size are rounding, not geometry.
constexpr double kFacePlaneBand = 1e-9;

// One face's corner terms; log_args and atan_args are filled here and evaluated in a batch.
struct FaceTerms {
  double k = 0;
  bool x_defined = false, y_defined = false, off_plane = false;
  double in_plane_z = 0;
};

// R + v and R − v for a corner at offset v along one edge and u across it, R = sqrt(u² + v² + h²):
// where the sum or difference would cancel it is taken as (u² + h²)/(R ∓ v), which is the same
// number with all its digits (a point near the prolongation of an edge, or far away).
double RPlus(double v, double across, double r) {
  return v >= 0 ? r + v : across / (r - v);
}
double RMinus(double v, double across, double r) {
  return v <= 0 ? r - v : across / (r + v);
}

// (R₁ + v₁)/(R₁ − v₁) · (R₂ − v₂)/(R₂ + v₂) for the corners at v₁ < v₂ along one edge line,
// `across` = u² + h², R = sqrt(across + v²), taken with `across` cancelled where both corners
// lie on one side of the point: in the face plane on the prolongation of the edge (across = 0)
// the two factors are 0 and ∞ but their product is finite. It is 0 or not finite only for a
// point on the edge or a corner, where the field itself is unbounded.
double CornerPairRatio(double v1, double v2, double across, double r1, double r2) {
  double f = across / ((r1 - v1) * (r2 + v2));
  if (v1 > 0) {
    f = (r1 + v1) / (r2 + v2);
  } else if (v2 < 0) {
    f = (r2 - v2) / (r1 - v1);
  }
  return f * f;
}

// The log ratio from its two corner pairs where the product of its four denominators is 0, put
// into `log_arg`; false, leaving it, where the point lies on an edge or a corner.
bool PairedLogArgument(double pair_a, double pair_b, double& log_arg) {
  const double ratio = pair_a / pair_b;
  if (!(ratio > 0 && std::isfinite(ratio))) {
    return false;
  }
  log_arg = ratio;
  return true;
}

// Within rounding of an edge in a face plane, where a grid laid at distance 0 on a turned
// magnet's face puts its edge points, the point is taken onto the edge: the field there grows
// without bound, and the notice says so as for a point laid exactly on it.
void SnapOntoEdge(const RecMag& m, double& x, double& y, double& h) {
  const double band = kFacePlaneBand * std::max(m.a, m.b);
  if (std::abs(h) > band) {
    return;
  }
  // Only on the edge itself: on its prolongation beyond a corner the field stays finite.
  auto snap = [band](double& c, double half, double along, double half_along) {
    if (std::abs(along) > half_along + band) {
      return false;
    }
    for (const double edge : {-half, half}) {
      if (std::abs(c - edge) <= band) {
        c = edge;
        return true;
      }
    }
    return false;
  };
  const double x0 = x;
  const bool on_x = snap(x, m.a / 2, y, m.b / 2);
  const bool on_y = snap(y, m.b / 2, x0, m.a / 2);
  if (on_x || on_y) {
    h = 0;
  }
}

// The x and y log ratios (the zero guards test the products first). In the face plane within
// 1e-9 of the magnet's size the z field takes the in-plane rule: grid points laid on a turned
// magnet's face keep their rounding there.
FaceTerms PrepareFace(const RecMag& m,
                      double x,
                      double y,
                      double h,
                      double w,
                      Notices& notices,
                      double* log_args,
                      double* atan_args) {
  SnapOntoEdge(m, x, y, h);
  const double p = x + m.a / 2, q = x - m.a / 2, s = y + m.b / 2, t = y - m.b / 2;
  const double h2 = h * h;
  const double rps = std::sqrt(p * p + s * s + h2), rpt = std::sqrt(p * p + t * t + h2);
  const double rqs = std::sqrt(q * q + s * s + h2), rqt = std::sqrt(q * q + t * t + h2);
  const double pp = p * p + h2, qq = q * q + h2, ss = s * s + h2, tt = t * t + h2;
  FaceTerms face;
  face.k = w * m.Br / (4 * Pi());
  log_args[0] = log_args[1] = 1.0;
  const double xd[4] = {RMinus(t, pp, rpt), RPlus(s, pp, rps), RMinus(s, qq, rqs),
                        RPlus(t, qq, rqt)};
  const double xn[4] = {RPlus(t, pp, rpt), RMinus(s, pp, rps), RPlus(s, qq, rqs),
                        RMinus(t, qq, rqt)};
  if (xd[0] * xd[1] * xd[2] * xd[3] == 0) {
    // On the prolongation of an edge: the formula divides by zero, which the notice reports,
    // but the field is finite there and the corner pairs give it.
    notices.Raise(NoticeId::Caution3, kTitleX);
    face.x_defined = PairedLogArgument(CornerPairRatio(t, s, pp, rpt, rps),
                                       CornerPairRatio(t, s, qq, rqt, rqs), log_args[0]);
  } else if (xn[0] * xn[1] * xn[2] * xn[3] == 0) {
    notices.Raise(NoticeId::Caution11, kTitleX);
  } else {
    face.x_defined = true;
    log_args[0] = (xn[0] / xd[0]) * (xn[1] / xd[1]) * ((xn[2] / xd[2]) * (xn[3] / xd[3]));
  }
  const double yd[4] = {RPlus(q, tt, rqt), RPlus(p, ss, rps), RMinus(q, ss, rqs),
                        RMinus(p, tt, rpt)};
  const double yn[4] = {RMinus(p, ss, rps), RPlus(q, ss, rqs), RPlus(p, tt, rpt),
                        RMinus(q, tt, rqt)};
  if (yd[0] * yd[1] * yd[2] * yd[3] == 0) {
    notices.Raise(NoticeId::Caution3, kTitleY);
    face.y_defined = PairedLogArgument(CornerPairRatio(q, p, ss, rqs, rps),
                                       CornerPairRatio(q, p, tt, rqt, rpt), log_args[1]);
  } else if (yn[0] * yn[1] * yn[2] * yn[3] == 0) {
    notices.Raise(NoticeId::Caution11, kTitleY);
  } else {
    face.y_defined = true;
    log_args[1] = (yn[0] / yd[0]) * (yn[1] / yd[1]) * ((yn[2] / yd[2]) * (yn[3] / yd[3]));
  }
  face.off_plane = std::abs(h) > kFacePlaneBand * std::max(m.a, m.b);
  for (int i = 0; i < 4; ++i) {
    atan_args[i] = 0;
  }
  if (face.off_plane) {
    atan_args[0] = p * s / (h * rps);
    atan_args[1] = p * t / (h * rpt);
    atan_args[2] = q * s / (h * rqs);
    atan_args[3] = q * t / (h * rqt);
  } else if (-m.a / 2 < x && x < m.a / 2 && -m.b / 2 < y && y < m.b / 2) {
    face.in_plane_z = m.Br / 2;
  }
  return face;
}

Vec3 FaceField(const FaceTerms& face, const double* logs, const double* atans) {
  Vec3 field;
  field.x = face.x_defined ? 0.5 * logs[0] * face.k : 0.0;
  field.y = face.y_defined ? 0.5 * logs[1] * face.k : 0.0;
  field.z = face.off_plane ? face.k * (atans[0] - atans[1] - atans[2] + atans[3]) : face.in_plane_z;
  return field;
}

}  // namespace

Vec3 RecMagLocalField(const RecMag& magnet, const Vec3& p, Notices& notices) {
  double logs[4], atans[8];
  const FaceTerms upper = PrepareFace(magnet, p.x, p.y, p.z, +1.0, notices, logs, atans);
  const FaceTerms lower =
      PrepareFace(magnet, p.x, p.y, p.z + magnet.l, -1.0, notices, logs + 2, atans + 4);
  BatchLog(logs, 4);
  if (upper.off_plane || lower.off_plane) {
    BatchAtan(atans, 8);
  }
  return FaceField(upper, logs, atans) + FaceField(lower, logs + 2, atans + 4);
}

}  // namespace tavrine

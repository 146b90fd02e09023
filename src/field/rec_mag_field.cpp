// Field of a rectangular prism magnet: two uniformly charged rectangles (z = 0 with +Br/4π,
// z = −l with −Br/4π) in closed form, both faces sharing one batch of logarithms and arctangents.
#include <cmath>

#include "field/local_fields.h"
#include "field/vector_math.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

constexpr const char* kTitleX = "ﾛｹｰｼｮﾝ  RecMagFieldX!!!";
constexpr const char* kTitleY = "ﾛｹｰｼｮﾝ  RecMagFieldY!!!";

// One face's corner terms; log_args and atan_args are filled here and evaluated in a batch.
struct FaceTerms {
  double k = 0;
  bool x_defined = false, y_defined = false, off_plane = false;
  double in_plane_z = 0;
};

// The x and y log ratios as chains of divisions (the zero guards test the products first).
FaceTerms PrepareFace(const RecMag& m,
                      double x,
                      double y,
                      double h,
                      double w,
                      Notices& notices,
                      double* log_args,
                      double* atan_args) {
  const double p = x + m.a / 2, q = x - m.a / 2, s = y + m.b / 2, t = y - m.b / 2;
  const double h2 = h * h;
  const double rps = std::sqrt(p * p + s * s + h2), rpt = std::sqrt(p * p + t * t + h2);
  const double rqs = std::sqrt(q * q + s * s + h2), rqt = std::sqrt(q * q + t * t + h2);
  FaceTerms face;
  face.k = w * m.Br / (4 * Pi());
  log_args[0] = log_args[1] = 1.0;
  if ((rpt - t) * (s + rps) * (rqs - s) * (t + rqt) == 0) {
    notices.Raise(NoticeId::Caution3, kTitleX);
  } else if ((t + rpt) * (rps - s) * (s + rqs) * (rqt - t) == 0) {
    notices.Raise(NoticeId::Caution11, kTitleX);
  } else {
    face.x_defined = true;
    log_args[0] = (rqt - t) *
                  ((s + rqs) * ((t + rpt) * ((rps - s) / (s + rps)) / (rpt - t)) / (rqs - s)) /
                  (t + rqt);
  }
  if ((q + rqt) * (p + rps) * (rqs - q) * (rpt - p) == 0) {
    notices.Raise(NoticeId::Caution3, kTitleY);
  } else if ((rps - p) * (q + rqs) * (p + rpt) * (rqt - q) == 0) {
    notices.Raise(NoticeId::Caution11, kTitleY);
  } else {
    face.y_defined = true;
    log_args[1] = (rqt - q) *
                  ((p + rpt) * ((q + rqs) * ((rps - p) / (p + rps)) / (rqs - q)) / (rpt - p)) /
                  (q + rqt);
  }
  const double product = h * rps * rpt * rqs * rqt;
  face.off_plane = product > 0.00001 || product < -0.00001;
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

// Element and Kt frame transforms, written in the staged form of the rotation convention.
#include "geometry/transforms.h"

#include <cmath>

namespace tavrine {

ElementFrame::ElementFrame(const Placement& p)
    : origin_{p.Ox, p.Oy, p.Oz},
      ca_(std::cos(p.AngX)),
      sa_(std::sin(p.AngX)),
      cb_(std::cos(p.AngY)),
      sb_(std::sin(p.AngY)),
      cg_(std::cos(p.AngZ)),
      sg_(std::sin(p.AngZ)) {}

Vec3 ElementFrame::VectorToGlobal(const Vec3& v) const {
  const double x1 = cg_ * v.x - sg_ * v.y;
  const double y1 = sg_ * v.x + cg_ * v.y;
  const double m = sb_ * x1 - cb_ * v.z;
  return {cb_ * x1 + sb_ * v.z, ca_ * y1 + sa_ * m, sa_ * y1 - ca_ * m};
}

Vec3 ElementFrame::VectorToLocal(const Vec3& d) const {
  const double u1 = d.x;
  const double t1 = ca_ * d.y + sa_ * d.z;
  const double w1 = -sa_ * d.y + ca_ * d.z;
  const double u2 = cb_ * u1 - sb_ * w1;
  const double w2 = sb_ * u1 + cb_ * w1;
  return {cg_ * u2 + sg_ * t1, -sg_ * u2 + cg_ * t1, w2};
}

Vec3 PointToGlobal(const Vec3& local, const Placement& frame) {
  return ElementFrame(frame).PointToGlobal(local);
}

Vec3 CylPointToGlobal(double rho, double theta, double z, const Placement& frame) {
  return PointToGlobal({rho * std::cos(theta), rho * std::sin(theta), z}, frame);
}

namespace {

ElementFrame KtFrame(const ElementModel& model) {
  const KtState& kt = model.Kt;
  return ElementFrame({kt.Orx, kt.Ory, kt.Orz, kt.ThetaRx, kt.ThetaRy, kt.ThetaRz});
}

// Placement of element i of a Kt kind, if it exists.
bool KtElementPlacement(const ElementModel& model, int kind, int i, Placement& out) {
  auto pick = [&](const auto& table, int count) {
    if (i < 1 || i > count || i > kElementCapacity) {
      return false;
    }
    out = PlacementOf(table[static_cast<size_t>(i)]);
    return true;
  };
  switch (kind) {
    case kKtStrRec:
      return pick(model.StrRecCoilTable, model.StrRecCoilCount);
    case kKtSecRec:
      return pick(model.SecRecCoilTable, model.SecRecCoilCount);
    case kKtStrCyl:
      return pick(model.StrCylCoilTable, model.StrCylCoilCount);
    case kKtSecCyl:
      return pick(model.SecCylCoilTable, model.SecCylCoilCount);
    default:
      return false;
  }
}

}  // namespace

Vec3 KtFramePoint(const ElementModel& model, int kind, int i, const Vec3& p, Notices& notices) {
  const KtState& kt = model.Kt;
  Placement element;
  Vec3 d;
  if (KtElementPlacement(model, kind, i, element)) {
    d = Vec3{element.Ox, element.Oy, element.Oz} - Vec3{kt.Orx, kt.Ory, kt.Orz};
  } else {
    element = {};
    if (kind >= 0 && kind < kKtKinds) {
      notices.Raise(NoticeId::Caution4);
    }
  }
  const Vec3 q = ElementFrame(element).VectorToGlobal(p) + d;
  return KtFrame(model).VectorToLocal(q);
}

AxisDistances KtAxisDistance(
    const ElementModel& model, int kind, int i, const Vec3& p, Notices& notices) {
  const Vec3 q = KtFramePoint(model, kind, i, p, notices);
  return {std::sqrt(q.x * q.x + q.y * q.y), std::sqrt(q.y * q.y + q.z * q.z),
          std::sqrt(q.z * q.z + q.x * q.x)};
}

Vec3 KtRotatedPoint(
    const ElementModel& model, int kind, int i, double phi, const Vec3& p, Notices& notices) {
  const Vec3 q = KtFramePoint(model, kind, i, p, notices);
  const double rho = std::sqrt(q.x * q.x + q.y * q.y);
  double c = 1, s = 0;
  if (rho != 0) {
    c = q.x / rho;
    s = q.y / rho;
  }
  const double c2 = c * std::cos(phi) - s * std::sin(phi);
  const double s2 = s * std::cos(phi) + c * std::sin(phi);
  return KtFrame(model).PointToGlobal({rho * c2, rho * s2, q.z});
}

Vec3 KtFrameVector(const ElementModel& model, const Vec3& v) {
  return KtFrame(model).VectorToLocal(v);
}

}  // namespace tavrine

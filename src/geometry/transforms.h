// The rotation convention R = Rx(AngX)·Ry(AngY)·Rz(AngZ) and the transforms between an element's
// own frame and the global frame (mm, rad), and those of the Kt rotating frame.
#pragma once

#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

struct Placement {
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
};

template <class Record>
Placement PlacementOf(const Record& r) {
  return {r.Ox, r.Oy, r.Oz, r.AngX, r.AngY, r.AngZ};
}

// One element's frame with its sines and cosines computed once; every transform below goes
// through it, so a frame kept for a whole run gives the same bits as a per-call transform.
class ElementFrame {
 public:
  ElementFrame() = default;
  explicit ElementFrame(const Placement& placement);

  Vec3 PointToGlobal(const Vec3& local) const { return VectorToGlobal(local) + origin_; }
  Vec3 VectorToGlobal(const Vec3& v) const;
  Vec3 PointToLocal(const Vec3& global) const { return VectorToLocal(global - origin_); }
  Vec3 VectorToLocal(const Vec3& v) const;
  const Vec3& Origin() const { return origin_; }

 private:
  Vec3 origin_;
  double ca_ = 1, sa_ = 0, cb_ = 1, sb_ = 0, cg_ = 1, sg_ = 0;
};

Vec3 PointToGlobal(const Vec3& local, const Placement& frame);
// Local cylindrical (rho, theta, z) to global.
Vec3 CylPointToGlobal(double rho, double theta, double z, const Placement& frame);

template <class Record>
Vec3 VectorToGlobal(const ElementTable<Record>& table, int i, const Vec3& v) {
  return ElementFrame(PlacementOf(table[static_cast<size_t>(i)])).VectorToGlobal(v);
}

template <class Record>
Vec3 PointToLocal(const ElementTable<Record>& table, int i, const Vec3& global) {
  return ElementFrame(PlacementOf(table[static_cast<size_t>(i)])).PointToLocal(global);
}

// Kt kinds in the order of the Kt dialog's coil-type options.
enum KtKind : int { kKtStrRec = 0, kKtSecRec = 1, kKtStrCyl = 2, kKtSecCyl = 3 };

struct AxisDistances {
  double z = 0, x = 0, y = 0;  // distance from the Kt frame's Z, X and Y axis
};

// Rkᵀ·(R_i·p + O_i − Or); a missing element of a valid kind raises Caution4 and uses the
// element frame at the Kt origin with zero angles (an invalid kind does the same silently).
Vec3 KtFramePoint(const ElementModel& model, int kind, int i, const Vec3& p, Notices& notices);
AxisDistances KtAxisDistance(
    const ElementModel& model, int kind, int i, const Vec3& p, Notices& notices);
// The global point after turning the element point by phi about the Kt Z axis.
Vec3 KtRotatedPoint(
    const ElementModel& model, int kind, int i, double phi, const Vec3& p, Notices& notices);
Vec3 KtFrameVector(const ElementModel& model, const Vec3& v);

}  // namespace tavrine

// Farthest extent of the model from the origin, from each element's own-frame bounding box.
#include "display/model_extent.h"

#include <algorithm>
#include <cmath>

#include "geometry/transforms.h"

namespace tavrine {

namespace {

// An own-frame box: x in [-hx, hx], y in [-hy, hy], z in [z_low, z_high].
struct OwnBox {
  double hx = 0, hy = 0, z_low = 0, z_high = 0;
};

template <class Record>
double FarthestCorner(const Record& record, const OwnBox& box) {
  const ElementFrame frame(PlacementOf(record));
  double farthest = 0;
  for (double x : {-box.hx, box.hx}) {
    for (double y : {-box.hy, box.hy}) {
      for (double z : {box.z_low, box.z_high}) {
        const Vec3 p = frame.PointToGlobal({x, y, z});
        farthest = std::max(farthest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
      }
    }
  }
  return farthest;
}

template <class Record, class BoxOf>
double FarthestOfTable(const ElementTable<Record>& table, int count, BoxOf box_of) {
  double farthest = 0;
  const int last = std::clamp(count, 0, kElementCapacity);
  for (int i = 1; i <= last; ++i) {
    const Record& r = table[static_cast<size_t>(i)];
    farthest = std::max(farthest, FarthestCorner(r, box_of(r)));
  }
  return farthest;
}

// Radial sizes are taken as magnitudes: a negative radius draws the same circle.
OwnBox Disc(double radius, double z_low, double z_high) {
  const double r = std::abs(radius);
  return {r, r, std::min(z_low, z_high), std::max(z_low, z_high)};
}

}  // namespace

double FarthestExtent(const ElementModel& model) {
  const double rec = FarthestOfTable(model.RecMagTable, model.RecMagCount, [](const RecMag& m) {
    return OwnBox{std::abs(m.a) / 2, std::abs(m.b) / 2, std::min(-m.l, 0.0), std::max(-m.l, 0.0)};
  });
  const double sec = FarthestOfTable(
      model.SecMagTable, SecMagLoopCount(model),
      [](const SecMag& m) { return Disc(std::max(std::abs(m.Ro), std::abs(m.Ri)), -m.T, 0); });
  const double rh = FarthestOfTable(model.RhMagTable, model.RhMagCount,
                                    [](const RhMag& m) { return Disc(m.R, -m.HT, 0); });
  const double str_cyl =
      FarthestOfTable(model.StrCylCoilTable, model.StrCylCoilCount, [](const StrCylCoil& c) {
        const double r = std::abs(c.R);
        return OwnBox{std::abs(c.Lx) / 2, r, -r, r};
      });
  const double str_rec =
      FarthestOfTable(model.StrRecCoilTable, model.StrRecCoilCount, [](const StrRecCoil& c) {
        return OwnBox{std::abs(c.Lx) / 2, std::abs(c.W) / 2, std::min(-c.T, 0.0),
                      std::max(-c.T, 0.0)};
      });
  const double sec_rec = FarthestOfTable(
      model.SecRecCoilTable, model.SecRecCoilCount,
      [](const SecRecCoil& c) { return Disc(std::max(std::abs(c.Ro), std::abs(c.Ri)), -c.T, 0); });
  const double sec_cyl =
      FarthestOfTable(model.SecCylCoilTable, model.SecCylCoilCount, [](const SecCylCoil& c) {
        const double w = std::abs(c.rwire);
        return Disc(std::abs(c.R) + w, -w, w);
      });
  return std::max({rec, sec, rh, str_cyl, str_rec, sec_rec, sec_cyl});
}

}  // namespace tavrine

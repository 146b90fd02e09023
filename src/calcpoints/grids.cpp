// Grid generation: points row by row (x, respectively the angle, fastest), then global.
#include "calcpoints/grids.h"

#include <algorithm>
#include <cmath>

#include "geometry/transforms.h"
#include "model/capacity.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

bool DivisionsFit(int64_t div_a, int64_t div_b, Notices& notices) {
  if (div_a < 0 || div_b < 0) {
    notices.Raise(NoticeId::Caution5);
    return false;
  }
  if (!FitsPointCount((div_a + 1) * (div_b + 1))) {
    notices.Raise(NoticeId::CautionCapacity);
    return false;
  }
  return true;
}

bool SlotExists(int32_t slot, NoticeId notice, Notices& notices) {
  if (slot < 0 || slot > kElementCapacity) {
    notices.Raise(notice);
    return false;
  }
  return true;
}

// Step i of n between start and end; just start when there are no divisions.
double GridStep(double start, double end, int32_t i, int32_t divisions) {
  return divisions == 0 ? start : start + i * (end - start) / divisions;
}

void StoreRectSettings(RectPointSet& set, const RectGridInput& in, const RecMag& magnet) {
  set.MagN = in.MagN;
  set.DivX = in.DivX;
  set.DivY = in.DivY;
  set.XL = in.XL;
  set.YL = in.YL;
  set.DisZ = in.DisZ;
  set.XStart = in.HalfX ? 0 : -magnet.a / 2 * in.XL;
  set.XSymmetric = in.HalfX ? 1 : 0;
  set.YStart = in.HalfY ? 0 : -magnet.b / 2 * in.YL;
  set.YSymmetric = in.HalfY ? 1 : 0;
  set.XEnd = in.DivX == 0 ? 0 : magnet.a / 2 * in.XL;
  set.YEnd = in.DivY == 0 ? 0 : magnet.b / 2 * in.YL;
  set.GridZ = in.DisZ;
}

}  // namespace

GridOutcome GenerateRectGrid(ElementModel& model, const RectGridInput& in, Notices& notices) {
  if (!SlotExists(in.MagN, NoticeId::Caution9, notices) ||
      !DivisionsFit(in.DivX, in.DivY, notices)) {
    return GridOutcome::kRefused;
  }
  const RecMag& magnet = model.RecMagTable[static_cast<size_t>(in.MagN)];
  RectPointSet& set = model.RectCalPointSet;
  StoreRectSettings(set, in, magnet);
  const ElementFrame frame(PlacementOf(magnet));
  for (int32_t i = 0; i <= set.DivY; ++i) {
    for (int32_t j = 0; j <= set.DivX; ++j) {
      const int32_t n = i * (set.DivX + 1) + j;
      RectCalPoint& p = set.Points[static_cast<size_t>(n)];
      p.LocalX = GridStep(set.XStart, set.XEnd, j, set.DivX);
      p.LocalY = GridStep(set.YStart, set.YEnd, i, set.DivY);
      p.LocalZ = set.GridZ;
      const Vec3 global = frame.PointToGlobal({p.LocalX, p.LocalY, p.LocalZ});
      p.PGroX = global.x;
      p.PGroY = global.y;
      p.PGroZ = global.z;
      set.LastIndex = n;
    }
  }
  return GridOutcome::kGenerated;
}

Vec3 SectPointGlobal(const ElementModel& model, int n) {
  const SectPointSet& set = model.SectCalPointSet;
  const SectCalPoint& p = set.Points[static_cast<size_t>(n)];
  Placement placement;
  if (set.MagN >= 0 && set.MagN <= kElementCapacity) {
    placement = PlacementOf(model.SecMagTable[static_cast<size_t>(set.MagN)]);
  }
  return CylPointToGlobal(p.R, p.Theta, p.Z, placement);
}

void UpdateSectPointGlobals(ElementModel& model) {
  SectPointSet& set = model.SectCalPointSet;
  const int last = std::clamp(set.LastIndex, 0, kCalPointCapacity);
  for (int n = 0; n <= last; ++n) {
    const Vec3 global = SectPointGlobal(model, n);
    SectCalPoint& p = set.Points[static_cast<size_t>(n)];
    p.PGroX = global.x;
    p.PGroY = global.y;
    p.PGroZ = global.z;
  }
}

GridOutcome GenerateSectGrid(ElementModel& model, const SectGridInput& in, Notices& notices) {
  if (!SlotExists(in.MagN, NoticeId::Caution9, notices) ||
      !DivisionsFit(in.DivR, in.DivT, notices)) {
    return GridOutcome::kRefused;
  }
  if (in.DivR == 0 || in.DivT == 0) {
    notices.Raise(NoticeId::Caution2);
    return GridOutcome::kRefused;
  }
  SectPointSet& set = model.SectCalPointSet;
  set.MagN = in.MagN;
  set.RDiv = in.DivR;
  set.AngleDiv = in.DivT;
  set.CalPointRi = in.Ri;
  set.CalPointRo = in.Ro;
  set.TStart = in.StartDeg * model.Pi / 180;
  set.TEnd = in.SweepDeg * model.Pi / 180 + set.TStart;
  set.DisZ = in.DisZ;
  for (int32_t i = 0; i <= set.RDiv; ++i) {
    for (int32_t j = 0; j <= set.AngleDiv; ++j) {
      const int32_t n = i * (set.AngleDiv + 1) + j;
      SectCalPoint& p = set.Points[static_cast<size_t>(n)];
      p.Theta = set.TStart + j * (set.TEnd - set.TStart) / set.AngleDiv;
      p.R = set.CalPointRi + i * (set.CalPointRo - set.CalPointRi) / set.RDiv;
      p.Z = set.DisZ;
      set.LastIndex = n;
    }
  }
  UpdateSectPointGlobals(model);
  return GridOutcome::kGenerated;
}

std::vector<GridLine> RectGridPreviewLines(const ElementModel& model) {
  const RectPointSet& set = model.RectCalPointSet;
  std::vector<GridLine> lines;
  NullNotices quiet;
  if (set.MagN < 0 || set.MagN > kElementCapacity || !DivisionsFit(set.DivX, set.DivY, quiet)) {
    return lines;
  }
  const ElementFrame frame(PlacementOf(model.RecMagTable[static_cast<size_t>(set.MagN)]));
  auto add = [&](Vec3 a, Vec3 b, Rgb colour) {
    lines.push_back({frame.PointToGlobal(a), frame.PointToGlobal(b), colour});
  };
  for (int32_t j = 0; j <= set.DivX; ++j) {
    const double x = GridStep(set.XStart, set.XEnd, j, set.DivX);
    add({x, set.YStart, set.GridZ}, {x, set.YEnd, set.GridZ}, {122, 255, 255});
  }
  for (int32_t i = 0; i <= set.DivY; ++i) {
    const double y = GridStep(set.YStart, set.YEnd, i, set.DivY);
    add({set.XStart, y, set.GridZ}, {set.XEnd, y, set.GridZ}, {255, 122, 255});
  }
  return lines;
}

std::vector<GridLine> SectGridPreviewLines(const ElementModel& model) {
  const SectPointSet& set = model.SectCalPointSet;
  std::vector<GridLine> lines;
  if (set.MagN < 0 || set.MagN > kElementCapacity || set.RDiv <= 0 || set.AngleDiv <= 0) {
    return lines;
  }
  const Placement placement = PlacementOf(model.SecMagTable[static_cast<size_t>(set.MagN)]);
  const Rgb colour{0, 255, 255};
  constexpr int kArcSegments = 50;
  for (int32_t i = 0; i <= set.RDiv; ++i) {
    const double r = set.CalPointRi + i * (set.CalPointRo - set.CalPointRi) / set.RDiv;
    Vec3 previous = CylPointToGlobal(r, set.TStart, set.DisZ, placement);
    for (int k = 1; k <= kArcSegments; ++k) {
      const double theta = set.TStart + k * (set.TEnd - set.TStart) / kArcSegments;
      const Vec3 next = CylPointToGlobal(r, theta, set.DisZ, placement);
      lines.push_back({previous, next, colour});
      previous = next;
    }
  }
  for (int32_t j = 0; j <= set.AngleDiv; ++j) {
    const double theta = set.TStart + j * (set.TEnd - set.TStart) / set.AngleDiv;
    lines.push_back({CylPointToGlobal(set.CalPointRi, theta, set.DisZ, placement),
                     CylPointToGlobal(set.CalPointRo, theta, set.DisZ, placement), colour});
  }
  return lines;
}

}  // namespace tavrine

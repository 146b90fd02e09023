// Field vectors, extreme points and readout texts.
#include "display/field_vectors.h"

#include <cmath>

#include "model/text_rules.h"

namespace tavrine {

namespace {

struct PointView {
  Vec3 position, field;
};

PointView PointAt(const ElementModel& model, PointSetKind set, int k) {
  const size_t n = static_cast<size_t>(k);
  if (set == PointSetKind::kRect) {
    const RectCalPoint& p = model.RectCalPointSet.Points[n];
    return {{p.PGroX, p.PGroY, p.PGroZ}, {p.Hx, p.Hy, p.Hz}};
  }
  const SectCalPoint& p = model.SectCalPointSet.Points[n];
  return {{p.PGroX, p.PGroY, p.PGroZ}, {p.Hx, p.Hy, p.Hz}};
}

int LastIndexOf(const ElementModel& model, PointSetKind set) {
  return set == PointSetKind::kRect ? model.RectCalPointSet.LastIndex
                                    : model.SectCalPointSet.LastIndex;
}

// A point number the set can hold: never read past the table whatever LastIndex says.
int ClampedLastIndex(const ElementModel& model, PointSetKind set) {
  const int last = LastIndexOf(model, set);
  return last < kCalPointCapacity ? last : kCalPointCapacity;
}

void DrawVector(const ViewProjector& projector,
                Canvas& canvas,
                const PointView& point,
                double vector_scale) {
  const ScreenPoint p = projector.Project(point.position);
  const ScreenPoint q = projector.Project(point.position + vector_scale * point.field);
  if (point.field.z >= 0) {
    canvas.Line(p.x, p.y, q.x, q.y, kVectorPositiveHz);
  } else {
    canvas.Line(q.x, q.y, p.x, p.y, kVectorNegativeHz);
  }
}

// Numbers of the readouts: shortest decimal, never a negative zero.
std::string Number(double value) {
  return ShortestDecimal(value + 0.0);
}

}  // namespace

void SetVectorScaleFromText(ElementModel& model, std::string_view text) {
  model.View.VectorScale = NumericValue(text);
}

void DrawFieldVector(
    const ElementModel& model, Canvas& canvas, PointSetKind set, int k, const ViewAngles& angles) {
  DrawVector(ProjectorFor(model, canvas, angles), canvas, PointAt(model, set, k),
             model.View.VectorScale);
}

void DrawAllFieldVectors(const ElementModel& model, Views& views, PointSetKind set) {
  std::array<ViewProjector, kViewCount> projectors = {
      ProjectorFor(model, views[0], AnglesOfView(model, 0)),
      ProjectorFor(model, views[1], AnglesOfView(model, 1)),
      ProjectorFor(model, views[2], AnglesOfView(model, 2)),
      ProjectorFor(model, views[3], AnglesOfView(model, 3))};
  const int last = ClampedLastIndex(model, set);
  for (int k = 0; k <= last; ++k) {
    const PointView point = PointAt(model, set, k);
    for (int view : kRedrawOrder) {
      DrawVector(projectors[static_cast<size_t>(view)], views[view], point, model.View.VectorScale);
    }
  }
}

FieldExtremes FindFieldExtremes(const ElementModel& model, PointSetKind set) {
  FieldExtremes found;
  double max_h = -100000, max_x = -100000, max_y = -100000, max_z = -100000;
  const int last = ClampedLastIndex(model, set);
  for (int k = 0; k <= last; ++k) {
    const Vec3 h = PointAt(model, set, k).field;
    const double magnitude = std::sqrt(h.x * h.x + h.y * h.y + h.z * h.z);
    if (magnitude >= max_h) {
      max_h = magnitude;
      found.magnitude = k;
    }
    if (h.x >= max_x) {
      max_x = h.x;
      found.hx = k;
    }
    if (h.y >= max_y) {
      max_y = h.y;
      found.hy = k;
    }
    if (h.z >= max_z) {
      max_z = h.z;
      found.hz = k;
    }
  }
  return found;
}

std::array<std::string, 6> ExtremeReadoutTexts(const ElementModel& model, PointSetKind set, int k) {
  const Vec3 h = PointAt(model, set, k).field;
  Vec3 position;
  if (set == PointSetKind::kRect) {
    const RectCalPoint& p = model.RectCalPointSet.Points[static_cast<size_t>(k)];
    position = {p.LocalX, p.LocalY, p.LocalZ};
  } else {
    // In the sector magnet's own Cartesian frame.
    const SectCalPoint& p = model.SectCalPointSet.Points[static_cast<size_t>(k)];
    position = {p.R * std::cos(p.Theta), p.R * std::sin(p.Theta), p.Z};
  }
  return {"Hx=" + Number(std::floor(h.x)), "Hy=" + Number(std::floor(h.y)),
          "Hz=" + Number(std::floor(h.z)), "Px=" + Number(position.x),
          "Py=" + Number(position.y),      "Pz=" + Number(position.z)};
}

void ShowExtremesReadout(const ElementModel& model,
                         Views& views,
                         PointSetKind set,
                         const FieldExtremes& extremes) {
  const bool rect = set == PointSetKind::kRect;
  auto& groups = views.texts.readouts;
  groups[kSideView] = ExtremeReadoutTexts(model, set, rect ? extremes.hy : extremes.magnitude);
  groups[kTopView] = ExtremeReadoutTexts(model, set, rect ? extremes.hx : extremes.hy);
  groups[kFrontView] = ExtremeReadoutTexts(model, set, rect ? extremes.hz : extremes.hx);
  groups[kFreeView] = ExtremeReadoutTexts(model, set, rect ? extremes.magnitude : extremes.hz);
  views.NotifyTexts();
}

}  // namespace tavrine

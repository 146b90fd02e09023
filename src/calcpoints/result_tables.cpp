// Formatting of the result tables.
#include "calcpoints/result_tables.h"

#include <algorithm>
#include <cmath>

#include "geometry/transforms.h"
#include "model/capacity.h"
#include "model/text_rules.h"

namespace tavrine {

std::string RoundedCell(double value, int digits) {
  const double scale = std::pow(10.0, digits);
  const double rounded = std::nearbyint(value * scale) / scale;
  const std::string text = ShortestDecimal(rounded);
  return rounded >= 0 || std::isnan(rounded) ? " " + text : text;
}

namespace {

int PointCount(int32_t last_index) {
  return std::clamp(last_index, 0, kCalPointCapacity) + 1;
}

}  // namespace

std::vector<ResultRow> RectResultRows(const ElementModel& model) {
  const RectPointSet& set = model.RectCalPointSet;
  std::vector<ResultRow> rows{
      {"磁界計算点番号", "Px(mm)", "Py(mm)", "Pz(mm)", "Hx(Oe)", "Hy(Oe)", "Hz(Oe)"}};
  const int n = PointCount(set.LastIndex);
  rows.reserve(static_cast<size_t>(n) + 1);
  for (int i = 0; i < n; ++i) {
    const RectCalPoint& p = set.Points[static_cast<size_t>(i)];
    rows.push_back({RoundedCell(i, 0), RoundedCell(p.PGroX, 2), RoundedCell(p.PGroY, 2),
                    RoundedCell(p.PGroZ, 2), RoundedCell(p.Hx, 1), RoundedCell(p.Hy, 1),
                    RoundedCell(p.Hz, 1)});
  }
  return rows;
}

std::vector<ResultRow> SectResultRows(const ElementModel& model) {
  const SectPointSet& set = model.SectCalPointSet;
  std::vector<ResultRow> rows{
      {"磁界計算点番号", "Pr(mm)", "Pθ(deg)", "Pz(mm)", "Hr(Oe)", "Hθ(Oe)", "Hz(Oe)"}};
  ElementFrame frame;
  if (FitsElementSlot(set.MagN) || set.MagN == 0) {
    frame = ElementFrame(PlacementOf(model.SecMagTable[static_cast<size_t>(set.MagN)]));
  }
  const int n = PointCount(set.LastIndex);
  rows.reserve(static_cast<size_t>(n) + 1);
  for (int i = 0; i < n; ++i) {
    const SectCalPoint& p = set.Points[static_cast<size_t>(i)];
    const Vec3 h = frame.VectorToLocal({p.Hx, p.Hy, p.Hz});
    const double c = std::cos(p.Theta), s = std::sin(p.Theta);
    rows.push_back({RoundedCell(i, 0), RoundedCell(p.R, 2),
                    RoundedCell(p.Theta * 180 / model.Pi, 2), RoundedCell(p.Z, 2),
                    RoundedCell(h.x * c + h.y * s, 1), RoundedCell(-h.x * s + h.y * c, 1),
                    RoundedCell(h.z, 1)});
  }
  return rows;
}

}  // namespace tavrine

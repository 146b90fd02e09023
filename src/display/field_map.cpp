// The field map: grid recognition, colour scales, ticks, layout and drawing.
#include "display/field_map.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/text_rules.h"

namespace tavrine {

namespace {

// Edges between neighbouring coordinates, half a step beyond the ends (1 mm for a lone one).
std::vector<double> CellEdges(const std::vector<double>& c) {
  std::vector<double> edges(c.size() + 1);
  if (c.size() == 1) {
    return {c[0] - 0.5, c[0] + 0.5};
  }
  for (size_t k = 1; k < c.size(); ++k) {
    edges[k] = (c[k - 1] + c[k]) / 2;
  }
  edges.front() = c.front() - (c[1] - c[0]) / 2;
  edges.back() = c.back() + (c.back() - c[c.size() - 2]) / 2;
  return edges;
}

std::pair<double, double> Span(const std::vector<double>& edges) {
  const auto [lo, hi] = std::minmax_element(edges.begin(), edges.end());
  return {*lo, *hi};
}

// The index of the cell whose edges bracket v, if any.
std::optional<int> CellOf(const std::vector<double>& edges, double v) {
  for (size_t k = 0; k + 1 < edges.size(); ++k) {
    const double lo = std::min(edges[k], edges[k + 1]), hi = std::max(edges[k], edges[k + 1]);
    if (v >= lo && v <= hi) {
      return static_cast<int>(k);
    }
  }
  return std::nullopt;
}

Rgb Blend(Rgb a, Rgb b, double t) {
  const auto mix = [t](int32_t p, int32_t q) {
    return static_cast<int32_t>(std::lround(p + (q - p) * t));
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// Perceptually even scales: dark blue to yellow for sizes, blue to red through grey for signs.
constexpr std::array<Rgb, 9> kSequential{{{68, 1, 84},
                                          {71, 44, 122},
                                          {59, 81, 139},
                                          {44, 113, 142},
                                          {33, 144, 141},
                                          {39, 173, 129},
                                          {92, 200, 99},
                                          {170, 220, 50},
                                          {253, 231, 37}}};
constexpr std::array<Rgb, 5> kDiverging{
    {{59, 76, 192}, {141, 176, 254}, {221, 221, 221}, {244, 154, 123}, {180, 4, 38}}};

template <size_t N>
Rgb AlongAnchors(const std::array<Rgb, N>& anchors, double t) {
  const double at = std::clamp(t, 0.0, 1.0) * (N - 1);
  const size_t k = std::min(static_cast<size_t>(at), N - 2);
  return Blend(anchors[k], anchors[k + 1], at - static_cast<double>(k));
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFrameGrey{90, 90, 90};

}  // namespace

namespace {

Vec3 GlobalOf(const RectCalPoint& p) {
  return {p.PGroX, p.PGroY, p.PGroZ};
}

double Dot3(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Unit(const Vec3& v) {
  const double n = std::sqrt(Dot3(v, v));
  return n > 0 ? Vec3{v.x / n, v.y / n, v.z / n} : Vec3{0, 0, 0};
}

// Positions along the grid's own rows and columns from the global points, measured from
// point 0: what a model file gives back, since it keeps only the global positions.
void AlongTheGrid(const RectPointSet& set, size_t columns, size_t rows, FieldMapGrid& grid) {
  const Vec3 origin = GlobalOf(set.Points[0]);
  const Vec3 across = Unit(GlobalOf(set.Points[columns - 1]) - origin);
  Vec3 up = GlobalOf(set.Points[(rows - 1) * columns]) - origin;
  up = Unit(up - Dot3(up, across) * across);
  grid.x.clear();
  grid.y.clear();
  for (size_t j = 0; j < columns; ++j) {
    grid.x.push_back(Dot3(GlobalOf(set.Points[j]) - origin, across));
  }
  for (size_t i = 0; i < rows; ++i) {
    grid.y.push_back(Dot3(GlobalOf(set.Points[i * columns]) - origin, up));
  }
  grid.own_frame = false;
}

bool Flat(const std::vector<double>& v) {
  return std::all_of(v.begin(), v.end(), [&v](double a) { return a == v.front(); });
}

}  // namespace

std::optional<FieldMapGrid> RectFieldMapGrid(const ElementModel& model) {
  const RectPointSet& set = model.RectCalPointSet;
  const int64_t columns = int64_t{set.DivX} + 1, rows = int64_t{set.DivY} + 1;
  if (set.DivX < 0 || set.DivY < 0 || columns * rows != int64_t{set.LastIndex} + 1 ||
      set.LastIndex >= kPointSlots) {
    return std::nullopt;
  }
  FieldMapGrid grid;
  for (int64_t j = 0; j < columns; ++j) {
    grid.x.push_back(set.Points[static_cast<size_t>(j)].LocalX);
  }
  for (int64_t i = 0; i < rows; ++i) {
    grid.y.push_back(set.Points[static_cast<size_t>(i * columns)].LocalY);
  }
  if (set.LastIndex > 0 && Flat(grid.x) && Flat(grid.y)) {
    AlongTheGrid(set, static_cast<size_t>(columns), static_cast<size_t>(rows), grid);
    return grid;
  }
  grid.magnet = set.MagN;
  if (set.MagN >= 1 && set.MagN <= std::min(model.RecMagCount, kElementCapacity)) {
    const RecMag& m = model.RecMagTable[static_cast<size_t>(set.MagN)];
    grid.face = std::pair{m.a, m.b};
  }
  return grid;
}

namespace {

template <class Point>
double ValueOf(const Point& point, MapComponent component) {
  switch (component) {
    case MapComponent::kHx:
      return point.Hx;
    case MapComponent::kHy:
      return point.Hy;
    case MapComponent::kHz:
      return point.Hz;
    default:
      return std::sqrt(point.Hx * point.Hx + point.Hy * point.Hy + point.Hz * point.Hz);
  }
}

}  // namespace

double ComponentValue(const RectCalPoint& point, MapComponent component) {
  return ValueOf(point, component);
}

double ComponentValue(const SectCalPoint& point, MapComponent component) {
  return ValueOf(point, component);
}

std::string_view ComponentName(MapComponent component) {
  switch (component) {
    case MapComponent::kHx:
      return "Hx";
    case MapComponent::kHy:
      return "Hy";
    case MapComponent::kHz:
      return "Hz";
    default:
      return "|H|";
  }
}

ColourScale::ColourScale(double low, double high, bool diverging)
    : low_(low), high_(high), diverging_(diverging) {
  if (!(high_ > low_)) {
    // A flat field still gets a scale, centred on its value.
    const double pad = std::max(1.0, std::abs(low_) * 0.01);
    low_ -= pad;
    high_ += pad;
  }
}

Rgb ColourScale::At(double value) const {
  const double t = (value - low_) / (high_ - low_);
  return diverging_ ? AlongAnchors(kDiverging, t) : AlongAnchors(kSequential, t);
}

namespace {

// Sequential over |H|'s range, or diverging symmetric about zero for a signed component.
template <class Set>
ColourScale ScaleOver(const Set& set, MapComponent component) {
  double low = INFINITY, high = -INFINITY, largest = 0;
  const int last = std::clamp(set.LastIndex, 0, kPointSlots - 1);
  for (int k = 0; k <= last; ++k) {
    const double v = ComponentValue(set.Points[static_cast<size_t>(k)], component);
    if (std::isfinite(v)) {
      low = std::min(low, v);
      high = std::max(high, v);
      largest = std::max(largest, std::abs(v));
    }
  }
  if (component != MapComponent::kMagnitude) {
    return ColourScale(-largest, largest, true);
  }
  return std::isfinite(low) ? ColourScale(low, high, false) : ColourScale(0, 0, false);
}

}  // namespace

ColourScale ScaleFor(const ElementModel& model, MapComponent component) {
  return ScaleOver(model.RectCalPointSet, component);
}

ColourScale SectorScaleFor(const ElementModel& model, MapComponent component) {
  return ScaleOver(model.SectCalPointSet, component);
}

std::vector<double> NiceTicks(double low, double high, int max_count) {
  std::vector<double> ticks;
  if (!(high > low) || !std::isfinite(high - low) || max_count < 2) {
    return ticks;
  }
  const double rough = (high - low) / (max_count - 1);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = 10 * power;
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= rough) {
      step = m * power;
      break;
    }
  }
  for (double k = std::ceil(low / step); k * step <= high + step * 1e-9; k += 1) {
    ticks.push_back(k * step);
  }
  return ticks;
}

std::string TickText(double value, double step) {
  const int decimals = step > 0 ? std::max(0, -static_cast<int>(std::floor(std::log10(step)))) : 0;
  // "." whatever the C library's locale.
  std::array<char, 400> text{};
  char* end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed,
                            std::min(decimals, 12))
                  .ptr;
  std::string out(text.data(), end);
  // A value that rounds to zero is written without its sign.
  if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) {
    out.erase(0, 1);
  }
  return out;
}

ScreenPoint FieldMapLayout::ToPixel(double x_mm, double y_mm) const {
  const double scale = plot_width / (x_high - x_low);
  return {plot_x + (x_mm - x_low) * scale, plot_y + (y_high - y_mm) * scale};
}

ScreenPoint FieldMapLayout::ToMm(double px, double py) const {
  const double scale = plot_width / (x_high - x_low);
  return {x_low + (px - plot_x) / scale, y_high - (py - plot_y) / scale};
}

namespace {

constexpr double kLeftMargin = 78, kRightMargin = 130, kTopMargin = 52, kBottomMargin = 56;
constexpr double kBarGap = 28, kBarWidth = 18;

FieldMapLayout LayoutSpan(
    double x_low, double x_high, double y_low, double y_high, double width, double height);

}  // namespace

FieldMapLayout LayoutFieldMap(const FieldMapGrid& grid, double width, double height) {
  auto [x_low, x_high] = Span(CellEdges(grid.x));
  auto [y_low, y_high] = Span(CellEdges(grid.y));
  if (grid.face) {
    x_low = std::min(x_low, -std::abs(grid.face->first) / 2);
    x_high = std::max(x_high, std::abs(grid.face->first) / 2);
    y_low = std::min(y_low, -std::abs(grid.face->second) / 2);
    y_high = std::max(y_high, std::abs(grid.face->second) / 2);
  }
  return LayoutSpan(x_low, x_high, y_low, y_high, width, height);
}

namespace {

FieldMapLayout LayoutSpan(
    double x_low, double x_high, double y_low, double y_high, double width, double height) {
  FieldMapLayout layout;
  layout.x_low = x_low;
  layout.x_high = x_high > x_low ? x_high : x_low + 1;
  layout.y_low = y_low;
  layout.y_high = y_high > y_low ? y_high : y_low + 1;
  const double room_w = std::max(10.0, width - kLeftMargin - kRightMargin);
  const double room_h = std::max(10.0, height - kTopMargin - kBottomMargin);
  const double span_x = layout.x_high - layout.x_low, span_y = layout.y_high - layout.y_low;
  const double scale = std::min(room_w / span_x, room_h / span_y);
  layout.plot_width = span_x * scale;
  layout.plot_height = span_y * scale;
  layout.plot_x = kLeftMargin + (room_w - layout.plot_width) / 2;
  layout.plot_y = kTopMargin + (room_h - layout.plot_height) / 2;
  layout.bar_x = layout.plot_x + layout.plot_width + kBarGap;
  layout.bar_y = kTopMargin;
  layout.bar_width = kBarWidth;
  layout.bar_height = room_h;
  return layout;
}

}  // namespace

std::optional<int> MapPointAt(const FieldMapGrid& grid,
                              const FieldMapLayout& layout,
                              double px,
                              double py) {
  const ScreenPoint mm = layout.ToMm(px, py);
  const std::optional<int> column = CellOf(CellEdges(grid.x), mm.x);
  const std::optional<int> row = CellOf(CellEdges(grid.y), mm.y);
  if (!column || !row) {
    return std::nullopt;
  }
  return *row * static_cast<int>(grid.x.size()) + *column;
}

namespace {

std::string Tenths(double v) {
  return TickText(std::nearbyint(v * 10) / 10, 0.1);
}

std::string Thousandths(double v) {
  return ShortestDecimal(std::nearbyint(v * 1000) / 1000);
}

template <class Point>
std::string PositionAndField(const Point& p) {
  return "X=" + Thousandths(p.PGroX) + " Y=" + Thousandths(p.PGroY) + " Z=" + Thousandths(p.PGroZ) +
         " mm  |H|=" + Tenths(ComponentValue(p, MapComponent::kMagnitude)) + " Hx=" + Tenths(p.Hx) +
         " Hy=" + Tenths(p.Hy) + " Hz=" + Tenths(p.Hz) + " Oe";
}

}  // namespace

std::string MapPointText(const ElementModel& model, int k) {
  const RectCalPoint& p = model.RectCalPointSet.Points[static_cast<size_t>(k)];
  return "点" + std::to_string(k) + "  " + PositionAndField(p);
}

namespace {

void DrawCells(const ElementModel& model,
               const FieldMapGrid& grid,
               const FieldMapLayout& layout,
               const ColourScale& scale,
               MapComponent component,
               MapCanvas& canvas) {
  const std::vector<double> xe = CellEdges(grid.x), ye = CellEdges(grid.y);
  const size_t columns = grid.x.size();
  for (size_t i = 0; i < grid.y.size(); ++i) {
    for (size_t j = 0; j < columns; ++j) {
      const RectCalPoint& p = model.RectCalPointSet.Points[i * columns + j];
      const ScreenPoint a = layout.ToPixel(std::min(xe[j], xe[j + 1]), std::max(ye[i], ye[i + 1]));
      const ScreenPoint b = layout.ToPixel(std::max(xe[j], xe[j + 1]), std::min(ye[i], ye[i + 1]));
      canvas.FillRect(a.x, a.y, b.x - a.x, b.y - a.y, scale.At(ComponentValue(p, component)));
    }
  }
}

void DrawAxesTicks(const FieldMapLayout& layout, MapCanvas& canvas) {
  const double bottom = layout.plot_y + layout.plot_height;
  const double right = layout.plot_x + layout.plot_width;
  const auto x_ticks = NiceTicks(layout.x_low, layout.x_high, 8);
  const double x_step = x_ticks.size() > 1 ? x_ticks[1] - x_ticks[0] : 1;
  for (double t : x_ticks) {
    const double px = layout.ToPixel(t, 0).x;
    canvas.Line(px, bottom, px, bottom + 5, kBlack);
    canvas.Text(px, bottom + 16, TickText(t, x_step), kBlack, MapCanvas::Align::kCentre);
  }
  const auto y_ticks = NiceTicks(layout.y_low, layout.y_high, 8);
  const double y_step = y_ticks.size() > 1 ? y_ticks[1] - y_ticks[0] : 1;
  for (double t : y_ticks) {
    const double py = layout.ToPixel(0, t).y;
    canvas.Line(layout.plot_x - 5, py, layout.plot_x, py, kBlack);
    canvas.Text(layout.plot_x - 8, py, TickText(t, y_step), kBlack, MapCanvas::Align::kRight);
  }
  canvas.Text((layout.plot_x + right) / 2, bottom + 36, "x (mm)", kBlack,
              MapCanvas::Align::kCentre);
  canvas.Text(layout.plot_x - 8, layout.plot_y - 14, "y (mm)", kBlack, MapCanvas::Align::kRight);
  const std::array<std::pair<ScreenPoint, ScreenPoint>, 4> frame{
      {{{layout.plot_x, layout.plot_y}, {right, layout.plot_y}},
       {{right, layout.plot_y}, {right, bottom}},
       {{right, bottom}, {layout.plot_x, bottom}},
       {{layout.plot_x, bottom}, {layout.plot_x, layout.plot_y}}}};
  for (const auto& [a, b] : frame) {
    canvas.Line(a.x, a.y, b.x, b.y, kFrameGrey);
  }
}

void DrawFaceOutline(const FieldMapGrid& grid, const FieldMapLayout& layout, MapCanvas& canvas) {
  if (!grid.face) {
    return;
  }
  const double ha = std::abs(grid.face->first) / 2, hb = std::abs(grid.face->second) / 2;
  const std::array<ScreenPoint, 4> corners{layout.ToPixel(-ha, -hb), layout.ToPixel(ha, -hb),
                                           layout.ToPixel(ha, hb), layout.ToPixel(-ha, hb)};
  for (size_t k = 0; k < 4; ++k) {
    const ScreenPoint& a = corners[k];
    const ScreenPoint& b = corners[(k + 1) % 4];
    canvas.Line(a.x, a.y, b.x, b.y, kBlack);
  }
}

void DrawColourBar(const FieldMapLayout& layout, const ColourScale& scale, MapCanvas& canvas) {
  constexpr int kStripes = 128;
  const double stripe = layout.bar_height / kStripes;
  for (int s = 0; s < kStripes; ++s) {
    const double value = scale.High() - (s + 0.5) / kStripes * (scale.High() - scale.Low());
    canvas.FillRect(layout.bar_x, layout.bar_y + s * stripe, layout.bar_width, stripe + 0.5,
                    scale.At(value));
  }
  const auto ticks = NiceTicks(scale.Low(), scale.High(), 7);
  const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
  const double right = layout.bar_x + layout.bar_width;
  for (double t : ticks) {
    const double py =
        layout.bar_y + (scale.High() - t) / (scale.High() - scale.Low()) * layout.bar_height;
    canvas.Line(right, py, right + 4, py, kBlack);
    canvas.Text(right + 7, py, TickText(t, step), kBlack, MapCanvas::Align::kLeft);
  }
  canvas.Text(layout.bar_x, layout.bar_y - 14, "Oe", kBlack, MapCanvas::Align::kLeft);
}

}  // namespace

void DrawFieldMap(const ElementModel& model,
                  const FieldMapGrid& grid,
                  MapComponent component,
                  MapCanvas& canvas) {
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), kWhite);
  const FieldMapLayout layout = LayoutFieldMap(grid, canvas.Width(), canvas.Height());
  const ColourScale scale = ScaleFor(model, component);
  DrawCells(model, grid, layout, scale, component, canvas);
  DrawFaceOutline(grid, layout, canvas);
  DrawAxesTicks(layout, canvas);
  DrawColourBar(layout, scale, canvas);
  const std::string where = !grid.own_frame ? std::string("点0からの格子に沿った位置")
                            : grid.face     ? "磁石" + std::to_string(grid.magnet) + "の座標"
                                            : std::string("磁石の座標");
  canvas.Text(12, 16, std::string(ComponentName(component)) + " (Oe)  " + where, kBlack,
              MapCanvas::Align::kLeft);
}

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The angle edges of the cells, trimmed evenly at both ends so that a full turn of points
// (first and last at the same place) shares one turn instead of overlapping.
std::vector<double> AngleEdges(const std::vector<double>& theta) {
  std::vector<double> edges = CellEdges(theta);
  const double span = edges.back() - edges.front();
  const double excess = std::abs(span) - kTwoPi;
  if (excess > 0) {
    const double trim = std::copysign(excess / 2, span);
    edges.front() += trim;
    edges.back() -= trim;
  }
  return edges;
}

std::vector<double> RadiusEdges(const std::vector<double>& r) {
  std::vector<double> edges = CellEdges(r);
  for (double& e : edges) {
    e = std::max(e, 0.0);
  }
  return edges;
}

// The outline of the annular sector r0..r1, t0..t1 in own mm, arcs in steps of about 2°.
std::vector<ScreenPoint> AnnularSector(double r0, double r1, double t0, double t1) {
  const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(t1 - t0) / (kTwoPi / 180))));
  std::vector<ScreenPoint> corners;
  for (int k = 0; k <= steps; ++k) {
    const double t = t0 + (t1 - t0) * k / steps;
    corners.push_back({r1 * std::cos(t), r1 * std::sin(t)});
  }
  for (int k = steps; k >= 0; --k) {
    const double t = t0 + (t1 - t0) * k / steps;
    corners.push_back({r0 * std::cos(t), r0 * std::sin(t)});
  }
  return corners;
}

std::vector<ScreenPoint> FaceOutline(const SectorFace& face) {
  return AnnularSector(face.ri, face.ro, -face.open / 2, face.open / 2);
}

}  // namespace

std::optional<SectorMapGrid> SectorFieldMapGrid(const ElementModel& model) {
  const SectPointSet& set = model.SectCalPointSet;
  const int64_t angles = int64_t{set.AngleDiv} + 1, radii = int64_t{set.RDiv} + 1;
  if (set.AngleDiv < 0 || set.RDiv < 0 || angles * radii != int64_t{set.LastIndex} + 1 ||
      set.LastIndex >= kPointSlots) {
    return std::nullopt;
  }
  SectorMapGrid grid;
  for (int64_t j = 0; j < angles; ++j) {
    grid.theta.push_back(set.Points[static_cast<size_t>(j)].Theta);
  }
  for (int64_t i = 0; i < radii; ++i) {
    grid.r.push_back(set.Points[static_cast<size_t>(i * angles)].R);
  }
  grid.magnet = set.MagN;
  if (set.MagN >= 1 && set.MagN <= std::min(SecMagLoopCount(model), kElementCapacity)) {
    const SecMag& m = model.SecMagTable[static_cast<size_t>(set.MagN)];
    grid.face = SectorFace{m.Ri, m.Ro, m.OpenAngle};
  }
  return grid;
}

FieldMapLayout LayoutSectorMap(const SectorMapGrid& grid, double width, double height) {
  const std::vector<double> re = RadiusEdges(grid.r), te = AngleEdges(grid.theta);
  std::vector<ScreenPoint> extent = AnnularSector(re.front(), re.back(), te.front(), te.back());
  if (grid.face) {
    const std::vector<ScreenPoint> face = FaceOutline(*grid.face);
    extent.insert(extent.end(), face.begin(), face.end());
  }
  double x_low = INFINITY, x_high = -INFINITY, y_low = INFINITY, y_high = -INFINITY;
  for (const ScreenPoint& p : extent) {
    x_low = std::min(x_low, p.x), x_high = std::max(x_high, p.x);
    y_low = std::min(y_low, p.y), y_high = std::max(y_high, p.y);
  }
  return LayoutSpan(x_low, x_high, y_low, y_high, width, height);
}

std::optional<int> SectorMapPointAt(const SectorMapGrid& grid,
                                    const FieldMapLayout& layout,
                                    double px,
                                    double py) {
  const ScreenPoint mm = layout.ToMm(px, py);
  const std::optional<int> row = CellOf(RadiusEdges(grid.r), std::hypot(mm.x, mm.y));
  if (!row) {
    return std::nullopt;
  }
  // The cells' angles may run outside (-π, π]: try the pointer's angle a turn either way.
  const std::vector<double> te = AngleEdges(grid.theta);
  const double angle = std::atan2(mm.y, mm.x);
  for (int turn = -2; turn <= 2; ++turn) {
    if (const std::optional<int> column = CellOf(te, angle + turn * kTwoPi)) {
      return *row * static_cast<int>(grid.theta.size()) + *column;
    }
  }
  return std::nullopt;
}

std::string SectorMapPointText(const ElementModel& model, int k) {
  const SectCalPoint& p = model.SectCalPointSet.Points[static_cast<size_t>(k)];
  return "点" + std::to_string(k) + "  R=" + Thousandths(p.R) +
         " mm θ=" + Thousandths(p.Theta * 360 / kTwoPi) + "°  " + PositionAndField(p);
}

namespace {

std::vector<ScreenPoint> ToPixels(const FieldMapLayout& layout, std::vector<ScreenPoint> mm) {
  for (ScreenPoint& p : mm) {
    p = layout.ToPixel(p.x, p.y);
  }
  return mm;
}

void DrawSectorCells(const ElementModel& model,
                     const SectorMapGrid& grid,
                     const FieldMapLayout& layout,
                     const ColourScale& scale,
                     MapComponent component,
                     MapCanvas& canvas) {
  const std::vector<double> re = RadiusEdges(grid.r), te = AngleEdges(grid.theta);
  const size_t angles = grid.theta.size();
  for (size_t i = 0; i < grid.r.size(); ++i) {
    for (size_t j = 0; j < angles; ++j) {
      const SectCalPoint& p = model.SectCalPointSet.Points[i * angles + j];
      canvas.FillPolygon(ToPixels(layout, AnnularSector(re[i], re[i + 1], te[j], te[j + 1])),
                         scale.At(ComponentValue(p, component)));
    }
  }
}

void DrawPolyline(const std::vector<ScreenPoint>& points, Rgb colour, MapCanvas& canvas) {
  for (size_t k = 0; k < points.size(); ++k) {
    const ScreenPoint& a = points[k];
    const ScreenPoint& b = points[(k + 1) % points.size()];
    canvas.Line(a.x, a.y, b.x, b.y, colour);
  }
}

}  // namespace

void DrawSectorFieldMap(const ElementModel& model,
                        const SectorMapGrid& grid,
                        MapComponent component,
                        MapCanvas& canvas) {
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), kWhite);
  const FieldMapLayout layout = LayoutSectorMap(grid, canvas.Width(), canvas.Height());
  const ColourScale scale = SectorScaleFor(model, component);
  DrawSectorCells(model, grid, layout, scale, component, canvas);
  if (grid.face) {
    DrawPolyline(ToPixels(layout, FaceOutline(*grid.face)), kBlack, canvas);
  }
  DrawAxesTicks(layout, canvas);
  DrawColourBar(layout, scale, canvas);
  const std::string where = grid.face ? "扇型磁石" + std::to_string(grid.magnet) + "の座標"
                                      : std::string("扇型磁石の座標");
  canvas.Text(12, 16, std::string(ComponentName(component)) + " (Oe)  " + where, kBlack,
              MapCanvas::Align::kLeft);
}

bool DrawSetFieldMap(const ElementModel& model,
                     MapSet set,
                     MapComponent component,
                     MapCanvas& canvas) {
  if (set == MapSet::kSector) {
    const std::optional<SectorMapGrid> grid = SectorFieldMapGrid(model);
    if (grid) {
      DrawSectorFieldMap(model, *grid, component, canvas);
    }
    return grid.has_value();
  }
  const std::optional<FieldMapGrid> grid = RectFieldMapGrid(model);
  if (grid) {
    DrawFieldMap(model, *grid, component, canvas);
  }
  return grid.has_value();
}

}  // namespace tavrine

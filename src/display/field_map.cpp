// The field map: grid recognition, colour scales, ticks, layout and drawing.
#include "display/field_map.h"

#include <algorithm>
#include <array>
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

double ComponentValue(const RectCalPoint& point, MapComponent component) {
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

ColourScale ScaleFor(const ElementModel& model, MapComponent component) {
  const RectPointSet& set = model.RectCalPointSet;
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
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%.*f", std::min(decimals, 12), value);
  std::string out(text.data());
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

}  // namespace

std::string MapPointText(const ElementModel& model, int k) {
  const RectCalPoint& p = model.RectCalPointSet.Points[static_cast<size_t>(k)];
  const auto mm = [](double v) { return ShortestDecimal(std::nearbyint(v * 1000) / 1000); };
  return "点" + std::to_string(k) + "  X=" + mm(p.PGroX) + " Y=" + mm(p.PGroY) +
         " Z=" + mm(p.PGroZ) + " mm  |H|=" + Tenths(ComponentValue(p, MapComponent::kMagnitude)) +
         " Hx=" + Tenths(p.Hx) + " Hy=" + Tenths(p.Hy) + " Hz=" + Tenths(p.Hz) + " Oe";
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

}  // namespace tavrine

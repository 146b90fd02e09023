// Wire-frame outlines of the seven element kinds, their colours and the highlight sequence.
#include "display/element_drawing.h"

#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "geometry/transforms.h"
#include "model/text_rules.h"

namespace tavrine {

Rgb CurrentGradient(int s, int n, bool negative_current) {
  const int32_t rising = RoundToInt32(s * 255.0 / n);
  const int32_t falling = RoundToInt32((1 - static_cast<double>(s) / n) * 255);
  return negative_current ? Rgb{falling, 0, rising} : Rgb{rising, 0, falling};
}

namespace {

using ToGlobal = std::function<Vec3(const Vec3&)>;

// Carries own-frame points to the view and draws lines and polylines in the mode's colours.
class OutlinePen {
 public:
  // Kinds without a mark colour draw their normal colours in mark mode.
  OutlinePen(Canvas& canvas,
             const ViewProjector& projector,
             ToGlobal to_global,
             DrawMode mode,
             std::optional<Rgb> mark_colour = std::nullopt)
      : canvas_(canvas),
        projector_(projector),
        to_global_(std::move(to_global)),
        mode_(mode),
        mark_colour_(mark_colour),
        merge_length_(canvas.MergeLength()) {}
  OutlinePen(Canvas& canvas,
             const ViewProjector& projector,
             const ElementFrame& frame,
             DrawMode mode,
             std::optional<Rgb> mark_colour = std::nullopt)
      : OutlinePen(canvas, projector, ToGlobal{}, mode, mark_colour) {
    frame_ = frame;
  }

  ScreenPoint At(const Vec3& local) const {
    return projector_.Project(frame_ ? frame_->PointToGlobal(local) : to_global_(local));
  }
  Rgb Colour(Rgb normal) const {
    if (mode_ == DrawMode::kHighlight) {
      return kWhite;
    }
    return mode_ == DrawMode::kMark && mark_colour_ ? *mark_colour_ : normal;
  }
  void Line(const ScreenPoint& a, const ScreenPoint& b, Rgb normal) {
    canvas_.Line(a.x, a.y, b.x, b.y, Colour(normal));
  }
  void Line(const Vec3& a, const Vec3& b, Rgb normal) { Line(At(a), At(b), normal); }
  // Segment s (1-based) takes segment_colour(s); the pen's first point leaves a dot.
  void Polyline(const std::vector<Vec3>& points, const std::function<Rgb(int)>& segment_colour) {
    if (points.empty()) {
      return;
    }
    ScreenPoint previous = At(points[0]);
    canvas_.Dot(previous.x, previous.y, Colour(segment_colour(1)));
    for (size_t k = 1; k < points.size(); ++k) {
      const ScreenPoint next = At(points[k]);
      // Segments too short to be seen join the next one; the last point always ends a line.
      if (k + 1 < points.size() && Shorter(previous, next)) {
        continue;
      }
      Line(previous, next, segment_colour(static_cast<int>(k)));
      previous = next;
    }
  }
  void Polyline(const std::vector<Vec3>& points, Rgb normal) {
    Polyline(points, [normal](int) { return normal; });
  }

 private:
  bool Shorter(const ScreenPoint& a, const ScreenPoint& b) const {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y) < merge_length_;
  }

  Canvas& canvas_;
  const ViewProjector& projector_;
  ToGlobal to_global_;
  std::optional<ElementFrame> frame_;
  DrawMode mode_;
  std::optional<Rgb> mark_colour_;
  double merge_length_;
};

template <class Record>
ElementFrame FrameOf(const Record& record) {
  return ElementFrame(PlacementOf(record));
}

template <class Record>
const Record& Slot(const ElementTable<Record>& table, int i) {
  return table[static_cast<size_t>(i)];
}

// n + 1 points of an arc of radius r at height z, theta from t0 to t1.
std::vector<Vec3> Arc(double r, double t0, double t1, int n, double z) {
  std::vector<Vec3> points;
  points.reserve(static_cast<size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) {
    const double t = t0 + k * (t1 - t0) / n;
    points.push_back({r * std::cos(t), r * std::sin(t), z});
  }
  return points;
}

// n + 1 points along x from x0 to x1 at (y, z).
std::vector<Vec3> AlongX(double x0, double x1, int n, double y, double z) {
  std::vector<Vec3> points;
  for (int k = 0; k <= n; ++k) {
    points.push_back({x0 + k * (x1 - x0) / n, y, z});
  }
  return points;
}

struct SectorShape {
  double ri, ro, t, angle;
};

struct SectorColours {
  std::function<Rgb(int)> arc_bottom, arc_top;  // levels z = −T and z = 0, by segment
  Rgb edge_start, edge_end;                     // edges along z at −angle/2 and +angle/2
  Rgb radial_bottom_start, radial_bottom_end, radial_top_start, radial_top_end;
};

// The sector outline shared by the sector magnet and the arc rectangular wire.
void DrawSectorOutline(OutlinePen& pen, const SectorShape& s, int n, const SectorColours& c) {
  const double t0 = -s.angle / 2, t1 = s.angle / 2;
  for (double r : {s.ro, s.ri}) {
    pen.Polyline(Arc(r, t0, t1, n, -s.t), c.arc_bottom);
    pen.Polyline(Arc(r, t0, t1, n, 0), c.arc_top);
  }
  const auto at = [](double r, double theta, double z) {
    return Vec3{r * std::cos(theta), r * std::sin(theta), z};
  };
  for (double r : {s.ro, s.ri}) {
    pen.Line(at(r, t0, 0), at(r, t0, -s.t), c.edge_start);
    pen.Line(at(r, t1, 0), at(r, t1, -s.t), c.edge_end);
  }
  pen.Line(at(s.ro, t0, -s.t), at(s.ri, t0, -s.t), c.radial_bottom_start);
  pen.Line(at(s.ro, t1, -s.t), at(s.ri, t1, -s.t), c.radial_bottom_end);
  pen.Line(at(s.ro, t0, 0), at(s.ri, t0, 0), c.radial_top_start);
  pen.Line(at(s.ro, t1, 0), at(s.ri, t1, 0), c.radial_top_end);
}

std::function<Rgb(int)> Constant(Rgb colour) {
  return [colour](int) { return colour; };
}
std::function<Rgb(int)> Gradient(int n, bool negative) {
  return [n, negative](int s) { return CurrentGradient(s, n, negative); };
}

// Sines and cosines of the straight round wire's end circles, phi = k·2π/180: the same for
// every element, so worked out once for the model's π.
struct EndCircleSteps {
  double pi = 0;
  std::array<double, 181> sin{}, cos{};
  explicit EndCircleSteps(double p) : pi(p) {
    for (size_t k = 0; k < sin.size(); ++k) {
      const double phi = static_cast<double>(k) * 2 * p / 180;
      sin[k] = std::sin(phi);
      cos[k] = std::cos(phi);
    }
  }
};

const EndCircleSteps& UsualEndCircleSteps() {
  static const EndCircleSteps kUsual(4 * std::atan(1.0));
  return kUsual;
}

void DrawStrRecOutline(OutlinePen& pen, const StrRecCoil& c) {
  const bool negative = c.CurrentDensity < 0;
  const Rgb start = negative ? kCurrentExitColour : kCurrentEntryColour;
  const Rgb end = negative ? kCurrentEntryColour : kCurrentExitColour;
  const double hx = c.Lx / 2, hw = c.W / 2;
  const std::array<std::array<double, 2>, 4> corners = {
      {{-hw, 0}, {hw, 0}, {hw, -c.T}, {-hw, -c.T}}};
  for (double x : {-hx, hx}) {
    std::vector<Vec3> rectangle;
    for (const auto& yz : corners) {
      rectangle.push_back({x, yz[0], yz[1]});
    }
    rectangle.push_back(rectangle.front());
    pen.Polyline(rectangle, x < 0 ? start : end);
  }
  for (const auto& yz : corners) {
    pen.Polyline(AlongX(-hx, hx, 10, yz[0], yz[1]), Gradient(10, negative));
  }
}

}  // namespace

void DrawRecMag(
    const ElementModel& model, Canvas& canvas, int i, const ViewAngles& angles, DrawMode mode) {
  const RecMag& m = Slot(model.RecMagTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(m), mode);
  const double ha = m.a / 2, hb = m.b / 2;
  const std::array<Vec3, 8> corners = {{{-ha, -hb, 0},
                                        {ha, -hb, 0},
                                        {ha, hb, 0},
                                        {-ha, hb, 0},
                                        {-ha, -hb, -m.l},
                                        {ha, -hb, -m.l},
                                        {ha, hb, -m.l},
                                        {-ha, hb, -m.l}}};
  std::array<ScreenPoint, 8> p;
  for (size_t k = 0; k < 8; ++k) {
    p[k] = pen.At(corners[k]);
  }
  const bool positive = m.Br >= 0;
  const Rgb bottom = positive ? model.View.MagnetColourS : model.View.MagnetColourN;
  const Rgb top = positive ? model.View.MagnetColourN : model.View.MagnetColourS;
  for (size_t k = 0; k < 4; ++k) {
    pen.Line(p[4 + k], p[4 + (k + 1) % 4], bottom);
  }
  for (size_t k = 0; k < 4; ++k) {
    pen.Line(p[k], p[(k + 1) % 4], top);
  }
  for (size_t k = 0; k < 4; ++k) {
    pen.Line(p[k], p[4 + k], kMagnetEdgeColour);
  }
}

void DrawSecMag(const ElementModel& model,
                Canvas& canvas,
                int i,
                int n,
                const ViewAngles& angles,
                DrawMode mode) {
  const SecMag& m = Slot(model.SecMagTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(m), mode);
  const bool positive = m.Br >= 0;
  const Rgb top = positive ? model.View.MagnetColourN : model.View.MagnetColourS;
  const Rgb bottom = positive ? model.View.MagnetColourS : model.View.MagnetColourN;
  const SectorColours colours{Constant(bottom),
                              Constant(top),
                              kMagnetEdgeColour,
                              kMagnetEdgeColour,
                              bottom,
                              bottom,
                              top,
                              top};
  DrawSectorOutline(pen, {m.Ri, m.Ro, m.T, m.OpenAngle}, n, colours);
}

void DrawRhMag(const ElementModel& model,
               Canvas& canvas,
               int i,
               int n,
               const ViewAngles& angles,
               DrawMode mode) {
  const RhMag& m = Slot(model.RhMagTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(m), mode);
  const double pi = model.Pi;
  if (mode == DrawMode::kHighlight) {
    for (double z : {0.0, -m.HT}) {
      pen.Polyline(Arc(m.R, 0, 2 * pi, 2 * n, z), kWhite);
    }
    return;
  }
  const bool positive = m.Br >= 0;
  const Rgb plus_x = positive ? model.View.MagnetColourN : model.View.MagnetColourS;
  const Rgb minus_x = positive ? model.View.MagnetColourS : model.View.MagnetColourN;
  for (double z : {0.0, -m.HT}) {
    pen.Polyline(Arc(m.R, -pi / 2, pi / 2, n, z), plus_x);
  }
  for (double z : {0.0, -m.HT}) {
    pen.Polyline(Arc(m.R, pi / 2, 3 * pi / 2, n, z), minus_x);
  }
}

void DrawStrRecCoil(
    const ElementModel& model, Canvas& canvas, int i, const ViewAngles& angles, DrawMode mode) {
  const StrRecCoil& c = Slot(model.StrRecCoilTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(c), mode, kWhite);
  DrawStrRecOutline(pen, c);
}

void DrawStrRecCoilRotated(const ElementModel& model,
                           Canvas& canvas,
                           int i,
                           double phi,
                           const ViewAngles& angles,
                           DrawMode mode,
                           Notices& notices) {
  const StrRecCoil& c = Slot(model.StrRecCoilTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  ToGlobal turned = [&model, &notices, i, phi](const Vec3& p) {
    return KtRotatedPoint(model, kKtStrRec, i, phi, p, notices);
  };
  OutlinePen pen(canvas, projector, std::move(turned), mode, kWhite);
  DrawStrRecOutline(pen, c);
}

namespace {

// stride: every stride-th of the 180 steps of the end circles (a divisor of 180).
void DrawStrCylCoilSteps(const ElementModel& model,
                         Canvas& canvas,
                         int i,
                         int n,
                         size_t stride,
                         const ViewAngles& angles,
                         DrawMode mode) {
  const StrCylCoil& c = Slot(model.StrCylCoilTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(c), mode);
  const bool negative = c.CurrentDensity < 0;
  const double pi = model.Pi, hx = c.Lx / 2;
  std::optional<EndCircleSteps> own;
  const EndCircleSteps& steps =
      UsualEndCircleSteps().pi == pi ? UsualEndCircleSteps() : own.emplace(pi);
  for (double x : {hx, -hx}) {
    std::vector<Vec3> circle;
    circle.reserve(steps.sin.size() / stride + 1);
    for (size_t k = 0; k < steps.sin.size(); k += stride) {
      circle.push_back({x, c.R * steps.sin[k], c.R * steps.cos[k]});
    }
    const bool exit_end = (x > 0) != negative;
    pen.Polyline(circle, exit_end ? kCurrentExitColour : kCurrentEntryColour);
  }
  for (int k = 0; k <= n; ++k) {
    const double phi = k * 2 * pi / n;
    pen.Polyline(AlongX(-hx, hx, 10, c.R * std::sin(phi), c.R * std::cos(phi)),
                 Gradient(10, negative));
  }
}

}  // namespace

void DrawStrCylCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode) {
  DrawStrCylCoilSteps(model, canvas, i, n, 1, angles, mode);
}

void DrawSecRecCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode) {
  const SecRecCoil& c = Slot(model.SecRecCoilTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(c), mode, kMarkGreen);
  const bool negative = c.CurrentDensity < 0;
  const Rgb start = negative ? kCurrentExitColour : kCurrentEntryColour;
  const Rgb end = negative ? kCurrentEntryColour : kCurrentExitColour;
  const SectorColours colours{
      Gradient(n, negative), Gradient(n, negative), start, end, start, end, start, end};
  DrawSectorOutline(pen, {c.Ri, c.Ro, c.T, c.Angle}, n, colours);
}

void DrawSecCylCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode) {
  const SecCylCoil& c = Slot(model.SecCylCoilTable, i);
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  OutlinePen pen(canvas, projector, FrameOf(c), mode);
  const double pi = model.Pi, t0 = -c.Angle / 2, t1 = c.Angle / 2;
  for (int h = 0; h < 2; ++h) {
    const double te = h == 0 ? t0 : t1;
    std::vector<Vec3> circle;
    for (int k = 0; k <= n; ++k) {
      const double phi = k * 2 * pi / n;
      const double r = c.R - c.rwire * std::cos(phi);
      circle.push_back({r * std::cos(te), r * std::sin(te), c.rwire * std::sin(phi)});
    }
    const double signed_current = h == 0 ? c.CurrentDensity : -c.CurrentDensity;
    pen.Polyline(circle, signed_current >= 0 ? kCurrentEntryColour : kCurrentExitColour);
  }
  const auto gradient = Gradient(n, c.CurrentDensity < 0);
  pen.Polyline(Arc(c.R + c.rwire, t0, t1, n, 0), gradient);
  pen.Polyline(Arc(c.R - c.rwire, t0, t1, n, 0), gradient);
  pen.Polyline(Arc(c.R, t0, t1, n, c.rwire), gradient);
  pen.Polyline(Arc(c.R, t0, t1, n, -c.rwire), gradient);
}

void DrawElement(const ElementModel& model,
                 Canvas& canvas,
                 ElementKind kind,
                 int i,
                 int n,
                 const ViewAngles& angles,
                 DrawMode mode) {
  switch (kind) {
    case ElementKind::kRecMag:
      return DrawRecMag(model, canvas, i, angles, mode);
    case ElementKind::kSecMag:
      return DrawSecMag(model, canvas, i, n, angles, mode);
    case ElementKind::kRhMag:
      return DrawRhMag(model, canvas, i, n, angles, mode);
    case ElementKind::kStrRecCoil:
      return DrawStrRecCoil(model, canvas, i, angles, mode);
    case ElementKind::kStrCylCoil:
      return DrawStrCylCoil(model, canvas, i, n, angles, mode);
    case ElementKind::kSecRecCoil:
      return DrawSecRecCoil(model, canvas, i, n, angles, mode);
    case ElementKind::kSecCylCoil:
      return DrawSecCylCoil(model, canvas, i, n, angles, mode);
  }
}

namespace {

// Steps that keep a curve of this radius (device pixels) within a quarter pixel of the circle:
// r·(1 − cos(π/N)) ≤ 1/4 holds for N ≥ π·sqrt(2r).
int StepsForRadius(double pixels) {
  const double needed = std::ceil(3.1416 * std::sqrt(2 * std::max(pixels, 0.5)));
  return static_cast<int>(std::min(needed, 180.0));
}

// The largest divisor of 180 whose step count still reaches `steps`.
size_t EndCircleStride(int steps) {
  size_t stride = 1;
  for (size_t d : {2, 3, 4, 5, 6, 9, 10, 12, 15, 18, 20, 30, 36, 45}) {
    if (static_cast<int>(180 / d) >= steps) {
      stride = d;
    }
  }
  return stride;
}

}  // namespace

double OutlineRadius(const ElementModel& model, ElementKind kind, int i) {
  const size_t s = static_cast<size_t>(i);
  switch (kind) {
    case ElementKind::kRecMag: {
      const RecMag& m = model.RecMagTable[s];
      return std::hypot(m.a / 2, m.b / 2, m.l);
    }
    case ElementKind::kSecMag:
      return std::hypot(
          std::max(std::abs(model.SecMagTable[s].Ro), std::abs(model.SecMagTable[s].Ri)),
          model.SecMagTable[s].T);
    case ElementKind::kRhMag:
      return std::hypot(model.RhMagTable[s].R, model.RhMagTable[s].HT);
    case ElementKind::kStrRecCoil: {
      const StrRecCoil& c = model.StrRecCoilTable[s];
      return std::hypot(c.Lx / 2, c.W / 2, c.T);
    }
    case ElementKind::kStrCylCoil: {
      const StrCylCoil& c = model.StrCylCoilTable[s];
      return std::hypot(c.Lx / 2, c.R, c.R);
    }
    case ElementKind::kSecRecCoil: {
      const SecRecCoil& c = model.SecRecCoilTable[s];
      return std::hypot(std::max(std::abs(c.Ro), std::abs(c.Ri)), c.T);
    }
    case ElementKind::kSecCylCoil: {
      const SecCylCoil& c = model.SecCylCoilTable[s];
      return std::hypot(std::abs(c.R) + std::abs(c.rwire), c.rwire);
    }
  }
  return 0;
}

void DrawElementAtSize(const ElementModel& model,
                       Canvas& canvas,
                       ElementKind kind,
                       int i,
                       int n,
                       const ViewAngles& angles,
                       double pixels) {
  const int steps = StepsForRadius(pixels);
  if (kind == ElementKind::kStrCylCoil) {
    DrawStrCylCoilSteps(model, canvas, i, n, EndCircleStride(steps), angles, DrawMode::kNormal);
    return;
  }
  const int curve_steps = n > 0 ? std::min(n, std::max(steps, 4)) : n;
  DrawElement(model, canvas, kind, i, curve_steps, angles, DrawMode::kNormal);
}

int DefaultSegments(ElementKind kind) {
  switch (kind) {
    case ElementKind::kSecMag:
      return kSecMagSegments;
    case ElementKind::kRhMag:
      return kRhMagSegments;
    case ElementKind::kStrCylCoil:
      return kStrCylGenerators;
    case ElementKind::kSecRecCoil:
      return kSecRecSegments;
    case ElementKind::kSecCylCoil:
      return kSecCylSegments;
    default:
      return 0;
  }
}

int ElementCount(const ElementModel& model, ElementKind kind) {
  switch (kind) {
    case ElementKind::kRecMag:
      return model.RecMagCount;
    case ElementKind::kSecMag:
      return SecMagLoopCount(model);
    case ElementKind::kRhMag:
      return model.RhMagCount;
    case ElementKind::kStrRecCoil:
      return model.StrRecCoilCount;
    case ElementKind::kStrCylCoil:
      return model.StrCylCoilCount;
    case ElementKind::kSecRecCoil:
      return model.SecRecCoilCount;
    case ElementKind::kSecCylCoil:
      return model.SecCylCoilCount;
  }
  return 0;
}

namespace {

void DrawInAllViews(
    const ElementModel& model, Views& views, ElementKind kind, int i, int n, DrawMode mode) {
  for (int view : kRedrawOrder) {
    DrawElement(model, views[view], kind, i, n, AnglesOfView(model, view), mode);
  }
}

}  // namespace

void HighlightElement(const ElementModel& model, Views& views, ElementKind kind, int i, int n) {
  const int segments = n > 0 ? n : DefaultSegments(kind);
  const int count = ElementCount(model, kind);
  for (int k = 1; k <= count; ++k) {
    DrawInAllViews(model, views, kind, k, segments, DrawMode::kNormal);
  }
  DrawInAllViews(model, views, kind, i, segments, DrawMode::kHighlight);
}

void HighlightOnly(const ElementModel& model, Views& views, ElementKind kind, int i, int n) {
  DrawInAllViews(model, views, kind, i, n > 0 ? n : DefaultSegments(kind), DrawMode::kHighlight);
}

void MarkElement(const ElementModel& model, Views& views, ElementKind kind, int i, int n) {
  DrawInAllViews(model, views, kind, i, n > 0 ? n : DefaultSegments(kind), DrawMode::kMark);
}

}  // namespace tavrine

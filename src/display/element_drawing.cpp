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

// Own frame to drawing units in one affine step: the element's rotation and the view's
// projection composed once per element, so that a point costs six products.
class AffineMap {
 public:
  AffineMap(const ViewProjector& view, const ElementFrame& frame)
      : origin_(view.Project(frame.Origin())),
        ex_(view.ProjectVector(frame.VectorToGlobal({1, 0, 0}))),
        ey_(view.ProjectVector(frame.VectorToGlobal({0, 1, 0}))),
        ez_(view.ProjectVector(frame.VectorToGlobal({0, 0, 1}))) {}
  ScreenPoint operator()(const Vec3& p) const {
    return {origin_.x + ex_.x * p.x + ey_.x * p.y + ez_.x * p.z,
            origin_.y + ex_.y * p.x + ey_.y * p.y + ez_.y * p.z};
  }

 private:
  ScreenPoint origin_, ex_, ey_, ez_;
};

// Any own-to-global carry followed by the view's projection.
class CarryMap {
 public:
  CarryMap(const ViewProjector& view, std::function<Vec3(const Vec3&)> to_global)
      : view_(view), to_global_(std::move(to_global)) {}
  ScreenPoint operator()(const Vec3& p) const { return view_.Project(to_global_(p)); }

 private:
  const ViewProjector& view_;
  std::function<Vec3(const Vec3&)> to_global_;
};

// Carries own-frame points to the view and draws lines and polylines in the mode's colours.
template <class Map>
class OutlinePen {
 public:
  // Kinds without a mark colour draw their normal colours in mark mode.
  OutlinePen(Canvas& canvas,
             const Map& map,
             DrawMode mode,
             std::optional<Rgb> mark_colour = std::nullopt)
      : canvas_(canvas),
        map_(map),
        mode_(mode),
        mark_colour_(mark_colour),
        merge_length_(canvas.MergeLength()) {}

  ScreenPoint At(const Vec3& local) const { return map_(local); }
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
  // Points point_at(0) … point_at(count − 1); segment s (1-based) takes segment_colour(s); the
  // pen's first point leaves a dot.
  template <class PointAt, class SegmentColour>
  void Polyline(int count, const PointAt& point_at, const SegmentColour& segment_colour) {
    if (count <= 0) {
      return;
    }
    ScreenPoint previous = At(point_at(0));
    canvas_.Dot(previous.x, previous.y, Colour(segment_colour(1)));
    for (int k = 1; k < count; ++k) {
      const ScreenPoint next = At(point_at(k));
      // Segments too short to be seen join the next one; the last point always ends a line.
      if (k + 1 < count && Shorter(previous, next)) {
        continue;
      }
      Line(previous, next, segment_colour(k));
      previous = next;
    }
  }

 private:
  bool Shorter(const ScreenPoint& a, const ScreenPoint& b) const {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y) < merge_length_;
  }

  Canvas& canvas_;
  const Map& map_;
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

// Cosines and sines of theta = t0 + k·(t1 − t0)/n, k = 0 … n, and of the two ends themselves.
struct ArcSteps {
  double t0 = 0, t1 = 0;
  int n = -1;
  std::vector<double> cos, sin;
  double cos0 = 1, sin0 = 0, cos1 = 1, sin1 = 0;

  void Fill(double from, double to, int steps) {
    t0 = from;
    t1 = to;
    n = steps;
    cos.clear();
    sin.clear();
    for (int k = 0; k <= n; ++k) {
      const double t = t0 + k * (t1 - t0) / n;
      cos.push_back(std::cos(t));
      sin.push_back(std::sin(t));
    }
    cos0 = std::cos(t0);
    sin0 = std::sin(t0);
    cos1 = std::cos(t1);
    sin1 = std::sin(t1);
  }
  int Points() const { return static_cast<int>(cos.size()); }
};

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

// Colours of segments 1 … n of a current gradient.
struct GradientSteps {
  int n = -1;
  bool negative = false;
  std::vector<Rgb> colours;  // by segment, index 0 unused

  // A polyline of one point asks for segment 1 for its dot whatever n is.
  Rgb operator()(int s) const {
    return s >= 1 && s <= n ? colours[static_cast<size_t>(s)] : CurrentGradient(s, n, negative);
  }
};

}  // namespace

// The last few curves' steps, which neighbouring elements mostly share (every RH-type magnet
// has the same half circles; sectors of one opening the same arcs).
struct OutlineDrawer::Steps {
  std::array<ArcSteps, 4> arcs;
  size_t next_arc = 0, last_arc = 0;
  std::array<GradientSteps, 2> gradients;
  std::optional<EndCircleSteps> own_end_circle;

  // The last two curves asked for stay valid together.
  const ArcSteps& Arc(double t0, double t1, int n) {
    for (size_t k = 0; k < arcs.size(); ++k) {
      if (arcs[k].n == n && arcs[k].t0 == t0 && arcs[k].t1 == t1) {
        last_arc = k;
        return arcs[k];
      }
    }
    if (next_arc == last_arc) {
      next_arc = (next_arc + 1) % arcs.size();
    }
    last_arc = next_arc;
    next_arc = (next_arc + 1) % arcs.size();
    arcs[last_arc].Fill(t0, t1, n);
    return arcs[last_arc];
  }
  const GradientSteps& Gradient(int n, bool negative) {
    GradientSteps& g = gradients[negative ? 1 : 0];
    if (g.n != n) {
      g.n = n;
      g.negative = negative;
      g.colours.assign(1, Rgb{});
      for (int s = 1; s <= n; ++s) {
        g.colours.push_back(CurrentGradient(s, n, negative));
      }
    }
    return g;
  }
  const EndCircleSteps& EndCircle(double pi) {
    if (UsualEndCircleSteps().pi == pi) {
      return UsualEndCircleSteps();
    }
    if (!own_end_circle || own_end_circle->pi != pi) {
      own_end_circle.emplace(pi);
    }
    return *own_end_circle;
  }
};

namespace {

using Steps = OutlineDrawer::Steps;

auto Constant(Rgb colour) {
  return [colour](int) { return colour; };
}

// A polyline through the arc's points at radius r and height z.
template <class Map, class SegmentColour>
void ArcLine(
    OutlinePen<Map>& pen, const ArcSteps& arc, double r, double z, const SegmentColour& c) {
  pen.Polyline(
      arc.Points(),
      [&](int k) {
        const size_t at = static_cast<size_t>(k);
        return Vec3{r * arc.cos[at], r * arc.sin[at], z};
      },
      c);
}

// A polyline of n segments along x from x0 to x1 at (y, z).
template <class Map, class SegmentColour>
void AlongX(
    OutlinePen<Map>& pen, double x0, double x1, int n, double y, double z, const SegmentColour& c) {
  pen.Polyline(
      n + 1,
      [&](int k) {
        return Vec3{x0 + k * (x1 - x0) / n, y, z};
      },
      c);
}

struct SectorShape {
  double ri, ro, t, angle;
};

template <class BottomColour, class TopColour>
struct SectorColours {
  BottomColour arc_bottom;   // level z = −T, by segment
  TopColour arc_top;         // level z = 0, by segment
  Rgb edge_start, edge_end;  // edges along z at −angle/2 and +angle/2
  Rgb radial_bottom_start, radial_bottom_end, radial_top_start, radial_top_end;
};

// The sector outline shared by the sector magnet and the arc rectangular wire.
template <class Map, class BottomColour, class TopColour>
void DrawSectorOutline(OutlinePen<Map>& pen,
                       Steps& steps,
                       const SectorShape& s,
                       int n,
                       const SectorColours<BottomColour, TopColour>& c) {
  const ArcSteps& arc = steps.Arc(-s.angle / 2, s.angle / 2, n);
  for (double r : {s.ro, s.ri}) {
    ArcLine(pen, arc, r, -s.t, c.arc_bottom);
    ArcLine(pen, arc, r, 0, c.arc_top);
  }
  const auto start = [&](double r, double z) { return Vec3{r * arc.cos0, r * arc.sin0, z}; };
  const auto end = [&](double r, double z) { return Vec3{r * arc.cos1, r * arc.sin1, z}; };
  for (double r : {s.ro, s.ri}) {
    pen.Line(start(r, 0), start(r, -s.t), c.edge_start);
    pen.Line(end(r, 0), end(r, -s.t), c.edge_end);
  }
  pen.Line(start(s.ro, -s.t), start(s.ri, -s.t), c.radial_bottom_start);
  pen.Line(end(s.ro, -s.t), end(s.ri, -s.t), c.radial_bottom_end);
  pen.Line(start(s.ro, 0), start(s.ri, 0), c.radial_top_start);
  pen.Line(end(s.ro, 0), end(s.ri, 0), c.radial_top_end);
}

template <class Map>
void DrawStrRecOutline(OutlinePen<Map>& pen, Steps& steps, const StrRecCoil& c) {
  const bool negative = c.CurrentDensity < 0;
  const Rgb start = negative ? kCurrentExitColour : kCurrentEntryColour;
  const Rgb end = negative ? kCurrentEntryColour : kCurrentExitColour;
  const double hx = c.Lx / 2, hw = c.W / 2;
  const std::array<std::array<double, 2>, 5> corners = {
      {{-hw, 0}, {hw, 0}, {hw, -c.T}, {-hw, -c.T}, {-hw, 0}}};  // closed
  for (double x : {-hx, hx}) {
    pen.Polyline(
        5,
        [&](int k) {
          const auto& yz = corners[static_cast<size_t>(k)];
          return Vec3{x, yz[0], yz[1]};
        },
        Constant(x < 0 ? start : end));
  }
  const GradientSteps& gradient = steps.Gradient(10, negative);
  for (size_t k = 0; k < 4; ++k) {
    AlongX(pen, -hx, hx, 10, corners[k][0], corners[k][1], gradient);
  }
}

void DrawRecMagWith(const ElementModel& model,
                    Canvas& canvas,
                    const ViewProjector& projector,
                    int i,
                    DrawMode mode) {
  const RecMag& m = Slot(model.RecMagTable, i);
  const AffineMap map(projector, FrameOf(m));
  OutlinePen pen(canvas, map, mode);
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

void DrawSecMagWith(const ElementModel& model,
                    Canvas& canvas,
                    const ViewProjector& projector,
                    Steps& steps,
                    int i,
                    int n,
                    DrawMode mode) {
  const SecMag& m = Slot(model.SecMagTable, i);
  const AffineMap map(projector, FrameOf(m));
  OutlinePen pen(canvas, map, mode);
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
  DrawSectorOutline(pen, steps, {m.Ri, m.Ro, m.T, m.OpenAngle}, n, colours);
}

void DrawRhMagWith(const ElementModel& model,
                   Canvas& canvas,
                   const ViewProjector& projector,
                   Steps& steps,
                   int i,
                   int n,
                   DrawMode mode) {
  const RhMag& m = Slot(model.RhMagTable, i);
  const AffineMap map(projector, FrameOf(m));
  OutlinePen pen(canvas, map, mode);
  const double pi = model.Pi;
  if (mode == DrawMode::kHighlight) {
    const ArcSteps& circle = steps.Arc(0, 2 * pi, 2 * n);
    for (double z : {0.0, -m.HT}) {
      ArcLine(pen, circle, m.R, z, Constant(kWhite));
    }
    return;
  }
  const bool positive = m.Br >= 0;
  const Rgb plus_x = positive ? model.View.MagnetColourN : model.View.MagnetColourS;
  const Rgb minus_x = positive ? model.View.MagnetColourS : model.View.MagnetColourN;
  const ArcSteps& plus_half = steps.Arc(-pi / 2, pi / 2, n);
  for (double z : {0.0, -m.HT}) {
    ArcLine(pen, plus_half, m.R, z, Constant(plus_x));
  }
  const ArcSteps& minus_half = steps.Arc(pi / 2, 3 * pi / 2, n);
  for (double z : {0.0, -m.HT}) {
    ArcLine(pen, minus_half, m.R, z, Constant(minus_x));
  }
}

void DrawStrRecCoilWith(const ElementModel& model,
                        Canvas& canvas,
                        const ViewProjector& projector,
                        Steps& steps,
                        int i,
                        DrawMode mode) {
  const StrRecCoil& c = Slot(model.StrRecCoilTable, i);
  const AffineMap map(projector, FrameOf(c));
  OutlinePen pen(canvas, map, mode, kWhite);
  DrawStrRecOutline(pen, steps, c);
}

// stride: every stride-th of the 180 steps of the end circles (a divisor of 180).
void DrawStrCylCoilWith(const ElementModel& model,
                        Canvas& canvas,
                        const ViewProjector& projector,
                        Steps& steps,
                        int i,
                        int n,
                        size_t stride,
                        DrawMode mode) {
  const StrCylCoil& c = Slot(model.StrCylCoilTable, i);
  const AffineMap map(projector, FrameOf(c));
  OutlinePen pen(canvas, map, mode);
  const bool negative = c.CurrentDensity < 0;
  const double pi = model.Pi, hx = c.Lx / 2;
  const EndCircleSteps& circle = steps.EndCircle(pi);
  const int circle_points = static_cast<int>((circle.sin.size() - 1) / stride + 1);
  for (double x : {hx, -hx}) {
    const bool exit_end = (x > 0) != negative;
    pen.Polyline(
        circle_points,
        [&](int k) {
          const size_t at = static_cast<size_t>(k) * stride;
          return Vec3{x, c.R * circle.sin[at], c.R * circle.cos[at]};
        },
        Constant(exit_end ? kCurrentExitColour : kCurrentEntryColour));
  }
  const ArcSteps& generators = steps.Arc(0, 2 * pi, n);
  const GradientSteps& gradient = steps.Gradient(10, negative);
  for (size_t k = 0; k < generators.sin.size(); ++k) {
    AlongX(pen, -hx, hx, 10, c.R * generators.sin[k], c.R * generators.cos[k], gradient);
  }
}

void DrawSecRecCoilWith(const ElementModel& model,
                        Canvas& canvas,
                        const ViewProjector& projector,
                        Steps& steps,
                        int i,
                        int n,
                        DrawMode mode) {
  const SecRecCoil& c = Slot(model.SecRecCoilTable, i);
  const AffineMap map(projector, FrameOf(c));
  OutlinePen pen(canvas, map, mode, kMarkGreen);
  const bool negative = c.CurrentDensity < 0;
  const Rgb start = negative ? kCurrentExitColour : kCurrentEntryColour;
  const Rgb end = negative ? kCurrentEntryColour : kCurrentExitColour;
  const GradientSteps& gradient = steps.Gradient(n, negative);
  const SectorColours colours{gradient, gradient, start, end, start, end, start, end};
  DrawSectorOutline(pen, steps, {c.Ri, c.Ro, c.T, c.Angle}, n, colours);
}

void DrawSecCylCoilWith(const ElementModel& model,
                        Canvas& canvas,
                        const ViewProjector& projector,
                        Steps& steps,
                        int i,
                        int n,
                        DrawMode mode) {
  const SecCylCoil& c = Slot(model.SecCylCoilTable, i);
  const AffineMap map(projector, FrameOf(c));
  OutlinePen pen(canvas, map, mode);
  const double pi = model.Pi;
  const ArcSteps& section = steps.Arc(0, 2 * pi, n);
  const ArcSteps& arc = steps.Arc(-c.Angle / 2, c.Angle / 2, n);
  for (int h = 0; h < 2; ++h) {
    const double ce = h == 0 ? arc.cos0 : arc.cos1, se = h == 0 ? arc.sin0 : arc.sin1;
    const double signed_current = h == 0 ? c.CurrentDensity : -c.CurrentDensity;
    pen.Polyline(
        section.Points(),
        [&](int k) {
          const size_t at = static_cast<size_t>(k);
          const double r = c.R - c.rwire * section.cos[at];
          return Vec3{r * ce, r * se, c.rwire * section.sin[at]};
        },
        Constant(signed_current >= 0 ? kCurrentEntryColour : kCurrentExitColour));
  }
  const GradientSteps& gradient = steps.Gradient(n, c.CurrentDensity < 0);
  ArcLine(pen, arc, c.R + c.rwire, 0, gradient);
  ArcLine(pen, arc, c.R - c.rwire, 0, gradient);
  ArcLine(pen, arc, c.R, c.rwire, gradient);
  ArcLine(pen, arc, c.R, -c.rwire, gradient);
}

}  // namespace

void DrawRecMag(
    const ElementModel& model, Canvas& canvas, int i, const ViewAngles& angles, DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kRecMag, i, 0, mode);
}

void DrawSecMag(const ElementModel& model,
                Canvas& canvas,
                int i,
                int n,
                const ViewAngles& angles,
                DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kSecMag, i, n, mode);
}

void DrawRhMag(const ElementModel& model,
               Canvas& canvas,
               int i,
               int n,
               const ViewAngles& angles,
               DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kRhMag, i, n, mode);
}

void DrawStrRecCoil(
    const ElementModel& model, Canvas& canvas, int i, const ViewAngles& angles, DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kStrRecCoil, i, 0, mode);
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
  const CarryMap map(projector, [&model, &notices, i, phi](const Vec3& p) {
    return KtRotatedPoint(model, kKtStrRec, i, phi, p, notices);
  });
  OutlinePen pen(canvas, map, mode, kWhite);
  Steps steps;
  DrawStrRecOutline(pen, steps, c);
}

void DrawStrCylCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kStrCylCoil, i, n, mode);
}

void DrawSecRecCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kSecRecCoil, i, n, mode);
}

void DrawSecCylCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(ElementKind::kSecCylCoil, i, n, mode);
}

OutlineDrawer::OutlineDrawer(const ElementModel& model, Canvas& canvas, const ViewAngles& angles)
    : model_(model),
      canvas_(canvas),
      projector_(ProjectorFor(model, canvas, angles)),
      steps_(std::make_unique<Steps>()) {}

OutlineDrawer::~OutlineDrawer() = default;

void OutlineDrawer::Draw(ElementKind kind, int i, int n, DrawMode mode) {
  Steps& steps = *steps_;
  switch (kind) {
    case ElementKind::kRecMag:
      return DrawRecMagWith(model_, canvas_, projector_, i, mode);
    case ElementKind::kSecMag:
      return DrawSecMagWith(model_, canvas_, projector_, steps, i, n, mode);
    case ElementKind::kRhMag:
      return DrawRhMagWith(model_, canvas_, projector_, steps, i, n, mode);
    case ElementKind::kStrRecCoil:
      return DrawStrRecCoilWith(model_, canvas_, projector_, steps, i, mode);
    case ElementKind::kStrCylCoil:
      return DrawStrCylCoilWith(model_, canvas_, projector_, steps, i, n, 1, mode);
    case ElementKind::kSecRecCoil:
      return DrawSecRecCoilWith(model_, canvas_, projector_, steps, i, n, mode);
    case ElementKind::kSecCylCoil:
      return DrawSecCylCoilWith(model_, canvas_, projector_, steps, i, n, mode);
  }
}

void DrawElement(const ElementModel& model,
                 Canvas& canvas,
                 ElementKind kind,
                 int i,
                 int n,
                 const ViewAngles& angles,
                 DrawMode mode) {
  OutlineDrawer(model, canvas, angles).Draw(kind, i, n, mode);
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

void OutlineDrawer::DrawAtSize(ElementKind kind, int i, int n, double pixels) {
  const int steps = StepsForRadius(pixels);
  if (kind == ElementKind::kStrCylCoil) {
    DrawStrCylCoilWith(model_, canvas_, projector_, *steps_, i, n, EndCircleStride(steps),
                       DrawMode::kNormal);
    return;
  }
  const int curve_steps = n > 0 ? std::min(n, std::max(steps, 4)) : n;
  Draw(kind, i, curve_steps, DrawMode::kNormal);
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

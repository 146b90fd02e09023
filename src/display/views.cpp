// The four views: projection, auto-fit, redraw sequence, axes, free-view drag and zoom.
#include "display/views.h"

#include <algorithm>
#include <cmath>

#include "display/element_drawing.h"
#include "display/model_extent.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "model/worker_pool.h"

namespace tavrine {

ViewAngles AnglesOfView(const ElementModel& model, int view) {
  const double pi = model.Pi;
  switch (view) {
    case kSideView:
      return {-pi / 2, pi / 2, pi / 2};
    case kTopView:
      return {0, 0, 0};
    case kFrontView:
      return {pi / 2, 0, 0};
    default:
      return {model.View.FreeViewAngX, model.View.FreeViewAngY, model.View.FreeViewAngZ};
  }
}

LayoutRect ViewLayout(int view) {
  switch (view) {
    case kSideView:
      return {750, 50, kViewWidth, kViewHeight};
    case kTopView:
      return {50, 50, kViewWidth, kViewHeight};
    case kFrontView:
      return {50, 500, kViewWidth, kViewHeight};
    default:
      return {750, 500, kViewWidth, kViewHeight};
  }
}

std::array<TextPlace, 6> ReadoutPlaces(double width, double height) {
  return {{{width - 200, height - 50},
           {width - 140, height - 50},
           {width - 80, height - 50},
           {width - 200, height - 30},
           {width - 140, height - 30},
           {width - 80, height - 30}}};
}

std::array<TextPlace, 3> AngleReadoutPlaces(double height) {
  return {{{20, height - 50}, {75, height - 50}, {130, height - 50}}};
}

ViewTexts::ViewTexts() {
  readouts.fill({"Hx=0", "Hy=0", "Hz=0", "Px=", "Py=", "Pz="});
}

void Views::NotifyTexts() const {
  if (observer != nullptr) {
    observer->TextsChanged(texts);
  }
}

ViewProjector::ViewProjector(double scale, const ViewAngles& angles, double width, double height)
    : scale_(scale),
      cx_(width / 2),
      cy_(height / 2),
      ca_(std::cos(angles.alpha)),
      sa_(std::sin(angles.alpha)),
      cb_(std::cos(angles.beta)),
      sb_(std::sin(angles.beta)),
      cg_(std::cos(angles.gamma)),
      sg_(std::sin(angles.gamma)) {}

ScreenPoint ViewProjector::Project(const Vec3& p) const {
  const double x = scale_ * p.x, y = scale_ * p.y, z = scale_ * p.z;
  const double u = x * cb_ + (y * sa_ - z * ca_) * sb_;
  const double v = y * ca_ + z * sa_;
  return {cx_ + u * cg_ + v * sg_, cy_ + u * sg_ - v * cg_};
}

ScreenPoint ViewProjector::ProjectVector(const Vec3& p) const {
  const double x = scale_ * p.x, y = scale_ * p.y, z = scale_ * p.z;
  const double u = x * cb_ + (y * sa_ - z * ca_) * sb_;
  const double v = y * ca_ + z * sa_;
  return {u * cg_ + v * sg_, u * sg_ - v * cg_};
}

ViewProjector ProjectorFor(const ElementModel& model,
                           const Canvas& canvas,
                           const ViewAngles& angles) {
  return ViewProjector(model.View.ViewScale, angles, canvas.Width(), canvas.Height());
}

namespace {

ScreenPoint ProjectStoringCentre(ElementModel& model,
                                 const Canvas& canvas,
                                 double scale,
                                 const Vec3& p,
                                 const ViewAngles& angles) {
  model.View.ViewCentreX = canvas.Width() / 2;
  model.View.ViewCentreY = canvas.Height() / 2;
  return ViewProjector(scale, angles, canvas.Width(), canvas.Height()).Project(p);
}

}  // namespace

double ViewProjectX(ElementModel& model,
                    const Canvas& canvas,
                    double scale,
                    const Vec3& p,
                    const ViewAngles& angles) {
  return ProjectStoringCentre(model, canvas, scale, p, angles).x;
}

double ViewProjectY(ElementModel& model,
                    const Canvas& canvas,
                    double scale,
                    const Vec3& p,
                    const ViewAngles& angles) {
  return ProjectStoringCentre(model, canvas, scale, p, angles).y;
}

namespace {

// The share of the view's smaller half-size that the farthest extent may fill.
constexpr double kFitShare = 0.9;
// The extent assumed for a model without elements, or one that cannot be measured.
constexpr double kEmptyExtent = 100;

}  // namespace

namespace {

double FitExtent(const ElementModel& model) {
  const double extent = FarthestExtent(model);
  return extent > 0 && std::isfinite(extent) ? extent : kEmptyExtent;
}

double AutoFitFor(double extent, double half_width, double half_height) {
  return kFitShare * std::min(half_width, half_height) / extent;
}

}  // namespace

// Fitting the farthest extent into the smaller half-size keeps the whole model inside every
// view, the free view at any rotation included, with the origin at the centre.
double ComputeAutoFit(const ElementModel& model, double half_width, double half_height) {
  return AutoFitFor(FitExtent(model), half_width, half_height);
}

namespace {

// A canvas that joins short segments says how small a pixel is; small elements then get only
// the curve steps their size on the screen needs.
void DrawAllElements(const ElementModel& model, Canvas& canvas, const ViewAngles& angles) {
  const double merge = canvas.MergeLength();
  const double pixels_per_mm = merge > 0 ? std::abs(model.View.ViewScale) / (2 * merge) : 0;
  OutlineDrawer drawer(model, canvas, angles);
  for (ElementKind kind :
       {ElementKind::kRecMag, ElementKind::kSecMag, ElementKind::kRhMag, ElementKind::kStrRecCoil,
        ElementKind::kStrCylCoil, ElementKind::kSecRecCoil, ElementKind::kSecCylCoil}) {
    const int n = DefaultSegments(kind);
    const int count = ElementCount(model, kind);
    for (int i = 1; i <= count; ++i) {
      if (pixels_per_mm > 0) {
        drawer.DrawAtSize(kind, i, n, OutlineRadius(model, kind, i) * pixels_per_mm);
      } else {
        drawer.Draw(kind, i, n, DrawMode::kNormal);
      }
    }
  }
}

}  // namespace

namespace {

double ViewScaleFor(const ElementModel& model, const LayoutRect& place, double extent) {
  const double half_width = std::nearbyint(place.width) / 2;
  const double half_height = std::nearbyint(place.height) / 2;
  return model.View.ZoomFactor * AutoFitFor(extent, half_width, half_height);
}

// Tells the observer and sets the model's centre and scale for the view.
void PlaceView(ElementModel& model, Views& views, int view, double extent) {
  const LayoutRect place = ViewLayout(view);
  if (views.observer != nullptr) {
    views.observer->ViewPlaced(view, place);
  }
  model.View.ViewCentreX = std::nearbyint(place.width) / 2;
  model.View.ViewCentreY = std::nearbyint(place.height) / 2;
  model.View.ViewScale = ViewScaleFor(model, place, extent);
}

void DrawAxesOnly(const ElementModel& model, Canvas& canvas, const ViewAngles& angles);

// The centre as drawing the axes leaves it.
void CentreOn(ElementModel& model, const Canvas& canvas) {
  model.View.ViewCentreX = canvas.Width() / 2;
  model.View.ViewCentreY = canvas.Height() / 2;
}

// Reads the model and nothing else, so that views can be drawn side by side.
void PaintView(const ElementModel& model, Canvas& canvas, const ViewAngles& angles) {
  canvas.Fill(model.View.BackgroundColour);
  DrawAllElements(model, canvas, angles);
  DrawAxesOnly(model, canvas, angles);
}

// Side by side when every view has a canvas of its own that may be drawn from any thread, the
// views share one scale and the machine has more than one core. Each view is drawn as it would be
// alone, so the pictures do not depend on the number of threads.
bool CanPaintSideBySide(const ElementModel& model, const Views& views, double extent) {
  if (CoreCount() < 2) {
    return false;
  }
  const double scale = ViewScaleFor(model, ViewLayout(kRedrawOrder.front()), extent);
  for (int v = 0; v < kViewCount; ++v) {
    const Canvas* canvas = views.canvas[static_cast<size_t>(v)];
    if (canvas == nullptr || !canvas->DrawsFromAnyThread() ||
        ViewScaleFor(model, ViewLayout(v), extent) != scale) {
      return false;
    }
    for (int w = 0; w < v; ++w) {
      if (views.canvas[static_cast<size_t>(w)] == canvas) {
        return false;
      }
    }
  }
  return true;
}

void PaintSideBySide(const ElementModel& model, Views& views) {
  RunSharedTasks(static_cast<int>(kRedrawOrder.size()), [&model, &views](int k) {
    const int view = kRedrawOrder[static_cast<size_t>(k)];
    PaintView(model, views[view], AnglesOfView(model, view));
  });
}

}  // namespace

namespace {

// One view placed and drawn on its own.
void DrawViewWithExtent(
    ElementModel& model, Views& views, int view, const ViewAngles& angles, double extent) {
  PlaceView(model, views, view, extent);
  PaintView(model, views[view], angles);
  CentreOn(model, views[view]);
}

}  // namespace

void DrawView(ElementModel& model, Views& views, int view, const ViewAngles& angles) {
  DrawViewWithExtent(model, views, view, angles, FitExtent(model));
}

void RedrawAll(ElementModel& model, Views& views) {
  const double extent = FitExtent(model);
  if (!CanPaintSideBySide(model, views, extent)) {
    for (int view : kRedrawOrder) {
      DrawViewWithExtent(model, views, view, AnglesOfView(model, view), extent);
    }
    return;
  }
  for (int view : kRedrawOrder) {
    PlaceView(model, views, view, extent);
  }
  // The model as a redraw one view after another leaves it.
  CentreOn(model, views[kRedrawOrder.back()]);
  PaintSideBySide(model, views);
}

namespace {

// Axis end points beyond this cannot be drawn as whole drawing units; such lines are skipped.
constexpr double kDrawableLimit = 1e9;

bool Drawable(double a) {
  return std::isfinite(a) && std::abs(a) <= kDrawableLimit;
}

}  // namespace

namespace {

void DrawAxesOnly(const ElementModel& model, Canvas& canvas, const ViewAngles& angles) {
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  const ScreenPoint origin = projector.Project({0, 0, 0});
  const double ox = std::nearbyint(origin.x), oy = std::nearbyint(origin.y);
  const std::array<Vec3, 3> ends = {{{50, 0, 0}, {0, 50, 0}, {0, 0, 50}}};
  const std::array<Vec3, 3> letters = {{{55, 0, 0}, {0, 55, 0}, {0, 0, 55}}};
  const std::array<Rgb, 3> colours = {model.View.AxisColourX, model.View.AxisColourY,
                                      model.View.AxisColourZ};
  const std::array<std::string_view, 3> names = {"X", "Y", "Z "};
  for (size_t k = 0; k < 3; ++k) {
    const ScreenPoint end = projector.Project(ends[k]);
    const double ex = std::nearbyint(end.x), ey = std::nearbyint(end.y);
    if (Drawable(ox) && Drawable(oy) && Drawable(ex) && Drawable(ey)) {
      canvas.Line(ox, oy, ex, ey, colours[k]);
    }
    const ScreenPoint at = projector.Project(letters[k]);
    canvas.Text(at.x, at.y, names[k], kViewTextColour);
  }
}

}  // namespace

void DrawAxes(ElementModel& model, Canvas& canvas, const ViewAngles& angles) {
  CentreOn(model, canvas);
  DrawAxesOnly(model, canvas, angles);
}

std::string AngleReadout(std::string_view prefix, double radians) {
  const int32_t degrees = RoundToInt32(RadToDeg(radians)) % 360;
  return std::string(prefix) + std::to_string(degrees);
}

void RotateFreeView(ElementModel& model, Views& views, double x, double y) {
  model.View.FreeViewAngX = DegToRad(2 * y);
  model.View.FreeViewAngY = DegToRad(2 * x);
  model.View.FreeViewAngZ = 0;
  views.texts.angles = {AngleReadout("X=", model.View.FreeViewAngX),
                        AngleReadout("Y=", model.View.FreeViewAngY),
                        AngleReadout("Z=", model.View.FreeViewAngZ)};
  views.NotifyTexts();
  RedrawAll(model, views);
}

void FillAllGrey(Views& views) {
  for (int view : kRedrawOrder) {
    views[view].Fill(kZoomGrey);
  }
}

void SetZoomFromScroll(ElementModel& model, Views& views, int position) {
  model.View.ZoomFactor = position / 10.0;
  views.texts.zoom = ShortestDecimal(model.View.ZoomFactor);
  views.NotifyTexts();
  SetZoomFromText(model, views, views.texts.zoom);
  FillAllGrey(views);
  if (model.RecMagCount >= 1) {
    RedrawAll(model, views);
  }
}

void SetZoomFromText(ElementModel& model, Views& views, std::string_view text) {
  model.View.ZoomFactor = NumericValue(text);
  views.texts.zoom = std::string(text);
  FillAllGrey(views);
  if (model.RecMagCount >= 1) {
    RedrawAll(model, views);
  }
  DrawAxes(model, views[kSideView], AnglesOfView(model, kFreeView));
}

void DrawPreviewLines(ElementModel& model, Views& views, const std::vector<WorldLine>& lines) {
  for (int view : kRedrawOrder) {
    Canvas& canvas = views[view];
    const ViewProjector projector = ProjectorFor(model, canvas, AnglesOfView(model, view));
    for (const WorldLine& line : lines) {
      const ScreenPoint a = projector.Project(line.a);
      const ScreenPoint b = projector.Project(line.b);
      canvas.Line(a.x, a.y, b.x, b.y, line.colour);
    }
  }
}

}  // namespace tavrine

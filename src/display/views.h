// The four views: orientation, layout on the 1500 × 1000 window grid, orthographic projection
// (drawing units, y downwards), auto-fit scale, redraw sequence, axes, free-view drag and zoom.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "display/canvas.h"
#include "display/world_line.h"
#include "geometry/vec3.h"
#include "model/element_model.h"

namespace tavrine {

enum ViewIndex : int { kSideView = 0, kTopView = 1, kFrontView = 2, kFreeView = 3 };
inline constexpr int kViewCount = 4;
// The order in which every "all views" operation visits them.
inline constexpr std::array<int, kViewCount> kRedrawOrder = {kFreeView, kTopView, kFrontView,
                                                             kSideView};

struct ViewAngles {
  double alpha = 0, beta = 0, gamma = 0;
};

// The fixed triples of views 0..2, and the free-view angles of the model for view 3.
ViewAngles AnglesOfView(const ElementModel& model, int view);

// The window's layout grid and the views' places on it, in grid units.
inline constexpr double kLayoutWidth = 1500, kLayoutHeight = 1000;
inline constexpr double kViewWidth = (kLayoutWidth - 100) / 2;    // 700
inline constexpr double kViewHeight = (kLayoutHeight - 100) / 2;  // 450

struct LayoutRect {
  double x = 0, y = 0, width = 0, height = 0;
};
struct TextPlace {
  double x = 0, y = 0;  // top-left corner
};

LayoutRect ViewLayout(int view);
// Readout items 0..5 (Hx, Hy, Hz, Px, Py, Pz) of a view of W × H drawing units.
std::array<TextPlace, 6> ReadoutPlaces(double width, double height);
// Text3, Text4, Text5 of the side view.
std::array<TextPlace, 3> AngleReadoutPlaces(double height);

inline constexpr Rgb kViewTextColour{0, 0, 0};
inline constexpr Rgb kZoomGrey{200, 200, 200};

// Texts the main window shows beside the drawings, kept as data for the UI.
struct ViewTexts {
  std::array<std::string, 3> angles = {"X=0", "Y=0", "Z=0"};    // Text3, Text4, Text5
  std::array<std::array<std::string, 6>, kViewCount> readouts;  // by ViewIndex, items 0..5
  std::string zoom = "1.0";                                     // Text6
  ViewTexts();
};

// Told when a view is drawn (make it visible, place it and its readouts) and when texts change.
class ViewObserver {
 public:
  virtual ~ViewObserver() = default;
  virtual void ViewPlaced(int view, const LayoutRect& place) = 0;
  virtual void TextsChanged(const ViewTexts& texts) = 0;
};

// The four drawing areas, by ViewIndex, and what the main window shows around them.
struct Views {
  std::array<Canvas*, kViewCount> canvas{};
  ViewTexts texts;
  ViewObserver* observer = nullptr;
  Canvas& operator[](int view) const { return *canvas[static_cast<size_t>(view)]; }
  void NotifyTexts() const;
};

struct ScreenPoint {
  double x = 0, y = 0;
};

// Projection into one view with its sines and cosines taken once; gives the same values as
// ViewProjectX/Y point by point.
class ViewProjector {
 public:
  ViewProjector(double scale, const ViewAngles& angles, double width, double height);
  ScreenPoint Project(const Vec3& p) const;
  // The projection of a vector: the change in drawing units between two points it separates.
  ScreenPoint ProjectVector(const Vec3& v) const;

 private:
  double scale_, cx_, cy_;
  double ca_, sa_, cb_, sb_, cg_, sg_;
};

ViewProjector ProjectorFor(const ElementModel& model,
                           const Canvas& canvas,
                           const ViewAngles& angles);

// Drawing coordinates of a global point; both store the view centre in the model.
double ViewProjectX(ElementModel& model,
                    const Canvas& canvas,
                    double scale,
                    const Vec3& p,
                    const ViewAngles& angles);
double ViewProjectY(ElementModel& model,
                    const Canvas& canvas,
                    double scale,
                    const Vec3& p,
                    const ViewAngles& angles);

// Drawing units per mm at zoom 1: the farthest extent of the whole model from the origin fills
// nine tenths of the smaller half-size of the view (half sizes in layout-grid units).
double ComputeAutoFit(const ElementModel& model, double half_width, double half_height);

void DrawView(ElementModel& model, Views& views, int view, const ViewAngles& angles);
void RedrawAll(ElementModel& model, Views& views);
void DrawAxes(ElementModel& model, Canvas& canvas, const ViewAngles& angles);

// Call for pointer movements with the primary button, and no other, held; (x, y) in the
// drawing coordinates of the view under the pointer.
void RotateFreeView(ElementModel& model, Views& views, double x, double y);
// Readout text of an angle: whole degrees, half to even, remainder of 360 with the dividend's
// sign.
std::string AngleReadout(std::string_view prefix, double radians);

// The zoom box's text is updated in views.texts.zoom; a UI that mirrors it into the box must do
// so without calling SetZoomFromText again.
void SetZoomFromScroll(ElementModel& model, Views& views, int position);
void SetZoomFromText(ElementModel& model, Views& views, std::string_view text);
void FillAllGrey(Views& views);

// A grid preview: every line into the four views in the redraw order, with the current scale.
void DrawPreviewLines(ElementModel& model, Views& views, const std::vector<WorldLine>& lines);
// Any line type with global ends a, b and an Rgb colour (such as the grids' own line type).
template <class Line>
void DrawPreviewLines(ElementModel& model, Views& views, const std::vector<Line>& lines) {
  std::vector<WorldLine> world;
  world.reserve(lines.size());
  for (const Line& line : lines) {
    world.push_back({line.a, line.b, line.colour});
  }
  DrawPreviewLines(model, views, world);
}

}  // namespace tavrine

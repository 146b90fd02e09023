// Wire-frame outlines of the seven element kinds in one view: own-frame outline points carried
// to the global frame and projected with the model's current ViewScale; normal, highlight and
// mark colours.
#pragma once

#include <memory>

#include "display/canvas.h"
#include "display/views.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

enum class DrawMode { kNormal, kHighlight, kMark };

enum class ElementKind {
  kRecMag,
  kSecMag,
  kRhMag,
  kStrRecCoil,
  kStrCylCoil,
  kSecRecCoil,
  kSecCylCoil,
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kMarkGreen{0, 255, 0};
inline constexpr Rgb kMagnetEdgeColour{255, 100, 255};
inline constexpr Rgb kCurrentEntryColour{0, 0, 255};
inline constexpr Rgb kCurrentExitColour{255, 0, 0};

// Segments used by the view redraw (and by the dialogs unless they say otherwise).
inline constexpr int kSecMagSegments = 20;
inline constexpr int kRhMagSegments = 30;
inline constexpr int kStrCylGenerators = 8;
inline constexpr int kSecRecSegments = 20;
inline constexpr int kSecCylSegments = 20;

// Segment s (1..n) along the conductor in the direction of positive current.
Rgb CurrentGradient(int s, int n, bool negative_current);

// Each draws element i of its table into the canvas with the view's angles.
void DrawRecMag(
    const ElementModel& model, Canvas& canvas, int i, const ViewAngles& angles, DrawMode mode);
void DrawSecMag(const ElementModel& model,
                Canvas& canvas,
                int i,
                int n,
                const ViewAngles& angles,
                DrawMode mode);
void DrawRhMag(const ElementModel& model,
               Canvas& canvas,
               int i,
               int n,
               const ViewAngles& angles,
               DrawMode mode);
void DrawStrRecCoil(
    const ElementModel& model, Canvas& canvas, int i, const ViewAngles& angles, DrawMode mode);
void DrawStrCylCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode);
void DrawSecRecCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode);
void DrawSecCylCoil(const ElementModel& model,
                    Canvas& canvas,
                    int i,
                    int n,
                    const ViewAngles& angles,
                    DrawMode mode);
// The straight rectangular wire turned by phi about the Kt frame's Z axis.
void DrawStrRecCoilRotated(const ElementModel& model,
                           Canvas& canvas,
                           int i,
                           double phi,
                           const ViewAngles& angles,
                           DrawMode mode,
                           Notices& notices);

// One element of any kind; n is its segment (or generator-line) count, ignored where none.
void DrawElement(const ElementModel& model,
                 Canvas& canvas,
                 ElementKind kind,
                 int i,
                 int n,
                 const ViewAngles& angles,
                 DrawMode mode);
int DefaultSegments(ElementKind kind);

// The largest distance of the element's own-frame box corners from its reference point, mm.
double OutlineRadius(const ElementModel& model, ElementKind kind, int i);
int ElementCount(const ElementModel& model, ElementKind kind);

// Draws any number of elements into one canvas with one view's angles and the model's current
// ViewScale, keeping the projection and the curves' sines and cosines from one element to the
// next: the redraw's way of drawing thousands. Draws what DrawElement does.
class OutlineDrawer {
 public:
  OutlineDrawer(const ElementModel& model, Canvas& canvas, const ViewAngles& angles);
  ~OutlineDrawer();
  OutlineDrawer(const OutlineDrawer&) = delete;
  OutlineDrawer& operator=(const OutlineDrawer&) = delete;

  void Draw(ElementKind kind, int i, int n, DrawMode mode);
  // Normal mode for an element whose outline spans `pixels` (its radius on the screen): its
  // curves get no more steps than keep them within a quarter pixel of the exact curve, and never
  // more than n (or 180 for the straight round wire's end circles).
  void DrawAtSize(ElementKind kind, int i, int n, double pixels);
  // Curve tables kept between elements.
  struct Steps;

 private:
  const ElementModel& model_;
  Canvas& canvas_;
  ViewProjector projector_;
  std::unique_ptr<Steps> steps_;
};

// Every element of the kind in normal colours, then element i in white, into the four views.
// n = 0 takes the kind's default segment count.
void HighlightElement(const ElementModel& model, Views& views, ElementKind kind, int i, int n = 0);
// Only the white drawing of element i (the deletion dialogs, after a RedrawAll).
void HighlightOnly(const ElementModel& model, Views& views, ElementKind kind, int i, int n = 0);
// Element i in its mark colours into the four views (Kt set-up).
void MarkElement(const ElementModel& model, Views& views, ElementKind kind, int i, int n = 0);

}  // namespace tavrine

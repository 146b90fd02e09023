// How a view's drawing units reach a device of any pixel size: one uniform scale that fits the
// whole drawing area, centred, then moved by the user's pan (drawing units, y downwards).
#pragma once

#include "display/views.h"

namespace tavrine {

class Viewport {
 public:
  Viewport(double device_width,
           double device_height,
           ScreenPoint pan = {},
           double drawing_width = kViewWidth,
           double drawing_height = kViewHeight);

  // Device pixels per drawing unit.
  double Scale() const { return scale_; }
  ScreenPoint ToDevice(const ScreenPoint& drawing) const;
  ScreenPoint ToDrawing(const ScreenPoint& device) const;
  // A device point as an offset from the drawing area's centre with the pan included, the
  // measure in which a zoom about that point keeps it fixed.
  ScreenPoint FromCentre(const ScreenPoint& device) const;
  // The device offset that puts the drawing area's top-left corner in place.
  ScreenPoint Origin() const { return ToDevice({0, 0}); }

 private:
  double scale_;
  ScreenPoint device_centre_, drawing_centre_, pan_;
};

// The pan that keeps the point at `from_centre` (Viewport::FromCentre) where it is while the
// zoom factor is multiplied by `ratio`; a centred pan (from_centre 0) scales with the zoom.
// A ratio that is not a finite positive number leaves the pan alone.
ScreenPoint PanAfterZoom(const ScreenPoint& pan, const ScreenPoint& from_centre, double ratio);

// The pan after dragging by a device distance.
ScreenPoint PanAfterDrag(const ScreenPoint& pan, double device_dx, double device_dy, double scale);

}  // namespace tavrine

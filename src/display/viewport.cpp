// Drawing units to device pixels for one view, and the pan arithmetic of zoom and drag.
#include "display/viewport.h"

#include <algorithm>
#include <cmath>

namespace tavrine {

Viewport::Viewport(double device_width,
                   double device_height,
                   ScreenPoint pan,
                   double drawing_width,
                   double drawing_height)
    : scale_(drawing_width > 0 && drawing_height > 0
                 ? std::min(device_width / drawing_width, device_height / drawing_height)
                 : 1),
      device_centre_{device_width / 2, device_height / 2},
      drawing_centre_{drawing_width / 2, drawing_height / 2},
      pan_(pan) {
  if (!(scale_ > 0) || !std::isfinite(scale_)) {
    scale_ = 1;
  }
}

ScreenPoint Viewport::ToDevice(const ScreenPoint& drawing) const {
  return {device_centre_.x + scale_ * (drawing.x - drawing_centre_.x + pan_.x),
          device_centre_.y + scale_ * (drawing.y - drawing_centre_.y + pan_.y)};
}

ScreenPoint Viewport::ToDrawing(const ScreenPoint& device) const {
  const ScreenPoint m = FromCentre(device);
  return {drawing_centre_.x + m.x - pan_.x, drawing_centre_.y + m.y - pan_.y};
}

ScreenPoint Viewport::FromCentre(const ScreenPoint& device) const {
  return {(device.x - device_centre_.x) / scale_, (device.y - device_centre_.y) / scale_};
}

ScreenPoint PanAfterZoom(const ScreenPoint& pan, const ScreenPoint& from_centre, double ratio) {
  if (!(ratio > 0) || !std::isfinite(ratio)) {
    return pan;
  }
  return {from_centre.x - ratio * (from_centre.x - pan.x),
          from_centre.y - ratio * (from_centre.y - pan.y)};
}

ScreenPoint PanAfterDrag(const ScreenPoint& pan, double device_dx, double device_dy, double scale) {
  return {pan.x + device_dx / scale, pan.y + device_dy / scale};
}

}  // namespace tavrine

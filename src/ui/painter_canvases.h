// Canvases over a QPainter that is already open (on a picture, an SVG file or a widget), with
// only QtGui: the views and the field map painted for files and for the map window.
#pragma once

#include <optional>

#include <QPainter>

#include "display/canvas.h"
#include "display/field_map.h"

namespace tavrine {

QColor ToQColor(Rgb colour);

// A view's drawing units in the painter's current coordinates.
class PainterCanvas final : public Canvas {
 public:
  PainterCanvas(QPainter& painter, double width, double height);
  void Fill(Rgb colour) override;
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override;
  void Dot(double x, double y, Rgb colour) override;
  void Text(double x, double y, std::string_view text, Rgb colour) override;
  double Width() const override { return width_; }
  double Height() const override { return height_; }

 private:
  void UsePen(Rgb colour);
  QPainter& painter_;
  double width_, height_;
  std::optional<Rgb> pen_colour_;
};

class PainterMapCanvas final : public MapCanvas {
 public:
  PainterMapCanvas(QPainter& painter, double width, double height);
  void FillRect(double x, double y, double width, double height, Rgb colour) override;
  void FillPolygon(const std::vector<ScreenPoint>& corners, Rgb colour) override;
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override;
  void Text(double x, double y, std::string_view text, Rgb colour, Align align) override;
  double Width() const override { return width_; }
  double Height() const override { return height_; }

 private:
  QPainter& painter_;
  double width_, height_;
};

}  // namespace tavrine

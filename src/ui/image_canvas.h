// A Canvas over a QImage (one drawing unit per pixel), with only QtGui: the batch runner's
// render command paints its views with it offscreen.
#pragma once

#include <memory>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "display/canvas.h"

namespace tavrine {

class ImageCanvas final : public Canvas {
 public:
  ImageCanvas(int width, int height);
  ~ImageCanvas() override;

  void Fill(Rgb colour) override;
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override;
  void Dot(double x, double y, Rgb colour) override;
  void Text(double x, double y, std::string_view text, Rgb colour) override;
  double Width() const override { return image_.width(); }
  double Height() const override { return image_.height(); }

  void SetFont(const QFont& font) { font_ = font; }
  // Ends the drawing in progress and gives the picture.
  const QImage& Image();

 private:
  QPainter& Painter();

  QImage image_;
  QFont font_;
  std::unique_ptr<QPainter> painter_;  // open between drawing calls, ended by Image()
};

}  // namespace tavrine

// The QImage canvas: one painter kept open across calls, since opening one per line costs more
// than the line.
#include "ui/image_canvas.h"

#include <QString>

namespace tavrine {

namespace {

QColor ToQColor(Rgb colour) {
  return QColor(colour.r, colour.g, colour.b);
}

}  // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : image_(width, height, QImage::Format_RGB32), font_(QStringLiteral("Noto Sans CJK JP"), 9) {
  image_.fill(QColor(200, 200, 200));
}

ImageCanvas::~ImageCanvas() = default;

QPainter& ImageCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setFont(font_);
  }
  return *painter_;
}

const QImage& ImageCanvas::Image() {
  painter_.reset();
  return image_;
}

void ImageCanvas::Fill(Rgb colour) {
  painter_.reset();
  image_.fill(ToQColor(colour));
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2, Rgb colour) {
  QPainter& painter = Painter();
  painter.setPen(ToQColor(colour));
  painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void ImageCanvas::Dot(double x, double y, Rgb colour) {
  QPainter& painter = Painter();
  painter.setPen(ToQColor(colour));
  painter.drawPoint(QPointF(x, y));
}

void ImageCanvas::Text(double x, double y, std::string_view text, Rgb colour) {
  QPainter& painter = Painter();
  painter.setPen(ToQColor(colour));
  const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // The position is the text's top-left corner.
  painter.drawText(QRectF(x, y, 400, 40), Qt::AlignLeft | Qt::AlignTop, line);
}

}  // namespace tavrine

// Painter canvases: cosmetic one-pixel pens, texts in the painter's font.
#include "ui/painter_canvases.h"

#include <QString>

namespace tavrine {

QColor ToQColor(Rgb colour) {
  return QColor(colour.r, colour.g, colour.b);
}

namespace {

QString Text16(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPen CosmeticPen(Rgb colour) {
  QPen pen(ToQColor(colour), 0);
  pen.setCosmetic(true);
  return pen;
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, double width, double height)
    : painter_(painter), width_(width), height_(height) {}

void PainterCanvas::UsePen(Rgb colour) {
  if (pen_colour_ != colour) {
    painter_.setPen(CosmeticPen(colour));
    pen_colour_ = colour;
  }
}

void PainterCanvas::Fill(Rgb colour) {
  painter_.fillRect(QRectF(0, 0, width_, height_), ToQColor(colour));
}

void PainterCanvas::Line(double x1, double y1, double x2, double y2, Rgb colour) {
  UsePen(colour);
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::Dot(double x, double y, Rgb colour) {
  UsePen(colour);
  painter_.drawPoint(QPointF(x, y));
}

void PainterCanvas::Text(double x, double y, std::string_view text, Rgb colour) {
  UsePen(colour);
  // The position is the text's top-left corner.
  painter_.drawText(QRectF(x, y, 400, 40), Qt::AlignLeft | Qt::AlignTop, Text16(text));
}

PainterMapCanvas::PainterMapCanvas(QPainter& painter, double width, double height)
    : painter_(painter), width_(width), height_(height) {}

void PainterMapCanvas::FillRect(double x, double y, double width, double height, Rgb colour) {
  // Smoothed edges would let the background show as hairlines between touching cells.
  const bool smooth = painter_.testRenderHint(QPainter::Antialiasing);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.fillRect(QRectF(x, y, width, height), ToQColor(colour));
  painter_.setRenderHint(QPainter::Antialiasing, smooth);
}

void PainterMapCanvas::FillPolygon(const std::vector<ScreenPoint>& corners, Rgb colour) {
  QPolygonF polygon;
  for (const ScreenPoint& p : corners)
    polygon << QPointF(p.x, p.y);
  // As for the cells above: no smoothing, so that neighbouring cells leave no seams.
  const bool smooth = painter_.testRenderHint(QPainter::Antialiasing);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(colour));
  painter_.drawPolygon(polygon);
  painter_.setBrush(Qt::NoBrush);
  painter_.setRenderHint(QPainter::Antialiasing, smooth);
}

void PainterMapCanvas::Line(double x1, double y1, double x2, double y2, Rgb colour) {
  painter_.setPen(CosmeticPen(colour));
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterMapCanvas::Text(double x, double y, std::string_view text, Rgb colour, Align align) {
  painter_.setPen(ToQColor(colour));
  constexpr double kBox = 600;
  Qt::Alignment flags = Qt::AlignVCenter;
  QRectF box(x, y - 12, kBox, 24);
  if (align == Align::kCentre) {
    box.moveLeft(x - kBox / 2);
    flags |= Qt::AlignHCenter;
  } else if (align == Align::kRight) {
    box.moveLeft(x - kBox);
    flags |= Qt::AlignRight;
  } else {
    flags |= Qt::AlignLeft;
  }
  painter_.drawText(box, flags, Text16(text));
}

}  // namespace tavrine

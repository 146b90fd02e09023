// The QImage canvas: lines in drawing units carried to device pixels as they come (cheaper than
// the painter's transform for short lines) and drawn with a one-pixel pen, so that their width
// does not grow with the window; texts at their mapped places in unscaled fonts.
#include "ui/image_canvas.h"

#include <algorithm>

#include <QString>

namespace tavrine {

namespace {

QColor ToQColor(Rgb colour) {
  return QColor(colour.r, colour.g, colour.b);
}

}  // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : image_(width, height, QImage::Format_RGB32),
      font_(QStringLiteral("Noto Sans CJK JP"), 9),
      drawing_width_(width),
      drawing_height_(height),
      viewport_(width, height, {}, width, height) {
  image_.fill(QColor(200, 200, 200));
}

ImageCanvas::~ImageCanvas() = default;

double ImageCanvas::Width() const {
  return drawing_width_;
}

double ImageCanvas::Height() const {
  return drawing_height_;
}

void ImageCanvas::EndPainting() {
  Flush();
  painter_.reset();
}

void ImageCanvas::Flush() {
  if (pending_ == 0) {
    return;
  }
  Painter();
  for (Batch& batch : batches_) {
    if (batch.lines.empty() && batch.dots.empty()) {
      continue;
    }
    UsePen(batch.colour);
    painter_->drawLines(batch.lines.data(), static_cast<int>(batch.lines.size()));
    painter_->drawPoints(batch.dots.data(), static_cast<int>(batch.dots.size()));
    batch.lines.clear();
    batch.dots.clear();
  }
  pending_ = 0;
}

// A few hundred colours at most (the current gradients of every step count and the fixed
// colours); a table by a hash of the colour finds each one's batch without a search.
ImageCanvas::Batch& ImageCanvas::BatchOf(Rgb colour) {
  const uint32_t key =
      static_cast<uint32_t>((colour.r & 0xff) << 16 | (colour.g & 0xff) << 8 | (colour.b & 0xff));
  // Multiplicative hashing spreads the gradients' evenly spaced colours over the table.
  uint32_t& slot = batch_of_hash_[(key * 2654435761u) >> 20];
  if (slot < batches_.size() && batches_[slot].colour == colour) [[likely]] {
    return batches_[slot];
  }
  return FindBatch(colour, slot);
}

ImageCanvas::Batch& ImageCanvas::FindBatch(Rgb colour, uint32_t& slot) {
  for (slot = 0; slot < batches_.size(); ++slot) {
    if (batches_[slot].colour == colour) {
      return batches_[slot];
    }
  }
  return batches_.emplace_back(Batch{colour, {}, {}});
}

void ImageCanvas::SetView(double drawing_width, double drawing_height, const ScreenPoint& pan) {
  EndPainting();
  drawing_width_ = drawing_width;
  drawing_height_ = drawing_height;
  pan_ = pan;
  viewport_ = Viewport(image_.width(), image_.height(), pan_, drawing_width_, drawing_height_);
  device_scale_ = viewport_.Scale();
  device_origin_ = viewport_.Origin();
}

void ImageCanvas::SetAntialiased(bool on) {
  EndPainting();
  antialiased_ = on;
}

void ImageCanvas::ResizeImage(int width, int height) {
  EndPainting();
  image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  image_.fill(QColor(200, 200, 200));
  SetView(drawing_width_, drawing_height_, pan_);
}

QPainter& ImageCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setFont(font_);
    painter_->setRenderHint(QPainter::Antialiasing, antialiased_);
    painter_->setRenderHint(QPainter::TextAntialiasing, antialiased_);
    pen_colour_.reset();
  }
  return *painter_;
}

void ImageCanvas::UsePen(Rgb colour) {
  QPainter& painter = Painter();
  if (pen_colour_ == colour) {
    return;
  }
  QPen pen(ToQColor(colour), 0);  // width 0: one device pixel, whatever the transform
  pen.setCosmetic(true);
  painter.setPen(pen);
  pen_colour_ = colour;
}

const QImage& ImageCanvas::Image() {
  EndPainting();
  return image_;
}

void ImageCanvas::Fill(Rgb colour) {
  batches_.clear();  // covered by the fill
  pending_ = 0;
  painter_.reset();
  image_.fill(ToQColor(colour));
}

namespace {
// Lines held back at most, so that drawing order changes only among near neighbours.
constexpr size_t kBatchLimit = 8192;
}  // namespace

QPointF ImageCanvas::ToDevice(double x, double y) const {
  return {device_scale_ * x + device_origin_.x, device_scale_ * y + device_origin_.y};
}

void ImageCanvas::Line(double x1, double y1, double x2, double y2, Rgb colour) {
  BatchOf(colour).lines.emplace_back(ToDevice(x1, y1), ToDevice(x2, y2));
  if (++pending_ >= kBatchLimit) {
    Flush();
  }
}

void ImageCanvas::Dot(double x, double y, Rgb colour) {
  BatchOf(colour).dots.push_back(ToDevice(x, y));
  if (++pending_ >= kBatchLimit) {
    Flush();
  }
}

void ImageCanvas::Text(double x, double y, std::string_view text, Rgb colour) {
  Painter();
  Flush();
  UsePen(colour);
  const ScreenPoint at = viewport_.ToDevice({x, y});
  const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // The position is the text's top-left corner; the font keeps its size at any scale.
  painter_->drawText(QRectF(at.x, at.y, 400, 40), Qt::AlignLeft | Qt::AlignTop, line);
}

}  // namespace tavrine

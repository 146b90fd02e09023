// The view widget, the canvas that paints into its picture, and the pointer's navigation.
#include "ui/view_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QWheelEvent>

#include "display/views.h"
#include "ui/image_canvas.h"
#include "ui/ui_fonts.h"

namespace tavrine {

namespace {
const QColor kUnpaintedGrey(200, 200, 200);
}  // namespace

// Draws into the picture and asks for one repaint per batch of drawing calls.
class ViewWidget::WidgetCanvas final : public Canvas {
 public:
  WidgetCanvas(ViewWidget& view, ImageCanvas& image) : view_(view), image_(image) {}
  void Fill(Rgb colour) override {
    image_.Fill(colour);
    Touch();
  }
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override {
    image_.Line(x1, y1, x2, y2, colour);
    Touch();
  }
  void Dot(double x, double y, Rgb colour) override {
    image_.Dot(x, y, colour);
    Touch();
  }
  void Text(double x, double y, std::string_view text, Rgb colour) override {
    image_.Text(x, y, text, colour);
    Touch();
  }
  double Width() const override { return image_.Width(); }
  double Height() const override { return image_.Height(); }
  double MergeLength() const override { return image_.MergeLength(); }
  // The picture is the canvas's own; only the repaint request needs the widget's thread.
  bool DrawsFromAnyThread() const override { return true; }
  void Painted() { repaint_asked_ = false; }

 private:
  void Touch() {
    if (repaint_asked_) {
      return;
    }
    repaint_asked_ = true;
    if (QThread::currentThread() == view_.thread()) {
      view_.update();
    } else {
      QMetaObject::invokeMethod(
          &view_, [view = &view_] { view->update(); }, Qt::QueuedConnection);
    }
  }
  ViewWidget& view_;
  ImageCanvas& image_;
  bool repaint_asked_ = false;
};

ViewWidget::ViewWidget(int view_index, QWidget* parent)
    : QWidget(parent),
      view_index_(view_index),
      image_canvas_(std::make_unique<ImageCanvas>(1, 1)),
      canvas_(std::make_unique<WidgetCanvas>(*this, *image_canvas_)) {
  image_canvas_->SetFont(ViewFont());
  image_canvas_->SetView(kViewWidth, kViewHeight, pan_);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setObjectName(QStringLiteral("Picture1_%1").arg(view_index));
  setMinimumSize(140, 90);
}

ViewWidget::~ViewWidget() = default;

Canvas& ViewWidget::GetCanvas() {
  return *canvas_;
}

const QImage& ViewWidget::Image() {
  return image_canvas_->Image();
}

void ViewWidget::SetPan(const ScreenPoint& pan) {
  pan_ = pan;
  image_canvas_->SetView(kViewWidth, kViewHeight, pan_);
}

Viewport ViewWidget::CurrentViewport() const {
  return image_canvas_->View();
}

void ViewWidget::SetAntialiased(bool on) {
  image_canvas_->SetAntialiased(on);
}

void ViewWidget::paintEvent(QPaintEvent*) {
  canvas_->Painted();
  QPainter painter(this);
  if (!pan_offset_.isNull()) {
    painter.fillRect(rect(), kUnpaintedGrey);
  }
  painter.drawImage(pan_offset_, Image());
  // A thin frame on the widget, not in the picture, so that the touching views stay apart.
  painter.setPen(QColor(40, 40, 40));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ViewWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  SyncImageSize();
}

void ViewWidget::SyncImageSize() {
  const QSize wanted = size().expandedTo(QSize(1, 1));
  if (image_canvas_->Image().size() == wanted)
    return;
  // A new picture of the new size; the redraw that follows a resize fills it.
  image_canvas_->ResizeImage(wanted.width(), wanted.height());
  emit Resized(view_index_);
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
  const bool pan_button =
      event->button() == Qt::MiddleButton ||
      (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
  if (pan_button) {
    panning_ = true;
    pan_start_ = event->position();
    pan_offset_ = {};
    return;
  }
  QWidget::mousePressEvent(event);
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (panning_) {
    // The picture follows the pointer at once; it is drawn anew when the drag ends.
    pan_offset_ = event->position() - pan_start_;
    update();
    return;
  }
  if (event->buttons() == Qt::LeftButton) {
    const ScreenPoint at =
        CurrentViewport().ToDrawing({event->position().x(), event->position().y()});
    emit PrimaryDrag(at.x, at.y);
  }
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!panning_) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  panning_ = false;
  const QPointF moved = event->position() - pan_start_;
  pan_offset_ = {};
  SetPan(PanAfterDrag(pan_, moved.x(), moved.y(), CurrentViewport().Scale()));
  emit PanFinished(view_index_);
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0) {
    emit WheelTurned(view_index_, event->position(), steps);
  }
  event->accept();
}

}  // namespace tavrine

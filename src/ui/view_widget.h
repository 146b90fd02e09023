// One of the four views: a widget that keeps the picture its canvas paints and shows it. The
// view's 700 × 450 drawing units fill the widget at any size; the user pans it with the middle
// button (or Shift and the primary button) and zooms it with the wheel.
#pragma once

#include <memory>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "display/canvas.h"
#include "display/viewport.h"

namespace tavrine {

class ImageCanvas;

class ViewWidget : public QWidget {
  Q_OBJECT
 public:
  ViewWidget(int view_index, QWidget* parent);
  ~ViewWidget() override;

  int ViewIndex() const { return view_index_; }
  Canvas& GetCanvas();
  // Ends any drawing in progress and gives the picture (device pixels).
  const QImage& Image();
  // The pan in drawing units; it takes effect with the next drawing.
  ScreenPoint Pan() const { return pan_; }
  void SetPan(const ScreenPoint& pan);
  Viewport CurrentViewport() const;
  void SetAntialiased(bool on);
  // Gives the picture the widget's size at once, even while the widget is hidden.
  void SyncImageSize();

 signals:
  // The pointer moved over the view with the primary button, and no other, held; (x, y) in
  // drawing units.
  void PrimaryDrag(double x, double y);
  // The wheel turned by `steps` notches (positive away from the user) at a device point.
  void WheelTurned(int view_index, QPointF at, double steps);
  // A pan drag ended; the new pan is set and the view needs drawing.
  void PanFinished(int view_index);
  // The picture took a new size and is blank until drawn again.
  void Resized(int view_index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  class WidgetCanvas;

  int view_index_;
  ScreenPoint pan_;
  std::unique_ptr<ImageCanvas> image_canvas_;
  std::unique_ptr<WidgetCanvas> canvas_;
  bool panning_ = false;
  QPointF pan_start_;
  QPointF pan_offset_;  // device offset of the picture during a pan drag
};

}  // namespace tavrine

// One of the four views: a widget that keeps the picture its canvas paints and shows it, with
// the readout fields placed over it in the view's drawing units (one unit per pixel).
#pragma once

#include <array>
#include <memory>

#include <QImage>
#include <QLabel>
#include <QWidget>

#include "display/canvas.h"

namespace tavrine {

class ViewWidget : public QWidget {
  Q_OBJECT
 public:
  // readout_name: "LabelHmax", "LabelHymax", "LabelHxmax" or "LabelHzmax"; its six items are
  // named readout_name + "0" … "5". with_angles adds Text3, Text4, Text5 (the side view).
  ViewWidget(int view_index, const QString& readout_name, bool with_angles, QWidget* parent);
  ~ViewWidget() override;

  int ViewIndex() const { return view_index_; }
  Canvas& GetCanvas();
  const QImage& Image() const { return image_; }
  QLabel* ReadoutItem(int item) const { return readout_[static_cast<size_t>(item)]; }
  // 0, 1, 2: Text3, Text4, Text5; only in the side view.
  QLabel* AngleReadout(int item) const { return angles_[static_cast<size_t>(item)]; }
  // Puts the readout fields at their places for the current size.
  void PlaceReadouts();
  // Gives the picture the widget's size at once, even while the widget is hidden.
  void SyncImageSize();

 signals:
  // The pointer moved over the view with the primary button, and no other, held.
  void PrimaryDrag(double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  class ImagePainter;
  QLabel* MakeField(const QString& name, const QString& text);

  int view_index_;
  QImage image_;
  std::unique_ptr<ImagePainter> canvas_;
  static constexpr int kReadoutMinWidth = 58;
  std::array<QLabel*, 6> readout_{};
  std::array<QLabel*, 3> angles_{};
};

}  // namespace tavrine

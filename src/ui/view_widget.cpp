// The view widget and the canvas that paints into its picture.
#include "ui/view_widget.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "ui/ui_fonts.h"

namespace tavrine {

namespace {
QColor ToQColor(Rgb colour) {
  return QColor(colour.r, colour.g, colour.b);
}
}  // namespace

// Draws straight into the widget's picture and asks for a repaint; nothing is retained.
class ViewWidget::ImagePainter final : public Canvas {
 public:
  explicit ImagePainter(ViewWidget& view) : view_(view) {}
  void Fill(Rgb colour) override {
    view_.image_.fill(ToQColor(colour));
    view_.update();
  }
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override {
    QPainter painter(&view_.image_);
    painter.setPen(ToQColor(colour));
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    view_.update();
  }
  void Dot(double x, double y, Rgb colour) override {
    QPainter painter(&view_.image_);
    painter.setPen(ToQColor(colour));
    painter.drawPoint(QPointF(x, y));
    view_.update();
  }
  void Text(double x, double y, std::string_view text, Rgb colour) override {
    QPainter painter(&view_.image_);
    painter.setPen(ToQColor(colour));
    painter.setFont(ViewFont());
    // The position is the text's top-left corner.
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    painter.drawText(QRectF(x, y, 400, 40), Qt::AlignLeft | Qt::AlignTop, line);
    view_.update();
  }
  double Width() const override { return view_.image_.width(); }
  double Height() const override { return view_.image_.height(); }

 private:
  ViewWidget& view_;
};

ViewWidget::ViewWidget(int view_index,
                       const QString& readout_name,
                       bool with_angles,
                       QWidget* parent)
    : QWidget(parent),
      view_index_(view_index),
      image_(1, 1, QImage::Format_RGB32),
      canvas_(std::make_unique<ImagePainter>(*this)) {
  image_.fill(QColor(200, 200, 200));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setObjectName(QStringLiteral("Picture1_%1").arg(view_index));
  const std::array<const char*, 6> initial{"Hx=0", "Hy=0", "Hz=0", "Px=", "Py=", "Pz="};
  for (int i = 0; i < 6; ++i) {
    readout_[static_cast<size_t>(i)] =
        MakeField(readout_name + QString::number(i), QString::fromUtf8(initial[i]));
  }
  if (with_angles) {
    const std::array<const char*, 3> names{"Text3", "Text4", "Text5"};
    const std::array<const char*, 3> texts{"X=0", "Y=0", "Z=0"};
    for (size_t i = 0; i < 3; ++i)
      angles_[i] = MakeField(names[i], texts[i]);
  }
}

ViewWidget::~ViewWidget() = default;

Canvas& ViewWidget::GetCanvas() {
  return *canvas_;
}

QLabel* ViewWidget::MakeField(const QString& name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setFont(ViewFont());
  label->setAutoFillBackground(true);
  label->setStyleSheet(QStringLiteral("background: white; color: black; padding: 0 2px;"));
  label->setFixedSize(kReadoutMinWidth, 18);
  // The pointer rotates the free view over the readouts as well.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

void ViewWidget::PlaceReadouts() {
  const int w = width();
  const int h = height();
  // Three columns ending 22 px from the right edge, each as wide as its longer text (a
  // position can have 15 significant digits), never narrower than the initial 58 px.
  int right = w - 22;
  for (int column = 2; column >= 0; --column) {
    QLabel* upper = readout_[static_cast<size_t>(column)];
    QLabel* lower = readout_[static_cast<size_t>(column + 3)];
    const int needed = std::max(upper->sizeHint().width(), lower->sizeHint().width());
    const int width = std::max(kReadoutMinWidth, needed);
    for (QLabel* item : {upper, lower}) {
      item->setFixedWidth(width);
    }
    upper->move(right - width, h - 50);
    lower->move(right - width, h - 30);
    right -= width + 2;
  }
  const std::array<int, 3> angle_x{20, 75, 130};
  for (size_t i = 0; i < 3; ++i) {
    if (angles_[i] != nullptr)
      angles_[i]->move(angle_x[i], h - 50);
  }
}

void ViewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
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
  if (image_.size() == wanted)
    return;
  // A new picture of the new size; the redraw that follows a resize fills it.
  QImage resized(wanted, QImage::Format_RGB32);
  resized.fill(QColor(200, 200, 200));
  QPainter painter(&resized);
  painter.drawImage(0, 0, image_);
  painter.end();
  image_ = resized;
  PlaceReadouts();
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::LeftButton) {
    emit PrimaryDrag(event->position().x(), event->position().y());
  }
}

}  // namespace tavrine

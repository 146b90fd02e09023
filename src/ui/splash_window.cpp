// Splash window: a frameless card with the program name, a small magnet picture and the
// version; closes on its timer or at once on a key or a click.
#include "ui/splash_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tavrine {

namespace {

QLabel* MakeLabel(
    QWidget* parent, const char* name, const QString& text, int pixel_size, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  label->setFont(font);
  label->setStyleSheet("color: #f4f6fb; background: transparent;");
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Clicks on the texts count as clicks on the window.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

// A bar magnet, N half red and S half blue, with a few field lines arching over it.
void PaintMagnet(QPainter& painter, const QRectF& area) {
  const QPointF centre = area.center();
  const double w = area.width() * 0.56;
  const double h = area.height() * 0.2;
  painter.setPen(QPen(QColor(190, 215, 255, 150), 1.6));
  painter.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 4; ++i) {
    const double rx = w * (0.28 + 0.14 * i);
    const double ry = h * (0.9 + 0.75 * i);
    painter.drawEllipse(centre, rx, ry);
  }
  const QRectF north(centre.x() - w / 2, centre.y() - h / 2, w / 2, h);
  const QRectF south(centre.x(), centre.y() - h / 2, w / 2, h);
  painter.setPen(QPen(QColor(20, 24, 40), 1.5));
  painter.setBrush(QColor(214, 48, 49));
  painter.drawRect(north);
  painter.setBrush(QColor(9, 132, 227));
  painter.drawRect(south);
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(static_cast<int>(h * 0.6));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(north, Qt::AlignCenter, "N");
  painter.drawText(south, Qt::AlignCenter, "S");
}

}  // namespace

QString VersionText(int major, int minor, int revision) {
  return QString("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(major).arg(minor).arg(revision);
}

SplashWindow::SplashWindow(QWidget* parent, int interval_ms)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("frmSplash");
  // A title of its own, so that nothing looking windows up by title takes it for the main window.
  setWindowTitle("Tavrine 起動中");
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(520, 300);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 20);
  layout->addWidget(MakeLabel(this, "lblProductName", "Tavrine", 40, true));
  layout->addWidget(
      MakeLabel(this, "lblSubtitle", "永久磁石と電流要素の静磁界設計・解析ツール", 16, false));
  layout->addStretch(1);
  auto* version = MakeLabel(this, "lblVersion",
                            VersionText(kVersionMajor, kVersionMinor, kVersionRevision), 14, false);
  version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  layout->addWidget(version);
  timer_.setSingleShot(false);
  timer_.setInterval(interval_ms);
  connect(&timer_, &QTimer::timeout, this, &SplashWindow::OnTimeout);
}

void SplashWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The interval counts from the first showing; showing again does not restart it.
  if (!started_) {
    started_ = true;
    timer_.start();
  }
  activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void SplashWindow::OnTimeout() {
  timer_.stop();
  close();
  emit timerFinished();
}

void SplashWindow::CloseEarly() {
  if (!timer_.isActive()) {
    return;
  }
  timer_.stop();
  close();
  emit closedEarly();
}

void SplashWindow::closeEvent(QCloseEvent* event) {
  // However the window goes away, a timer left running would open the dialog later.
  timer_.stop();
  QWidget::closeEvent(event);
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
  event->accept();
  CloseEarly();
}

void SplashWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  CloseEarly();
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient gradient(0, 0, width(), height());
  gradient.setColorAt(0.0, QColor(28, 40, 78));
  gradient.setColorAt(1.0, QColor(52, 86, 140));
  painter.fillRect(rect(), gradient);
  painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  PaintMagnet(painter, QRectF(width() * 0.35, height() * 0.34, width() * 0.6, height() * 0.5));
}

}  // namespace tavrine

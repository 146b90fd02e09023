// Painting the views' picture and the field map into picture files.
#include "ui/views_picture.h"

#include <functional>

#include <QFile>
#include <QImage>
#include <QSvgGenerator>

#include "ui/painter_canvases.h"

namespace tavrine {

namespace {

constexpr int kMargin = 20, kStrip = 44;
const QColor kWindowColour(240, 240, 240);

QPointF ViewCorner(int view) {
  // Top view and side view above, front and free view below, as in the window.
  const bool right = view == kSideView || view == kFreeView;
  const bool lower = view == kFrontView || view == kFreeView;
  return {kMargin + (right ? kViewWidth + kMargin : 0),
          kMargin + (lower ? kViewHeight + kStrip + kMargin : 0)};
}

void PaintStrip(QPainter& painter, int view, const ViewTexts& texts) {
  const auto& items = texts.readouts[static_cast<size_t>(view)];
  painter.setPen(Qt::black);
  for (size_t k = 0; k < items.size(); ++k) {
    const QRectF box(kViewWidth - 3 * 150 + static_cast<double>(k % 3) * 150,
                     kViewHeight + 2 + static_cast<double>(k / 3) * 20, 148, 18);
    painter.fillRect(box, Qt::white);
    painter.drawText(box.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(items[k]));
  }
  if (view == kSideView) {
    for (size_t k = 0; k < texts.angles.size(); ++k) {
      const QRectF box(static_cast<double>(k) * 62, kViewHeight + 2, 60, 18);
      painter.fillRect(box, Qt::white);
      painter.drawText(box.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromStdString(texts.angles[k]));
    }
  }
}

// SVG or PNG by the path's suffix, painted by `paint` on a picture of the given size.
bool WritePicture(const QString& path, QSize size, const std::function<void(QPainter&)>& paint) {
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      return false;
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Tavrine"));
    QPainter painter(&svg);
    paint(painter);
    painter.end();
    file.close();
    return file.error() == QFileDevice::NoError;
  }
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  paint(painter);
  painter.end();
  return image.save(path, "PNG");
}

}  // namespace

QSize ViewsPictureSize() {
  return {static_cast<int>(2 * kViewWidth + 3 * kMargin),
          static_cast<int>(2 * (kViewHeight + kStrip) + 3 * kMargin)};
}

void PaintViewsPicture(QPainter& painter, ElementModel& model, const ViewsPictureOptions& options) {
  painter.fillRect(QRect(QPoint(0, 0), ViewsPictureSize()), kWindowColour);
  painter.setRenderHint(QPainter::Antialiasing, options.antialiased);
  painter.setRenderHint(QPainter::TextAntialiasing, options.antialiased);
  painter.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
  // The views in the redraw order, each drawn alone so that one painter serves all four.
  for (int view : kRedrawOrder) {
    painter.save();
    painter.translate(ViewCorner(view));
    painter.setClipRect(QRectF(0, 0, kViewWidth, kViewHeight));
    PainterCanvas canvas(painter, kViewWidth, kViewHeight);
    Views views;
    views.canvas.fill(&canvas);
    const ViewAngles angles = AnglesOfView(model, view);
    DrawView(model, views, view, angles);
    if (options.vectors) {
      const int last = *options.vectors == PointSetKind::kRect ? model.RectCalPointSet.LastIndex
                                                               : model.SectCalPointSet.LastIndex;
      for (int k = 0; k <= std::min(last, kPointSlots - 1); ++k) {
        DrawFieldVector(model, canvas, *options.vectors, k, angles);
      }
    }
    painter.setClipping(false);
    PaintStrip(painter, view, options.texts);
    painter.restore();
  }
}

bool WriteViewsPicture(ElementModel& model,
                       const ViewsPictureOptions& options,
                       const QString& path) {
  return WritePicture(path, ViewsPictureSize(),
                      [&](QPainter& painter) { PaintViewsPicture(painter, model, options); });
}

bool WriteFieldMapPicture(const ElementModel& model,
                          MapComponent component,
                          QSize size,
                          const QString& path,
                          MapSet set) {
  const bool has_grid = set == MapSet::kSector ? SectorFieldMapGrid(model).has_value()
                                               : RectFieldMapGrid(model).has_value();
  if (!has_grid) {
    return false;
  }
  return WritePicture(path, size, [&](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    PainterMapCanvas canvas(painter, size.width(), size.height());
    DrawSetFieldMap(model, set, component, canvas);
  });
}

}  // namespace tavrine

// The four views as one picture, as the main window shows them: each view's 700 × 450 drawing
// units at its place with its readout texts in a strip under it; written as PNG or SVG. Only
// QtGui and QtSvg, so that the batch runner draws the same picture headless.
#pragma once

#include <optional>

#include <QPainter>
#include <QSize>
#include <QString>

#include "display/field_map.h"
#include "display/field_vectors.h"
#include "display/views.h"
#include "model/element_model.h"

namespace tavrine {

struct ViewsPictureOptions {
  std::optional<PointSetKind> vectors;  // the set whose field vectors are drawn, if any
  ViewTexts texts;
  bool antialiased = true;
};

QSize ViewsPictureSize();
void PaintViewsPicture(QPainter& painter, ElementModel& model, const ViewsPictureOptions& options);

// Both: an .svg path gives SVG, anything else PNG; false when the file cannot be written.
bool WriteViewsPicture(ElementModel& model,
                       const ViewsPictureOptions& options,
                       const QString& path);

// The field map picture of the chosen grid, or false when there is no grid to map.
bool WriteFieldMapPicture(const ElementModel& model,
                          MapComponent component,
                          QSize size,
                          const QString& path,
                          MapSet set = MapSet::kRect);

}  // namespace tavrine

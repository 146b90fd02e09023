// "磁界マップ": the last rectangular or sector run as a colour map of |H|, Hx, Hy or Hz over the
// grid, with the point under the pointer read out, saved as PNG or SVG.
#pragma once

#include <functional>
#include <optional>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include "display/field_map.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

class FieldMapWindow : public QWidget {
  Q_OBJECT
 public:
  FieldMapWindow(ElementModel& model, QWidget* parent);

  // Reads the grid and the field from the model again.
  void Refresh();
  MapComponent Component() const;
  MapSet Set() const;
  // Shows the rectangular or the sector grid's map.
  void ShowSet(MapSet set);
  // The map as the window paints it, at the map area's size.
  QImage Picture() const;
  // The map area, where the pointer is read out.
  QWidget* Area() const;
  void SetPictureChooser(std::function<QString()> chooser) { choose_ = std::move(chooser); }
  // Writes the shown map to a .png or .svg path; false when it cannot.
  bool SavePicture(const QString& path) const;

 private:
  class MapArea;
  void Paint(QPainter& painter, QSize size) const;
  void ShowPointAt(QPointF at);
  void SaveWithDialog();

  ElementModel& model_;
  QComboBox* component_ = nullptr;
  QComboBox* set_ = nullptr;
  QLabel* readout_ = nullptr;
  MapArea* area_ = nullptr;
  std::optional<FieldMapGrid> grid_;
  std::optional<SectorMapGrid> sector_grid_;
  std::function<QString()> choose_;
};

}  // namespace tavrine

// The colour dialog "色の選択" (ColorOption): fixed palettes for the background, the axes and the
// magnet faces; a pick takes effect at once.
#pragma once

#include <QDialog>

#include "model/element_model.h"

namespace tavrine {

class ColourDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ColourDialog(ElementModel& model, QWidget* parent = nullptr);

 signals:
  // A colour setting changed; the views need redrawing.
  void coloursChanged();

 private:
  QWidget* BuildBackgroundGroup();
  QWidget* BuildAxisGroup();
  QWidget* BuildMagnetGroup();

  ElementModel& model_;
};

}  // namespace tavrine

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
  // Checks the options of the colours in force (also after a reset changed them).
  void ShowColoursInForce();

 signals:
  // A colour setting changed; the views need redrawing.
  void coloursChanged();

 protected:
  bool event(QEvent* event) override;

 private:
  QWidget* BuildBackgroundGroup();
  QWidget* BuildAxisGroup();
  QWidget* BuildMagnetGroup();

  ElementModel& model_;
};

}  // namespace tavrine

// The readout group of one view, in a strip under the view: items 0..5 (Hx, Hy, Hz over Px,
// Py, Pz) in three columns that fit their texts, and in the side view the free-view angles.
#pragma once

#include <array>

#include <QLabel>
#include <QWidget>

namespace tavrine {

class ReadoutStrip : public QWidget {
  Q_OBJECT
 public:
  // readout_name: "LabelHmax", "LabelHymax", "LabelHxmax" or "LabelHzmax"; its six items are
  // named readout_name + "0" … "5". with_angles adds Text3, Text4, Text5 (the side view).
  ReadoutStrip(const QString& readout_name, bool with_angles, QWidget* parent);

  QLabel* ReadoutItem(int item) const { return readout_[static_cast<size_t>(item)]; }
  // 0, 1, 2: Text3, Text4, Text5; only in the side view.
  QLabel* AngleReadout(int item) const { return angles_[static_cast<size_t>(item)]; }

 private:
  QLabel* MakeField(const QString& name, const QString& text);

  std::array<QLabel*, 6> readout_{};
  std::array<QLabel*, 3> angles_{};
};

}  // namespace tavrine

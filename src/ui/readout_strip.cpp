// The readout strip: a grid whose columns the layout sizes to the labels' current texts.
#include "ui/readout_strip.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "ui/ui_fonts.h"

namespace tavrine {

ReadoutStrip::ReadoutStrip(const QString& readout_name, bool with_angles, QWidget* parent)
    : QWidget(parent) {
  setObjectName(readout_name + QStringLiteral("Strip"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 2, 0, 2);
  if (with_angles) {
    const std::array<const char*, 3> names{"Text3", "Text4", "Text5"};
    const std::array<const char*, 3> texts{"X=0", "Y=0", "Z=0"};
    for (size_t i = 0; i < 3; ++i) {
      angles_[i] = MakeField(names[i], texts[i]);
      row->addWidget(angles_[i]);
    }
  }
  row->addStretch(1);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  const std::array<const char*, 6> initial{"Hx=0", "Hy=0", "Hz=0", "Px=", "Py=", "Pz="};
  for (int i = 0; i < 6; ++i) {
    readout_[static_cast<size_t>(i)] =
        MakeField(readout_name + QString::number(i), QString::fromUtf8(initial[i]));
    grid->addWidget(readout_[static_cast<size_t>(i)], i / 3, i % 3);
  }
  row->addLayout(grid);
}

QLabel* ReadoutStrip::MakeField(const QString& name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setFont(ViewFont());
  label->setAutoFillBackground(true);
  label->setStyleSheet(QStringLiteral("background: white; color: black; padding: 0 3px;"));
  label->setMinimumWidth(56);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace tavrine

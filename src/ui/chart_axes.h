// Value axes whose tick labels never read "-0.000".
#pragma once

#include <QValueAxis>

namespace tavrine {

// Ticks anchored at zero with the nice interval of the axis's current range, so that the tick at
// zero is an exact positive zero instead of a rounding remainder below it.
inline void AnchorTicksAtZero(QValueAxis* axis) {
  const int count = axis->tickCount();
  if (count < 2 || !(axis->max() > axis->min())) {
    return;
  }
  axis->setTickAnchor(0);
  axis->setTickInterval((axis->max() - axis->min()) / (count - 1));
  axis->setTickType(QValueAxis::TicksDynamic);
}

}  // namespace tavrine

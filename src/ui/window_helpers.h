// Small pieces every dialog uses: showing a window that exists again, and command buttons that
// the Enter key of a field never presses.
#pragma once

#include <QPushButton>
#include <QWidget>

namespace tavrine {

// Brings an existing window back in front with the focus, instead of making a second one.
inline void ShowAgain(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

// Enter belongs to the fields' cycles, never to a button.
inline QPushButton* CommandButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace tavrine

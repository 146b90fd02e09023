// Enter-key filter of the editing dialogs' fields.
#include "ui/enter_key_filter.h"

#include <QKeyEvent>

namespace tavrine {

EnterKeyFilter::EnterKeyFilter(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void EnterKeyFilter::Watch(QWidget* widget) {
  widget->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return false;
  }
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) {
    return false;
  }
  if (auto* widget = qobject_cast<QWidget*>(watched)) {
    handler_(widget);
  }
  return true;
}

}  // namespace tavrine

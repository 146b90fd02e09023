// The one signal that the model changed under the open windows (a file read, the world frame,
// 初期化, an element entered, modified or deleted), so that they show it again.
#pragma once

#include <QObject>

#include "ui/window_group.h"

namespace tavrine {

class ModelEvents final : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  void Notify() { emit modelChanged(); }

 signals:
  void modelChanged();
};

// Tells every open window that the model changed (a no-op without listeners).
inline void NotifyEdited(const WindowContext& context) {
  if (context.events != nullptr)
    context.events->Notify();
}

}  // namespace tavrine

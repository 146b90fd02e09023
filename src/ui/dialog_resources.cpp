// Resource registration; Q_INIT_RESOURCE must be used outside any namespace.
#include "ui/dialog_resources.h"

#include <QtGlobal>

static void RegisterDialogResources() {
  Q_INIT_RESOURCE(dialogs);
}

namespace tavrine {

void InitDialogResources() {
  static const bool registered = [] {
    RegisterDialogResources();
    return true;
  }();
  (void)registered;
}

}  // namespace tavrine

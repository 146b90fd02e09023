// The dialog groups of the program, created with it.
#include "ui/application.h"

namespace tavrine {

void TavrineApplication::AddWindowGroups() {
  [[maybe_unused]] WindowContext context{*model_, board_, [this] { return Main(); }};
}

}  // namespace tavrine

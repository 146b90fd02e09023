// The dialog groups of the program, created with it.
#include "ui/application.h"
#include "ui/calc_point_windows.h"
#include "ui/coil_dialogs.h"
#include "ui/force_dialog.h"
#include "ui/kt_window_group.h"
#include "ui/magnet_dialogs.h"
#include "ui/pc_windows.h"

namespace tavrine {

void TavrineApplication::AddWindowGroups() {
  [[maybe_unused]] WindowContext context{*model_, board_, [this] { return Main(); },
                                         &model_events_};
  groups_.push_back(std::make_unique<CalcPointWindows>(context));
  groups_.push_back(std::make_unique<ForceWindowGroup>(context));
  groups_.push_back(std::make_unique<KtWindowGroup>(context));
  groups_.push_back(std::make_unique<MagnetWindows>(context));
  groups_.push_back(std::make_unique<CoilWindows>(context));
  groups_.push_back(std::make_unique<PcWindowGroup>(context));
}

}  // namespace tavrine

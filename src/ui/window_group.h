// The windows beside the main window, grouped by what they edit or compute; each group answers
// the main-window commands that open its windows.
#pragma once

#include <functional>

#include "model/element_model.h"
#include "model/notices.h"
#include "ui/main_commands.h"

namespace tavrine {

class MainWindow;
class ModelEvents;

// What every group's windows work on. The main window is replaced by re-initialisation, so it is
// looked up each time it is needed and may be null.
struct WindowContext {
  ElementModel& model;
  NoticeBoard& board;
  std::function<MainWindow*()> main_window;
  // Open windows refresh from it; every edit notifies it. Null where nothing listens.
  ModelEvents* events = nullptr;
};

class WindowGroup {
 public:
  virtual ~WindowGroup() = default;
  // Opens (or shows again) the group's window for the command; false when it is not the group's.
  virtual bool Run(MainCommand command) = 0;
};

}  // namespace tavrine

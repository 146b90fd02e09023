// Start-up, re-initialisation and the commands that open windows beside the main window.
#include "ui/application.h"

#include "model/resets.h"

namespace tavrine {

TavrineApplication::TavrineApplication() : model_(std::make_unique<ElementModel>()) {}

TavrineApplication::~TavrineApplication() {
  delete main_window_.data();
}

void TavrineApplication::StartUp() {
  auto* window = new MainWindow(*model_, board_);
  connect(window, &MainWindow::CommandRequested, this, &TavrineApplication::OnCommand);
  main_window_ = window;
  window->show();
  FullReset(*model_);
  emit MainWindowCreated(window);
}

void TavrineApplication::OnCommand(MainCommand command) {
  switch (command) {
    case MainCommand::InitializeByMenu:
      InitializeByMenu();
      return;
    case MainCommand::InitializeByToolbar:
      InitializeByToolbar();
      return;
    default:
      // The element, grid, study and table dialogs are not part of the program yet.
      return;
  }
}

void TavrineApplication::InitializeByMenu() {
  QPointer<MainWindow> old_window = main_window_;
  // Dialogs and notices go first, then the new start-up, then the old window: the program
  // never runs out of windows on the way, so it does not end.
  if (old_window)
    old_window->CloseDialogs();
  StartUp();
  if (old_window)
    old_window->CloseWithoutAsking();
}

void TavrineApplication::InitializeByToolbar() {
  FullReset(*model_);
  if (main_window_)
    main_window_->RedrawAll();
}

}  // namespace tavrine

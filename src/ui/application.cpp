// Start-up, re-initialisation and the commands that open windows beside the main window.
#include "ui/application.h"

#include "files/model_file.h"
#include "model/resets.h"
#include "ui/about_window.h"
#include "ui/colour_dialog.h"
#include "ui/help_window.h"
#include "ui/notice_windows.h"
#include "ui/window_helpers.h"
#include "ui/world_frame_dialog.h"

namespace tavrine {

TavrineApplication::TavrineApplication(int splash_ms)
    : splash_ms_(splash_ms),
      model_(std::make_unique<ElementModel>()),
      notice_windows_(std::make_unique<NoticeWindows>(board_)) {
  // "はい" on the overwrite notice writes the model as it is now to the path chosen last.
  notice_windows_->SetOverwriteCallback(
      [this] { SaveModelFileCommand(*model_, model_->ModelFilePath, board_); });
  AddWindowGroups();
}

TavrineApplication::~TavrineApplication() {
  // The groups' windows go before the main window they draw into.
  groups_.clear();
  for (QWidget* window :
       std::initializer_list<QWidget*>{about_.data(), help_.data(), colour_.data(),
                                       world_frame_.data(), splash_.data(), main_window_.data()}) {
    delete window;
  }
}

void TavrineApplication::StartUp() {
  auto* window = new MainWindow(*model_, board_);
  connect(window, &MainWindow::CommandRequested, this, &TavrineApplication::OnCommand);
  connect(window, &MainWindow::modelChanged, &model_events_, &ModelEvents::Notify);
  connect(&model_events_, &ModelEvents::modelChanged, window, &MainWindow::SyncZoomControls);
  main_window_ = window;
  window->show();
  auto* splash = new SplashWindow(nullptr, splash_ms_);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  connect(splash, &SplashWindow::timerFinished, this, &TavrineApplication::OpenWorldFrame);
  splash_ = splash;
  splash->show();
  FullReset(*model_);
  // The first drawing came with the window's first resize, before the reset.
  window->RedrawAll();
  model_events_.Notify();
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
    case MainCommand::ChangeColour:
      OpenColourDialog();
      return;
    case MainCommand::HelpContents:
      Help().ShowContents();
      return;
    case MainCommand::HelpSearch:
      Help().ShowSearch();
      return;
    case MainCommand::About:
      OpenAbout();
      return;
    default:
      for (const auto& group : groups_) {
        if (group->Run(command))
          return;
      }
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
  model_events_.Notify();
  OpenWorldFrame();
  if (main_window_)
    main_window_->RedrawAll();
}

void TavrineApplication::OpenWorldFrame() {
  if (!world_frame_) {
    world_frame_ = new WorldFrameDialog(*model_, board_);
    connect(world_frame_, &WorldFrameDialog::entered, this, [this] {
      if (main_window_)
        main_window_->RedrawAll();
      model_events_.Notify();
    });
  }
  world_frame_->Open();
}

void TavrineApplication::OpenColourDialog() {
  if (!colour_) {
    colour_ = new ColourDialog(*model_);
    // 初期化 resets the colours while the dialog may stay open.
    connect(&model_events_, &ModelEvents::modelChanged, colour_.data(),
            &ColourDialog::ShowColoursInForce);
    connect(colour_, &ColourDialog::coloursChanged, this, [this] {
      if (main_window_)
        main_window_->RedrawAll();
    });
  }
  ShowAgain(colour_);
}

HelpWindow& TavrineApplication::Help() {
  if (!help_)
    help_ = new HelpWindow();
  return *help_;
}

void TavrineApplication::OpenAbout() {
  if (!about_)
    about_ = new AboutWindow();
  ShowAgain(about_);
}

}  // namespace tavrine

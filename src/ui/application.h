// The program object: owns the one model, the notice board, the notice windows, the current
// main window and the windows beside it, and runs the start-up and both re-initialisations.
#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>

#include "model/element_model.h"
#include "model/notices.h"
#include "ui/about_window.h"
#include "ui/colour_dialog.h"
#include "ui/help_window.h"
#include "ui/main_commands.h"
#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui/notice_windows.h"
#include "ui/splash_window.h"
#include "ui/window_group.h"
#include "ui/world_frame_dialog.h"

namespace tavrine {

class TavrineApplication final : public QObject {
  Q_OBJECT
 public:
  // The splash interval is shortened only by tests.
  explicit TavrineApplication(int splash_ms = kSplashIntervalMs);
  ~TavrineApplication() override;

  // Main window, splash, full reset; the world-frame dialog follows when the splash timer fires.
  void StartUp();
  ElementModel& Model() { return *model_; }
  NoticeBoard& Board() { return board_; }
  MainWindow* Main() const { return main_window_; }
  SplashWindow* Splash() const { return splash_; }
  WorldFrameDialog* WorldFrame() const { return world_frame_; }
  NoticeWindows& Notices() { return *notice_windows_; }
  ModelEvents& Events() { return model_events_; }

 signals:
  // A main window was created by a start-up (tests follow the window through "初期化").
  void MainWindowCreated(tavrine::MainWindow* window);

 private:
  void OnCommand(MainCommand command);
  // One line per group of dialogs, in window_groups.cpp.
  void AddWindowGroups();
  void InitializeByMenu();
  void InitializeByToolbar();
  void OpenWorldFrame();
  void OpenColourDialog();
  HelpWindow& Help();
  void OpenAbout();

  int splash_ms_;
  std::unique_ptr<ElementModel> model_;
  NoticeBoard board_;
  ModelEvents model_events_;
  std::unique_ptr<NoticeWindows> notice_windows_;
  QPointer<MainWindow> main_window_;
  QPointer<SplashWindow> splash_;
  QPointer<WorldFrameDialog> world_frame_;
  QPointer<ColourDialog> colour_;
  QPointer<HelpWindow> help_;
  QPointer<AboutWindow> about_;
  std::vector<std::unique_ptr<WindowGroup>> groups_;
};

}  // namespace tavrine

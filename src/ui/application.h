// The program object: owns the one model, the notice board and the current main window, and
// runs the start-up sequence and both re-initialisations.
#pragma once

#include <memory>

#include <QObject>
#include <QPointer>

#include "model/element_model.h"
#include "model/notices.h"
#include "ui/main_commands.h"
#include "ui/main_window.h"

namespace tavrine {

class TavrineApplication final : public QObject {
  Q_OBJECT
 public:
  TavrineApplication();
  ~TavrineApplication() override;

  // Main window, splash, full reset; the world-frame dialog follows when the splash timer fires.
  void StartUp();
  ElementModel& Model() { return *model_; }
  NoticeBoard& Board() { return board_; }
  MainWindow* Main() const { return main_window_; }

 signals:
  // A main window was created by a start-up (tests follow the window through "初期化").
  void MainWindowCreated(tavrine::MainWindow* window);

 private:
  void OnCommand(MainCommand command);
  void InitializeByMenu();
  void InitializeByToolbar();

  std::unique_ptr<ElementModel> model_;
  NoticeBoard board_;
  QPointer<MainWindow> main_window_;
};

}  // namespace tavrine

// frmMain, the program's main window "Tavrine": four views with their readouts, the zoom and
// vector-scale controls, the menu bar and the two toolbars.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QScrollBar>

#include "display/canvas.h"
#include "display/views.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"
#include "ui/main_commands.h"
#include "ui/view_widget.h"

class QAction;
class QMenu;
class QToolBar;

namespace tavrine {

class FieldRunController;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // Answers the close confirmation: true for Yes.
  using Confirm = std::function<bool(const QString& title, const QString& text)>;
  // A field run of the rectangular (true) or the sector set, run off the UI thread.
  using RunJob = std::function<void(ElementModel&, Progress&, Notices&, bool rect_set)>;

  MainWindow(ElementModel& model, NoticeBoard& notices, QWidget* parent = nullptr);
  ~MainWindow() override;

  void RunCommand(MainCommand command);
  // The four views by ViewIndex (0 side, 1 top, 2 front, 3 free).
  ViewWidget* View(int view_index) const { return views_[static_cast<size_t>(view_index)]; }
  std::array<Canvas*, 4> Canvases() const;
  void RedrawAll();
  void DrawRectFieldVectors();
  void FillAllGrey();
  // The zoom box and bar show the factor the views are drawn with (after a reset, say).
  void SyncZoomControls();
  // Writes the readout groups after a run of the given set.
  void ShowRunResults(bool rect_set);

  void SetRunJob(RunJob job);
  // The file dialog: the chosen path, or empty for none. Tests put their own chooser in.
  using FileChooser = std::function<QString(bool save, const QString& title)>;
  void SetFileChooser(FileChooser chooser) { choose_file_ = std::move(chooser); }
  void SetConfirm(Confirm confirm) { confirm_ = std::move(confirm); }
  // Closes every other window from the most recently shown back, the notices included.
  void CloseDialogs() { CloseOtherWindows(); }
  // Closes this window without the exit question (re-initialisation by menu).
  void CloseWithoutAsking();
  FieldRunController& Runs() { return *runs_; }
  // The views' drawing state, for dialogs that highlight or preview in the four views.
  Views& Display() { return display_; }

 signals:
  // Commands whose windows live outside the main window (dialogs, help, start-up).
  void CommandRequested(tavrine::MainCommand command);
  // The model was replaced or changed by this window (a file read).
  void modelChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildViews();
  void BuildControls(QWidget* area);
  void BuildMenus();
  void BuildToolbars();
  QAction* AddEntry(QMenu* menu, const char* name, const char* caption);
  void Bind(QAction* action, MainCommand command);
  void AddButton(QToolBar* bar, const char* key, const char* tooltip, const char* icon);
  void Exit();
  void CloseOtherWindows();
  void OnZoomScroll(int position);
  void OnZoomText(const QString& text);
  void OnVectorScaleText(const QString& text);
  void OnPrimaryDrag(double x, double y);
  void StartRun(bool rect_set);
  void ShowTexts(const ViewTexts& texts);
  class Observer;

  QString ChooseFileWithDialog(bool save, const QString& title);
  void SaveModel();
  void ReadModel();
  void ExportDistribution();

  ElementModel& model_;
  NoticeBoard& notices_;
  std::array<ViewWidget*, 4> views_{};
  std::unique_ptr<Observer> observer_;
  Views display_;
  bool mirroring_zoom_ = false;
  QWidget* view_area_ = nullptr;
  QScrollBar* zoom_scroll_ = nullptr;
  QLineEdit* zoom_text_ = nullptr;
  QLineEdit* vector_scale_ = nullptr;
  FieldRunController* runs_ = nullptr;
  Confirm confirm_;
  RunJob run_job_;
  FileChooser choose_file_;
  bool close_without_asking_ = false;
  // Top-level windows in the order they were shown, for closing from the most recent back.
  std::vector<QPointer<QWidget>> shown_windows_;
};

}  // namespace tavrine

// frmMain, the program's main window "Tavrine": four views with their readouts, the zoom and
// vector-scale controls, the menu bar and the two toolbars.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QScrollBar>

#include "display/canvas.h"
#include "display/field_vectors.h"
#include "display/views.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"
#include "ui/main_commands.h"
#include "ui/readout_strip.h"
#include "ui/view_widget.h"

class QAction;
class QMenu;
class QToolBar;

namespace tavrine {

class FieldRunController;
class FieldMapWindow;

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
  // The readout strip under a view, by ViewIndex.
  ReadoutStrip* Readouts(int view_index) const { return strips_[static_cast<size_t>(view_index)]; }
  std::array<Canvas*, 4> Canvases() const;
  void RedrawAll();
  void DrawRectFieldVectors();
  void FillAllGrey();
  // The zoom box and bar show the factor the views are drawn with (after a reset, say).
  void SyncZoomControls();
  // Writes the readout groups after a run of the given set.
  void ShowRunResults(bool rect_set);
  // "全体表示": zoom 1, no pan, the auto-fit alone.
  void FitAll();
  // Zooms by a factor about a device point of a view (the wheel).
  void ZoomAbout(int view_index, QPointF at, double factor);
  void SetAntialiased(bool on);
  // The four views as they are after the last run, into a PNG or SVG file (by its suffix).
  bool SaveViewsPicture(const QString& path);
  FieldMapWindow* FieldMap() const { return field_map_; }
  void ShowFieldMap();

  void SetRunJob(RunJob job);
  // The file dialog: the chosen path, or empty for none. Tests put their own chooser in.
  using FileChooser = std::function<QString(bool save, const QString& title)>;
  void SetFileChooser(FileChooser chooser) { choose_file_ = std::move(chooser); }
  // The save dialog of the views' picture: a path ending in .png or .svg, or empty for none.
  void SetPictureChooser(std::function<QString()> chooser) { choose_picture_ = std::move(chooser); }
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
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildViews();
  void BuildViewArea(QWidget* area);
  void OnViewAreaResized();
  void OnViewResized();
  void AddViewEntries(QMenu* display);
  void AddPictureEntry(QMenu* file);
  void OnWheel(int view_index, QPointF at, double steps);
  void OnPanFinished(int view_index);
  // Applies a new zoom factor; every pan scales with it, and the view under the pointer (if
  // any) keeps that point in place.
  void ApplyZoom(double zoom, int about_view, QPointF at);
  // Redraws after navigation and draws again the field vectors that were showing.
  void RedrawKeepingVectors();
  void SaveViewsPictureWithDialog();
  void RefreshFieldMap();
  void BuildControls(QWidget* area);
  void BuildMenus();
  void BuildToolbars();
  void ArrangeToolbars();
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
  QString ChoosePictureWithDialog();
  void SaveModel();
  void ReadModel();
  void ExportDistribution();

  ElementModel& model_;
  NoticeBoard& notices_;
  std::array<ViewWidget*, 4> views_{};
  std::array<ReadoutStrip*, 4> strips_{};
  // The set whose vectors are on the views, until a drawing of a view erases them.
  std::optional<PointSetKind> vectors_shown_;
  std::optional<PointSetKind> last_run_set_;
  FieldMapWindow* field_map_ = nullptr;
  bool view_redraw_pending_ = false;
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
  std::function<QString()> choose_picture_;
  bool close_without_asking_ = false;
  // Top-level windows in the order they were shown, for closing from the most recent back.
  std::vector<QPointer<QWidget>> shown_windows_;
};

}  // namespace tavrine

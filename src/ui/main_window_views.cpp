// The main window's views: their layout with the readout strips, navigation (wheel zoom about
// the pointer, pan, "全体表示"), smooth lines, the views' picture and the field map.
#include <cmath>

#include <QFileDialog>
#include <QGridLayout>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "model/text_rules.h"
#include "ui/field_map_window.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/views_picture.h"

namespace tavrine {

namespace {

// Each wheel notch zooms by this factor.
constexpr double kWheelZoomStep = 1.2;

// The places of the views on the two-by-two grid, by ViewIndex: side, top, front, free.
constexpr std::array<std::pair<int, int>, 4> kGridCells{{{0, 1}, {0, 0}, {1, 0}, {1, 1}}};

}  // namespace

void MainWindow::BuildViewArea(QWidget* area) {
  view_area_ = new QWidget(area);
  view_area_->setObjectName("ViewArea");
  auto* grid = new QGridLayout(view_area_);
  grid->setContentsMargins(6, 4, 6, 0);
  grid->setSpacing(6);
  const std::array<const char*, 4> readouts{"LabelHmax", "LabelHymax", "LabelHxmax", "LabelHzmax"};
  for (int i = 0; i < 4; ++i) {
    const size_t k = static_cast<size_t>(i);
    auto* pane = new QWidget(view_area_);
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* view = new ViewWidget(i, pane);
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    view->SetAntialiased(true);
    strips_[k] = new ReadoutStrip(QString::fromUtf8(readouts[k]), i == kSideView, pane);
    strips_[k]->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    column->addWidget(view, 1);
    column->addWidget(strips_[k]);
    grid->addWidget(pane, kGridCells[k].first, kGridCells[k].second);
    connect(view, &ViewWidget::PrimaryDrag, this, &MainWindow::OnPrimaryDrag);
    connect(view, &ViewWidget::WheelTurned, this, &MainWindow::OnWheel);
    connect(view, &ViewWidget::PanFinished, this, &MainWindow::OnPanFinished);
    connect(view, &ViewWidget::Resized, this, &MainWindow::OnViewResized);
    views_[k] = view;
  }
  // Equal halves whatever the readouts hold, so that a new readout text never resizes a view.
  for (int k = 0; k < 2; ++k) {
    grid->setColumnStretch(k, 1);
    grid->setRowStretch(k, 1);
  }
  area->layout()->addWidget(view_area_);
  static_cast<QVBoxLayout*>(area->layout())->setStretchFactor(view_area_, 1);
  BuildViews();
}

void MainWindow::BuildViews() {
  for (ViewWidget* view : views_) {
    view->hide();  // hidden until its first drawing
  }
}

void MainWindow::OnViewResized() {
  // A view resized by the layout alone (not by the window) has lost its picture; draw it again
  // once the layout has settled.
  if (view_redraw_pending_)
    return;
  view_redraw_pending_ = true;
  QTimer::singleShot(0, this, [this] {
    view_redraw_pending_ = false;
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
      RedrawKeepingVectors();
  });
}

void MainWindow::OnViewAreaResized() {
  // The views take their new sizes now, so that the redraw fills pictures of those sizes.
  view_area_->layout()->setGeometry(view_area_->rect());
  for (ViewWidget* view : views_) {
    view->SyncImageSize();
  }
  // A resize in the normal state redraws; into or within maximised or minimised it does not.
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
    RedrawAll();
}

void MainWindow::AddViewEntries(QMenu* display) {
  display->addSeparator()->setObjectName("mnuViewBar0");
  QAction* fit = AddEntry(display, "mnuFitAll", "全体表示");
  fit->setShortcut(Qt::Key_Home);
  Bind(fit, MainCommand::FitAll);
  QAction* smooth = AddEntry(display, "mnuSmoothLines", "滑らかな線");
  smooth->setCheckable(true);
  smooth->setChecked(true);
  connect(smooth, &QAction::toggled, this, &MainWindow::SetAntialiased);
  QAction* map = AddEntry(display, "mnuFieldMap", "磁界マップ");
  connect(map, &QAction::triggered, this, &MainWindow::ShowFieldMap);
}

void MainWindow::AddPictureEntry(QMenu* file) {
  QAction* picture = AddEntry(file, "mnuSaveViewsPicture", "ビューの画像の保存");
  connect(picture, &QAction::triggered, this, &MainWindow::SaveViewsPictureWithDialog);
  choose_picture_ = [this] { return ChoosePictureWithDialog(); };
}

void MainWindow::ApplyZoom(double zoom, int about_view, QPointF at) {
  const double ratio = zoom / model_.View.ZoomFactor;
  for (ViewWidget* view : views_) {
    const Viewport port = view->CurrentViewport();
    const ScreenPoint from_centre =
        view->ViewIndex() == about_view ? port.FromCentre({at.x(), at.y()}) : ScreenPoint{};
    view->SetPan(PanAfterZoom(view->Pan(), from_centre, ratio));
  }
}

void MainWindow::ZoomAbout(int view_index, QPointF at, double factor) {
  const double zoom = model_.View.ZoomFactor * factor;
  if (!(zoom > 0) || !std::isfinite(zoom))
    return;
  const std::optional<PointSetKind> shown = vectors_shown_;
  ApplyZoom(zoom, view_index, at);
  SetZoomFromText(model_, display_, ShortestDecimal(zoom));
  SyncZoomControls();
  if (shown && model_.RecMagCount >= 1) {
    DrawAllFieldVectors(model_, display_, *shown);
    vectors_shown_ = shown;
  }
}

void MainWindow::OnWheel(int view_index, QPointF at, double steps) {
  ZoomAbout(view_index, at, std::pow(kWheelZoomStep, steps));
}

void MainWindow::OnPanFinished(int) {
  RedrawKeepingVectors();
}

void MainWindow::FitAll() {
  for (ViewWidget* view : views_) {
    view->SetPan({});
  }
  {
    const QSignalBlocker block(zoom_scroll_);
    zoom_scroll_->setValue(10);
  }
  mirroring_zoom_ = true;
  zoom_text_->setText(QStringLiteral("1.0"));
  mirroring_zoom_ = false;
  model_.View.ZoomFactor = 1.0;
  display_.texts.zoom = "1.0";
  RedrawKeepingVectors();
}

void MainWindow::RedrawKeepingVectors() {
  const std::optional<PointSetKind> shown = vectors_shown_;
  RedrawAll();
  if (shown) {
    DrawAllFieldVectors(model_, display_, *shown);
    vectors_shown_ = shown;
  }
}

void MainWindow::SetAntialiased(bool on) {
  for (ViewWidget* view : views_) {
    view->SetAntialiased(on);
  }
  RedrawKeepingVectors();
}

QString MainWindow::ChoosePictureWithDialog() {
  QFileDialog dialog(this, QStringLiteral("ビューの画像の保存"));
  dialog.setObjectName("PictureDialog");
  UseProgramFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("SVG 画像 (*.svg)")});
  // The name gets the extension of the chosen type when the user types none.
  dialog.setDefaultSuffix(QStringLiteral("png"));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(filter.contains(QStringLiteral("*.svg")) ? QStringLiteral("svg")
                                                                     : QStringLiteral("png"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

void MainWindow::SaveViewsPictureWithDialog() {
  const QString path = choose_picture_();
  if (path.isEmpty())
    return;
  if (!SaveViewsPicture(path))
    notices_.Raise(NoticeId::CautionFileInOut);
}

bool MainWindow::SaveViewsPicture(const QString& path) {
  ViewsPictureOptions options;
  options.vectors = last_run_set_;
  options.texts = display_.texts;
  return WriteViewsPicture(model_, options, path);
}

void MainWindow::ShowFieldMap() {
  if (field_map_ == nullptr) {
    field_map_ = new FieldMapWindow(model_, this);
  }
  field_map_->show();
  RefreshFieldMap();
  field_map_->raise();
  field_map_->activateWindow();
}

void MainWindow::RefreshFieldMap() {
  if (field_map_ != nullptr && field_map_->isVisible()) {
    field_map_->Refresh();
    // The map follows the last run's set; the user may switch it back in the window.
    if (last_run_set_)
      field_map_->ShowSet(*last_run_set_ == PointSetKind::kSect ? MapSet::kSector : MapSet::kRect);
  }
}

}  // namespace tavrine

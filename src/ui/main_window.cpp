// The main window: layout of the views and controls, the menu bar, the toolbars, the view
// controls and closing.
#include "ui/main_window.h"

#include <cmath>
#include <optional>
#include <string_view>

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "calcpoints/field_runs.h"
#include "display/field_vectors.h"
#include "model/text_rules.h"
#include "ui/field_run_controller.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"

// The icons live in this static library; its resources must be registered by hand.
static void RegisterIcons() {
  Q_INIT_RESOURCE(icons);
}

namespace tavrine {

namespace {

constexpr const char* kMainTitle = "Tavrine";

}  // namespace

// The display tells the window when a view is drawn and when the texts beside it change.
class MainWindow::Observer final : public ViewObserver {
 public:
  explicit Observer(MainWindow& window) : window_(window) {}
  void ViewPlaced(int view, const LayoutRect&) override {
    window_.views_[static_cast<size_t>(view)]->show();
    window_.vectors_shown_.reset();  // a drawing of a view erases the vectors
  }
  void TextsChanged(const ViewTexts& texts) override { window_.ShowTexts(texts); }

 private:
  MainWindow& window_;
};

MainWindow::MainWindow(ElementModel& model, NoticeBoard& notices, QWidget* parent)
    : QMainWindow(parent), model_(model), notices_(notices) {
  RegisterIcons();
  setObjectName("frmMain");
  setWindowTitle(kMainTitle);
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(QFont(kUiFontFamily));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  BuildViewArea(central);
  observer_ = std::make_unique<Observer>(*this);
  display_.canvas = Canvases();
  display_.observer = observer_.get();
  BuildControls(central);
  setCentralWidget(central);
  BuildMenus();
  BuildToolbars();
  runs_ = new FieldRunController(this);
  run_job_ = [](ElementModel& model, Progress& progress, Notices& notices, bool rect_set) {
    if (rect_set) {
      RectPointDistFieldCaluculation(model, progress, notices);
    } else {
      SectPointDistFieldCaluculation(model, progress, notices);
    }
  };
  confirm_ = [this](const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(yes);
  };
  choose_file_ = [this](bool save, const QString& title) {
    return ChooseFileWithDialog(save, title);
  };
  qApp->installEventFilter(this);
  // About nine tenths of the screen's free area; the views grow with the window.
  const QScreen* shown_on = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  const QSize available =
      shown_on != nullptr ? shown_on->availableGeometry().size() : QSize(1280, 800);
  resize(available * 0.9);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
}

void MainWindow::BuildControls(QWidget* area) {
  auto* bar = new QWidget(area);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(8, 2, 8, 4);
  row->addWidget(new QLabel(QStringLiteral("縮尺"), bar));
  zoom_scroll_ = new QScrollBar(Qt::Horizontal, bar);
  zoom_scroll_->setObjectName("HScroll1");
  zoom_scroll_->setRange(1, 300);  // zoom 0.1 to 30
  zoom_scroll_->setSingleStep(1);
  zoom_scroll_->setPageStep(10);
  zoom_scroll_->setValue(10);
  zoom_scroll_->setMinimumWidth(260);
  row->addWidget(zoom_scroll_);
  row->addSpacing(12);
  row->addWidget(new QLabel(QStringLiteral("ScaleH="), bar));
  zoom_text_ = new QLineEdit(QStringLiteral("1.0"), bar);
  zoom_text_->setObjectName("Text6");
  zoom_text_->setFixedWidth(70);
  row->addWidget(zoom_text_);
  row->addSpacing(24);
  row->addWidget(new QLabel(QStringLiteral("ベクトル倍率(mm/Oe)"), bar));
  vector_scale_ = new QLineEdit(QStringLiteral("0.005"), bar);
  vector_scale_->setObjectName("Text1");
  vector_scale_->setFixedWidth(80);
  row->addWidget(vector_scale_);
  row->addStretch(1);
  area->layout()->addWidget(bar);
  SetVectorScaleFromText(model_, "0.005");
  connect(zoom_scroll_, &QScrollBar::valueChanged, this, &MainWindow::OnZoomScroll);
  connect(zoom_text_, &QLineEdit::textChanged, this, &MainWindow::OnZoomText);
  connect(vector_scale_, &QLineEdit::textChanged, this, &MainWindow::OnVectorScaleText);
}

QAction* MainWindow::AddEntry(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(name);
  return action;
}

void MainWindow::Bind(QAction* action, MainCommand command) {
  connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
}

namespace {

QMenu* AddSubmenu(QWidget* parent_menu, const char* name, const char* caption) {
  QMenu* menu = nullptr;
  if (auto* bar = qobject_cast<QMenuBar*>(parent_menu)) {
    menu = bar->addMenu(QString::fromUtf8(caption));
  } else {
    menu = static_cast<QMenu*>(parent_menu)->addMenu(QString::fromUtf8(caption));
  }
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  return menu;
}

void AddBar(QMenu* menu, const char* name) {
  menu->addSeparator()->setObjectName(name);
}

// Neither shown nor enabled at any time; nothing is connected to it.
void Hide(QAction* action) {
  action->setVisible(false);
  action->setEnabled(false);
}

}  // namespace

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MenuBar");
  // Top-level menus carry access keys in the usual "(&F)" form after their captions.
  QMenu* file = AddSubmenu(bar, "mnuFile", "ﾌｧｲﾙ(&F)");
  QAction* open = AddEntry(file, "mnuFileOpen", "形状データの読み込み");
  open->setShortcut(QKeySequence::Open);
  Bind(open, MainCommand::ReadModel);
  Hide(AddEntry(file, "mnuOldFileOpen", "旧ﾊﾞｰジョンのデータ読み込み"));
  AddBar(file, "mnuFileBar0");
  QAction* save = AddEntry(file, "mnuFileSaveAs", "形状データ、磁界計算データの保存");
  save->setShortcut(QKeySequence::Save);
  Bind(save, MainCommand::SaveModel);
  Bind(AddEntry(file, "mnuSaveDistFieldData", "磁界分布データの保存"),
       MainCommand::ExportDistribution);
  AddPictureEntry(file);
  AddBar(file, "mnuFileBar1");
  QAction* exit = AddEntry(file, "mnuFileExit", "終了(&X)");
  exit->setShortcut(QKeySequence::Quit);
  Bind(exit, MainCommand::Exit);

  QMenu* display = AddSubmenu(bar, "mnuDisplay", "表示(&V)");
  Bind(AddEntry(display, "mnuReDrawElement", "要素の再描画"), MainCommand::RedrawElements);
  Bind(AddEntry(display, "mnuReDrawFieldVector", "磁場ベクトルの再描画"),
       MainCommand::RedrawFieldVectors);
  Bind(AddEntry(display, "mnuChangeColor", "色の変更"), MainCommand::ChangeColour);
  Bind(AddEntry(display, "mnuInitialize", "初期化"), MainCommand::InitializeByMenu);
  AddViewEntries(display);

  QMenu* element = AddSubmenu(bar, "mnuCreateaAndModifyElement", "要素の作成と修正(&E)");
  QMenu* magnet = AddSubmenu(element, "mnuCreateAndModifyMagnet", "磁石の作成と修正");
  Bind(AddEntry(magnet, "mnuCreateRecMag", "角柱磁石"), MainCommand::CreateRecMag);
  Bind(AddEntry(magnet, "mnuCreateSecMag", "扇型磁石"), MainCommand::CreateSecMag);
  AddEntry(magnet, "mnuCreateDHMag", "DH型磁石");
  Bind(AddEntry(magnet, "mnuCreateRHMag", "RH型磁石"), MainCommand::CreateRhMag);
  QMenu* coil = AddSubmenu(element, "mnuCreateAndModifyCoil", "ｺｲﾙの作成と修正");
  Bind(AddEntry(coil, "mnuCreateStrRecCoil", "直線角柱ｺｲﾙ"), MainCommand::CreateStrRecCoil);
  Bind(AddEntry(coil, "mnuCreateSecRecCoil", "扇型角柱ｺｲﾙ"), MainCommand::CreateSecRecCoil);
  Bind(AddEntry(coil, "mnuCteateStrCylCoil", "直線円柱型ｺｲﾙ"), MainCommand::CreateStrCylCoil);
  Bind(AddEntry(coil, "mnuCreateSecCylCoil", "曲線円柱型ｺｲﾙ"), MainCommand::CreateSecCylCoil);
  QMenu* erase = AddSubmenu(element, "mnuDeleteElement", "要素の削除");
  AddEntry(erase, "mnuDeleteRecMag", "角柱磁石");
  AddEntry(erase, "mnuDeleteSecMag", "扇型磁石");
  AddEntry(erase, "mnuDeleteDHMag", "DH型磁石");
  AddEntry(erase, "mnuDeleteRHMag", "RH型磁石");
  AddEntry(erase, "mnuDeleteCoil", "ｺｲﾙ");
  AddEntry(element, "mnuInputDataTable", "入力要素データの表示");

  QMenu* field = AddSubmenu(bar, "mnuMagFieldCalculation", "磁界計算(&C)");
  QMenu* points = AddSubmenu(field, "mnuCreateCalucPoint", "計算点の作成");
  Bind(AddEntry(points, "mnuRectFieldCalPoint", "四角型分布"), MainCommand::RectGridDialog);
  Bind(AddEntry(points, "mnuSectFieldCalcuPoint", "扇型分布"), MainCommand::SectGridDialog);
  AddEntry(points, "mnuCylFieldCalPoint", "円筒型分布");
  QMenu* start = AddSubmenu(field, "mnuStartMagFieldCalcu", "計算の開始");
  Bind(AddEntry(start, "mnuStartRectFieldCaluculation", "四角型分布"), MainCommand::StartRectRun);
  Bind(AddEntry(start, "mnuStartSectFieldCaluculation", "扇型分布"), MainCommand::StartSectRun);
  AddEntry(start, "mnuStartCylFieldCaluculation", "円筒型分布");
  QMenu* data = AddSubmenu(field, "mnuFieldDataTable", "磁界データの表示");
  AddEntry(data, "mnuRectDataDist", "四角型分布");
  AddEntry(data, "mnuSectDataDist", "扇型分布");
  Hide(AddEntry(data, "mnuCylDataDist", "円筒型分布"));

  QMenu* other = AddSubmenu(bar, "mnuOtherCalculation", "各種計算(&O)");
  Bind(AddEntry(other, "mnuPcCalculation", "Pc計算"), MainCommand::PcShapeSelector);
  AddBar(other, "mnuCalcuBar");
  Hide(AddEntry(other, "mnuKtCaluculation", "Ktの計算"));
  Hide(AddEntry(other, "mnuKtCalculationData", "Kt計算結果の表示"));

  QMenu* help = AddSubmenu(bar, "mnuHelp", "ﾍﾙﾌﾟ(&H)");
  QAction* contents = AddEntry(help, "mnuHelpContents", "目次");
  contents->setShortcut(QKeySequence::HelpContents);
  Bind(contents, MainCommand::HelpContents);
  Bind(AddEntry(help, "mnuHelpSearchForHelpOn", "ﾄﾋﾟｯｸの検索"), MainCommand::HelpSearch);
  AddBar(help, "mnuHelpBar0");
  Bind(AddEntry(help, "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報"), MainCommand::About);
}

namespace {

struct ToolbarButton {
  const char* key;  // empty: a button without a key, which runs nothing
  const char* tooltip;
  const char* icon;
  std::optional<MainCommand> command;
};

const std::vector<ToolbarButton>& Toolbar1Buttons() {
  static const std::vector<ToolbarButton> kButtons{
      {"BCreateRecMag", "角柱磁石の作成", "BCreateRecMag", MainCommand::CreateRecMag},
      {"BCreateCylinderMag", "(中空)円柱磁石の作成", "BCreateCylinderMag",
       MainCommand::CreateCylinderMag},
      {"BCreateDHMag", "扇型磁石の作成", "BCreateDHMag", MainCommand::CreateSecMag},
      {"BCreateRHMag", "RH型磁石の作成", "BCreateRHMag", MainCommand::CreateRhMag},
      {"BCreateStrRecCoil", "角型直線ｺｲﾙの作成", "BCreateStrRecCoil",
       MainCommand::CreateStrRecCoil},
      {"BCreateSecRecCoil", "角型曲線ｺｲﾙの作成", "BCreateSecRecCoil",
       MainCommand::CreateSecRecCoil},
      {"BCreateCoil", "円柱型ｺｲﾙの作成", "BCreateCoil", MainCommand::CreateStrCylCoil},
      {"BCreateSecCylCoil", "円柱型曲線ｺｲﾙの作成", "BCreateSecCylCoil",
       MainCommand::CreateSecCylCoil},
      {"BEraseRecMag", "角柱型磁石の消去", "BEraseRecMag", MainCommand::EraseRecMag},
      {"BEraseSecMag", "扇型磁石の消去", "BEraseSecMag", MainCommand::EraseSecMag},
      {"BEraseCoil", "ｺｲﾙの消去", "BEraseCoil", MainCommand::EraseCoil},
      {"BCreateCalPoint", "角柱磁界計算点の作成", "BCreateCalPoint", MainCommand::RectGridDialog},
      {"BCreateSectorCalPoint", "扇型分布磁界計算点の作成", "BCreateSectorCalPoint",
       MainCommand::SectGridDialog},
      {"", "円柱型分布磁界計算点の作成", "CylCalPoint", std::nullopt},
      {"BStartCaluc", "四角型分布磁界計算の開始", "BStartCaluc", MainCommand::StartRectRun},
      {"BStartCalucSec", "扇型分布磁界計算の開始", "BStartCalucSec", MainCommand::StartSectRun},
      {"", "円柱型分布の磁界計算開始", "CylStartCaluc", std::nullopt},
      {"BPcCalculation", "Pcの計算", "BPcCalculation", MainCommand::PcShapeSelector},
      {"BForceCaluculation", "磁石に働く力の計算", "BForceCaluculation", MainCommand::ForceDialog},
      {"BCheckData", "入力データの確認", "BCheckData", MainCommand::InputDataTables},
      {"BCkeckMagFieldData", "角柱型分布計算結果の表示", "BCkeckMagFieldData",
       MainCommand::RectResultTable},
      {"BCkeckSecMagFieldData", "扇型分布磁界計算結果の確認", "BCkeckSecMagFieldData",
       MainCommand::SectResultTable},
      {"", "円柱型分布磁界計算結果確認", "CylFieldData", std::nullopt},
  };
  return kButtons;
}

const std::vector<ToolbarButton>& Toolbar2Buttons() {
  static const std::vector<ToolbarButton> kButtons{
      {"BReadData", "形状ﾃﾞｰﾀの読み込み", "BReadData", MainCommand::ReadModel},
      {"BWriteData", "形状ﾃﾞｰﾀ、計算結果の書き込み", "BWriteData", MainCommand::SaveModel},
      {"BSaveContour", "磁石ﾃﾞｰﾀ、計算結果のコンター図形式で書き込み", "BSaveContour",
       MainCommand::ExportDistribution},
      {"BWriteMag", "磁石の再描画", "BWriteMag", MainCommand::RedrawElements},
      {"BDeleteWindow", "ウインドウの塗つぶし", "BDeleteWindow", MainCommand::FillGrey},
      {"BInitialize", "初期化", "BInitialize", MainCommand::InitializeByToolbar},
      {"KtParameterInput", "Ktの計算設定", "KtParameterInput", MainCommand::KtParameterDialog},
      {"KtCaluculation", "Ktの計算", "KtCaluculation", MainCommand::KtSweepDialog},
      {"", "Ktの計算結果の表示", "KtResult", std::nullopt},
      {"BWriteMagField", "磁界計算結果の再表示", "BWriteMagField", MainCommand::RedrawFieldVectors},
      {"BColor", "色の選択", "BColor", MainCommand::ChangeColour},
      {"BFitAll", "全体表示", "BFitAll", MainCommand::FitAll},
  };
  return kButtons;
}

}  // namespace

void MainWindow::BuildToolbars() {
  struct Bar {
    const char* name;
    const char* title;
    const std::vector<ToolbarButton>* buttons;
  };
  const std::array<Bar, 2> bars{Bar{"Toolbar1", "要素と計算", &Toolbar1Buttons()},
                                Bar{"Toolbar2", "ファイルと表示", &Toolbar2Buttons()}};
  for (const auto& [name, title, buttons] : bars) {
    QToolBar* bar = addToolBar(QString::fromUtf8(title));
    bar->setObjectName(name);
    // Some commands are reached only from the toolbars: they must not be hidden by a click.
    bar->toggleViewAction()->setVisible(false);
    // Both toolbars share one row where it holds them (ArrangeToolbars).
    bar->setIconSize(QSize(20, 20));
    bar->setMovable(false);
    for (const ToolbarButton& button_entry : *buttons) {
      QAction* action =
          bar->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(button_entry.icon)),
                         QString::fromUtf8(button_entry.tooltip));
      action->setToolTip(QString::fromUtf8(button_entry.tooltip));
      action->setObjectName(button_entry.key);
      if (QWidget* button = bar->widgetForAction(action))
        button->setObjectName(button_entry.key);
      if (button_entry.command)
        Bind(action, *button_entry.command);
    }
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ArrangeToolbars();
}

// A window too narrow for both toolbars on one row puts the second on a row of its own, so that
// no command hides behind a toolbar's overflow arrow.
void MainWindow::ArrangeToolbars() {
  auto* first = findChild<QToolBar*>(QStringLiteral("Toolbar1"));
  auto* second = findChild<QToolBar*>(QStringLiteral("Toolbar2"));
  if (first == nullptr || second == nullptr) {
    return;
  }
  const int spacing = style()->pixelMetric(QStyle::PM_ToolBarSeparatorExtent);
  const bool two_rows = width() < first->sizeHint().width() + second->sizeHint().width() + spacing;
  if (two_rows == toolBarBreak(second)) {
    return;
  }
  if (two_rows) {
    insertToolBarBreak(second);
  } else {
    removeToolBarBreak(second);
  }
}

void MainWindow::RunCommand(MainCommand command) {
  switch (command) {
    case MainCommand::ReadModel:
      ReadModel();
      return;
    case MainCommand::SaveModel:
      SaveModel();
      return;
    case MainCommand::ExportDistribution:
      ExportDistribution();
      return;
    case MainCommand::Exit:
      Exit();
      return;
    case MainCommand::RedrawElements:
      RedrawAll();
      return;
    case MainCommand::RedrawFieldVectors:
      DrawRectFieldVectors();
      return;
    case MainCommand::FillGrey:
      FillAllGrey();
      return;
    case MainCommand::FitAll:
      FitAll();
      return;
    case MainCommand::StartRectRun:
    case MainCommand::StartSectRun:
      StartRun(command == MainCommand::StartRectRun);
      return;
    default:
      emit CommandRequested(command);
      return;
  }
}

std::array<Canvas*, 4> MainWindow::Canvases() const {
  std::array<Canvas*, 4> canvases{};
  for (size_t i = 0; i < 4; ++i) {
    canvases[i] = &views_[i]->GetCanvas();
  }
  return canvases;
}

void MainWindow::ShowTexts(const ViewTexts& texts) {
  for (size_t v = 0; v < 4; ++v) {
    for (int item = 0; item < 6; ++item) {
      strips_[v]->ReadoutItem(item)->setText(Utf8(texts.readouts[v][static_cast<size_t>(item)]));
    }
  }
  for (int i = 0; i < 3; ++i) {
    strips_[0]->AngleReadout(i)->setText(Utf8(texts.angles[static_cast<size_t>(i)]));
  }
  // The strips' columns take the widths of their new texts at once.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  if (zoom_text_->text() != Utf8(texts.zoom)) {
    // The display has applied this zoom already; mirroring it must not apply it again.
    const bool was_mirroring = mirroring_zoom_;
    mirroring_zoom_ = true;
    zoom_text_->setText(Utf8(texts.zoom));
    mirroring_zoom_ = was_mirroring;
  }
}

void MainWindow::RedrawAll() {
  tavrine::RedrawAll(model_, display_);
}

void MainWindow::DrawRectFieldVectors() {
  DrawAllFieldVectors(model_, display_, PointSetKind::kRect);
  vectors_shown_ = PointSetKind::kRect;
}

void MainWindow::FillAllGrey() {
  tavrine::FillAllGrey(display_);
  vectors_shown_.reset();
}

void MainWindow::ShowRunResults(bool rect_set) {
  const PointSetKind set = rect_set ? PointSetKind::kRect : PointSetKind::kSect;
  DrawAllFieldVectors(model_, display_, set);
  vectors_shown_ = set;
  last_run_set_ = set;
  ShowExtremesReadout(model_, display_, set, FindFieldExtremes(model_, set));
  RefreshFieldMap();
}

void MainWindow::OnZoomScroll(int position) {
  ApplyZoom(position / 10.0, -1, {});
  SetZoomFromScroll(model_, display_, position);
}

void MainWindow::OnZoomText(const QString& text) {
  if (mirroring_zoom_)
    return;
  ApplyZoom(NumericValue(text.toStdString()), -1, {});
  SetZoomFromText(model_, display_, text.toStdString());
  SyncZoomControls();
}

void MainWindow::SyncZoomControls() {
  const double zoom = model_.View.ZoomFactor;
  const bool was_mirroring = mirroring_zoom_;
  mirroring_zoom_ = true;
  // The box is left alone while its text already reads as the factor ("1.0", "2.50").
  if (NumericValue(zoom_text_->text().toStdString()) != zoom)
    zoom_text_->setText(Utf8(ShortestDecimal(zoom)));
  display_.texts.zoom = zoom_text_->text().toStdString();
  const QSignalBlocker quiet(zoom_scroll_);
  zoom_scroll_->setValue(static_cast<int>(std::lround(zoom * 10)));
  mirroring_zoom_ = was_mirroring;
}

void MainWindow::OnVectorScaleText(const QString& text) {
  // Read once here; every vector drawing uses the value kept in the model.
  SetVectorScaleFromText(model_, text.toStdString());
  RedrawAll();
  DrawRectFieldVectors();
}

void MainWindow::OnPrimaryDrag(double x, double y) {
  RotateFreeView(model_, display_, x, y);
}

void MainWindow::SetRunJob(RunJob job) {
  run_job_ = std::move(job);
}

void MainWindow::StartRun(bool rect_set) {
  if (!run_job_)
    return;
  ElementModel& model = model_;
  NoticeBoard& notices = notices_;
  RunJob job = run_job_;
  runs_->Start([&model, &notices, job,
                rect_set](Progress& progress) { job(model, progress, notices, rect_set); },
               [this, rect_set] { ShowRunResults(rect_set); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_area_ && event->type() == QEvent::Resize) {
    OnViewAreaResized();
  }
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    const Qt::WindowType type = widget->windowType();
    if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) {
      std::erase_if(shown_windows_, [widget](const QPointer<QWidget>& w) {
        return w.isNull() || w.data() == widget;
      });
      shown_windows_.emplace_back(widget);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::CloseOtherWindows() {
  auto is_other = [this](QWidget* w) {
    return w != nullptr && w != this && w->isVisible() && w->isWindow() &&
           w->windowTitle() != QLatin1String(kMainTitle);
  };
  const std::vector<QPointer<QWidget>> shown = shown_windows_;
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    if (is_other(it->data()))
      it->data()->close();
  }
  // Windows shown before this window existed.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if ((type == Qt::Window || type == Qt::Dialog) && is_other(w))
      w->close();
  }
}

void MainWindow::Exit() {
  CloseOtherWindows();
  close();
}

void MainWindow::CloseWithoutAsking() {
  close_without_asking_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (runs_->Running()) {
    // The run writes into the model until it ends.
    event->ignore();
    return;
  }
  if (close_without_asking_) {
    event->accept();
    return;
  }
  // Spontaneous: from the window's own frame (close box or window menu).
  const QString text = event->spontaneous() ? QStringLiteral("Tavrineを終了しますか ?")
                                            : QStringLiteral("アプリケーションを終了しますか ?");
  if (!confirm_(windowTitle(), text)) {
    event->ignore();
    return;
  }
  CloseOtherWindows();
  event->accept();
}

}  // namespace tavrine

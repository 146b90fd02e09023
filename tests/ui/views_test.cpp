// The main window's views as a user meets them: fitted at any window size, wheel zoom about the
// pointer, pan and 全体表示, readouts beside the drawings, the field map, Japanese Qt texts.
#include <memory>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>

#include "calcpoints/grids.h"
#include "display/field_map.h"
#include "model/resets.h"
#include "model/world_frame.h"
#include "ui/colour_dialog.h"
#include "ui/field_map_window.h"
#include "ui/main_window.h"
#include "ui/table_windows.h"
#include "ui/translations.h"
#include "ui_test_support.h"

using tavrine::MainWindow;
using tavrine::ScreenPoint;
using tavrine::Vec3;
using tavrine::ViewWidget;
using tavrine::ui_testing::Named;

class ViewsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void WorldBoxLiesInsideEveryViewAtEveryWindowSize();
  void WheelZoomKeepsThePointUnderThePointer();
  void PanMovesTheDrawingAndFitAllRestoresIt();
  void ReadoutsSitBesideTheViewsNotOnThem();
  void FieldMapColoursFollowTheValues();
  void SectorMapColoursFollowTheValues();
  void FileDialogButtonsAreJapanese();
  void ToolbarsHaveJapaneseTitlesAndStayShown();
  void EveryToolbarCommandShowsInANarrowWindow();
  void TablesRefitAndInputTablesHaveATabPerKind();
  void ColourDialogShowsThePaletteInForce();

 private:
  // Where a global point is on the screen in a view, through the projection and the viewport.
  QPointF DeviceOf(int view, const Vec3& p) const;
  void Resize(int width, int height);
  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<tavrine::NoticeBoard> board_;
  MainWindow* window_ = nullptr;
};

void ViewsTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  model_ = std::make_unique<tavrine::ElementModel>();
  tavrine::FullReset(*model_);
  tavrine::MakeWorldBox(*model_, 100);
  board_ = std::make_unique<tavrine::NoticeBoard>();
  window_ = new MainWindow(*model_, *board_);
  window_->SetConfirm([](const QString&, const QString&) { return true; });
  window_->resize(1280, 800);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
  window_->RedrawAll();
}

void ViewsTest::cleanup() {
  delete window_;
  window_ = nullptr;
}

QPointF ViewsTest::DeviceOf(int view, const Vec3& p) const {
  const tavrine::ViewProjector projector(model_->View.ViewScale,
                                         tavrine::AnglesOfView(*model_, view), tavrine::kViewWidth,
                                         tavrine::kViewHeight);
  const ScreenPoint at = window_->View(view)->CurrentViewport().ToDevice(projector.Project(p));
  return {at.x, at.y};
}

void ViewsTest::Resize(int width, int height) {
  window_->resize(width, height);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QTRY_COMPARE(window_->size(), QSize(width, height));
}

void ViewsTest::WorldBoxLiesInsideEveryViewAtEveryWindowSize() {
  for (QSize size : {QSize(1024, 700), QSize(1280, 800), QSize(1920, 1080)}) {
    Resize(size.width(), size.height());
    window_->RedrawAll();
    for (int v = 0; v < tavrine::kViewCount; ++v) {
      ViewWidget* view = window_->View(v);
      const QRectF inside(0, 0, view->width(), view->height());
      for (double x : {-50.0, 50.0}) {
        for (double y : {-50.0, 50.0}) {
          for (double z : {-100.0, 0.0}) {
            QVERIFY2(
                inside.contains(DeviceOf(v, {x, y, z})),
                qPrintable(
                    QString("view %1 at %2 x %3").arg(v).arg(size.width()).arg(size.height())));
          }
        }
      }
      // Nothing is cut at the picture's edges: its border is all background.
      const QImage image = view->Image();
      const QColor background(105, 105, 105);
      for (int x = 0; x < image.width(); ++x) {
        QCOMPARE(image.pixelColor(x, 0), background);
        QCOMPARE(image.pixelColor(x, image.height() - 1), background);
      }
    }
  }
}

void ViewsTest::WheelZoomKeepsThePointUnderThePointer() {
  ViewWidget* top = window_->View(tavrine::kTopView);
  const Vec3 corner{50, 50, 0};
  const QPointF pointer = DeviceOf(tavrine::kTopView, corner);
  const QPointF origin_before = DeviceOf(tavrine::kTopView, {0, 0, 0});
  QWheelEvent wheel(pointer, top->mapToGlobal(pointer), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(top, &wheel);
  QCOMPARE(model_->View.ZoomFactor, 1.2);
  QCOMPARE(Named<QLineEdit>(window_, "Text6")->text(), QString("1.2"));
  QCOMPARE(Named<QScrollBar>(window_, "HScroll1")->value(), 12);
  const QPointF after = DeviceOf(tavrine::kTopView, corner);
  QVERIFY(std::abs(after.x() - pointer.x()) < 1e-6 && std::abs(after.y() - pointer.y()) < 1e-6);
  // Everything else grew away from the pointer.
  const QPointF origin_after = DeviceOf(tavrine::kTopView, {0, 0, 0});
  QVERIFY(std::abs((pointer - origin_after).x() - 1.2 * (pointer - origin_before).x()) < 1e-6);
}

namespace {

void Drag(
    QWidget* view, Qt::MouseButton button, Qt::KeyboardModifiers keys, QPointF from, QPointF to) {
  QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), button, button, keys);
  QApplication::sendEvent(view, &press);
  QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, button, keys);
  QApplication::sendEvent(view, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), button, Qt::NoButton,
                      keys);
  QApplication::sendEvent(view, &release);
}

}  // namespace

void ViewsTest::PanMovesTheDrawingAndFitAllRestoresIt() {
  ViewWidget* front = window_->View(tavrine::kFrontView);
  const QPointF centre = DeviceOf(tavrine::kFrontView, {0, 0, 0});
  Drag(front, Qt::MiddleButton, Qt::NoModifier, {100, 100}, {160, 130});
  QCOMPARE(DeviceOf(tavrine::kFrontView, {0, 0, 0}), centre + QPointF(60, 30));
  Drag(front, Qt::LeftButton, Qt::ShiftModifier, {100, 100}, {90, 80});
  QCOMPARE(DeviceOf(tavrine::kFrontView, {0, 0, 0}), centre + QPointF(50, 10));
  QCOMPARE(model_->View.FreeViewAngX, 0.0);  // a pan does not turn the free view
  const QImage panned = front->Image();
  Named<QAction>(window_, "BWriteMag");  // the toolbar is there
  Named<QAction>(window_, "mnuFitAll")->trigger();
  QCOMPARE(DeviceOf(tavrine::kFrontView, {0, 0, 0}), centre);
  QVERIFY(front->Image() != panned);
  QCOMPARE(Named<QAction>(window_, "mnuFitAll")->shortcut(), QKeySequence(Qt::Key_Home));
}

void ViewsTest::ReadoutsSitBesideTheViewsNotOnThem() {
  for (int v = 0; v < tavrine::kViewCount; ++v) {
    for (int item = 0; item < 6; ++item) {
      QLabel* label = window_->Readouts(v)->ReadoutItem(item);
      const QRect label_rect(label->mapTo(window_, QPoint(0, 0)), label->size());
      for (int w = 0; w < tavrine::kViewCount; ++w) {
        ViewWidget* view = window_->View(w);
        const QRect view_rect(view->mapTo(window_, QPoint(0, 0)), view->size());
        QVERIFY(!label_rect.intersects(view_rect));
      }
    }
  }
}

void ViewsTest::FieldMapColoursFollowTheValues() {
  model_->RecMagCount = 2;
  model_->RecMagTable[2] = {20, 10, 5, 0, 0, 0, 0, 0, 0, 12000};
  tavrine::RectGridInput input;
  input.MagN = 2;
  input.DivX = 4;
  input.DivY = 2;
  input.HalfX = input.HalfY = false;
  QCOMPARE(tavrine::GenerateRectGrid(*model_, input, *board_), tavrine::GridOutcome::kGenerated);
  for (int k = 0; k <= model_->RectCalPointSet.LastIndex; ++k) {
    auto& p = model_->RectCalPointSet.Points[static_cast<size_t>(k)];
    p.Hx = 100 * p.LocalX;  // from -1000 Oe at x = -10 mm to +1000 Oe at x = +10 mm
  }
  window_->ShowFieldMap();
  tavrine::FieldMapWindow* map = window_->FieldMap();
  QVERIFY(QTest::qWaitForWindowExposed(map));
  Named<QComboBox>(map, "MapComponent")->setCurrentIndex(1);  // Hx
  const QImage picture = map->Picture();
  const auto grid = tavrine::RectFieldMapGrid(*model_);
  QVERIFY(grid.has_value());
  const auto layout = tavrine::LayoutFieldMap(*grid, picture.width(), picture.height());
  const auto colour_at = [&](double x) {
    const ScreenPoint at = layout.ToPixel(x, 0);
    return picture.pixelColor(static_cast<int>(at.x), static_cast<int>(at.y));
  };
  // The diverging scale: blue at the lowest value, grey at zero, red at the highest; read
  // inside the cells of x = -10, 0, 10 mm, off the magnet's outline at x = ±10 mm.
  QCOMPARE(colour_at(-9), QColor(59, 76, 192));
  QCOMPARE(colour_at(1), QColor(221, 221, 221));
  QCOMPARE(colour_at(9), QColor(180, 4, 38));
  QVERIFY(colour_at(5).red() > colour_at(5).blue() && colour_at(-5).blue() > colour_at(-5).red());
  // Hovering a cell reads out its point.
  const ScreenPoint cell = layout.ToPixel(10, 5);
  const QPointF at(cell.x - 2, cell.y + 2);
  QMouseEvent hover(QEvent::MouseMove, at, map->Area()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(map->Area(), &hover);
  QVERIFY2(Named<QLabel>(map, "MapReadout")->text().contains("Hx=1000"),
           qPrintable(Named<QLabel>(map, "MapReadout")->text()));
}

void ViewsTest::SectorMapColoursFollowTheValues() {
  model_->SecMagCount = 1;
  model_->SecMagTable[1] = {10, 30, 5, M_PI / 2, 0, 0, 0, 0, 0, 0, 12000, 0, 0};
  tavrine::SectGridInput input;
  input.DivR = 4;
  input.DivT = 6;
  input.Ri = 10;
  input.Ro = 30;
  input.StartDeg = -45;
  input.SweepDeg = 90;
  QCOMPARE(tavrine::GenerateSectGrid(*model_, input, *board_), tavrine::GridOutcome::kGenerated);
  for (int k = 0; k <= model_->SectCalPointSet.LastIndex; ++k) {
    auto& p = model_->SectCalPointSet.Points[static_cast<size_t>(k)];
    p.Hz = 10 * p.Theta * 180 / M_PI;  // from -450 Oe at -45° to +450 Oe at +45°
  }
  window_->ShowFieldMap();
  tavrine::FieldMapWindow* map = window_->FieldMap();
  QVERIFY(QTest::qWaitForWindowExposed(map));
  Named<QComboBox>(map, "MapSet")->setCurrentIndex(1);
  Named<QComboBox>(map, "MapComponent")->setCurrentIndex(3);  // Hz
  const QImage picture = map->Picture();
  const auto grid = tavrine::SectorFieldMapGrid(*model_);
  QVERIFY(grid.has_value());
  const auto layout = tavrine::LayoutSectorMap(*grid, picture.width(), picture.height());
  const auto pixel_at = [&](double r, double degrees) {
    const double t = degrees * M_PI / 180;
    return layout.ToPixel(r * std::cos(t), r * std::sin(t));
  };
  const auto colour_at = [&](double degrees) {
    const ScreenPoint at = pixel_at(21, degrees);
    return picture.pixelColor(static_cast<int>(at.x), static_cast<int>(at.y));
  };
  // Cells follow the angle in the magnet's own x–y plane: blue, grey, red across the sweep.
  QCOMPARE(colour_at(-41), QColor(59, 76, 192));
  QCOMPARE(colour_at(3), QColor(221, 221, 221));
  QCOMPARE(colour_at(41), QColor(180, 4, 38));
  QVERIFY(colour_at(20).red() > colour_at(20).blue());
  // Hovering the outermost cell at +45° reads out point (4, 6).
  const ScreenPoint cell = pixel_at(29, 43);
  const QPointF at(cell.x, cell.y);
  QMouseEvent hover(QEvent::MouseMove, at, map->Area()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(map->Area(), &hover);
  const QString readout = Named<QLabel>(map, "MapReadout")->text();
  QVERIFY2(readout.startsWith("点34 ") && readout.contains("Hz=450"), qPrintable(readout));
}

void ViewsTest::FileDialogButtonsAreJapanese() {
  QVERIFY(tavrine::LoadJapaneseTranslations());
  QFileDialog dialog(window_, QStringLiteral("保存"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.show();
  QStringList texts;
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    texts << button->text();
  QVERIFY2(texts.join('|').contains(QStringLiteral("キャンセル")), qPrintable(texts.join('|')));
  QVERIFY2(texts.join('|').contains(QStringLiteral("保存")), qPrintable(texts.join('|')));
  // The list's type and date columns: a folder, and a file with a known time.
  QTemporaryDir home;
  QVERIFY(QDir(home.path()).mkdir("sub"));
  QFile file(home.filePath("a.csv"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 9), QTime(16, 30)),
                           QFileDevice::FileModificationTime));
  file.close();
  dialog.setDirectory(home.path());
  auto* files = dialog.findChild<QFileSystemModel*>();
  QVERIFY(files != nullptr);
  const QModelIndex sub = files->index(home.filePath("sub"));
  QTRY_COMPARE(files->data(sub.siblingAtColumn(2)).toString(), QStringLiteral("フォルダー"));
  const QModelIndex csv = files->index(home.filePath("a.csv"));
  QTRY_COMPARE(files->data(csv.siblingAtColumn(3)).toString(), QStringLiteral("2026/12/09 16:30"));
}

void ViewsTest::ToolbarsHaveJapaneseTitlesAndStayShown() {
  QCOMPARE(Named<QToolBar>(window_, "Toolbar1")->windowTitle(), QStringLiteral("要素と計算"));
  QCOMPARE(Named<QToolBar>(window_, "Toolbar2")->windowTitle(), QStringLiteral("ファイルと表示"));
  std::unique_ptr<QMenu> popup(window_->createPopupMenu());
  if (popup) {
    for (QAction* action : popup->actions())
      QVERIFY(!action->isVisible());
  }
}

void ViewsTest::EveryToolbarCommandShowsInANarrowWindow() {
  const auto bars = window_->findChildren<QToolBar*>();
  QCOMPARE(bars.size(), 2);
  for (QSize size : {QSize(1024, 700), QSize(1920, 1080)}) {
    Resize(size.width(), size.height());
    for (QToolBar* bar : bars) {
      for (QAction* action : bar->actions()) {
        QWidget* button = bar->widgetForAction(action);
        QVERIFY(button != nullptr);
        QTRY_VERIFY2(button->isVisible() && bar->rect().contains(button->geometry()),
                     qPrintable(action->toolTip()));
      }
    }
    // A wide window keeps them on one row, leaving the views more room.
    QCOMPARE(bars[0]->y() == bars[1]->y(), size.width() >= 1920);
  }
}

void ViewsTest::TablesRefitAndInputTablesHaveATabPerKind() {
  auto* results = new tavrine::ResultTableWindow(*model_, true);
  results->Open();
  const int narrow = results->Grid()->columnWidth(4);
  model_->RectCalPointSet.Points[0].Hx = -123456789012.5;  // a wide number after a new run
  results->Refresh();
  QVERIFY(results->Grid()->columnWidth(4) > narrow);
  const QFontMetrics metrics(results->Grid()->font());
  QVERIFY(results->Grid()->columnWidth(4) > metrics.horizontalAdvance(" -123456789012.5"));
  results->close();

  auto* inputs = new tavrine::InputTablesWindow(*model_);
  inputs->Open();
  auto* kinds = Named<QTabWidget>(inputs, "Kinds");
  QCOMPARE(kinds->count(), 7);
  QCOMPARE(kinds->tabText(0), QStringLiteral("角柱磁石 (1)"));
  QVERIFY(inputs->minimumWidth() < inputs->maximumWidth());  // the user may resize it
  inputs->close();
}

void ViewsTest::ColourDialogShowsThePaletteInForce() {
  tavrine::ColourDialog dialog(*model_);
  dialog.show();
  QVERIFY(Named<QRadioButton>(&dialog, "Option10")->isChecked());  // dim grey, the initial one
  QVERIFY(Named<QRadioButton>(&dialog, "Option11")->isChecked());
  QVERIFY(Named<QRadioButton>(&dialog, "Option21")->isChecked());
  Named<QRadioButton>(&dialog, "Option22")->click();
  dialog.hide();
  tavrine::FullReset(*model_);  // 初期化 puts the initial colours back
  dialog.show();
  QVERIFY(Named<QRadioButton>(&dialog, "Option21")->isChecked());
  QVERIFY(!Named<QRadioButton>(&dialog, "Option22")->isChecked());
}

// Qt reads the system locale, which the file dialogs' dates follow, while the application is made.
int main(int argc, char** argv) {
  tavrine::PreferJapaneseSystemLocale();
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  ViewsTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "views_test.moc"

// The grid dialogs and the table windows reached from the main window's commands: names and
// texts, single instances, the division restore, the Enter cycle, "入力" filling the point sets
// with a preview in the views, and tables that show the model as of their last activation.
#include <memory>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "calcpoints/grids.h"
#include "calcpoints/result_tables.h"
#include "model/world_frame.h"
#include "ui/application.h"
#include "ui/field_run_controller.h"
#include "ui_test_support.h"

using tavrine::MainCommand;
using tavrine::NoticeId;
using tavrine::TavrineApplication;
using tavrine::ui_testing::Named;

namespace {

// The one visible top-level window of the name, or null; fails when there are more.
QWidget* TopLevel(const char* name) {
  QWidget* found = nullptr;
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name) && widget->isVisible()) {
      found = widget;
      ++count;
    }
  }
  return count == 1 ? found : nullptr;
}

int PixelsOf(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      n += image.pixelColor(x, y) == colour ? 1 : 0;
    }
  }
  return n;
}

QString Cell(QTableView* grid, int row, int column) {
  return grid->model()->index(row, column).data().toString();
}

QString Heading(QTableView* grid, int column) {
  return grid->model()->headerData(column, Qt::Horizontal).toString();
}

}  // namespace

class CalcPointWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void RectDialogOpensOnceFilledFromTheStoredSettings();
  void InvalidDivisionPutsBackTheStoredValueSelected();
  void EnterMovesAlongTheCycleWithoutEntering();
  void RectInputFillsThePointsAndPreviewsTheGrid();
  void SectDialogKeepsItsOwnDefaultsAndPreviews();
  void SectMagnetNumberFollowsTheModel();
  void ResultTableShowsTheRowsOfARunAndRefreshesOnActivation();
  void InputTablesListEveryKindAndFollowDeletions();

 private:
  tavrine::ElementModel& Model() { return app_->Model(); }
  void Run(MainCommand command) { app_->Main()->RunCommand(command); }
  std::unique_ptr<TavrineApplication> app_;
};

void CalcPointWindowsTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  // A splash that stays: the world-frame dialog does not come up in these tests.
  app_ = std::make_unique<TavrineApplication>(1000000);
  app_->StartUp();
  app_->Main()->SetConfirm([](const QString&, const QString&) { return true; });
  app_->Splash()->close();
  // Exact colours are counted below: lines without smoothing keep them whole.
  app_->Main()->SetAntialiased(false);
  tavrine::MakeWorldBox(Model(), 100);
  app_->Main()->RedrawAll();
  QVERIFY(QTest::qWaitForWindowExposed(app_->Main()));
}

void CalcPointWindowsTest::cleanup() {
  app_.reset();
}

void CalcPointWindowsTest::RectDialogOpensOnceFilledFromTheStoredSettings() {
  Named<QAction>(app_->Main(), "BCreateCalPoint")->trigger();
  QWidget* dialog = TopLevel("CreateCalPoint");
  QVERIFY(dialog != nullptr);
  QCOMPARE(dialog->windowTitle(), QString("四角型分布磁界計算点の作成"));
  QVERIFY(!dialog->isModal());
  QCOMPARE(Named<QLabel>(dialog, "Label1")->text(), QString("選択する磁石番号"));
  QCOMPARE(Named<QLabel>(dialog, "Label2")->text(), QString("X辺倍率"));
  QCOMPARE(Named<QGroupBox>(dialog, "Frame1")->title(), QString("計算領域"));
  QCOMPARE(Named<QGroupBox>(dialog, "Frame2")->title(), QString("選択面"));
  QCOMPARE(Named<QCheckBox>(dialog, "CheckXY2")->text(), QString("1/2 領域"));
  QCheckBox* plane = Named<QCheckBox>(dialog, "CheckXYp");
  QVERIFY(plane->isChecked() && !plane->isEnabled());
  QCOMPARE(Named<QPushButton>(dialog, "Input")->text(), QString("入力"));
  QCOMPARE(Named<QPushButton>(dialog, "Finish")->text(), QString("閉じる"));
  // Start-up settings: no half regions, distance 0.5.
  QCOMPARE(Named<QLineEdit>(dialog, "MagN")->text(), QString("1"));
  QCOMPARE(Named<QLineEdit>(dialog, "DivX")->text(), QString("40"));
  QCOMPARE(Named<QLineEdit>(dialog, "DisZ")->text(), QString("0.5"));
  QVERIFY(!Named<QCheckBox>(dialog, "CheckXY2")->isChecked());

  Named<QLineEdit>(dialog, "MagN")->setText("2");
  Model().RectCalPointSet.DivY = 12;
  Model().RectCalPointSet.YSymmetric = 1;
  Named<QAction>(app_->Main(), "mnuRectFieldCalPoint")->trigger();
  QCOMPARE(TopLevel("CreateCalPoint"), dialog);  // the same dialog, refilled
  QCOMPARE(Named<QLineEdit>(dialog, "DivY")->text(), QString("12"));
  QVERIFY(Named<QCheckBox>(dialog, "CheckYZ2")->isChecked());
  QCOMPARE(Named<QLineEdit>(dialog, "MagN")->text(), QString("2"));

  QTest::mouseClick(Named<QPushButton>(dialog, "Finish"), Qt::LeftButton);
  QTRY_VERIFY(TopLevel("CreateCalPoint") == nullptr);
  Run(MainCommand::RectGridDialog);
  QVERIFY(TopLevel("CreateCalPoint") != nullptr);
  QCOMPARE(Named<QLineEdit>(TopLevel("CreateCalPoint"), "MagN")->text(), QString("1"));
}

void CalcPointWindowsTest::InvalidDivisionPutsBackTheStoredValueSelected() {
  Run(MainCommand::RectGridDialog);
  QWidget* dialog = TopLevel("CreateCalPoint");
  QLineEdit* div_x = Named<QLineEdit>(dialog, "DivX");
  div_x->setText("25");
  QCOMPARE(div_x->text(), QString("25"));
  div_x->setText("0");
  QCOMPARE(div_x->text(), QString("40"));  // the stored division
  QCOMPARE(div_x->selectedText(), QString("40"));
  QCOMPARE(app_->Board().RaiseCount(NoticeId::Caution5), 1);
  Named<QLineEdit>(dialog, "XL")->setText("-x");  // not checked
  QCOMPARE(app_->Board().RaiseCount(NoticeId::Caution5), 1);
}

void CalcPointWindowsTest::EnterMovesAlongTheCycleWithoutEntering() {
  Run(MainCommand::RectGridDialog);
  QWidget* dialog = TopLevel("CreateCalPoint");
  dialog->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(dialog));
  QLineEdit* mag = Named<QLineEdit>(dialog, "MagN");
  mag->setFocus();
  const char* order[] = {"XL", "DivX", "YL", "DivY", "DisZ", "MagN"};
  for (const char* name : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QLineEdit* now = Named<QLineEdit>(dialog, name);
    QCOMPARE(QApplication::focusWidget(), now);
    QCOMPARE(now->selectedText(), now->text());
  }
  QCOMPARE(Model().RectCalPointSet.LastIndex, 0);  // Enter generated nothing

  Run(MainCommand::SectGridDialog);
  QWidget* sector = TopLevel("CreateSectorCalPoint");
  sector->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(sector));
  Named<QLineEdit>(sector, "DisZ")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  QCOMPARE(QApplication::focusWidget(), Named<QLineEdit>(sector, "MagN"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), Named<QLineEdit>(sector, "DivR"));
  QCOMPARE(Model().SectCalPointSet.LastIndex, 0);
}

void CalcPointWindowsTest::RectInputFillsThePointsAndPreviewsTheGrid() {
  Run(MainCommand::RectGridDialog);
  QWidget* dialog = TopLevel("CreateCalPoint");
  Named<QLineEdit>(dialog, "DivX")->setText("4");
  Named<QLineEdit>(dialog, "DivY")->setText("2");
  Named<QLineEdit>(dialog, "DisZ")->setText("1");
  Named<QCheckBox>(dialog, "CheckYZ2")->setChecked(true);
  const QImage before = app_->Main()->View(tavrine::kTopView)->Image();
  QCOMPARE(PixelsOf(before, QColor(122, 255, 255)), 0);
  QTest::mouseClick(Named<QPushButton>(dialog, "Input"), Qt::LeftButton);
  const tavrine::RectPointSet& set = Model().RectCalPointSet;
  QCOMPARE(set.LastIndex, 14);
  QCOMPARE(set.DivX, 4);
  QCOMPARE(set.YSymmetric, 1);
  QCOMPARE(set.Points[0].PGroX, -50.0);
  QCOMPARE(set.Points[0].PGroY, 0.0);
  QCOMPARE(set.Points[14].PGroY, 50.0);
  QCOMPARE(set.Points[14].PGroZ, 1.0);
  QVERIFY(dialog->isVisible());  // "入力" leaves the dialog open
  for (int view = 0; view < 4; ++view) {
    const QImage image = app_->Main()->View(view)->Image();
    // The side view sees the grid edge-on: only the last lines drawn show there.
    QVERIFY2(PixelsOf(image, QColor(122, 255, 255)) + PixelsOf(image, QColor(255, 122, 255)) > 0,
             qPrintable(QString("view %1").arg(view)));
  }
  QVERIFY(PixelsOf(app_->Main()->View(tavrine::kTopView)->Image(), QColor(255, 122, 255)) > 100);
}

void CalcPointWindowsTest::SectDialogKeepsItsOwnDefaultsAndPreviews() {
  Model().SectCalPointSet.RDiv = 3;  // stored settings are not shown
  Named<QAction>(app_->Main(), "BCreateSectorCalPoint")->trigger();
  QWidget* dialog = TopLevel("CreateSectorCalPoint");
  QVERIFY(dialog != nullptr);
  QCOMPARE(dialog->windowTitle(), QString("扇型分布磁界計算点の作成"));
  QVERIFY(!dialog->isModal());
  QCOMPARE(Named<QLineEdit>(dialog, "DivR")->text(), QString("10"));
  QCOMPARE(Named<QLineEdit>(dialog, "CalPointRo")->text(), QString("50"));
  QCOMPARE(Named<QLineEdit>(dialog, "TStart")->text(), QString("0.0"));
  QCOMPARE(Named<QLineEdit>(dialog, "TSweep")->text(), QString("360"));
  QCOMPARE(Named<QGroupBox>(dialog, "Frame3")->title(), QString("表面からの距離（mm）"));
  Model().SecMagCount = 1;
  QTest::mouseClick(Named<QPushButton>(dialog, "Input"), Qt::LeftButton);
  QCOMPARE(Model().SectCalPointSet.LastIndex, 406);
  QVERIFY(PixelsOf(app_->Main()->View(tavrine::kTopView)->Image(), QColor(0, 255, 255)) > 100);

  Named<QLineEdit>(dialog, "DivT")->setText("0");
  Named<QAction>(app_->Main(), "mnuSectFieldCalcuPoint")->trigger();
  QCOMPARE(TopLevel("CreateSectorCalPoint"), dialog);
  QCOMPARE(Named<QLineEdit>(dialog, "DivT")->text(), QString("0"));  // texts kept while open
  QTest::mouseClick(Named<QPushButton>(dialog, "Input"), Qt::LeftButton);
  QVERIFY(app_->Board().IsOpen(NoticeId::Caution2));
  QCOMPARE(Model().SectCalPointSet.LastIndex, 406);
}

void CalcPointWindowsTest::SectMagnetNumberFollowsTheModel() {
  Model().SecMagCount = 3;
  Run(MainCommand::SectGridDialog);
  QWidget* dialog = TopLevel("CreateSectorCalPoint");
  QVERIFY(dialog != nullptr);
  auto* number = Named<QLineEdit>(dialog, "MagN");
  auto* divisions = Named<QLineEdit>(dialog, "DivR");
  number->selectAll();
  QTest::keyClicks(number, "3");
  divisions->selectAll();
  QTest::keyClicks(divisions, "4");
  app_->Events().Notify();  // magnet 3 still there: nothing changes
  QCOMPARE(number->text(), QString("3"));
  Named<QAction>(app_->Main(), "BInitialize")->trigger();
  QCOMPARE(number->text(), QString("1"));
  QCOMPARE(divisions->text(), QString("4"));  // the user's own settings stay
  Model().SecMagCount = 1;
  QTest::mouseClick(Named<QPushButton>(dialog, "Input"), Qt::LeftButton);
  QCOMPARE(Model().SectCalPointSet.MagN, 1);
  QCOMPARE(Model().SectCalPointSet.RDiv, 4);
}

void CalcPointWindowsTest::ResultTableShowsTheRowsOfARunAndRefreshesOnActivation() {
  Named<QAction>(app_->Main(), "BCkeckMagFieldData")->trigger();
  QWidget* table = TopLevel("RecMagFieldTable");
  QVERIFY(table != nullptr);
  QCOMPARE(table->windowTitle(), QString("四角型計算点結果の表示"));
  QTableView* grid = Named<QTableView>(table, "Grid1");
  QCOMPARE(grid->model()->rowCount(), 1);  // point 0 after start-up
  QCOMPARE(Cell(grid, 0, 4), QString(" 0"));

  Model().RecMagCount = 2;
  Model().RecMagTable[2] = {.a = 20, .b = 10, .l = 5, .Br = 12000};
  tavrine::RectGridInput input{.MagN = 2, .DivX = 10, .DivY = 10, .HalfX = false, .HalfY = false};
  QCOMPARE(tavrine::GenerateRectGrid(Model(), input, app_->Board()),
           tavrine::GridOutcome::kGenerated);
  Named<QAction>(app_->Main(), "BStartCaluc")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!app_->Main()->Runs().Running(), 20000);

  // Coming back to the table shows the run; the menu command finds the same window.
  app_->Main()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(app_->Main()));
  Run(MainCommand::RectResultTable);
  QCOMPARE(TopLevel("RecMagFieldTable"), table);
  QVERIFY(QTest::qWaitForWindowActive(table));
  const auto rows = tavrine::RectResultRows(Model());
  QCOMPARE(grid->model()->rowCount(), 121);
  QCOMPARE(grid->model()->columnCount(), 7);
  QCOMPARE(Heading(grid, 0), QString("磁界計算点番号"));
  QCOMPARE(Heading(grid, 6), QString("Hz(Oe)"));
  QVERIFY(Model().RectCalPointSet.Points[60].Hz > 1000);  // above the face centre
  for (int i : {0, 60, 120}) {
    for (int c = 0; c < 7; ++c) {
      QCOMPARE(Cell(grid, i, c), QString::fromStdString(rows[static_cast<size_t>(i) + 1][c]));
    }
  }

  Named<QAction>(app_->Main(), "BCkeckSecMagFieldData")->trigger();
  QWidget* sector = TopLevel("SecMagFieldTable");
  QVERIFY(sector != nullptr);
  QCOMPARE(sector->windowTitle(), QString("扇型磁界計算点結果の表示"));
  QTableView* grid2 = Named<QTableView>(sector, "Grid2");
  QCOMPARE(Heading(grid2, 2), QString("Pθ(deg)"));
  QCOMPARE(grid2->model()->rowCount(), 1);
}

void CalcPointWindowsTest::InputTablesListEveryKindAndFollowDeletions() {
  Model().StrCylCoilCount = 2;
  Model().StrCylCoilTable[1] = {.Lx = 10, .R = 1, .CurrentDensity = 1};
  Model().StrCylCoilTable[2] = {.Lx = 20, .R = 2, .AngZ = Model().Pi / 2};
  Named<QAction>(app_->Main(), "BCheckData")->trigger();
  QWidget* window = TopLevel("OutputTable");
  QVERIFY(window != nullptr);
  QCOMPARE(window->windowTitle(), QString("磁石とｺｲﾙﾃﾞｰﾀの表示"));
  QVERIFY(QTest::qWaitForWindowActive(window));
  for (const char* name : {"Grid1", "Grid2", "Grid4", "Grid5", "Grid6", "Grid7"}) {
    QVERIFY(Named<QTableView>(window, name)->model()->columnCount() > 9);
  }
  QTableView* rec = Named<QTableView>(window, "Grid1");
  QCOMPARE(Heading(rec, 0), QString("角柱磁石"));
  QCOMPARE(rec->model()->rowCount(), 1);  // the world box
  QCOMPARE(Cell(rec, 0, 1), QString("100"));
  QTableView* coils = Named<QTableView>(window, "Grid3");
  QCOMPARE(Heading(coils, 3), QString("電流(A)"));
  QCOMPARE(coils->model()->rowCount(), 2);
  QCOMPARE(Cell(coils, 0, 3), QString("3.1416"));
  QCOMPARE(Cell(coils, 1, 9), QString("90"));
  QCOMPARE(Named<QTableView>(window, "Grid7")->model()->rowCount(), 0);

  Model().StrCylCoilCount = 1;  // one deleted
  app_->Main()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(app_->Main()));
  QCOMPARE(coils->model()->rowCount(), 2);  // not refilled while elsewhere
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
  QCOMPARE(coils->model()->rowCount(), 1);
}

QTEST_MAIN(CalcPointWindowsTest)
#include "calc_point_windows_test.moc"

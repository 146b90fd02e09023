// The Kt windows bound to the model and the main window: set-up fields and commands, the
// coil-division walk, a sweep behind the modal progress window, the graphs and the export.
#include <cmath>

#include <QFile>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QValueAxis>

#include "model/resets.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "ui/field_run_controller.h"
#include "ui/kt_window_group.h"
#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui_test_support.h"

using tavrine::ui_testing::Named;

class KtDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void ToolbarOpensTheSetUpOnceFilledFromTheModel();
  void FieldsWriteTheModelAndEnterFollowsTheCycle();
  void AddingElementsMovesNumberAndKind();
  void ConfirmWalksTheDivisionsIntoTheCalculationDialog();
  void SweepDrawsVectorsAndFillsBothGraphs();
  void SaveWritesTheChosenFile();
  void SweepOfOneAngleKeepsAnAxisOfSomeWidth();
  void TotalsOfAnEarlierModelAreDropped();

 private:
  void AddCoilsAndMagnet();
  QLineEdit* SetUpField(const char* name) { return Named<QLineEdit>(group_->SetUp(), name); }
  void Type(QLineEdit* field, const QString& text) { field->setText(text); }
  void Click(QWidget* root, const char* name) { Named<QPushButton>(root, name)->click(); }

  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<tavrine::NoticeBoard> board_;
  tavrine::MainWindow* window_ = nullptr;
  std::unique_ptr<tavrine::KtWindowGroup> group_;
  tavrine::ModelEvents events_;
};

void KtDialogsTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  model_ = std::make_unique<tavrine::ElementModel>();
  tavrine::FullReset(*model_);
  tavrine::MakeWorldBox(*model_, 100);
  board_ = std::make_unique<tavrine::NoticeBoard>();
  window_ = new tavrine::MainWindow(*model_, *board_);
  window_->SetConfirm([](const QString&, const QString&) { return true; });
  group_ = std::make_unique<tavrine::KtWindowGroup>(
      tavrine::WindowContext{*model_, *board_, [this] { return window_; }, &events_});
  connect(window_, &tavrine::MainWindow::CommandRequested, this,
          [this](tavrine::MainCommand command) { group_->Run(command); });
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void KtDialogsTest::cleanup() {
  group_.reset();
  delete window_;
}

void KtDialogsTest::AddCoilsAndMagnet() {
  model_->RecMagCount = 2;
  tavrine::RecMag& magnet = model_->RecMagTable[2];
  magnet.a = 60;
  magnet.b = 60;
  magnet.l = 10;
  magnet.Br = 12000;
  model_->StrRecCoilCount = 2;
  for (int i = 1; i <= 2; ++i) {
    tavrine::StrRecCoil& coil = model_->StrRecCoilTable[static_cast<size_t>(i)];
    coil.Lx = 30;
    coil.W = 4;
    coil.T = 2;
    coil.CurrentDensity = 10;
    coil.Ox = 15.0 * i;
    coil.Oz = 5;
  }
}

void KtDialogsTest::ToolbarOpensTheSetUpOnceFilledFromTheModel() {
  model_->Kt.Orx = 12.5;
  model_->Kt.ThetaRz = tavrine::DegToRad(90);
  Named<QAction>(window_, "KtParameterInput")->trigger();
  tavrine::KtParameterDialog* dialog = group_->SetUp();
  QVERIFY(dialog != nullptr);
  QVERIFY(dialog->isVisible());
  QCOMPARE(dialog->objectName(), QStringLiteral("KtParameterInput"));
  QCOMPARE(dialog->windowTitle(), QStringLiteral("回転座標、回転コイルの入力"));
  QCOMPARE(SetUpField("Text1")->text(), QStringLiteral("12.5"));
  QCOMPARE(SetUpField("Text7")->text(), QStringLiteral("90"));
  QCOMPARE(SetUpField("Text10")->text(), QStringLiteral("5"));
  QCOMPARE(SetUpField("Text9")->text(), QStringLiteral("40"));  // a first sweep of 9 angles
  QCOMPARE(SetUpField("Text3")->text(), QStringLiteral("1"));
  QCOMPARE(SetUpField("Text1")->selectedText(), QStringLiteral("12.5"));
  QVERIFY(Named<QRadioButton>(dialog, "Option1")->isChecked());
  QCOMPARE(Named<QRadioButton>(dialog, "Option4")->text(), QStringLiteral("円柱型曲線コイル"));
  Named<QAction>(window_, "KtParameterInput")->trigger();
  QCOMPARE(group_->SetUp(), dialog);
  QVERIFY(!dialog->isModal());
}

void KtDialogsTest::FieldsWriteTheModelAndEnterFollowsTheCycle() {
  group_->OpenSetUp();
  Type(SetUpField("Text4"), "-7.5");
  Type(SetUpField("Text9"), "30");
  QCOMPARE(model_->Kt.Orz, -7.5);
  QCOMPARE(model_->Kt.EndAngle, tavrine::DegToRad(30));
  Type(SetUpField("Text10"), "0");
  QTest::keyClick(SetUpField("Text10"), Qt::Key_Return);
  QVERIFY(board_->IsOpen(tavrine::NoticeId::Caution7));
  QCOMPARE(model_->Kt.StepAngle, tavrine::DegToRad(5));
  // "0.5" typed key by key passes "0" on its way: no notice, and the step is 0.5°.
  board_->Close(tavrine::NoticeId::Caution7);
  SetUpField("Text10")->selectAll();
  QTest::keyClicks(SetUpField("Text10"), "0.5");
  QTest::keyClick(SetUpField("Text10"), Qt::Key_Return);
  QCOMPARE(board_->RaiseCount(tavrine::NoticeId::Caution7), 1);
  QCOMPARE(model_->Kt.StepAngle, tavrine::DegToRad(0.5));
  group_->SetUp()->activateWindow();
  SetUpField("Text7")->setFocus();
  QTest::keyClick(SetUpField("Text7"), Qt::Key_Return);
  QTRY_VERIFY(SetUpField("Text1")->hasFocus());
  QCOMPARE(SetUpField("Text1")->selectedText(), SetUpField("Text1")->text());
  SetUpField("Text10")->setFocus();
  QTest::keyClick(SetUpField("Text10"), Qt::Key_Enter);
  QTRY_VERIFY(SetUpField("Text8")->hasFocus());
  QVERIFY(group_->SetUp()->isVisible());  // Enter pressed no button
}

void KtDialogsTest::AddingElementsMovesNumberAndKind() {
  AddCoilsAndMagnet();
  group_->OpenSetUp();
  Click(group_->SetUp(), "Command4");
  QCOMPARE(SetUpField("Text3")->text(), QStringLiteral("2"));
  Click(group_->SetUp(), "Command4");
  QCOMPARE(SetUpField("Text3")->text(), QStringLiteral("1"));
  QVERIFY(Named<QRadioButton>(group_->SetUp(), "Option2")->isChecked());
  QCOMPARE(model_->Kt.KtSelectionCount[0], 2);
  QCOMPARE(model_->Kt.KtSelection[0][2], 2);
  // No arc element exists.
  Click(group_->SetUp(), "Command4");
  QVERIFY(board_->IsOpen(tavrine::NoticeId::Caution4));
  QCOMPARE(model_->Kt.KtSelectionCount[1], 0);
}

void KtDialogsTest::ConfirmWalksTheDivisionsIntoTheCalculationDialog() {
  AddCoilsAndMagnet();
  group_->OpenSetUp();
  Click(group_->SetUp(), "Command4");
  QPointer<tavrine::KtParameterDialog> set_up = group_->SetUp();
  Click(set_up, "Command10");
  QTRY_VERIFY(set_up.isNull());  // closed and gone
  tavrine::CoilDevideDialog* walk = group_->Divisions();
  QVERIFY(walk != nullptr && walk->isVisible());
  QCOMPARE(walk->windowTitle(), QStringLiteral("ｺｲﾙ分割数の入力"));
  QCOMPARE(Named<QLineEdit>(walk, "Text1")->text(), QStringLiteral("直線角型ｺｲﾙ"));
  QCOMPARE(Named<QLineEdit>(walk, "Text2")->text(), QStringLiteral("1"));
  QCOMPARE(Named<QLineEdit>(walk, "Text11")->text(), QStringLiteral("8"));
  Named<QLineEdit>(walk, "Text11")->setText("6");
  Click(walk, "Command1");
  QCOMPARE(model_->Kt.DivL[0][1], 6);
  QCOMPARE(Named<QLineEdit>(walk, "Text1")->text(), QStringLiteral("曲線角型ｺｲﾙ"));
  for (int press = 0; press < 3; ++press) {
    QVERIFY(group_->Calculation() == nullptr);
    Click(walk, "Command1");
  }
  QVERIFY(group_->Calculation() != nullptr);
  QVERIFY(group_->Calculation()->isVisible());
  QCOMPARE(group_->Calculation()->windowTitle(), QStringLiteral("Ktの計算"));
  QTRY_VERIFY(group_->Divisions() == nullptr);
}

void KtDialogsTest::SweepDrawsVectorsAndFillsBothGraphs() {
  AddCoilsAndMagnet();
  tavrine::KtState& kt = model_->Kt;
  kt.KtSelectionCount[0] = 1;
  kt.KtSelection[0][1] = 1;
  kt.DivL[0][1] = 4;
  kt.DivW[0][1] = 2;
  kt.DivT[0][1] = 2;
  kt.EndAngle = tavrine::DegToRad(40);
  model_->View.VectorScale = 0.01;
  model_->RectCalPointSet.Points[0].Hz = 5;
  Named<QAction>(window_, "KtCaluculation")->trigger();
  tavrine::KtCaluculationDialog* dialog = group_->Calculation();
  QVERIFY(dialog != nullptr);
  Click(dialog, "Command9");
  QVERIFY(window_->Runs().Running());
  QVERIFY(window_->Runs().Window()->isModal());
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Runs().Running(), 30000);
  QCOMPARE(model_->RectCalPointSet.Points[0].Hz, 0.0);
  QVERIFY(group_->ForceGraph() != nullptr && group_->ForceGraph()->isVisible());
  QVERIFY(group_->TorqueGraph()->isVisible());
  QCOMPARE(group_->ForceGraph()->windowTitle(), QStringLiteral("ForceGraph"));
  QCOMPARE(group_->ForceGraph()->Chart()->title(), QStringLiteral("力の分布"));
  const auto series = group_->ForceGraph()->Chart()->series();
  QCOMPARE(series.size(), 3);
  auto* force_y = qobject_cast<QLineSeries*>(series[1]);
  QCOMPARE(force_y->name(), QStringLiteral("ForceY"));
  QCOMPARE(force_y->count(), 9);
  QCOMPARE(force_y->at(8).x(), 40.0);
  QCOMPARE(force_y->at(8).y(), dialog->Totals().ForceY[9]);  // newtons under "Force(N)"
  QVERIFY(dialog->Totals().ForceY[9] != 0);
  auto* torque_z = qobject_cast<QLineSeries*>(group_->TorqueGraph()->Chart()->series()[2]);
  QCOMPARE(torque_z->at(0).y(), 1000 * dialog->Totals().TorqueZ[1]);
  // The field vectors of the pieces are in the views, and the readouts name the extremes.
  const QImage& top = window_->View(tavrine::kTopView)->Image();
  bool found = false;
  for (int y = 0; y < top.height() && !found; ++y) {
    for (int x = 0; x < top.width() && !found; ++x) {
      found = top.pixelColor(x, y) == QColor(122, 255, 255);
    }
  }
  QVERIFY(found);
  const QString hz = Named<QLabel>(window_, "LabelHzmax2")->text();
  QVERIFY2(hz.startsWith("Hz=") && hz != "Hz=0", qPrintable(hz));
}

void KtDialogsTest::SaveWritesTheChosenFile() {
  QTemporaryDir dir;
  const QString path = dir.filePath("kt.xls");
  model_->Kt.EndAngle = tavrine::DegToRad(40);
  group_->OpenCalculation();
  group_->Calculation()->SetFileChooser([] { return QString(); });
  Click(group_->Calculation(), "Command2");
  QVERIFY(model_->ModelFilePath.empty());
  group_->Calculation()->SetFileChooser([path] { return path; });
  Click(group_->Calculation(), "Command2");
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  QCOMPARE(lines.size(), 6 + 9 + 1);  // the headings, nine steps of 5° and the end
  QCOMPARE(lines[6], QByteArray("1,0,0,0,0,0,0,0\r"));
  QCOMPARE(QString::fromStdString(model_->ModelFilePath), path);
}

void KtDialogsTest::SweepOfOneAngleKeepsAnAxisOfSomeWidth() {
  AddCoilsAndMagnet();
  tavrine::KtState& kt = model_->Kt;
  kt.KtSelectionCount[0] = 1;
  kt.KtSelection[0][1] = 1;
  kt.DivL[0][1] = 2;
  kt.DivW[0][1] = 1;
  kt.DivT[0][1] = 1;
  kt.StartAngle = tavrine::DegToRad(20);
  kt.EndAngle = kt.StartAngle;
  group_->OpenCalculation();
  Click(group_->Calculation(), "Command9");
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Runs().Running(), 30000);
  QVERIFY(group_->ForceGraph() != nullptr);
  auto* series = qobject_cast<QLineSeries*>(group_->ForceGraph()->Chart()->series()[0]);
  QCOMPARE(series->count(), 1);
  QCOMPARE(series->at(0).x(), 20.0);
  for (tavrine::KtGraphWindow* graph : {group_->ForceGraph(), group_->TorqueGraph()}) {
    const auto axes = graph->Chart()->axes(Qt::Horizontal);
    QCOMPARE(axes.size(), 1);
    auto* x_axis = qobject_cast<QValueAxis*>(axes[0]);
    QVERIFY(x_axis != nullptr);
    QVERIFY2(x_axis->min() < 20 && x_axis->max() > 20,
             qPrintable(QStringLiteral("%1 .. %2").arg(x_axis->min()).arg(x_axis->max())));
  }
}

void KtDialogsTest::TotalsOfAnEarlierModelAreDropped() {
  AddCoilsAndMagnet();
  tavrine::KtState& kt = model_->Kt;
  kt.KtSelectionCount[0] = 1;
  kt.KtSelection[0][1] = 1;
  kt.DivL[0][1] = 2;
  kt.DivW[0][1] = 1;
  kt.DivT[0][1] = 1;
  group_->OpenCalculation();
  tavrine::KtCaluculationDialog* dialog = group_->Calculation();
  Click(dialog, "Command9");
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Runs().Running(), 30000);
  auto step_one = [dialog] {
    const tavrine::KtStepTotals& t = dialog->Totals();
    return std::abs(t.ForceX[1]) + std::abs(t.ForceY[1]) + std::abs(t.ForceZ[1]) +
           std::abs(t.TorqueX[1]) + std::abs(t.TorqueY[1]) + std::abs(t.TorqueZ[1]);
  };
  QVERIFY(step_one() > 0);
  // A file read under the open dialog: its totals no longer belong to the model.
  events_.Notify();
  QCOMPARE(step_one(), 0.0);
}

QTEST_MAIN(KtDialogsTest)
#include "kt_dialogs_test.moc"

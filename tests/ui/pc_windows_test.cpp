// The Pc windows bound to their logic: selector, dialogs by control name, the run behind the
// progress window and the two chart windows.
#include "ui/pc_windows.h"

#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "model/resets.h"
#include "model/world_frame.h"
#include "ui/application.h"
#include "ui/field_run_controller.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

using tavrine::PcCalculationDialog;
using tavrine::PcField;
using tavrine::PcShape;
using tavrine::ui_testing::Named;

class PcWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void SelectorOpensThePreparedDialog();
  void FieldsAreCheckedAndRestoredThroughTheWidgets();
  void TwoDigitMagnetNumbersAreTypedDigitByDigit();
  void EnterMovesThroughTheCycleWithoutPressingAButton();
  void GradeClickFillsTheFields();
  void CalculationShowsTheDistributionChart();
  void LossEstimateShowsItsChart();
  void ClosingUnloadsTheDialog();
  void SectorChoiceOpensTheSectorDialog();
  void ToolbarButtonOfTheProgramOpensTheSelector();

 private:
  PcCalculationDialog* OpenRect();
  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<tavrine::NoticeBoard> board_;
  tavrine::MainWindow* window_ = nullptr;
  std::unique_ptr<tavrine::PcWindowGroup> group_;
};

void PcWindowsTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  model_ = std::make_unique<tavrine::ElementModel>();
  tavrine::FullReset(*model_);
  tavrine::MakeWorldBox(*model_, 100);
  model_->RecMagTable[2] =
      tavrine::RecMag{.a = 20, .b = 10, .l = 5, .Br = 12000, .Hcj = 17000, .MaterialIndex = 8};
  model_->RecMagCount = 2;
  model_->SecMagTable[1] = tavrine::SecMag{
      .Ri = 5, .Ro = 10, .T = 3, .OpenAngle = 1.5, .Oz = -60, .Br = 12400, .Hcj = 20000};
  model_->SecMagCount = 1;
  board_ = std::make_unique<tavrine::NoticeBoard>();
  window_ = new tavrine::MainWindow(*model_, *board_);
  window_->SetConfirm([](const QString&, const QString&) { return true; });
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
  group_ = std::make_unique<tavrine::PcWindowGroup>(
      tavrine::WindowContext{*model_, *board_, [this] { return window_; }});
}

void PcWindowsTest::cleanup() {
  group_.reset();
  delete window_;
}

PcCalculationDialog* PcWindowsTest::OpenRect() {
  group_->Run(tavrine::MainCommand::PcShapeSelector);
  QTest::mouseClick(Named<QPushButton>(group_->Selector(), "Command1"), Qt::LeftButton);
  return group_->Dialog(PcShape::kRect);
}

void PcWindowsTest::SelectorOpensThePreparedDialog() {
  QVERIFY(!group_->Run(tavrine::MainCommand::ForceDialog));
  QVERIFY(group_->Run(tavrine::MainCommand::PcShapeSelector));
  auto* selector = group_->Selector();
  QVERIFY(selector->isVisible());
  QCOMPARE(selector->windowTitle(), QString("Pc計算の磁石形状の選択"));
  QCOMPARE(Named<QRadioButton>(selector, "Option2")->text(), QString("円柱・扇型磁石"));
  QTest::mouseClick(Named<QPushButton>(selector, "Command1"), Qt::LeftButton);
  QVERIFY(!selector->isVisible());
  PcCalculationDialog* dialog = group_->Dialog(PcShape::kRect);
  QVERIFY(dialog != nullptr && dialog->isVisible());
  QCOMPARE(dialog->objectName(), QString("PcCalculationRecMag"));
  QCOMPARE(dialog->windowTitle(), QString("Pcの計算(角柱磁石）"));
  QCOMPARE(Named<QLineEdit>(dialog, "Text3")->text(), QString("-5"));
  QCOMPARE(Named<QLineEdit>(dialog, "MagNumber")->text(), QString("2"));
  QCOMPARE(Named<QLineEdit>(dialog, "Text1")->text(), QString("12000"));
  QCOMPARE(Named<QLineEdit>(dialog, "TextHcj20")->text(), QString("17"));
  QCOMPARE(Named<QListWidget>(dialog, "List1")->count(), 29);
  QCOMPARE(Named<QListWidget>(dialog, "List1")->currentRow(), 8);
  QCOMPARE(Named<QLabel>(dialog, "Label_NumDivB")->text(), QString("Y方向分割数"));
  QCOMPARE(Named<QPushButton>(dialog, "BIrrFluxLoss")->text(), QString("熱減磁率の計算"));
  // A second request shows the same dialog.
  group_->OpenDialog(PcShape::kRect);
  QCOMPARE(group_->Dialog(PcShape::kRect), dialog);
}

void PcWindowsTest::FieldsAreCheckedAndRestoredThroughTheWidgets() {
  PcCalculationDialog* dialog = OpenRect();
  auto* inner = Named<QLineEdit>(dialog, "NumDivA");
  inner->setText("60");
  QVERIFY(board_->IsOpen(tavrine::NoticeId::Caution9));
  QCOMPARE(inner->text(), QString("20"));
  auto* temp = Named<QLineEdit>(dialog, "TextTemp");
  temp->setText("x");
  QVERIFY(board_->IsOpen(tavrine::NoticeId::Caution5));
  QCOMPARE(temp->text(), QString("120"));
  QCOMPARE(temp->selectedText(), QString("120"));
  Named<QLineEdit>(dialog, "Text3")->setText("2");
  QCOMPARE(dialog->Form().Analysis().depth, -2.0);
}

void PcWindowsTest::TwoDigitMagnetNumbersAreTypedDigitByDigit() {
  for (int i = 3; i <= 12; ++i)
    model_->RecMagTable[static_cast<size_t>(i)] = tavrine::RecMag{.a = 1, .b = 1, .l = 1.0 * i};
  model_->RecMagCount = 12;
  PcCalculationDialog* dialog = OpenRect();
  auto* number = Named<QLineEdit>(dialog, "MagNumber");
  number->selectAll();
  QTest::keyClicks(number, "12");
  QCOMPARE(number->text(), QString("12"));
  QVERIFY(!board_->IsOpen(tavrine::NoticeId::Caution9));
  QCOMPARE(dialog->Form().Analysis().n, 12);
  QCOMPARE(Named<QLineEdit>(dialog, "Text3")->text(), QString("-12"));
  number->selectAll();
  QTest::keyClicks(number, "1");  // left at "1": still refused when the run is asked for
  QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
  QVERIFY(board_->IsOpen(tavrine::NoticeId::Caution9));
}

void PcWindowsTest::EnterMovesThroughTheCycleWithoutPressingAButton() {
  PcCalculationDialog* dialog = OpenRect();
  dialog->activateWindow();
  auto* number = Named<QLineEdit>(dialog, "MagNumber");
  number->setFocus();
  QTest::keyClick(number, Qt::Key_Return);
  auto* layers = Named<QLineEdit>(dialog, "NDivZ");
  QCOMPARE(layers->selectedText(), QString("5"));
  QTest::keyClick(Named<QLineEdit>(dialog, "TextHcj20"), Qt::Key_Enter);
  QCOMPARE(number->selectedText(), QString("2"));
  QVERIFY(!dialog->Runs().Running());
  QVERIFY(group_->DistributionWindow() == nullptr);
}

void PcWindowsTest::GradeClickFillsTheFields() {
  PcCalculationDialog* dialog = OpenRect();
  auto* list = Named<QListWidget>(dialog, "List1");
  QCOMPARE(list->item(6)->text(), QString("N50"));
  list->scrollToItem(list->item(6));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(6)).center());
  QCOMPARE(Named<QLineEdit>(dialog, "Text1")->text(), QString("14200"));
  QCOMPARE(Named<QLineEdit>(dialog, "TextHcj20")->text(), QString("11"));
}

void PcWindowsTest::CalculationShowsTheDistributionChart() {
  PcCalculationDialog* dialog = OpenRect();
  Named<QLineEdit>(dialog, "NumDivA")->setText("6");
  Named<QLineEdit>(dialog, "NumDivB")->setText("4");
  Named<QLineEdit>(dialog, "NDivZ")->setText("2");
  QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!dialog->Runs().Running(), 20000);
  QVERIFY(!dialog->Runs().Window()->isVisible());
  QCOMPARE(dialog->Form().Analysis().cell_count, 48);
  // The last layer's centres are in the rectangular set with their fields.
  QVERIFY(model_->RectCalPointSet.Points[0].Hz < 0);
  tavrine::PcGraphWindow* graph = group_->DistributionWindow();
  QVERIFY(graph != nullptr && graph->isVisible());
  QCOMPARE(graph->objectName(), QString("PcDistribution"));
  QCOMPARE(graph->windowTitle(), QString("Pc Distribution Graph"));
  QCOMPARE(graph->Chart()->title(), QString("Pcの分布関数"));
  QCOMPARE(graph->AxisX()->titleText(), QString("ﾊﾟｰﾐｱﾝｽ"));
  QCOMPARE(graph->AxisY()->titleText(), QString("累積体積比"));
  QCOMPARE(graph->Series()->count(), 101);
  for (int k = 1; k < 101; ++k) {
    QVERIFY(graph->Series()->at(k).y() >= graph->Series()->at(k - 1).y());
  }
  QVERIFY(graph->Series()->at(100).y() <= 1.0);
  QVERIFY(graph->Series()->at(100).y() > 0.5);
  QCOMPARE(graph->Value(3)->text(), QString("1000"));
  QCOMPARE(Named<QLabel>(graph, "Label1")->text(), QString("平均ﾊﾟｰﾐｱﾝｽ"));
  const double mean = graph->Value(0)->text().toDouble();
  QVERIFY(mean > graph->Value(1)->text().toDouble());
  QVERIFY(mean < graph->Value(2)->text().toDouble());
}

void PcWindowsTest::LossEstimateShowsItsChart() {
  PcCalculationDialog* dialog = OpenRect();
  QTest::mouseClick(Named<QPushButton>(dialog, "BIrrFluxLoss"), Qt::LeftButton);
  // No calculation yet: no analysed volume.
  QVERIFY(board_->IsOpen(tavrine::NoticeId::Caution12));
  tavrine::PcGraphWindow* graph = group_->LossWindow();
  QVERIFY(graph != nullptr && graph->isVisible());
  QCOMPARE(graph->windowTitle(), QString("Irreversible Flux loss Graph"));
  QCOMPARE(graph->Chart()->title(), QString("温度と不可逆熱減磁率"));
  QCOMPARE(graph->AxisY()->titleText(), QString("不可逆熱減磁率（%）"));
  QCOMPARE(graph->Series()->count(), 101);
  QCOMPARE(graph->Series()->at(100).x(), 120.0);
  QCOMPARE(graph->Value(0)->text(), QString("0.12"));  // 0.115, half to even
  QCOMPARE(graph->Value(1)->text(), QString("0.64"));
  QCOMPARE(graph->Value(2)->text(), QString("17000"));
  QCOMPARE(graph->Value(3)->text(), QString("0"));
}

void PcWindowsTest::ClosingUnloadsTheDialog() {
  PcCalculationDialog* dialog = OpenRect();
  Named<QLineEdit>(dialog, "NumDivA")->setText("7");
  dialog->close();
  QTRY_VERIFY(group_->Dialog(PcShape::kRect) == nullptr);
  dialog = OpenRect();
  QCOMPARE(Named<QLineEdit>(dialog, "NumDivA")->text(), QString("20"));
  QVERIFY(!dialog->Form().Analysis().pcDone);
}

void PcWindowsTest::SectorChoiceOpensTheSectorDialog() {
  group_->Run(tavrine::MainCommand::PcShapeSelector);
  auto* selector = group_->Selector();
  QTest::mouseClick(Named<QRadioButton>(selector, "Option2"), Qt::LeftButton);
  QTest::mouseClick(Named<QPushButton>(selector, "Command1"), Qt::LeftButton);
  PcCalculationDialog* dialog = group_->Dialog(PcShape::kSect);
  QVERIFY(dialog != nullptr && dialog->isVisible());
  QCOMPARE(dialog->windowTitle(), QString("Pcの計算(扇型磁石）"));
  QCOMPARE(Named<QLineEdit>(dialog, "MagNumber")->text(), QString("1"));
  QCOMPARE(Named<QLineEdit>(dialog, "Text3")->text(), QString("-3"));
  QCOMPARE(Named<QLineEdit>(dialog, "NumDivT")->text(), QString("30"));
  QCOMPARE(Named<QLabel>(dialog, "Label_NumDivR")->text(), QString("径（X)方向分割数"));
  QVERIFY(group_->Dialog(PcShape::kRect) == nullptr);
  Named<QLineEdit>(dialog, "NumDivT")->setText("5");
  Named<QLineEdit>(dialog, "NumDivR")->setText("3");
  Named<QLineEdit>(dialog, "NDivZ")->setText("1");
  QTest::mouseClick(Named<QPushButton>(dialog, "Command1"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!dialog->Runs().Running(), 20000);
  QCOMPARE(dialog->Form().Analysis().cell_count, 15);
  QVERIFY(model_->SectCalPointSet.Points[0].Hz < 0);
  QVERIFY(group_->DistributionWindow()->isVisible());
}

void PcWindowsTest::ToolbarButtonOfTheProgramOpensTheSelector() {
  tavrine::TavrineApplication program(100000);
  program.StartUp();
  program.Main()->SetConfirm([](const QString&, const QString&) { return true; });
  Named<QAction>(program.Main(), "BPcCalculation")->trigger();
  QWidget* selector = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == QStringLiteral("PcMagnetSelect") && window->isVisible())
      selector = window;
  }
  QVERIFY(selector != nullptr);
}

QTEST_MAIN(PcWindowsTest)
#include "pc_windows_test.moc"

// Colour dialog: each group's pick sets its colours and asks for a redraw; the rows without
// an action change nothing.
#include "ui/colour_dialog.h"

#include <memory>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "model/resets.h"

using tavrine::ColourDialog;
using tavrine::Rgb;

class ColourDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(QFont("Noto Sans CJK JP")); }

  void init() {
    model_ = std::make_unique<tavrine::ElementModel>();
    tavrine::FullReset(*model_);
    dialog_ = std::make_unique<ColourDialog>(*model_);
    dialog_->show();
  }

  void HasItsTextsAndPaintsTheBackgroundSwatches() {
    QCOMPARE(dialog_->windowTitle(), QString("色の選択"));
    QStringList groups;
    for (auto* group : dialog_->findChildren<QGroupBox*>()) {
      groups << group->title();
    }
    QCOMPARE(groups, QStringList({"バックカラー", "XYZ軸", "磁石"}));
    QCOMPARE(Option("Option31")->text(), QString("ｵﾌﾟｼｮﾝ1"));
    QCOMPARE(Option("Option10")->text(), QString("ｵﾌﾟｼｮﾝ10"));
    QCOMPARE(Option("Option1")->text(), QString("ｵﾌﾟｼｮﾝ0"));
    auto* swatch = dialog_->findChild<QLabel*>("Picture3");
    QVERIFY(swatch);
    QCOMPARE(swatch->palette().color(QPalette::Window), QColor(255, 218, 185));
    QCOMPARE(dialog_->findChild<QPushButton*>("Command1")->text(), QString("閉じる"));
  }

  void EachGroupSetsItsColours() {
    QSignalSpy changed(dialog_.get(), &ColourDialog::coloursChanged);
    QTest::mouseClick(Option("Option31"), Qt::LeftButton);
    QCOMPARE(model_->View.BackgroundColour, (Rgb{255, 255, 255}));
    QTest::mouseClick(Option("Option13"), Qt::LeftButton);
    QCOMPARE(model_->View.AxisColourX, (Rgb{128, 0, 0}));
    QCOMPARE(model_->View.AxisColourY, (Rgb{0, 139, 139}));
    QCOMPARE(model_->View.AxisColourZ, (Rgb{0, 191, 255}));
    QTest::mouseClick(Option("Option22"), Qt::LeftButton);
    QCOMPARE(model_->View.MagnetColourN, (Rgb{255, 20, 147}));
    QCOMPARE(model_->View.MagnetColourS, (Rgb{0, 191, 255}));
    QCOMPARE(changed.count(), 3);
    // The groups are separate: a magnet pick leaves the background choice checked.
    QVERIFY(Option("Option31")->isChecked());
  }

  void RowsWithoutActionChangeNothing() {
    QSignalSpy changed(dialog_.get(), &ColourDialog::coloursChanged);
    const tavrine::ViewSettings before = model_->View;
    for (const char* name : {"Option1", "Option25", "Option30"}) {
      QTest::mouseClick(Option(name), Qt::LeftButton);
    }
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model_->View.BackgroundColour, before.BackgroundColour);
    QCOMPARE(model_->View.MagnetColourN, before.MagnetColourN);
    QCOMPARE(model_->View.MagnetColourS, before.MagnetColourS);
  }

  void CloseKeepsTheColours() {
    QTest::mouseClick(Option("Option7"), Qt::LeftButton);
    QTest::mouseClick(dialog_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(model_->View.BackgroundColour, (Rgb{100, 149, 237}));
  }

 private:
  QRadioButton* Option(const char* name) {
    auto* option = dialog_->findChild<QRadioButton*>(name);
    if (!option) {
      qFatal("no option %s", name);
    }
    return option;
  }

  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<ColourDialog> dialog_;
};

QTEST_MAIN(ColourDialogTest)
#include "colour_dialog_test.moc"

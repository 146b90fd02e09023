// The force dialog opened from the main window: its controls by name, the field checks bound to
// the form, and a calculation that runs behind the progress window and fills Label2.
#include "ui/force_dialog.h"

#include <memory>

#include <QGroupBox>
#include <QSignalSpy>

#include "model/world_frame.h"
#include "ui/application.h"
#include "ui/field_run_controller.h"
#include "ui_test_support.h"

using tavrine::ForceCaluculationDialog;
using tavrine::TavrineApplication;
using tavrine::ui_testing::Named;

class ForceDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void OpensOnceFromTheToolbarWithNamedControls();
  void OptionsEnableTheirOwnNumberField();
  void NumberOfNoMagnetShowsTheMessageAndDisablesStart();
  void CalculationFillsTheResultWhileTheEventLoopRuns();
  void NumberFollowsTheModelWhileOpen();
  void OnlyTheCurrentChoiceStaysHighlighted();

 private:
  ForceCaluculationDialog* OpenDialog();
  int WhitePixels() const;
  std::unique_ptr<TavrineApplication> app_;
  QStringList messages_;
};

void ForceDialogTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  app_ = std::make_unique<TavrineApplication>(60000);
  app_->StartUp();
  app_->Main()->SetConfirm([](const QString&, const QString&) { return true; });
  tavrine::ElementModel& model = app_->Model();
  tavrine::MakeWorldBox(model, 100);
  // Two magnets on one axis, the upper one's negative face 5 mm above the lower's positive face.
  model.RecMagCount = 3;
  model.RecMagTable[2] = {.a = 10, .b = 8, .l = 4, .Br = 12000};
  model.RecMagTable[3] = {.a = 10, .b = 8, .l = 4, .Oz = 9, .Br = 11000};
  app_->Main()->RedrawAll();
  messages_.clear();
}

void ForceDialogTest::cleanup() {
  app_.reset();
}

ForceCaluculationDialog* ForceDialogTest::OpenDialog() {
  Named<QAction>(app_->Main(), "BForceCaluculation")->trigger();
  ForceCaluculationDialog* found = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QStringLiteral("ForceCaluculation"))
      found = qobject_cast<ForceCaluculationDialog*>(widget);
  }
  if (found)
    found->SetMessageBox(
        [this](const QString& title, const QString& text) { messages_ << title + "|" + text; });
  return found;
}

int ForceDialogTest::WhitePixels() const {
  int count = 0;
  for (int view = 0; view < 4; ++view) {
    const QImage& image = app_->Main()->View(view)->Image();
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        count += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
      }
    }
  }
  return count;
}

void ForceDialogTest::OpensOnceFromTheToolbarWithNamedControls() {
  ForceCaluculationDialog* dialog = OpenDialog();
  QVERIFY(dialog != nullptr);
  QVERIFY(dialog->isVisible());
  QVERIFY(!dialog->isModal());
  QCOMPARE(dialog->windowTitle(), QStringLiteral("力の計算"));
  QCOMPARE(Named<QGroupBox>(dialog, "Frame1")->title(), QStringLiteral("磁石の選択"));
  QCOMPARE(Named<QRadioButton>(dialog, "Option1")->text(), QStringLiteral("角柱磁石"));
  QCOMPARE(Named<QRadioButton>(dialog, "Option2")->text(), QStringLiteral("扇形磁石"));
  QCOMPARE(Named<QRadioButton>(dialog, "Option3")->text(), QStringLiteral("弓形磁石"));
  QCOMPARE(Named<QRadioButton>(dialog, "Option4")->text(), QStringLiteral("RH型磁石"));
  QVERIFY(Named<QRadioButton>(dialog, "Option1")->isChecked());
  QCOMPARE(Named<QLabel>(dialog, "Label1")->text(), QStringLiteral("磁石番号"));
  QCOMPARE(Named<QPushButton>(dialog, "Command1")->text(), QStringLiteral("計算開始"));
  QVERIFY(!Named<QPushButton>(dialog, "Command1")->isEnabled());
  QCOMPARE(Named<QLabel>(dialog, "Label2")->text(), QString());
  QVERIFY(Named<QLineEdit>(dialog, "Text1")->isEnabled());
  dialog->hide();
  QCOMPARE(OpenDialog(), dialog);
  QVERIFY(dialog->isVisible());
  // Non-integer text in another number field: notice and an emptied field.
  Named<QRadioButton>(dialog, "Option2")->click();
  Named<QLineEdit>(dialog, "Text2")->setText("x1");
  QCOMPARE(Named<QLineEdit>(dialog, "Text2")->text(), QString());
  QVERIFY(app_->Board().IsOpen(tavrine::NoticeId::Caution5));
}

void ForceDialogTest::OptionsEnableTheirOwnNumberField() {
  ForceCaluculationDialog* dialog = OpenDialog();
  QVERIFY(dialog != nullptr);
  for (int option : {2, 3, 4, 1}) {
    Named<QRadioButton>(dialog, qPrintable(QStringLiteral("Option%1").arg(option)))->click();
    for (int field = 1; field <= 4; ++field) {
      QCOMPARE(
          Named<QLineEdit>(dialog, qPrintable(QStringLiteral("Text%1").arg(field)))->isEnabled(),
          field == option);
    }
  }
}

void ForceDialogTest::NumberOfNoMagnetShowsTheMessageAndDisablesStart() {
  ForceCaluculationDialog* dialog = OpenDialog();
  QVERIFY(dialog != nullptr);
  auto* number = Named<QLineEdit>(dialog, "Text1");
  auto* start = Named<QPushButton>(dialog, "Command1");
  QCOMPARE(WhitePixels(), 0);
  number->setText("2");
  QVERIFY(start->isEnabled());
  QVERIFY(WhitePixels() > 0);  // magnet 2 highlighted in the views
  number->setText("0");
  QCOMPARE(messages_, QStringList{"角柱磁石選択|入力された番号の角柱磁石はありません"});
  QCOMPARE(number->text(), QString());
  QVERIFY(!start->isEnabled());
  QCOMPARE(WhitePixels(), 0);  // drawn in normal colours again
  number->setText("4");
  QCOMPARE(messages_.size(), 2);
  QVERIFY(!start->isEnabled());
}

void ForceDialogTest::CalculationFillsTheResultWhileTheEventLoopRuns() {
  ForceCaluculationDialog* dialog = OpenDialog();
  QVERIFY(dialog != nullptr);
  QSignalSpy computed(dialog, &ForceCaluculationDialog::computed);
  Named<QLineEdit>(dialog, "Text1")->setText("3");
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
  ticker.start(1);
  Named<QPushButton>(dialog, "Command1")->click();
  QTRY_COMPARE_WITH_TIMEOUT(computed.count(), 1, 20000);
  QVERIFY(ticks > 0);
  QVERIFY(!app_->Main()->Runs().Window()->isVisible());
  QCOMPARE(app_->Main()->Runs().Window()->objectName(), QStringLiteral("ProgressMagField"));
  const tavrine::ForceResult& result = dialog->Study().Result();
  QVERIFY(result.total.z < 0);  // the upper magnet is pulled down
  const QString shown = Named<QLabel>(dialog, "Label2")->text();
  QString expected = QString::fromStdString(tavrine::ForceResultText(result.total, result.torque));
  expected.replace("\r\n", "\n");
  QCOMPARE(shown, expected);
  QVERIFY(shown.contains("Fz=-"));
  QVERIFY(shown.contains("[N・m]"));
}

void ForceDialogTest::NumberFollowsTheModelWhileOpen() {
  ForceCaluculationDialog* dialog = OpenDialog();
  QVERIFY(dialog != nullptr);
  auto* number = Named<QLineEdit>(dialog, "Text1");
  auto* start = Named<QPushButton>(dialog, "Command1");
  number->setText("3");
  // An edit elsewhere that keeps magnet 3 keeps the number.
  app_->Events().Notify();
  QCOMPARE(number->text(), QStringLiteral("3"));
  QVERIFY(start->isEnabled());
  // 初期化 leaves no rectangular magnet at all: the number goes, quietly.
  Named<QAction>(app_->Main(), "BInitialize")->trigger();
  QCOMPARE(number->text(), QString());
  QVERIFY(!start->isEnabled());
  QVERIFY(messages_.isEmpty());
}

void ForceDialogTest::OnlyTheCurrentChoiceStaysHighlighted() {
  ForceCaluculationDialog* dialog = OpenDialog();
  QVERIFY(dialog != nullptr);
  Named<QLineEdit>(dialog, "Text1")->setText("2");
  QVERIFY(WhitePixels() > 0);
  // No RH magnet exists: switching to that choice leaves nothing highlighted.
  Named<QRadioButton>(dialog, "Option4")->click();
  QCOMPARE(WhitePixels(), 0);
  Named<QRadioButton>(dialog, "Option1")->click();
  QVERIFY(WhitePixels() > 0);
}

QTEST_MAIN(ForceDialogTest)
#include "force_dialog_test.moc"

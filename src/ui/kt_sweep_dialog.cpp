// Kt calculation dialog and graph windows: the sweep runs through the main window's run
// controller (application-modal progress), its vectors and readouts are drawn as they come.
#include "ui/kt_sweep_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "ui/chart_axes.h"
#include "ui/field_run_controller.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"

namespace tavrine {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const char* text) {
  auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

KtGraphWindow::KtGraphWindow(const char* name, QWidget* parent)
    : QWidget(parent, Qt::Window), chart_(new QChart()), view_(new QChartView(chart_, this)) {
  setObjectName(name);
  setWindowTitle(name);
  setFont(QFont(kUiFontFamily));
  chart_->setTitleFont(QFont(kUiFontFamily, 12));
  view_->setRenderHint(QPainter::Antialiasing);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  resize(640, 440);
}

void KtGraphWindow::SetData(const KtGraphData& data) {
  chart_->removeAllSeries();
  for (QAbstractAxis* axis : chart_->axes()) {
    chart_->removeAxis(axis);
    delete axis;
  }
  chart_->setTitle(Utf8(data.title));
  auto* x_axis = new QValueAxis();
  x_axis->setTitleText(Utf8(data.x_title));
  auto* y_axis = new QValueAxis();
  y_axis->setTitleText(Utf8(data.y_title));
  chart_->addAxis(x_axis, Qt::AlignBottom);
  chart_->addAxis(y_axis, Qt::AlignLeft);
  for (const KtGraphSeries& s : data.series) {
    auto* series = new QLineSeries();
    series->setName(Utf8(s.name));
    for (const auto& [angle, value] : s.points) {
      series->append(angle, value);
    }
    chart_->addSeries(series);
    series->attachAxis(x_axis);
    series->attachAxis(y_axis);
  }
  // Axes that fit every series, with round tick values.
  x_axis->applyNiceNumbers();
  if (!data.series[0].points.empty()) {
    const double first = data.series[0].points.front().first;
    const double last = data.series[0].points.back().first;
    // A sweep of one angle still needs an axis of some width, or its points are not drawn.
    if (first < last)
      x_axis->setRange(first, last);
    else
      x_axis->setRange(first - 1, first + 1);
  }
  double low = 0, high = 0;
  for (const KtGraphSeries& s : data.series) {
    for (const auto& point : s.points) {
      low = std::min(low, point.second);
      high = std::max(high, point.second);
    }
  }
  y_axis->setRange(low, high > low ? high : low + 1);
  y_axis->applyNiceNumbers();
  AnchorTicksAtZero(x_axis);
  AnchorTicksAtZero(y_axis);
}

void KtDisplayQueue::ElementEvaluated(KtElementDisplay display) {
  std::lock_guard lock(mutex_);
  pending_.push_back(std::move(display));
}

std::vector<KtElementDisplay> KtDisplayQueue::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(pending_, {});
}

KtCaluculationDialog::KtCaluculationDialog(ElementModel& model,
                                           Notices& notices,
                                           std::function<MainWindow*()> main_window,
                                           QWidget* parent)
    : QDialog(parent), model_(model), notices_(notices), main_window_(std::move(main_window)) {
  setObjectName("KtCaluculation");
  setWindowTitle("Ktの計算");
  setModal(false);
  // Closing discards the step totals; the next opening starts from zeros.
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(QFont(kUiFontFamily));
  auto* grid = new QGridLayout(this);
  auto* start = new QPushButton("Ktの計算開始", this);
  start->setObjectName("Command9");
  auto* save = new QPushButton("ﾌｧｲﾙに保存", this);
  save->setObjectName("Command2");
  kind_text_ = Field(this, "Text1", "直線角型ｺｲﾙ");
  kind_text_->setReadOnly(true);
  // Shown as in the original layout; these have no action.
  auto* check = new QPushButton("確認", this);
  check->setObjectName("Command1");
  auto* label = new QLabel("コイル番号", this);
  label->setObjectName("Label8");
  grid->addWidget(kind_text_, 0, 0);
  grid->addWidget(label, 0, 1);
  grid->addWidget(Field(this, "Text11", "20"), 0, 2);
  grid->addWidget(check, 0, 3);
  grid->addWidget(Field(this, "Text14", "電流の設定(A)"), 1, 0);
  grid->addWidget(Field(this, "Text17", "1"), 1, 2);
  grid->addWidget(start, 2, 0);
  grid->addWidget(save, 2, 2, 1, 2);
  for (QPushButton* button : {start, save, check}) {
    button->setAutoDefault(false);
  }
  choose_file_ = [this] {
    QFileDialog dialog(this, QStringLiteral("力データ、計算結果データのファイルへの保存"));
    UseProgramFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Exelﾌｧｲﾙ (*.xls)"));
    // A name typed without an extension gets the one the filter names.
    dialog.setDefaultSuffix(QStringLiteral("xls"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
      return QString();
    return dialog.selectedFiles().constFirst();
  };
  drain_timer_.setInterval(33);
  connect(&drain_timer_, &QTimer::timeout, this, &KtCaluculationDialog::DrainDisplays);
  connect(start, &QPushButton::clicked, this, &KtCaluculationDialog::StartSweep);
  connect(save, &QPushButton::clicked, this, &KtCaluculationDialog::Save);
}

void KtCaluculationDialog::Open() {
  show();
  raise();
  activateWindow();
}

void KtCaluculationDialog::FollowModel() {
  // A running sweep owns the totals; nothing edits the model while its progress is modal.
  if (!running_)
    totals_ = KtStepTotals();
}

void KtCaluculationDialog::StartSweep() {
  MainWindow* main = main_window_();
  if (main == nullptr || main->Runs().Running())
    return;
  kind_text_->setText("直線角型ｺｲﾙ");
  running_ = true;
  const bool started = main->Runs().Start(
      [this](Progress& progress) { RunKtSweep(model_, totals_, progress, notices_, &queue_); },
      [this] {
        drain_timer_.stop();
        DrainDisplays();
        running_ = false;
        emit sweepFinished();
      });
  if (started)
    drain_timer_.start();
  else
    running_ = false;
}

void KtCaluculationDialog::DrainDisplays() {
  std::vector<KtElementDisplay> displays = queue_.Take();
  MainWindow* main = main_window_();
  if (main == nullptr || displays.empty())
    return;
  Views& views = main->Display();
  for (const KtElementDisplay& display : displays) {
    DrawPreviewLines(model_, views, display.vectors);
  }
  views.texts.readouts = displays.back().readouts;
  views.NotifyTexts();
}

void KtCaluculationDialog::Save() {
  const QString path = choose_file_();
  if (path.isEmpty())
    return;
  KtExportCommand(model_, totals_, path.toStdString(), notices_);
}

void KtCaluculationDialog::closeEvent(QCloseEvent* event) {
  // The sweep's thread writes into this dialog's totals until it ends.
  if (running_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace tavrine

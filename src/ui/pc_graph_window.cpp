// The Pc chart windows: a line series over two value axes that follow the data.
#include "ui/pc_graph_window.h"

#include <algorithm>

#include <QGridLayout>
#include <QVBoxLayout>

#include "studies/pc_form.h"
#include "ui/chart_axes.h"
#include "ui/ui_fonts.h"

namespace tavrine {

const PcGraphTexts kPcDistributionTexts = {
    "PcDistribution", "Pc Distribution Graph",
    "Pcの分布関数",   "ﾊﾟｰﾐｱﾝｽ",
    "累積体積比",     {"平均ﾊﾟｰﾐｱﾝｽ", "最小ﾊﾟｰﾐｱﾝｽ", "最大ﾊﾟｰﾐｱﾝｽ", "体積（mm3）"}};

const PcGraphTexts kIrrFluxLossTexts = {
    "IrrFluxLossGraph",     "Irreversible Flux loss Graph",
    "温度と不可逆熱減磁率", "温度（℃）",
    "不可逆熱減磁率（%）",  {"Brの温度係数", "Hcjの温度係数", "Hcj(20℃）", "体積（mm3）"}};

namespace {

// A range that shows every value; a single value gets a unit either side.
void FitAxis(QValueAxis* axis, double low, double high) {
  if (!(low < high)) {
    low -= 1;
    high += 1;
  }
  axis->setRange(low, high);
  axis->applyNiceNumbers();
  AnchorTicksAtZero(axis);
}

}  // namespace

PcGraphWindow::PcGraphWindow(const PcGraphTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window),
      chart_(new QChart),
      series_(new QLineSeries),
      axis_x_(new QValueAxis),
      axis_y_(new QValueAxis) {
  setObjectName(texts.object_name);
  setWindowTitle(QString::fromUtf8(texts.title));
  setFont(QFont(kUiFontFamily));
  chart_->setTitle(QString::fromUtf8(texts.chart_title));
  chart_->setTitleFont(QFont(kUiFontFamily, 12));
  chart_->legend()->hide();
  chart_->addSeries(series_);
  axis_x_->setTitleText(QString::fromUtf8(texts.x_title));
  axis_y_->setTitleText(QString::fromUtf8(texts.y_title));
  for (QValueAxis* axis : {axis_x_, axis_y_}) {
    axis->setTitleFont(QFont(kUiFontFamily, 10));
  }
  chart_->addAxis(axis_x_, Qt::AlignBottom);
  chart_->addAxis(axis_y_, Qt::AlignLeft);
  series_->attachAxis(axis_x_);
  series_->attachAxis(axis_y_);
  auto* view = new QChartView(chart_, this);
  view->setObjectName("Chart1");
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(560, 380);

  auto* fields = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* caption = new QLabel(QString::fromUtf8(texts.captions[static_cast<size_t>(i)]), this);
    caption->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    auto* value = new QLineEdit(this);
    value->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    value->setReadOnly(true);
    caption->setBuddy(value);
    values_[static_cast<size_t>(i)] = value;
    fields->addWidget(caption, i / 2, (i % 2) * 2);
    fields->addWidget(value, i / 2, (i % 2) * 2 + 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view, 1);
  layout->addLayout(fields);
}

void PcGraphWindow::ShowCurve(const std::array<PcCurvePoint, kPcCurveRows>& rows,
                              const std::array<double, 4>& values) {
  QList<QPointF> points;
  double x_low = rows[0].x, x_high = rows[0].x, y_low = rows[0].y, y_high = rows[0].y;
  for (const PcCurvePoint& row : rows) {
    points.append(QPointF(row.x, row.y));
    x_low = std::min(x_low, row.x);
    x_high = std::max(x_high, row.x);
    y_low = std::min(y_low, row.y);
    y_high = std::max(y_high, row.y);
  }
  series_->replace(points);
  FitAxis(axis_x_, x_low, x_high);
  FitAxis(axis_y_, std::min(0.0, y_low), std::max(0.0, y_high));
  for (size_t i = 0; i < 4; ++i) {
    values_[i]->setText(QString::fromStdString(PcValueText(values[i])));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace tavrine

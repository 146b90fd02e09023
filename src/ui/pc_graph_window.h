// The modeless x–y chart windows of the Pc studies: the cumulative Pc distribution
// "Pc Distribution Graph" and the loss curve "Irreversible Flux loss Graph", each with four
// captioned value fields under the chart.
#pragma once

#include <array>

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QValueAxis>
#include <QWidget>

#include "studies/pc_analysis.h"

namespace tavrine {

struct PcGraphTexts {
  const char* object_name;
  const char* title;
  const char* chart_title;
  const char* x_title;
  const char* y_title;
  std::array<const char*, 4> captions;
};

extern const PcGraphTexts kPcDistributionTexts;
extern const PcGraphTexts kIrrFluxLossTexts;

class PcGraphWindow : public QWidget {
  Q_OBJECT
 public:
  explicit PcGraphWindow(const PcGraphTexts& texts, QWidget* parent = nullptr);

  // Feeds the 101 rows to the chart, the four values (two decimals) to the fields, and shows
  // the window without blocking.
  void ShowCurve(const std::array<PcCurvePoint, kPcCurveRows>& rows,
                 const std::array<double, 4>& values);

  QChart* Chart() const { return chart_; }
  QLineSeries* Series() const { return series_; }
  QValueAxis* AxisX() const { return axis_x_; }
  QValueAxis* AxisY() const { return axis_y_; }
  QLineEdit* Value(int i) const { return values_[static_cast<size_t>(i)]; }

 private:
  QChart* chart_;
  QLineSeries* series_;
  QValueAxis* axis_x_;
  QValueAxis* axis_y_;
  std::array<QLineEdit*, 4> values_{};
};

}  // namespace tavrine

// The loss-against-temperature curve: per-cell loss ratios summed by volume.
#include "studies/flux_loss.h"

#include <algorithm>
#include <cmath>

namespace tavrine {

double TemperatureAt(const FluxLossInputs& inputs, int row) {
  return (inputs.tmax - 20) / 100 * row + 20;
}

double CellLossRatio(double pc, double t, const FluxLossInputs& inputs) {
  if (pc + 1 == 0) {
    return 0;
  }
  const double br_t = (1 - inputs.alpha / 100 * (t - 20)) * inputs.br;
  const double hcj_t = (1 - inputs.beta / 100 * (t - 20)) * inputs.hcj20;
  const double h = br_t / (pc + 1);
  if (!(h > hcj_t)) {
    return 0;
  }
  if (hcj_t <= 0) {
    return 1;
  }
  return std::min(1.0, (h - hcj_t) / hcj_t);
}

FluxLossCurve EstimateFluxLoss(const FluxLossInputs& inputs,
                               std::span<const double> cell_pc,
                               std::span<const double> cell_volume,
                               Notices& notices) {
  FluxLossCurve curve;
  const size_t count = std::min(cell_pc.size(), cell_volume.size());
  for (size_t k = 0; k < count; ++k) {
    curve.volume += cell_volume[k];
  }
  if (curve.volume == 0) {
    notices.Raise(NoticeId::Caution12);
  }
  for (int j = 0; j < kPcCurveRows; ++j) {
    const double t = TemperatureAt(inputs, j);
    double loss = 0;
    for (size_t k = 0; k < count; ++k) {
      loss += CellLossRatio(cell_pc[k], t, inputs) * cell_volume[k];
    }
    if (curve.volume != 0) {
      loss = loss / curve.volume * 100;
    }
    curve.rows[static_cast<size_t>(j)] = {t, -loss};
  }
  return curve;
}

}  // namespace tavrine

// Irreversible thermal flux loss of a magnet from the Pc of its cells: the share of the
// analysed volume (%) lost at 101 temperatures from 20 °C to Tmax. Br in G, Hcj in Oe.
#pragma once

#include <array>
#include <span>

#include "model/notices.h"
#include "studies/pc_analysis.h"

namespace tavrine {

struct FluxLossInputs {
  double alpha = 0;  // fall of Br, % per °C above 20 °C
  double beta = 0;   // fall of Hcj, % per °C above 20 °C
  double tmax = 0;   // °C
  double hcj20 = 0;  // Oe
  double br = 0;     // G, at 20 °C
};

struct FluxLossCurve {
  std::array<PcCurvePoint, kPcCurveRows> rows{};  // x = temperature, y = −loss (%)
  double volume = 0;
};

double TemperatureAt(const FluxLossInputs& inputs, int row);

// Share (0..1) of one cell's volume lost at temperature t: the working-point field
// h = Br(t) ÷ (Pc + 1) against the coercivity Hcj(t), both falling linearly from 20 °C. No loss
// unless h > Hcj(t); then (h − Hcj(t)) ÷ Hcj(t), at most the whole cell; once the coercivity
// has fallen to zero or below, the whole cell. A cell without a working point (Pc = −1)
// loses nothing.
double CellLossRatio(double pc, double t, const FluxLossInputs& inputs);

// Zero total volume raises Caution12 and leaves the losses undivided.
FluxLossCurve EstimateFluxLoss(const FluxLossInputs& inputs,
                               std::span<const double> cell_pc,
                               std::span<const double> cell_volume,
                               Notices& notices);

}  // namespace tavrine

// The Kt sweep: the selected current elements turned step by step about the Kt frame's z axis,
// cut into pieces, the field of the rectangular, sector and RH magnets at the piece centres (Oe,
// Kt frame), and the force (N) and torque about the Kt origin (N·m) in the turned Kt frame.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "calcpoints/field_runs.h"
#include "display/world_line.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"

namespace tavrine {

// Steps 1..360 of the dialog's totals; a longer sweep widens them up to this many steps.
inline constexpr int kKtStepSlots = 361;
inline constexpr int kKtMaxSteps = 3600;
inline constexpr Rgb kKtVectorColour{122, 255, 255};

// The angles φ = start, start + step, … while φ ≤ end, by repeated addition. A sweep of more than
// kKtMaxSteps angles (or with no finite count) is refused and has no angles.
struct KtAngles {
  std::vector<double> phi;
  int caption_steps = 0;  // ⌊(end − start) ÷ step⌋ + 1, shown in the progress caption
  bool refused = false;
};
KtAngles KtSweepAngles(double start, double end, double step);
KtAngles KtSweepAngles(const KtState& kt);
// round((φ − start) ÷ step) + 1, half to even.
int KtStepNumber(double phi, double start, double step);

// Totals over all selected elements by step number (slot 0 stays 0).
struct KtStepTotals {
  KtStepTotals() { Clear(kKtStepSlots); }
  void Clear(size_t slots);
  size_t Slots() const { return ForceX.size(); }
  std::vector<double> ForceX, ForceY, ForceZ, TorqueX, TorqueY, TorqueZ;
};

// The extreme pieces of one element's field, the last of equal pieces winning.
struct KtFieldExtremes {
  int magnitude = 0, hx_max = 0, hy_max = 0, hz_max = 0, hx_min = 0, hy_min = 0, hz_min = 0;
};
KtFieldExtremes KtMagFieldNormalize(const KtState& kt, int last_piece);

// What the views show once one element of one step is evaluated: its field vectors as global
// lines and the four readout groups by view index.
struct KtElementDisplay {
  std::vector<WorldLine> vectors;
  std::array<std::array<std::string, 6>, 4> readouts;
};
KtElementDisplay KtDisplayOf(const ElementModel& model, int pieces);

// Told on the sweep's thread after each element of each step.
class KtSweepListener {
 public:
  virtual ~KtSweepListener() = default;
  virtual void ElementEvaluated(KtElementDisplay display) = 0;
};

enum class KtSweepOutcome { kDone, kRefused };

// Clears the totals and the results of both calculation-point sets, then sweeps. Entries whose
// division counts were never entered (a product below 1) or exceed the piece capacity are
// skipped. Bit-identical for any number of threads. kRefused (CautionCapacity raised, nothing
// changed) when the sweep has more than kKtMaxSteps angles.
KtSweepOutcome RunKtSweep(ElementModel& model,
                          KtStepTotals& totals,
                          Progress& progress,
                          Notices& notices,
                          KtSweepListener* listener = nullptr,
                          const RunOptions& options = {});

}  // namespace tavrine

// The windows of the Pc studies: the shape selector, the rectangular and sector dialogs and
// the two chart windows, opened by the main window's Pc command.
#pragma once

#include <QPointer>

#include "ui/pc_dialogs.h"
#include "ui/pc_graph_window.h"
#include "ui/window_group.h"

namespace tavrine {

class PcWindowGroup final : public WindowGroup {
 public:
  explicit PcWindowGroup(WindowContext context);
  ~PcWindowGroup() override;

  bool Run(MainCommand command) override;
  // The selector's "OK": loads the shape's dialog if it is not open, prepares and shows it.
  void OpenDialog(PcShape shape);

  PcMagnetSelectDialog* Selector() const { return selector_; }
  PcCalculationDialog* Dialog(PcShape shape) const {
    return shape == PcShape::kRect ? rect_.data() : sect_.data();
  }
  PcGraphWindow* DistributionWindow() const { return distribution_; }
  PcGraphWindow* LossWindow() const { return loss_; }

 private:
  void OpenSelector();
  void ShowDistribution(const PcDistribution& distribution);
  void ShowLoss(const FluxLossInputs& inputs, const FluxLossCurve& curve);

  WindowContext context_;
  QPointer<PcMagnetSelectDialog> selector_;
  QPointer<PcCalculationDialog> rect_;
  QPointer<PcCalculationDialog> sect_;
  QPointer<PcGraphWindow> distribution_;
  QPointer<PcGraphWindow> loss_;
};

}  // namespace tavrine

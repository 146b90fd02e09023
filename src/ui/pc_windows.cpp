// The Pc window group: one selector, one dialog per shape (reloaded after it was closed) and
// the chart windows shared by both dialogs.
#include "ui/pc_windows.h"

#include <initializer_list>

#include "ui/model_events.h"
#include "ui/window_helpers.h"

namespace tavrine {

PcWindowGroup::PcWindowGroup(WindowContext context) : context_(std::move(context)) {}

PcWindowGroup::~PcWindowGroup() {
  for (QWidget* window : std::initializer_list<QWidget*>{
           loss_.data(), distribution_.data(), sect_.data(), rect_.data(), selector_.data()}) {
    delete window;
  }
}

bool PcWindowGroup::Run(MainCommand command) {
  if (command != MainCommand::PcShapeSelector)
    return false;
  OpenSelector();
  return true;
}

void PcWindowGroup::OpenSelector() {
  if (!selector_) {
    selector_ = new PcMagnetSelectDialog();
    QObject::connect(selector_, &PcMagnetSelectDialog::shapeChosen, selector_,
                     [this](PcShape shape) { OpenDialog(shape); });
  }
  ShowAgain(selector_);
}

void PcWindowGroup::OpenDialog(PcShape shape) {
  QPointer<PcCalculationDialog>& dialog = shape == PcShape::kRect ? rect_ : sect_;
  if (!dialog) {
    dialog = new PcCalculationDialog(shape, context_.model, context_.board, context_.main_window);
    // Closing unloads the dialog: the next opening starts from the initial texts and no cells.
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (context_.events != nullptr)
      QObject::connect(context_.events, &ModelEvents::modelChanged, dialog.data(),
                       &PcCalculationDialog::FollowModel);
    dialog->SetGraphs([this](const PcDistribution& d) { ShowDistribution(d); },
                      [this](const FluxLossInputs& inputs, const FluxLossCurve& curve) {
                        ShowLoss(inputs, curve);
                      });
  }
  dialog->PrepareAndShow();
}

void PcWindowGroup::ShowDistribution(const PcDistribution& d) {
  if (!distribution_)
    distribution_ = new PcGraphWindow(kPcDistributionTexts);
  distribution_->ShowCurve(d.rows, {d.mean, d.min, d.max, d.volume});
}

void PcWindowGroup::ShowLoss(const FluxLossInputs& inputs, const FluxLossCurve& curve) {
  if (!loss_)
    loss_ = new PcGraphWindow(kIrrFluxLossTexts);
  loss_->ShowCurve(curve.rows, {inputs.alpha, inputs.beta, inputs.hcj20, curve.volume});
}

}  // namespace tavrine

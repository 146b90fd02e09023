// Kt windows: each created on first use, shown again while it exists; the set-up hands on to
// the coil division, which hands on to the calculation, whose sweeps fill the graphs.
#include "ui/kt_window_group.h"

#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui/window_helpers.h"

namespace tavrine {

KtWindowGroup::KtWindowGroup(WindowContext context) : context_(std::move(context)) {
  for (size_t v = 0; v < null_canvases_.size(); ++v) {
    null_views_.canvas[v] = &null_canvases_[v];
  }
}

KtWindowGroup::~KtWindowGroup() {
  for (QWidget* window :
       std::initializer_list<QWidget*>{set_up_.data(), divisions_.data(), calculation_.data(),
                                       force_graph_.data(), torque_graph_.data()}) {
    delete window;
  }
}

bool KtWindowGroup::Run(MainCommand command) {
  if (command == MainCommand::KtParameterDialog) {
    OpenSetUp();
    return true;
  }
  if (command == MainCommand::KtSweepDialog) {
    OpenCalculation();
    return true;
  }
  return false;
}

Views& KtWindowGroup::CurrentViews() {
  MainWindow* main = context_.main_window();
  return main != nullptr ? main->Display() : null_views_;
}

void KtWindowGroup::OpenSetUp() {
  if (!set_up_) {
    set_up_ = new KtParameterDialog(context_.model, context_.board,
                                    [this]() -> Views& { return CurrentViews(); });
    QObject::connect(set_up_, &KtParameterDialog::confirmed, set_up_, [this] { OpenDivisions(); });
    if (context_.events != nullptr)
      QObject::connect(context_.events, &ModelEvents::modelChanged, set_up_,
                       &KtParameterDialog::FollowModel);
  }
  set_up_->Open();
}

void KtWindowGroup::OpenDivisions() {
  if (!divisions_) {
    divisions_ = new CoilDevideDialog(context_.model, context_.board,
                                      [this]() -> Views& { return CurrentViews(); });
    QObject::connect(divisions_, &CoilDevideDialog::walkFinished, divisions_,
                     [this] { OpenCalculation(); });
  }
  divisions_->Start();
}

void KtWindowGroup::OpenCalculation() {
  if (!calculation_) {
    calculation_ = new KtCaluculationDialog(context_.model, context_.board, context_.main_window);
    QObject::connect(calculation_, &KtCaluculationDialog::sweepFinished, calculation_,
                     [this] { ShowGraphs(); });
    if (context_.events != nullptr)
      QObject::connect(context_.events, &ModelEvents::modelChanged, calculation_,
                       &KtCaluculationDialog::FollowModel);
  }
  calculation_->Open();
}

void KtWindowGroup::ShowGraphs() {
  if (!force_graph_)
    force_graph_ = new KtGraphWindow("ForceGraph");
  if (!torque_graph_)
    torque_graph_ = new KtGraphWindow("TorqueGraph");
  const KtStepTotals& totals = calculation_->Totals();
  force_graph_->SetData(ForceGraphData(context_.model.Kt, totals));
  torque_graph_->SetData(TorqueGraphData(context_.model.Kt, totals));
  ShowAgain(force_graph_);
  ShowAgain(torque_graph_);
}

}  // namespace tavrine

// The Kt study's windows: set-up, coil division, calculation and the two graphs, opened from
// the toolbar keys "KtParameterInput" and "KtCaluculation".
#pragma once

#include <array>

#include <QPointer>

#include "display/canvas.h"
#include "display/views.h"
#include "ui/kt_setup_dialogs.h"
#include "ui/kt_sweep_dialog.h"
#include "ui/window_group.h"

namespace tavrine {

class KtWindowGroup final : public WindowGroup {
 public:
  explicit KtWindowGroup(WindowContext context);
  ~KtWindowGroup() override;

  bool Run(MainCommand command) override;
  void OpenSetUp();
  void OpenDivisions();
  void OpenCalculation();

  KtParameterDialog* SetUp() const { return set_up_; }
  CoilDevideDialog* Divisions() const { return divisions_; }
  KtCaluculationDialog* Calculation() const { return calculation_; }
  KtGraphWindow* ForceGraph() const { return force_graph_; }
  KtGraphWindow* TorqueGraph() const { return torque_graph_; }

 private:
  // Drawing goes to the main window's views, or nowhere while there is none.
  class NullCanvas final : public Canvas {
   public:
    void Fill(Rgb) override {}
    void Line(double, double, double, double, Rgb) override {}
    void Dot(double, double, Rgb) override {}
    void Text(double, double, std::string_view, Rgb) override {}
    double Width() const override { return 1; }
    double Height() const override { return 1; }
  };
  Views& CurrentViews();
  void ShowGraphs();

  WindowContext context_;
  std::array<NullCanvas, 4> null_canvases_;
  Views null_views_;
  QPointer<KtParameterDialog> set_up_;
  QPointer<CoilDevideDialog> divisions_;
  QPointer<KtCaluculationDialog> calculation_;
  QPointer<KtGraphWindow> force_graph_, torque_graph_;
};

}  // namespace tavrine

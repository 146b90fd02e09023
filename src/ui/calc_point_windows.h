// The windows of the calculation points and the element lists: both grid dialogs, both field
// result tables and the input data tables; each exists once and is shown again when open.
#pragma once

#include <QPointer>

#include "ui/grid_dialogs.h"
#include "ui/table_windows.h"
#include "ui/window_group.h"

namespace tavrine {

class CalcPointWindows final : public WindowGroup {
 public:
  explicit CalcPointWindows(WindowContext context) : context_(std::move(context)) {}
  ~CalcPointWindows() override;

  bool Run(MainCommand command) override;

  RectGridDialog* RectGrid() const { return rect_grid_; }
  SectGridDialog* SectGrid() const { return sect_grid_; }
  ResultTableWindow* RectResults() const { return rect_results_; }
  ResultTableWindow* SectResults() const { return sect_results_; }
  InputTablesWindow* InputTables() const { return input_tables_; }

 private:
  WindowContext context_;
  QPointer<RectGridDialog> rect_grid_;
  QPointer<SectGridDialog> sect_grid_;
  QPointer<ResultTableWindow> rect_results_;
  QPointer<ResultTableWindow> sect_results_;
  QPointer<InputTablesWindow> input_tables_;
};

}  // namespace tavrine

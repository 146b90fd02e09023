// Opening the calculation-point and table windows on their main-window commands.
#include "ui/calc_point_windows.h"

namespace tavrine {

namespace {

// The window behind the pointer, made on first use or after it was closed.
template <class Window, class Make>
Window& Existing(QPointer<Window>& window, Make make) {
  // A closed window waits in the event queue for its deletion; it is not shown again.
  if (window && !window->isVisible()) {
    delete window.data();
  }
  if (!window) {
    window = make();
  }
  return *window;
}

}  // namespace

CalcPointWindows::~CalcPointWindows() {
  for (QWidget* window :
       std::initializer_list<QWidget*>{rect_grid_.data(), sect_grid_.data(), rect_results_.data(),
                                       sect_results_.data(), input_tables_.data()}) {
    delete window;
  }
}

bool CalcPointWindows::Run(MainCommand command) {
  ElementModel& model = context_.model;
  switch (command) {
    case MainCommand::RectGridDialog:
      Existing(rect_grid_, [&] { return new RectGridDialog(context_); }).Open();
      return true;
    case MainCommand::SectGridDialog:
      Existing(sect_grid_, [&] { return new SectGridDialog(context_); }).Open();
      return true;
    case MainCommand::RectResultTable:
      Existing(rect_results_, [&] { return new ResultTableWindow(model, true); }).Open();
      return true;
    case MainCommand::SectResultTable:
      Existing(sect_results_, [&] { return new ResultTableWindow(model, false); }).Open();
      return true;
    case MainCommand::InputDataTables:
      Existing(input_tables_, [&] { return new InputTablesWindow(model); }).Open();
      return true;
    default:
      return false;
  }
}

}  // namespace tavrine

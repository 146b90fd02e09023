// Table windows over the core's table texts; the grids are views over a plain text model, so a
// full set of 50001 points fills quickly.
#include "ui/table_windows.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QVBoxLayout>

#include "calcpoints/result_tables.h"
#include "display/input_tables.h"
#include "ui/ui_fonts.h"

namespace tavrine {

void TextRowsModel::SetRows(std::vector<std::string> headings,
                            std::vector<std::vector<std::string>> rows) {
  beginResetModel();
  headings_ = std::move(headings);
  rows_ = std::move(rows);
  endResetModel();
}

int TextRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant TextRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) {
    return {};
  }
  const auto& row = rows_[static_cast<size_t>(index.row())];
  const auto column = static_cast<size_t>(index.column());
  return column < row.size() ? QString::fromStdString(row[column]) : QString();
}

QVariant TextRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(headings_.size())) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QString::fromStdString(headings_[static_cast<size_t>(section)]);
}

TableWindow::TableWindow(ElementModel& model, const char* name, const char* title, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model) {
  setObjectName(name);
  setWindowTitle(title);
  setFont(QFont(kUiFontFamily));
  // Closing discards the window; the next command makes a new one.
  setAttribute(Qt::WA_DeleteOnClose);
  new QVBoxLayout(this);
}

void TableWindow::Open() {
  Refresh();
  show();
  raise();
  activateWindow();
}

bool TableWindow::event(QEvent* event) {
  // Each activation shows the model as it is now; an active window is not refilled.
  if (event->type() == QEvent::WindowActivate) {
    Refresh();
  }
  return QWidget::event(event);
}

void TableWindow::FillGrid(QTableView* grid,
                           std::vector<std::string> headings,
                           std::vector<std::vector<std::string>> rows) {
  Rows(grid)->SetRows(std::move(headings), std::move(rows));
  // Each refill fits the columns to the texts now in them, so no number is cut short.
  grid->resizeColumnsToContents();
}

void TableWindow::FitToScreen(QSize wanted) {
  const QScreen* shown_on = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (shown_on != nullptr) {
    wanted = wanted.boundedTo(shown_on->availableGeometry().size() * 0.9);
  }
  resize(wanted);
}

QTableView* TableWindow::AddGrid(const char* name, QWidget* holder) {
  auto* grid = new QTableView(holder != nullptr ? holder : this);
  grid->setObjectName(name);
  grid->setModel(new TextRowsModel(grid));
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(22);
  grid->horizontalHeader()->setMinimumSectionSize(60);
  if (holder == nullptr)
    layout()->addWidget(grid);
  return grid;
}

TextRowsModel* TableWindow::Rows(QTableView* grid) const {
  return static_cast<TextRowsModel*>(grid->model());
}

ResultTableWindow::ResultTableWindow(ElementModel& model, bool rect_set, QWidget* parent)
    : TableWindow(model,
                  rect_set ? "RecMagFieldTable" : "SecMagFieldTable",
                  rect_set ? "四角型計算点結果の表示" : "扇型磁界計算点結果の表示",
                  parent),
      rect_set_(rect_set) {
  grid_ = AddGrid(rect_set ? "Grid1" : "Grid2");
  FitToScreen(QSize(760, 560));
}

void ResultTableWindow::Refresh() {
  const std::vector<ResultRow> table = rect_set_ ? RectResultRows(model_) : SectResultRows(model_);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(table.size() - 1);
  for (size_t i = 1; i < table.size(); ++i) {
    rows.emplace_back(table[i].begin(), table[i].end());
  }
  FillGrid(grid_, {table[0].begin(), table[0].end()}, std::move(rows));
}

InputTablesWindow::InputTablesWindow(ElementModel& model, QWidget* parent)
    : TableWindow(model, "OutputTable", "磁石とｺｲﾙﾃﾞｰﾀの表示", parent) {
  // One tab per kind, each grid as tall as the window allows.
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("Kinds");
  layout()->addWidget(tabs_);
  for (const char* name : {"Grid1", "Grid2", "Grid3", "Grid4", "Grid5", "Grid6", "Grid7"}) {
    QTableView* grid = AddGrid(name, tabs_);
    tabs_->addTab(grid, QString());
    grids_.push_back(grid);
  }
  FitToScreen(QSize(1080, 600));
}

void InputTablesWindow::Refresh() {
  for (InputTable& table : InputDataTables(model_)) {
    // "Grid1" … "Grid7" name the views in the same numbering.
    const size_t index = static_cast<size_t>(table.grid.back() - '1');
    // The tab shows the kind's title and its count.
    const QString title = QString::fromStdString(table.headings.front());
    tabs_->setTabText(static_cast<int>(index),
                      QStringLiteral("%1 (%2)").arg(title).arg(table.rows.size()));
    FillGrid(grids_.at(index), std::move(table.headings), std::move(table.rows));
  }
}

}  // namespace tavrine

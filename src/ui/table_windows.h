// Read-only table windows: the field result tables "四角型計算点結果の表示" (RecMagFieldTable)
// and "扇型磁界計算点結果の表示" (SecMagFieldTable), and the input data tables
// "磁石とｺｲﾙﾃﾞｰﾀの表示" (OutputTable). Each rebuilds its grids whenever it becomes active.
#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

#include "model/element_model.h"

namespace tavrine {

// Rows of texts under a heading row; the headings are the view's column header, so they stay in
// sight while the rows scroll.
class TextRowsModel : public QAbstractTableModel {
 public:
  explicit TextRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

  void SetRows(std::vector<std::string> headings, std::vector<std::vector<std::string>> rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<std::string> headings_;
  std::vector<std::vector<std::string>> rows_;
};

// A window that refills its grids from the model each time it is activated.
class TableWindow : public QWidget {
  Q_OBJECT

 public:
  TableWindow(ElementModel& model, const char* name, const char* title, QWidget* parent);

  // Fills the grids and shows the window (again).
  void Open();
  virtual void Refresh() = 0;

 protected:
  bool event(QEvent* event) override;
  // holder: the widget the grid goes into; none for the window's own column.
  QTableView* AddGrid(const char* name, QWidget* holder = nullptr);
  TextRowsModel* Rows(QTableView* grid) const;
  void FillGrid(QTableView* grid,
                std::vector<std::string> headings,
                std::vector<std::vector<std::string>> rows);
  // The wanted size, or nine tenths of the screen's free area where that is smaller.
  void FitToScreen(QSize wanted);
  ElementModel& model_;
};

class ResultTableWindow : public TableWindow {
  Q_OBJECT

 public:
  // The rectangular set's window (true) or the sector set's.
  ResultTableWindow(ElementModel& model, bool rect_set, QWidget* parent = nullptr);
  void Refresh() override;
  QTableView* Grid() const { return grid_; }

 private:
  bool rect_set_;
  QTableView* grid_ = nullptr;
};

class InputTablesWindow : public TableWindow {
  Q_OBJECT

 public:
  explicit InputTablesWindow(ElementModel& model, QWidget* parent = nullptr);
  void Refresh() override;

 private:
  std::vector<QTableView*> grids_;  // Grid1 … Grid7
  QTabWidget* tabs_ = nullptr;
};

}  // namespace tavrine

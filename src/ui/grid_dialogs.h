// The modeless grid dialogs "四角型分布磁界計算点の作成" (CreateCalPoint) and
// "扇型分布磁界計算点の作成" (CreateSectorCalPoint), bound to the core's grid forms.
#pragma once

#include <array>
#include <vector>

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "calcpoints/grid_forms.h"
#include "ui/window_group.h"

namespace tavrine {

// Enter in one of the fields moves to the next field of the cycle with its text selected,
// instead of pressing a button.
class EnterCycle : public QObject {
 public:
  explicit EnterCycle(QObject* parent) : QObject(parent) {}
  // Fields in cycle order; the last one leads back to the first.
  void SetFields(std::vector<QLineEdit*> fields);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<QLineEdit*> fields_;
};

class RectGridDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RectGridDialog(WindowContext context, QWidget* parent = nullptr);

  // Fills the divisions, multipliers, distance and half-region boxes from the stored settings
  // and shows the dialog (again); the magnet number keeps its text.
  void Open();
  // The model changed under the open dialog: the stored settings are shown again.
  void FollowModel();

 signals:
  // "入力" laid a new grid and previewed it in the main window.
  void gridEntered();

 private:
  QWidget* BuildRegionGroup();
  QLineEdit* AddField(RectGridField field, const char* name);
  void ShowFormTexts();
  void OnTextChanged(RectGridField field, const QString& text);
  void OnInput();

  WindowContext context_;
  RectGridForm form_;
  // The settings as last shown from the model, to tell a real change from an unrelated edit.
  RectGridForm filled_;
  std::array<QLineEdit*, kRectGridFieldCount> fields_{};
  QCheckBox* half_x_ = nullptr;
  QCheckBox* half_y_ = nullptr;
  bool restoring_ = false;
};

class SectGridDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SectGridDialog(WindowContext context, QWidget* parent = nullptr);

  // Shows the dialog (again) with the texts it has.
  void Open();
  // The model changed under the open dialog: the magnet number is checked again.
  void FollowModel();

 signals:
  void gridEntered();

 private:
  QLineEdit* AddField(SectGridField field, const char* name);
  void OnInput();

  WindowContext context_;
  SectGridForm form_;
  std::array<QLineEdit*, kSectGridFieldCount> fields_{};
};

}  // namespace tavrine

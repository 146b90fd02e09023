// The modeless world-frame dialog "全体座標系の定義": the base length of the global frame, which
// becomes rectangular magnet 1.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "model/element_model.h"
#include "model/notices.h"
#include "model/world_frame.h"

namespace tavrine {

class WorldFrameDialog : public QDialog {
  Q_OBJECT

 public:
  WorldFrameDialog(ElementModel& model, Notices& notices, QWidget* parent = nullptr);

  // Shows the dialog (again) with the field's whole text selected and the focus in it.
  void Open();

 signals:
  // "入力" has written magnet 1 and closed the dialog; the views need redrawing.
  void entered();

 private:
  void OnTextChanged(const QString& text);
  void OnEnter();

  ElementModel& model_;
  Notices& notices_;
  WorldFrameForm form_;
  QLineEdit* field_ = nullptr;
  QPushButton* enter_ = nullptr;
  bool restoring_ = false;
};

}  // namespace tavrine

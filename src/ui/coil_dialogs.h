// The current-element dialogs: one modeless entry/modify dialog per conductor kind and the
// deletion dialog "ｺｲﾙの消去", bound by objectName to the core's coil forms, and their group.
#pragma once

#include <array>
#include <vector>

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "model/coil_forms.h"
#include "ui/window_group.h"

namespace tavrine {

// Redraws and highlights in the current main window's views; does nothing without one.
class MainWindowCoilDisplay final : public CoilDisplay {
 public:
  explicit MainWindowCoilDisplay(WindowContext context) : context_(std::move(context)) {}
  void RedrawAll() override;
  void HighlightElement(CoilKind kind, int i, int segments) override;
  void HighlightOnly(CoilKind kind, int i) override;

 private:
  WindowContext context_;
};

class CoilDialog final : public QDialog {
  Q_OBJECT

 public:
  CoilDialog(CoilKind kind, WindowContext context, CoilDisplay& display, QWidget* parent = nullptr);

  // Opening by the main window: the form is filled again and the dialog shown (again).
  void Open();
  const CoilForm& Form() const { return form_; }
  // The model changed under the open dialog.
  void FollowModel();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildFields();
  QWidget* BuildCommands();
  void OnTextChanged(int field, const QString& text);
  void Sync();

  WindowContext context_;
  CoilDisplay& display_;
  CoilForm form_;
  std::vector<QLineEdit*> edits_;
  QPushButton* enter_ = nullptr;
  QPushButton* modify_ = nullptr;
  bool syncing_ = false;
};

class DeleteCoilDialog final : public QDialog {
  Q_OBJECT

 public:
  DeleteCoilDialog(WindowContext context, CoilDisplay& display, QWidget* parent = nullptr);

  // A closed dialog opens fresh; an open one is only shown again.
  void Open();
  // The model changed under the open dialog: the number is checked again.
  void FollowModel();

 private:
  void Sync();

  WindowContext context_;
  CoilDisplay& display_;
  DeleteCoil form_;
  std::array<QRadioButton*, 4> options_{};
  QLineEdit* number_ = nullptr;
  bool syncing_ = false;
};

// Answers the four coil commands and "BEraseCoil"; each dialog exists once.
class CoilWindows final : public WindowGroup {
 public:
  explicit CoilWindows(WindowContext context);
  ~CoilWindows() override;
  bool Run(MainCommand command) override;

 private:
  void OpenCoil(CoilKind kind);
  void OpenDelete();

  WindowContext context_;
  MainWindowCoilDisplay display_;
  std::array<QPointer<CoilDialog>, 4> dialogs_{};
  QPointer<DeleteCoilDialog> delete_;
};

}  // namespace tavrine

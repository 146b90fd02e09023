// The modeless magnet dialogs: create/modify for the four magnet kinds, delete for rectangular
// and sector magnets, and the window group that opens them from the main window's commands.
#pragma once

#include <array>
#include <memory>

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "model/element_model.h"
#include "model/magnet_forms.h"
#include "model/notices.h"
#include "ui/window_group.h"

namespace tavrine {

class EnterKeyFilter;

// The main window's four views, looked up at each drawing (it may be replaced or absent).
class MainWindowMagnetViews final : public MagnetViews {
 public:
  MainWindowMagnetViews(ElementModel& model, std::function<MainWindow*()> main_window);
  void RedrawAll() override;
  void Highlight(MagnetTable table, int i) override;
  void HighlightOnly(MagnetTable table, int i) override;

 private:
  ElementModel& model_;
  std::function<MainWindow*()> main_window_;
};

class MagnetDialog final : public QDialog {
  Q_OBJECT
 public:
  MagnetDialog(MagnetKind kind,
               ElementModel& model,
               Notices& notices,
               MagnetViews& views,
               QWidget* parent = nullptr);

  // Loads the dialog when it is closed; shows it (again) and brings it to the front.
  void Open();
  const MagnetForm& Form() const { return form_; }
  // The model changed under the open dialog.
  void FollowModel();

 signals:
  // "入力" or "修正" was pressed: the model may have changed.
  void edited();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  QWidget* BuildFieldBox(const std::vector<MagnetFieldLayout>& fields,
                         const std::vector<MagnetField>& which,
                         const QString& title);
  QLineEdit* Field(MagnetField field) const { return fields_[static_cast<size_t>(field)]; }
  void OnTextChanged(MagnetField field, const QString& text);
  void OnEnterKey(QWidget* widget);
  void OnGrade(int row);
  void Commit();
  void CommitField(QObject* widget);
  void Sync();

  MagnetForm form_;
  std::array<QLineEdit*, kMagnetTextFields> fields_{};
  QListWidget* grades_ = nullptr;
  QPushButton* enter_ = nullptr;
  QPushButton* modify_ = nullptr;
  QPushButton* close_ = nullptr;
  EnterKeyFilter* enter_keys_ = nullptr;
  bool syncing_ = false;
};

class MagnetDeleteDialog final : public QDialog {
  Q_OBJECT
 public:
  MagnetDeleteDialog(MagnetTable table,
                     ElementModel& model,
                     Notices& notices,
                     MagnetViews& views,
                     QWidget* parent = nullptr);

  // A closed dialog opens with "-" selected; an open one is only shown again.
  void Open();
  void FollowModel();

 signals:
  void edited();

 private:
  void OnTextChanged(const QString& text);
  void OnEnter();
  void Sync();

  MagnetDeleteForm form_;
  QLineEdit* field_ = nullptr;
  bool syncing_ = false;
};

// Answers the commands that open the magnet dialogs; each dialog exists once.
class MagnetWindows final : public WindowGroup {
 public:
  explicit MagnetWindows(WindowContext context);
  ~MagnetWindows() override;

  bool Run(MainCommand command) override;

 private:
  MagnetDialog& Dialog(MagnetKind kind);
  MagnetDeleteDialog& DeleteDialog(MagnetTable table);
  template <class Window>
  void Follow(Window* dialog);

  WindowContext context_;
  MainWindowMagnetViews views_;
  std::array<QPointer<MagnetDialog>, 4> dialogs_;
  std::array<QPointer<MagnetDeleteDialog>, 2> delete_dialogs_;
};

}  // namespace tavrine

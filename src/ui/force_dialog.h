// The modeless force dialog "力の計算" bound to the core's ForceForm, its computation behind the
// main window's modal progress window, and the window group that opens it.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "studies/force_form.h"
#include "studies/force_study.h"
#include "ui/window_group.h"

namespace tavrine {

class ForceCaluculationDialog final : public QDialog {
  Q_OBJECT
 public:
  // Shows a blocking message with an OK button; tests answer it themselves.
  using MessageBox = std::function<void(const QString& title, const QString& text)>;

  ForceCaluculationDialog(const WindowContext& context, QWidget* parent = nullptr);

  void Open();
  // The model changed under the dialog: numbers of magnets that went away are emptied.
  void FollowModel();
  void SetMessageBox(MessageBox box) { message_box_ = std::move(box); }
  const ForceStudy& Study() const { return *study_; }

 signals:
  // A calculation has ended and Label2 shows its result.
  void computed();

 private:
  void BuildWidgets();
  void OnTextChanged(int field, const QString& text);
  void OnChoice(ForceShape shape);
  void OnStart();
  void Act(ForceForm::Action action);
  void NoSuchMagnet();
  void HighlightChoice();
  void Compute();
  void ShowForm();
  void SetFieldText(int field, const std::string& text);

  WindowContext context_;
  ForceForm form_;
  std::shared_ptr<ForceStudy> study_;
  std::array<QRadioButton*, kForceShapes> options_{};
  std::array<QLineEdit*, kForceShapes> fields_{};
  QPushButton* start_ = nullptr;
  QLabel* result_ = nullptr;
  MessageBox message_box_;
  bool restoring_ = false;
};

class ForceWindowGroup final : public WindowGroup {
 public:
  explicit ForceWindowGroup(WindowContext context) : context_(std::move(context)) {}
  ~ForceWindowGroup() override;
  bool Run(MainCommand command) override;
  ForceCaluculationDialog* Dialog() const { return dialog_; }

 private:
  WindowContext context_;
  QPointer<ForceCaluculationDialog> dialog_;
};

}  // namespace tavrine

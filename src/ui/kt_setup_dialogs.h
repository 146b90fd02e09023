// The Kt set-up dialog "回転座標、回転コイルの入力" (KtParameterInput) and the coil-division
// dialog "ｺｲﾙ分割数の入力" (CoilDevide): widgets bound by name to the core's forms.
#pragma once

#include <array>
#include <functional>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "display/views.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "studies/kt_setup.h"

namespace tavrine {

// The four views that drawing commands paint into, looked up when needed.
using ViewsLookup = std::function<Views&()>;

class KtParameterDialog : public QDialog {
  Q_OBJECT
 public:
  KtParameterDialog(ElementModel& model,
                    Notices& notices,
                    ViewsLookup views,
                    QWidget* parent = nullptr);
  // Fills the fields from the model, shows the dialog and selects the whole of Text1.
  void Open();
  // The model changed under the open dialog (a reset clears the Kt state).
  void FollowModel();

 signals:
  // "決定": the set-up is done and the coil-division walk starts.
  void confirmed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildFrameGroup();
  QWidget* BuildCoilGroup();
  QWidget* BuildAngleGroup();
  QLineEdit* AddField(KtField field, const char* name);
  QPushButton* AddButton(const char* name, const char* caption);
  QLineEdit* Field(KtField field) const { return fields_[static_cast<size_t>(field)]; }
  // The step is judged when its entry is complete, not at every keystroke.
  void CommitStep(KtField field);
  void FillFromModel();
  void FocusWhole(KtField field);
  void Apply(const KtSetupReply& reply);
  void OnConfirm();

  ElementModel& model_;
  Notices& notices_;
  ViewsLookup views_;
  KtSetupForm form_;
  std::array<QLineEdit*, kKtFieldCount> fields_{};
  std::array<QRadioButton*, 4> options_{};
  bool filling_ = false;
};

class CoilDevideDialog : public QDialog {
  Q_OBJECT
 public:
  CoilDevideDialog(ElementModel& model,
                   Notices& notices,
                   ViewsLookup views,
                   QWidget* parent = nullptr);
  // Starts the walk from its first kind and shows the dialog.
  void Start();

 signals:
  // The last entry is stored: the Kt calculation dialog opens.
  void walkFinished();

 private:
  void OnEnter();
  void ShowPosition();

  ElementModel& model_;
  Notices& notices_;
  ViewsLookup views_;
  KtDivisionWalk walk_;
  QLineEdit* kind_ = nullptr;
  QLineEdit* element_ = nullptr;
  std::array<QLineEdit*, 3> divisions_{};
};

}  // namespace tavrine

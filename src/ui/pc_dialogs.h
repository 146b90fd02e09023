// The Pc shape selector "Pc計算の磁石形状の選択" and the two Pc dialogs
// ("Pcの計算(角柱磁石）", "Pcの計算(扇型磁石）"), bound by name to the core's PcForm.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "model/element_model.h"
#include "model/notices.h"
#include "studies/pc_form.h"

namespace tavrine {

class FieldRunController;
class MainWindow;

class PcMagnetSelectDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PcMagnetSelectDialog(QWidget* parent = nullptr);
  QRadioButton* Choice(PcShape shape) const { return shape == PcShape::kRect ? rect_ : sect_; }

 signals:
  // "OK" with a choice set; the selector has closed.
  void shapeChosen(tavrine::PcShape shape);

 private:
  void OnOk();

  QRadioButton* rect_;
  QRadioButton* sect_;
};

class PcCalculationDialog : public QDialog {
  Q_OBJECT
 public:
  using MainWindowLookup = std::function<MainWindow*()>;
  using ShowDistribution = std::function<void(const PcDistribution&)>;
  using ShowLoss = std::function<void(const FluxLossInputs&, const FluxLossCurve&)>;

  // Loading: the form's analysis is initialised from the fields' initial texts.
  PcCalculationDialog(PcShape shape,
                      ElementModel& model,
                      NoticeBoard& notices,
                      MainWindowLookup main_window,
                      QWidget* parent = nullptr);
  ~PcCalculationDialog() override;

  void SetGraphs(ShowDistribution distribution, ShowLoss loss);
  // What the selector's "OK" does once the dialog is loaded; then shows it.
  void PrepareAndShow();
  // The model changed under the open dialog: the magnet shown is read again.
  void FollowModel();

  const PcForm& Form() const { return form_; }
  QLineEdit* Field(PcField field) const { return fields_[static_cast<size_t>(field)]; }
  QListWidget* Grades() const { return grades_; }
  FieldRunController& Runs() { return *runs_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  QLineEdit* AddField(PcField field);
  void OnTextChanged(PcField field, const QString& text);
  void OnGradeClicked(int row);
  void Sync();
  void Calculate();
  void Distribute();
  void EstimateLoss();

  PcShape shape_;
  ElementModel& model_;
  NoticeBoard& notices_;
  MainWindowLookup main_window_;
  PcForm form_;
  std::array<QLineEdit*, kPcFieldCount> fields_{};
  QListWidget* grades_ = nullptr;
  FieldRunController* runs_ = nullptr;
  ShowDistribution show_distribution_;
  ShowLoss show_loss_;
  bool syncing_ = false;
};

}  // namespace tavrine

// Logic of the two Pc dialogs ("Pcの計算(角柱磁石）", "Pcの計算(扇型磁石）"): the field texts
// and their checks, the grade list, the Enter-key cycle and the three commands.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "model/element_model.h"
#include "model/notices.h"
#include "studies/flux_loss.h"
#include "studies/pc_analysis.h"

namespace tavrine {

// The dialog's text fields. kOuterDiv is NumDivB (rectangular) or NumDivR (sector), kInnerDiv
// NumDivA or NumDivT.
enum class PcField {
  kMagNumber,
  kNDivZ,
  kText3,
  kOuterDiv,
  kInnerDiv,
  kText1,
  kTextTemp,
  kTextHcj20,
  kTextBr,
  kTextHcj,
  kTextMr,
};
inline constexpr int kPcFieldCount = 11;

struct PcFieldInfo {
  std::string_view name;  // the control's name
  std::string_view label;
  std::string_view initial;
};

const PcFieldInfo& PcFieldOf(PcShape shape, PcField field);
std::string_view PcDialogName(PcShape shape);
std::string_view PcDialogTitle(PcShape shape);

// A value shown in a graph window: rounded to two decimals, half to even, shortest form.
std::string PcValueText(double value);

class PcForm {
 public:
  explicit PcForm(PcShape shape);

  PcShape Shape() const { return shape_; }
  const std::string& Text(PcField field) const { return texts_[Index(field)]; }
  int SelectedGrade() const { return selected_grade_; }  // −1: none
  const PcAnalysis& Analysis() const { return analysis_; }

  // Loading the dialog: the analysis from the current texts, every cell cleared.
  void Load(const ElementModel& model);
  // What the shape selector's "OK" does after loading.
  void Prepare(const ElementModel& model, Notices& notices);
  // The user changed the field's text.
  void Edit(PcField field, std::string_view text, const ElementModel& model, Notices& notices);
  // The model changed under the open dialog: the magnet shown is read again, or the number goes
  // back to the first magnet when it no longer names one.
  void Refresh(const ElementModel& model, Notices& notices);
  // A click on the grade list at position 0..28.
  void ClickGrade(int position, const ElementModel& model, Notices& notices);
  // The field Enter moves to; none for fields outside the cycle.
  std::optional<PcField> Next(PcField field) const;

  // "パーミアンス分布計算開始": the run to make, or none when the magnet number does not name
  // an analysable magnet (Caution9, and the magnet-number change runs).
  std::optional<PcRunRequest> StartCalculation(const ElementModel& model, Notices& notices);
  void FinishCalculation(const PcRunResult& result) { analysis_.StoreRun(result); }
  // "ﾊﾟｰﾐｱﾝｽ分布関数計算"; before any complete run: PcCaluculationNotice and a reset first.
  PcDistribution Distribution(const ElementModel& model, Notices& notices);
  // "熱減磁率の計算", over the cells of the last complete run (none after loading).
  FluxLossInputs LossInputs(const ElementModel& model) const;
  FluxLossCurve FluxLoss(const ElementModel& model, Notices& notices) const;

  // Requests to the window, each taken once: the magnet to highlight in the main window's
  // views, and the field whose whole text is to be selected and focused.
  std::optional<int> TakeHighlight() { return std::exchange(highlight_, std::nullopt); }
  std::optional<PcField> TakeFocus() { return std::exchange(focus_, std::nullopt); }

 private:
  static size_t Index(PcField field) { return static_cast<size_t>(field); }
  // "1" with ten or more rectangular magnets may still become 10…19.
  bool MayGrowToMagnet(const ElementModel& model) const;
  void SetText(PcField field, std::string text, const ElementModel& model, Notices& notices);
  void Changed(PcField field, const ElementModel& model, Notices& notices);
  // Checks an integer field; true when accepted, otherwise the initial text is put back.
  bool CheckInteger(PcField field,
                    int low,
                    int high,
                    NoticeId range_notice,
                    const ElementModel& model,
                    Notices& notices);
  void CheckDecimal(
      PcField field, double low, bool low_open, double high, const ElementModel&, Notices&);
  void MagnetNumberChange(const ElementModel& model, Notices& notices);
  void DepthChange(const ElementModel& model);
  void SelectGradeOf(int magnet, const ElementModel& model, Notices& notices);
  int MagnetCount(const ElementModel& model) const;
  int LowestMagnet() const { return shape_ == PcShape::kRect ? 2 : 1; }
  struct Magnet {
    double br = 0, hcj = 0;
    int grade = -1;
  };
  Magnet MagnetOf(const ElementModel& model, int magnet) const;
  double Thickness(const ElementModel& model, int magnet) const;
  double Value(PcField field) const;

  PcShape shape_;
  std::array<std::string, kPcFieldCount> texts_;
  int selected_grade_ = -1;
  PcAnalysis analysis_;
  std::optional<int> highlight_;
  std::optional<PcField> focus_;
};

}  // namespace tavrine

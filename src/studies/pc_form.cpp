// The Pc dialogs' field checks, magnet-number and depth changes, grade list and commands.
#include "studies/pc_form.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/material_grades.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

using Fields = std::array<PcFieldInfo, kPcFieldCount>;

const Fields& FieldsOf(PcShape shape) {
  static const Fields rect = {{
      {"MagNumber", "磁石番号", "2"},
      {"NDivZ", "厚さ方向分割数", "5"},
      {"Text3", "厚さ方向解析領域", "-"},
      {"NumDivB", "Y方向分割数", "20"},
      {"NumDivA", "X方向分割数", "20"},
      {"Text1", "20℃のBr（G)", ""},
      {"TextTemp", "最高温度（℃）", "120"},
      {"TextHcj20", "20℃の保磁力Hcj(kOe)", "17"},
      {"TextBr", "Brの温度係数(%/℃)", "0.115"},
      {"TextHcj", "Hcjの温度係数（%/℃）", "0.64"},
      {"TextMr", "ﾘｺｲﾙ透磁率", "1"},
  }};
  static const Fields sect = [] {
    Fields fields = rect;
    fields[static_cast<size_t>(PcField::kMagNumber)].initial = "1";
    fields[static_cast<size_t>(PcField::kOuterDiv)] = {"NumDivR", "径（X)方向分割数", "10"};
    fields[static_cast<size_t>(PcField::kInnerDiv)] = {"NumDivT", "角度（Y)方向分割数", "30"};
    return fields;
  }();
  return shape == PcShape::kRect ? rect : sect;
}

struct DivisionLimits {
  int layers, outer, inner;
};

DivisionLimits LimitsOf(PcShape shape) {
  return shape == PcShape::kRect ? DivisionLimits{20, 50, 50} : DivisionLimits{15, 30, 90};
}

size_t Slot(int magnet) {
  return static_cast<size_t>(std::clamp(magnet, 0, kElementCapacity));
}

}  // namespace

const PcFieldInfo& PcFieldOf(PcShape shape, PcField field) {
  return FieldsOf(shape)[static_cast<size_t>(field)];
}

std::string_view PcDialogName(PcShape shape) {
  return shape == PcShape::kRect ? "PcCalculationRecMag" : "PcCalculationSecMag";
}

std::string_view PcDialogTitle(PcShape shape) {
  return shape == PcShape::kRect ? "Pcの計算(角柱磁石）" : "Pcの計算(扇型磁石）";
}

std::string PcValueText(double value) {
  // nearbyint rounds half to even in the default rounding mode.
  return ShortestDecimal(std::nearbyint(value * 100) / 100 + 0.0);
}

PcForm::PcForm(PcShape shape) : shape_(shape) {
  for (int f = 0; f < kPcFieldCount; ++f) {
    texts_[static_cast<size_t>(f)] = std::string(PcFieldOf(shape, static_cast<PcField>(f)).initial);
  }
}

double PcForm::Value(PcField field) const {
  return NumericValue(Text(field));
}

int PcForm::MagnetCount(const ElementModel& model) const {
  return shape_ == PcShape::kRect ? model.RecMagCount : SecMagLoopCount(model);
}

double PcForm::Thickness(const ElementModel& model, int magnet) const {
  return shape_ == PcShape::kRect ? model.RecMagTable[Slot(magnet)].l
                                  : model.SecMagTable[Slot(magnet)].T;
}

PcForm::Magnet PcForm::MagnetOf(const ElementModel& model, int magnet) const {
  if (shape_ == PcShape::kRect) {
    const RecMag& m = model.RecMagTable[Slot(magnet)];
    return {m.Br, m.Hcj, m.MaterialIndex};
  }
  const SecMag& m = model.SecMagTable[Slot(magnet)];
  return {m.Br, m.Hcj, m.MaterialIndex};
}

void PcForm::Load(const ElementModel& model) {
  analysis_.n = RoundToInt32(Value(PcField::kMagNumber));
  analysis_.divisions = {RoundToInt32(Value(PcField::kInnerDiv)),
                         RoundToInt32(Value(PcField::kOuterDiv)),
                         RoundToInt32(Value(PcField::kNDivZ))};
  // The depth rule of an edit, so that a typed positive or too large depth never reaches a run.
  DepthChange(model);
  analysis_.ClearCells();
}

void PcForm::Prepare(const ElementModel& model, Notices& notices) {
  if (shape_ == PcShape::kSect) {
    focus_ = PcField::kMagNumber;
  }
  const int shown = RoundToInt32(Value(PcField::kMagNumber));
  SetText(PcField::kText3, ShortestDecimal(-Thickness(model, shown)), model, notices);
  SetText(PcField::kMagNumber, std::to_string(LowestMagnet()), model, notices);
  SelectGradeOf(LowestMagnet(), model, notices);
  const Magnet magnet = MagnetOf(model, RoundToInt32(Value(PcField::kMagNumber)));
  SetText(PcField::kText1, ShortestDecimal(magnet.br), model, notices);
  SetText(PcField::kTextHcj20, ShortestDecimal(magnet.hcj / 1000), model, notices);
  highlight_ = analysis_.n;
}

void PcForm::Edit(PcField field,
                  std::string_view text,
                  const ElementModel& model,
                  Notices& notices) {
  texts_[Index(field)] = std::string(text);
  Changed(field, model, notices);
}

void PcForm::SetText(PcField field, std::string text, const ElementModel& model, Notices& notices) {
  // As a text field does, only a real change of the text counts as an edit.
  if (texts_[Index(field)] == text) {
    return;
  }
  texts_[Index(field)] = std::move(text);
  Changed(field, model, notices);
}

void PcForm::Changed(PcField field, const ElementModel& model, Notices& notices) {
  const DivisionLimits limits = LimitsOf(shape_);
  switch (field) {
    case PcField::kMagNumber:
      if (MayGrowToMagnet(model)) {
        return;  // the first digit of a two-digit number: judged when the next one comes
      }
      if (CheckInteger(field, LowestMagnet(), MagnetCount(model), NoticeId::Caution9, model,
                       notices)) {
        analysis_.n = RoundToInt32(Value(field));
      }
      MagnetNumberChange(model, notices);
      return;
    case PcField::kNDivZ:
      if (CheckInteger(field, 1, limits.layers, NoticeId::Caution8, model, notices)) {
        analysis_.divisions.layers = RoundToInt32(Value(field));
      }
      return;
    case PcField::kOuterDiv:
      if (CheckInteger(field, 1, limits.outer, NoticeId::Caution9, model, notices)) {
        analysis_.divisions.outer = RoundToInt32(Value(field));
      }
      return;
    case PcField::kInnerDiv:
      if (CheckInteger(field, 1, limits.inner, NoticeId::Caution9, model, notices)) {
        analysis_.divisions.inner = RoundToInt32(Value(field));
      }
      return;
    case PcField::kText3:
      DepthChange(model);
      return;
    case PcField::kTextTemp:
      CheckDecimal(field, 0, true, 300, model, notices);
      return;
    case PcField::kTextHcj20:
      CheckDecimal(field, 0, false, 50, model, notices);
      return;
    default:
      return;
  }
}

bool PcForm::CheckInteger(PcField field,
                          int low,
                          int high,
                          NoticeId range_notice,
                          const ElementModel& model,
                          Notices& notices) {
  const std::string& text = Text(field);
  std::optional<NoticeId> refusal;
  if (!IsValidIntegerEntry(text)) {
    refusal = NoticeId::Caution5;
  } else if (const double value = NumericValue(text); value < low || value > high) {
    refusal = range_notice;
  }
  if (!refusal) {
    return true;
  }
  notices.Raise(*refusal);
  SetText(field, std::string(PcFieldOf(shape_, field).initial), model, notices);
  return false;
}

void PcForm::CheckDecimal(PcField field,
                          double low,
                          bool low_open,
                          double high,
                          const ElementModel& model,
                          Notices& notices) {
  const std::string& text = Text(field);
  std::optional<NoticeId> refusal;
  if (!IsValidRealEntry(text)) {
    refusal = NoticeId::Caution5;
  } else if (const double value = NumericValue(text);
             (low_open ? value <= low : value < low) || value > high) {
    refusal = NoticeId::Caution6;
  }
  if (!refusal) {
    return;
  }
  notices.Raise(*refusal);
  SetText(field, std::string(PcFieldOf(shape_, field).initial), model, notices);
  focus_ = field;
}

bool PcForm::MayGrowToMagnet(const ElementModel& model) const {
  const std::string& text = Text(PcField::kMagNumber);
  const double value = NumericValue(text);
  return IsValidIntegerEntry(text) && value >= 1 && value < LowestMagnet() &&
         value * 10 <= MagnetCount(model);
}

void PcForm::Refresh(const ElementModel& model, Notices& notices) {
  const int n = RoundToInt32(Value(PcField::kMagNumber));
  if (n >= LowestMagnet() && n <= MagnetCount(model)) {
    MagnetNumberChange(model, notices);
    return;
  }
  // The magnet shown went away: back to the first one, quietly (no magnet may be left at all).
  texts_[Index(PcField::kMagNumber)] = std::to_string(LowestMagnet());
  analysis_.n = LowestMagnet();
  analysis_.depth = -Thickness(model, analysis_.n);
  texts_[Index(PcField::kText3)] = ShortestDecimal(analysis_.depth);
}

void PcForm::MagnetNumberChange(const ElementModel& model, Notices& notices) {
  const int m = RoundToInt32(Value(PcField::kMagNumber));
  analysis_.depth = -Thickness(model, m);
  analysis_.n = m;
  SelectGradeOf(m, model, notices);
  SetText(PcField::kText3, ShortestDecimal(analysis_.depth), model, notices);
  highlight_ = m;
}

void PcForm::DepthChange(const ElementModel& model) {
  const double magnitude = std::abs(Value(PcField::kText3));
  const double thickness = Thickness(model, analysis_.n);
  analysis_.depth = magnitude > thickness ? -thickness : -magnitude;
}

void PcForm::SelectGradeOf(int magnet, const ElementModel& model, Notices& notices) {
  const int grade = MagnetOf(model, magnet).grade;
  if (grade < 0 || grade >= kShownMaterialGrades) {
    selected_grade_ = -1;
    return;
  }
  ClickGrade(grade, model, notices);
}

void PcForm::ClickGrade(int position, const ElementModel& model, Notices& notices) {
  if (position < 0 || position >= kShownMaterialGrades) {
    return;
  }
  const MaterialGrade grade = MaterialGrades()[static_cast<size_t>(position)];
  selected_grade_ = position;
  SetText(PcField::kText1, ShortestDecimal(grade.Br), model, notices);
  SetText(PcField::kTextHcj20, ShortestDecimal(grade.Hcj / 1000), model, notices);
}

std::optional<PcField> PcForm::Next(PcField field) const {
  static constexpr std::array<PcField, 7> kCycle = {
      PcField::kMagNumber, PcField::kNDivZ,    PcField::kText3,    PcField::kOuterDiv,
      PcField::kInnerDiv,  PcField::kTextTemp, PcField::kTextHcj20};
  const auto it = std::find(kCycle.begin(), kCycle.end(), field);
  if (it == kCycle.end()) {
    return std::nullopt;
  }
  return it + 1 == kCycle.end() ? kCycle.front() : *(it + 1);
}

std::optional<PcRunRequest> PcForm::StartCalculation(const ElementModel& model, Notices& notices) {
  if (MayGrowToMagnet(model)) {
    // A "1" left waiting for its second digit is judged now, as any other refused number.
    notices.Raise(NoticeId::Caution9);
    SetText(PcField::kMagNumber, std::string(PcFieldOf(shape_, PcField::kMagNumber).initial), model,
            notices);
    return std::nullopt;
  }
  const int n = analysis_.n;
  if (n < LowestMagnet() || n > MagnetCount(model)) {
    notices.Raise(NoticeId::Caution9);
    MagnetNumberChange(model, notices);
    return std::nullopt;
  }
  return PcRunRequest{shape_, n, analysis_.divisions, analysis_.depth};
}

PcDistribution PcForm::Distribution(const ElementModel& model, Notices& notices) {
  if (!analysis_.pcDone) {
    notices.Raise(NoticeId::PcCaluculationNotice);
    Load(model);
  }
  return ComputePcDistribution(analysis_, notices);
}

FluxLossInputs PcForm::LossInputs(const ElementModel& model) const {
  return {Value(PcField::kTextBr), Value(PcField::kTextHcj), Value(PcField::kTextTemp),
          Value(PcField::kTextHcj20) * 1000, MagnetOf(model, analysis_.n).br};
}

FluxLossCurve PcForm::FluxLoss(const ElementModel& model, Notices& notices) const {
  const size_t count = static_cast<size_t>(std::clamp(analysis_.cell_count, 0, kPcCellSlots));
  return EstimateFluxLoss(LossInputs(model), {analysis_.cell_pc.data(), count},
                          {analysis_.cell_volume.data(), count}, notices);
}

}  // namespace tavrine

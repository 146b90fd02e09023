// The grid dialogs' form logic over the grid generators.
#include "calcpoints/grid_forms.h"

#include "model/text_rules.h"

namespace tavrine {

namespace {

template <class Field>
size_t Slot(Field field) {
  return static_cast<size_t>(field);
}

template <class Field, int kCount>
Field NextOf(Field field) {
  return static_cast<Field>((static_cast<int>(field) + 1) % kCount);
}

}  // namespace

RectGridForm::RectGridForm() : texts_{"1", "1.0", "40", "1.0", "40", "1"} {}

void RectGridForm::FillFromSettings(const RectPointSet& set) {
  texts_[Slot(RectGridField::XL)] = ShortestDecimal(set.XL);
  texts_[Slot(RectGridField::YL)] = ShortestDecimal(set.YL);
  texts_[Slot(RectGridField::DivX)] = ShortestDecimal(set.DivX);
  texts_[Slot(RectGridField::DivY)] = ShortestDecimal(set.DivY);
  texts_[Slot(RectGridField::DisZ)] = ShortestDecimal(set.DisZ);
  half_x_ = set.XSymmetric == 1;
  half_y_ = set.YSymmetric == 1;
}

const std::string& RectGridForm::Text(RectGridField field) const {
  return texts_[Slot(field)];
}

FieldText RectGridForm::OnTextChanged(RectGridField field,
                                      std::string_view text,
                                      const RectPointSet& stored,
                                      Notices& notices) {
  const bool division = field == RectGridField::DivX || field == RectGridField::DivY;
  std::string& kept = texts_[Slot(field)];
  if (!division || IsValidIntegerEntry(text)) {
    kept = std::string(text);
    return {kept, false};
  }
  notices.Raise(NoticeId::Caution5);
  // The stored division, not the last text typed: the form shows what the grid holds.
  kept = ShortestDecimal(field == RectGridField::DivX ? stored.DivX : stored.DivY);
  return {kept, true};
}

RectGridField RectGridForm::NextField(RectGridField field) {
  return NextOf<RectGridField, kRectGridFieldCount>(field);
}

RectGridInput RectGridForm::Read() const {
  auto number = [this](RectGridField field) { return NumericValue(Text(field)); };
  return RectGridInput{.MagN = RoundToInt32(number(RectGridField::MagN)),
                       .DivX = RoundToInt32(number(RectGridField::DivX)),
                       .DivY = RoundToInt32(number(RectGridField::DivY)),
                       .XL = number(RectGridField::XL),
                       .YL = number(RectGridField::YL),
                       .DisZ = number(RectGridField::DisZ),
                       .HalfX = half_x_,
                       .HalfY = half_y_};
}

GridOutcome RectGridForm::Input(ElementModel& model, Notices& notices) const {
  return GenerateRectGrid(model, Read(), notices);
}

SectGridForm::SectGridForm() : texts_{"1", "10", "0", "50", "36", "0.0", "360", "0.5"} {}

const std::string& SectGridForm::Text(SectGridField field) const {
  return texts_[Slot(field)];
}

void SectGridForm::SetText(SectGridField field, std::string_view text) {
  texts_[Slot(field)] = std::string(text);
}

SectGridField SectGridForm::NextField(SectGridField field) {
  return NextOf<SectGridField, kSectGridFieldCount>(field);
}

SectGridInput SectGridForm::Read() const {
  auto number = [this](SectGridField field) { return NumericValue(Text(field)); };
  return SectGridInput{.MagN = RoundToInt32(number(SectGridField::MagN)),
                       .DivR = RoundToInt32(number(SectGridField::DivR)),
                       .DivT = RoundToInt32(number(SectGridField::DivT)),
                       .Ri = number(SectGridField::CalPointRi),
                       .Ro = number(SectGridField::CalPointRo),
                       .StartDeg = number(SectGridField::TStart),
                       .SweepDeg = number(SectGridField::TSweep),
                       .DisZ = number(SectGridField::DisZ)};
}

void SectGridForm::FollowModel(const ElementModel& model) {
  const int32_t n = Read().MagN;
  if (n < 1 || n > SecMagLoopCount(model))
    SetText(SectGridField::MagN, SectGridForm().Text(SectGridField::MagN));
}

GridOutcome SectGridForm::Input(ElementModel& model, Notices& notices) const {
  return GenerateSectGrid(model, Read(), notices);
}

}  // namespace tavrine

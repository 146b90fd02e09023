// The force dialog's field checks, command state and result text.
#include "studies/force_form.h"

#include <algorithm>
#include <cmath>

#include "model/capacity.h"
#include "model/number_formats.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

constexpr std::array<std::string_view, kForceShapes> kShapeNames = {"角柱磁石", "扇形磁石",
                                                                    "弓形磁石", "RH型磁石"};

std::string ComponentLines(std::string_view prefix, const Vec3& v, std::string_view unit) {
  const std::string p(prefix), u(unit);
  return p + "x=" + ForceComponentText(v.x) + u + "\r\n" + p + "y=" + ForceComponentText(v.y) + u +
         "\r\n" + p + "z=" + ForceComponentText(v.z) + u;
}

}  // namespace

std::string ForceComponentText(double newton) {
  // A zero of either sign takes the positive section of the pattern.
  const double value = (newton == 0 || std::isnan(newton)) ? 0.0 : newton;
  const std::string text = ExponentForm(value, 2);
  const size_t e = text.find('E');
  const std::string sign = text.front() == '-' ? "" : "+";
  return sign + text.substr(0, e) + " " + text.substr(e);
}

std::string ForceResultText(const Vec3& force, const Vec3& torque) {
  return "磁石に働く力\r\n計算結果\r\n\r\n" + ComponentLines("F", force, " [N]") + "\r\n" +
         ComponentLines("T", torque, " [N・m]");
}

std::string ForceForm::NoMagnetTitle(ForceShape shape) {
  return std::string(kShapeNames[Slot(static_cast<int>(shape))]) + "選択";
}

std::string ForceForm::NoMagnetText(ForceShape shape) {
  return "入力された番号の" + std::string(kShapeNames[Slot(static_cast<int>(shape))]) +
         "はありません";
}

bool ForceForm::HasMagnet(const ElementModel& model, ForceShape shape, int n) {
  switch (shape) {
    case ForceShape::kRecMag:
      return n >= 1 && n <= ClampedCount(model.RecMagCount);
    case ForceShape::kSecMag:
      return n >= 1 && n <= ClampedCount(SecMagLoopCount(model));
    case ForceShape::kArcMag:
      return n >= 1 && n <= ClampedCount(SecMagLoopCount(model)) &&
             model.SecMagTable[static_cast<size_t>(n)].Ri > 0;
    case ForceShape::kRhMag:
      return n >= 1 && n <= ClampedCount(model.RhMagCount);
  }
  return false;
}

size_t ForceForm::Slot(int field) {
  return static_cast<size_t>(std::clamp(field, 0, kForceShapes - 1));
}

void ForceForm::Load() {
  result_.clear();
  const size_t slot = Slot(static_cast<int>(shape_));
  if (!IsValidIntegerEntry(texts_[slot])) {
    valid_[slot] = false;
    texts_[slot].clear();
  }
}

void ForceForm::Choose(ForceShape shape) {
  shape_ = shape;
}

void ForceForm::Refresh(const ElementModel& model) {
  for (size_t slot = 0; slot < texts_.size(); ++slot) {
    if (valid_[slot] && !HasMagnet(model, static_cast<ForceShape>(slot), n_[slot])) {
      valid_[slot] = false;
      texts_[slot].clear();
    }
  }
}

ForceForm::Action ForceForm::OnTextChanged(int field,
                                           std::string_view text,
                                           const ElementModel& model,
                                           Notices& notices) {
  const size_t slot = Slot(field);
  texts_[slot] = std::string(text);
  acted_ = static_cast<ForceShape>(slot);
  // The rectangular field keeps a non-integer text; the others are emptied at once.
  if (slot != 0 && !text.empty() && !IsValidIntegerEntry(text)) {
    notices.Raise(NoticeId::Caution5);
    texts_[slot].clear();
    valid_[slot] = false;
    return Action::kNone;
  }
  return OnMagnetNumber(slot, text, model, notices);
}

ForceForm::Action ForceForm::OnMagnetNumber(size_t slot,
                                            std::string_view text,
                                            const ElementModel& model,
                                            Notices& notices) {
  // With the field emptied there is no magnet to compute for.
  if (text.empty()) {
    valid_[slot] = false;
    return Action::kNone;
  }
  if (!IsValidIntegerEntry(text)) {
    notices.Raise(NoticeId::Caution5);
  }
  const int n = RoundToInt32(NumericValue(text));
  if (!HasMagnet(model, static_cast<ForceShape>(slot), n)) {
    return Reject(slot);
  }
  n_[slot] = n;
  valid_[slot] = true;
  return Action::kHighlight;
}

ForceForm::Action ForceForm::Reject(size_t slot) {
  valid_[slot] = false;
  texts_[slot].clear();
  acted_ = static_cast<ForceShape>(slot);
  return Action::kNoSuchMagnet;
}

ForceForm::Action ForceForm::OnStart(const ElementModel& model) {
  result_.clear();
  const size_t slot = Slot(static_cast<int>(shape_));
  if (!valid_[slot]) {
    return Action::kNone;
  }
  // The magnet may have been deleted since its number was entered.
  if (!HasMagnet(model, shape_, n_[slot])) {
    return Reject(slot);
  }
  acted_ = shape_;
  return Action::kCompute;
}

ForceTarget ForceForm::Target() const {
  switch (shape_) {
    case ForceShape::kRecMag:
      return {ForceMagnetKind::kRec, MagnetNumber()};
    case ForceShape::kSecMag:
    case ForceShape::kArcMag:
      return {ForceMagnetKind::kSec, MagnetNumber()};
    case ForceShape::kRhMag:
      return {ForceMagnetKind::kRh, MagnetNumber()};
  }
  return {};
}

}  // namespace tavrine

// The force dialog's field checks, command state and result text.
#include "studies/force_form.h"

#include <algorithm>
#include <cmath>

#include "model/number_formats.h"
#include "model/text_rules.h"

namespace tavrine {

std::string ForceComponentText(double newton) {
  // A zero of either sign takes the positive section of the pattern.
  const double value = (newton == 0 || std::isnan(newton)) ? 0.0 : newton;
  const std::string text = ExponentForm(value, 2);
  const size_t e = text.find('E');
  const std::string sign = text.front() == '-' ? "" : "+";
  return sign + text.substr(0, e) + " " + text.substr(e);
}

std::string ForceResultText(const Vec3& force) {
  return "磁石に働く力\r\n計算結果\r\n\r\nFx=" + ForceComponentText(force.x) +
         " [N]\r\nFy=" + ForceComponentText(force.y) + " [N]\r\nFz=" + ForceComponentText(force.z) +
         " [N]";
}

void ForceForm::Load() {
  result_.clear();
  std::string& chosen = texts_[static_cast<size_t>(shape_)];
  if (!IsValidIntegerEntry(chosen)) {
    start_enabled_ = false;
    chosen.clear();
  }
}

void ForceForm::Choose(ForceShape shape) {
  shape_ = shape;
}

ForceForm::Action ForceForm::OnTextChanged(int field,
                                           std::string_view text,
                                           const ElementModel& model,
                                           Notices& notices) {
  const size_t slot = static_cast<size_t>(std::clamp(field, 0, 2));
  texts_[slot] = std::string(text);
  if (slot == 0) {
    return OnMagnetNumber(text, model, notices);
  }
  // An emptied field (the user's or our own echo) is no entry to complain about.
  if (!text.empty() && !IsValidIntegerEntry(text)) {
    notices.Raise(NoticeId::Caution5);
    texts_[slot].clear();
  }
  return Action::kNone;
}

ForceForm::Action ForceForm::OnMagnetNumber(std::string_view text,
                                            const ElementModel& model,
                                            Notices& notices) {
  // With the field emptied there is no magnet to compute for.
  if (text.empty()) {
    start_enabled_ = false;
    return Action::kNone;
  }
  if (!IsValidIntegerEntry(text)) {
    notices.Raise(NoticeId::Caution5);
  }
  const int n = RoundToInt32(NumericValue(text));
  if (n < 1 || n > std::min(model.RecMagCount, kElementCapacity)) {
    return Reject();
  }
  n_ = n;
  start_enabled_ = true;
  return Action::kHighlight;
}

ForceForm::Action ForceForm::Reject() {
  start_enabled_ = false;
  texts_[0].clear();
  return Action::kNoSuchMagnet;
}

ForceForm::Action ForceForm::OnStart(const ElementModel& model) {
  result_.clear();
  if (shape_ != ForceShape::kRecMag || !start_enabled_) {
    return Action::kNone;
  }
  // The magnet may have been deleted since its number was entered.
  if (n_ < 1 || n_ > std::min(model.RecMagCount, kElementCapacity)) {
    return Reject();
  }
  return Action::kCompute;
}

}  // namespace tavrine

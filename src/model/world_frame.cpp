// The world reference box: rectangular magnet 1, a cube of side L whose upper face centre is
// the origin.
#include "model/world_frame.h"

#include "model/text_rules.h"

namespace tavrine {

std::string WorldFrameForm::OnTextChanged(std::string_view text, Notices& notices) {
  if (IsValidIntegerEntry(text)) {
    remembered_ = std::string(text);
  } else {
    notices.Raise(NoticeId::Caution5);
  }
  return remembered_;
}

void WorldFrameForm::Enter(ElementModel& model) const {
  MakeWorldBox(model, NumericValue(remembered_));
}

void MakeWorldBox(ElementModel& model, double base_length) {
  model.RecMagCount = 1;
  RecMag& box = model.RecMagTable[1];
  box.a = box.b = box.l = base_length;
  box.AngX = box.AngY = box.AngZ = 0;
  box.Br = 0;
  box.Ox = box.Oy = box.Oz = 0;
}

}  // namespace tavrine

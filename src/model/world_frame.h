// Logic of the world-frame dialog "全体座標系の定義": the base length L of the global frame.
#pragma once

#include <string>
#include <string_view>

#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

class WorldFrameForm {
 public:
  static constexpr std::string_view kDefaultText = "100";

  // Checks a changed text; an invalid one raises Caution5 and the last valid text comes back.
  // Returns the text the field must show.
  std::string OnTextChanged(std::string_view text, Notices& notices);
  const std::string& Text() const { return remembered_; }
  // "入力": rectangular magnet 1 becomes the magnet-less cube of side L at the origin.
  void Enter(ElementModel& model) const;

 private:
  std::string remembered_{kDefaultText};
};

void MakeWorldBox(ElementModel& model, double base_length);

}  // namespace tavrine

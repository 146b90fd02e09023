// Logic of the force dialog "力の計算": the magnet choice, the three number fields, the start
// command and the result text.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

enum class ForceShape { kRecMag = 0, kSecMag = 1, kArcMag = 2 };

// The force component text: explicit sign, one digit, two decimals, a space and the exponent
// with its sign and as few digits as needed ("+1.23 E+1", "-5.00 E-1", "+0.00 E+0").
std::string ForceComponentText(double newton);
// The six result lines, separated by CR LF.
std::string ForceResultText(const Vec3& force);

class ForceForm {
 public:
  static constexpr std::string_view kNoMagnetTitle = "角柱磁石選択";
  static constexpr std::string_view kNoMagnetText = "入力された番号の角柱磁石はありません";

  // What the dialog does after a change of Text1 or a press of Command1.
  enum class Action {
    kNone,
    kHighlight,     // redraw the rectangular magnets, magnet n highlighted
    kNoSuchMagnet,  // blocking message box, then the rectangular magnets redrawn normally
    kCompute,       // run the study for magnet n and show the result
  };

  // The dialog's loading: result emptied, fields enabled by the choice, and Command1 disabled
  // (with the field emptied) unless the chosen field holds integer text.
  void Load();
  void Choose(ForceShape shape);
  // Field 0 is Text1 (rectangular magnet), 1 Text2, 2 Text3. Returns the action and stores the
  // text the field must show (Text()).
  Action OnTextChanged(int field, std::string_view text, const ElementModel& model, Notices& n);
  // Command1: result emptied; computes only for a rectangular magnet that still exists.
  Action OnStart(const ElementModel& model);
  void ShowResult(const Vec3& force) { result_ = ForceResultText(force); }

  ForceShape Shape() const { return shape_; }
  bool FieldEnabled(int field) const { return static_cast<int>(shape_) == field; }
  const std::string& Text(int field) const { return texts_[static_cast<size_t>(field)]; }
  bool StartEnabled() const { return start_enabled_; }
  int MagnetNumber() const { return n_; }
  const std::string& ResultText() const { return result_; }

 private:
  Action OnMagnetNumber(std::string_view text, const ElementModel& model, Notices& notices);
  Action Reject();

  ForceShape shape_ = ForceShape::kRecMag;
  std::array<std::string, 3> texts_;
  bool start_enabled_ = false;
  int n_ = 0;
  std::string result_;
};

}  // namespace tavrine

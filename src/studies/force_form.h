// Logic of the force dialog "力の計算": the magnet choice, the number field of each choice, the
// start command and the result text (force in N, torque about the magnet's origin in N·m).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "studies/force_study.h"

namespace tavrine {

// The arc-shaped choice takes the model's arc segments: sector magnets with an inner radius.
enum class ForceShape { kRecMag = 0, kSecMag = 1, kArcMag = 2, kRhMag = 3 };
inline constexpr int kForceShapes = 4;

// The force component text: explicit sign, one digit, two decimals, a space and the exponent
// with its sign and as few digits as needed ("+1.23 E+1", "-5.00 E-1", "+0.00 E+0").
std::string ForceComponentText(double newton);
// The result lines, separated by CR LF: the force lines and, under them, the torque lines.
std::string ForceResultText(const Vec3& force, const Vec3& torque);

class ForceForm {
 public:
  static constexpr std::string_view kNoMagnetTitle = "角柱磁石選択";
  static constexpr std::string_view kNoMagnetText = "入力された番号の角柱磁石はありません";
  // The message box of each choice.
  static std::string NoMagnetTitle(ForceShape shape);
  static std::string NoMagnetText(ForceShape shape);
  // Whether n names a magnet of the choice in the model.
  static bool HasMagnet(const ElementModel& model, ForceShape shape, int n);

  // What the dialog does after a change of a number field or a press of Command1.
  enum class Action {
    kNone,
    kHighlight,     // redraw the magnets of ActedShape(), magnet MagnetNumber(it) highlighted
    kNoSuchMagnet,  // blocking message box, then the magnets of ActedShape() redrawn normally
    kCompute,       // run the study for Target() and show the result
  };

  // The dialog's loading: result emptied, fields enabled by the choice, and Command1 disabled
  // (with the field emptied) unless the chosen field holds integer text.
  void Load();
  void Choose(ForceShape shape);
  // After the model changed: a number that no longer names a magnet of its choice is emptied
  // (and Command1 disabled); a number that still does is kept.
  void Refresh(const ElementModel& model);
  // Field k is the number field of choice k (Text1 … Text4). Returns the action and stores the
  // text the field must show (Text()).
  Action OnTextChanged(int field, std::string_view text, const ElementModel& model, Notices& n);
  // Command1: result emptied; computes only for a magnet of the choice that still exists.
  Action OnStart(const ElementModel& model);
  void ShowResult(const ForceResult& result) {
    result_ = ForceResultText(result.total, result.torque);
  }

  ForceShape Shape() const { return shape_; }
  ForceShape ActedShape() const { return acted_; }
  bool FieldEnabled(int field) const { return static_cast<int>(shape_) == field; }
  const std::string& Text(int field) const { return texts_[Slot(field)]; }
  bool StartEnabled() const { return valid_[Slot(static_cast<int>(shape_))]; }
  int MagnetNumber() const { return MagnetNumber(shape_); }
  int MagnetNumber(ForceShape shape) const { return n_[Slot(static_cast<int>(shape))]; }
  ForceTarget Target() const;
  const std::string& ResultText() const { return result_; }

 private:
  static size_t Slot(int field);
  Action OnMagnetNumber(size_t slot, std::string_view text, const ElementModel& m, Notices& n);
  Action Reject(size_t slot);

  ForceShape shape_ = ForceShape::kRecMag;
  ForceShape acted_ = ForceShape::kRecMag;
  std::array<std::string, kForceShapes> texts_;
  std::array<bool, kForceShapes> valid_{};
  std::array<int, kForceShapes> n_{};
  std::string result_;
};

}  // namespace tavrine

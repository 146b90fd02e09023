// Logic of the magnet dialogs: the four create/modify forms (rectangular, sector, hollow cylinder,
// RH-type) and the two delete forms. Texts in degrees and mm; the model holds radians.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

enum class MagnetKind { kRectangular, kSector, kCylinder, kRh };

// The three tables the magnet kinds live in (a hollow cylinder is sectors).
enum class MagnetTable { kRecMag, kSecMag, kRhMag };

// Where the forms draw: the UI forwards these to the main window's four views.
class MagnetViews {
 public:
  virtual ~MagnetViews() = default;
  virtual void RedrawAll() = 0;
  // Every magnet of the table in normal colours, then magnet i in white.
  virtual void Highlight(MagnetTable table, int i) = 0;
  // Only magnet i in white (after a RedrawAll).
  virtual void HighlightOnly(MagnetTable table, int i) = 0;
};

// The text fields of a magnet form by role; kGradeList is a focus target only.
enum class MagnetField {
  kNumber,
  kBr,
  kHcj,
  kShape1,
  kShape2,
  kShape3,
  kExtra,  // opening angle (sector) or pole count (cylinder)
  kRotX,
  kRotY,
  kRotZ,
  kPosX,
  kPosY,
  kPosZ,
  kGradeList,
};
inline constexpr int kMagnetTextFields = 13;

// One field a dialog shows: its control name and its caption.
struct MagnetFieldLayout {
  MagnetField field;
  std::string_view object_name;
  std::string_view label;
};

std::string_view MagnetFormTitle(MagnetKind kind);
// The fields the kind's dialog has, in the order it lays them out.
std::vector<MagnetFieldLayout> MagnetFieldsOf(MagnetKind kind);
MagnetTable TableOf(MagnetKind kind);

// Where the focus must go, and whether the field's whole text is selected there.
struct FocusRequest {
  MagnetField field = MagnetField::kNumber;
  bool select_all = false;
};

// A magnet's values in the units the dialogs and the three tables share.
struct MagnetValues {
  double shape1 = 0, shape2 = 0, shape3 = 0, OpenAngle = 0;
  double AngX = 0, AngY = 0, AngZ = 0, Ox = 0, Oy = 0, Oz = 0;
  double Br = 0, Hcj = 0;
  int16_t MaterialIndex = -1;
  bool operator==(const MagnetValues&) const = default;
};
// Slots outside 0..1000 read as zeros and are never written.
MagnetValues ReadMagnet(const ElementModel& model, MagnetTable table, int64_t slot);
void WriteMagnet(ElementModel& model, MagnetTable table, int64_t slot, const MagnetValues& values);

class MagnetForm {
 public:
  MagnetForm(MagnetKind kind, ElementModel& model, Notices& notices, MagnetViews& views);

  MagnetKind Kind() const { return kind_; }
  // Loading the dialog: initial texts, grade 4, the next number, prefill, focus on the list.
  void Open();
  // The user changed a field's text.
  void ChangeText(MagnetField field, std::string_view text);
  // Enter in a field: the entry is committed, then the next field of the kind's cycle gets the
  // focus with its text selected.
  void PressEnter(MagnetField field);
  // The entry of a field is complete (Enter, or the focus leaving it): the radii are compared.
  void Commit(MagnetField field);
  // The model changed under the open dialog: an existing magnet shown is loaded again; otherwise
  // the number moves to the next free one, keeping the values typed for it.
  void Refresh();
  // A click on grade position p of the list.
  void ClickGrade(int position);
  // "入力" and "修正"; false (model unchanged) when the command is disabled or refused.
  bool Enter();
  bool Modify();
  // "閉じる".
  void Close();

  const std::string& Text(MagnetField field) const;
  bool EnterEnabled() const { return enter_enabled_; }
  bool ModifyEnabled() const { return modify_enabled_; }
  bool ModifyMode() const { return modify_mode_; }
  const std::string& RememberedNumber() const { return remembered_number_; }
  int SelectedGrade() const { return selected_grade_; }
  // The focus the last event asked for, once.
  std::optional<FocusRequest> TakeFocus();

 private:
  void ResetTexts();
  void Prefill();
  void NumberChanged(const std::string& text);
  void ValueChanged(MagnetField field, const std::string& text);
  void SetNumber(const std::string& text);
  void SetValue(MagnetField field, const std::string& text);
  void ShowValues(const MagnetValues& values, bool with_br, bool with_hcj, bool with_open_angle);
  void LoadMagnet(int32_t n);
  void CheckRadii();
  int32_t LowestLoaded() const;
  MagnetValues ValuesFromTexts() const;
  double Count() const;
  int32_t NumberValue() const;
  int64_t FirstSectorOf(int64_t cylinder) const;
  bool RefuseMalformedHcj();
  bool EnterMagnet();
  bool EnterCylinder();
  bool ModifyCylinder();
  void HighlightNumber(int32_t n);
  bool HasField(MagnetField field) const;
  double Value(MagnetField field) const;
  void Focus(MagnetField field, bool select_all);

  MagnetKind kind_;
  ElementModel& model_;
  Notices& notices_;
  MagnetViews& views_;
  std::array<std::string, kMagnetTextFields> texts_{};
  // Per field, the last text that passed its check: what a refused keystroke puts back.
  std::array<std::string, kMagnetTextFields> last_valid_{};
  // The record as last loaded: a refresh leaves the user's edits alone unless it changed.
  MagnetValues loaded_;
  bool enter_enabled_ = true;
  bool modify_enabled_ = false;
  bool modify_mode_ = false;
  std::string remembered_number_;
  int selected_grade_ = -1;
  std::optional<FocusRequest> focus_;
};

// "磁石の消去" (rectangular) and "扇型磁石の消去" (sector): one number field, "入力" deletes.
class MagnetDeleteForm {
 public:
  static constexpr std::string_view kNoNumber = "-";

  MagnetDeleteForm(MagnetTable table, ElementModel& model, Notices& notices, MagnetViews& views);

  std::string_view Title() const;
  void Open();
  void ChangeText(std::string_view text);
  // The model changed under the open dialog: a number that no longer names a deletable magnet
  // goes back to "-".
  void Refresh();
  // "入力": true when a magnet was deleted and the dialog is to close.
  bool Enter();
  const std::string& Text() const { return text_; }
  std::optional<FocusRequest> TakeFocus();

 private:
  bool Deletable(int64_t n) const;
  bool MayGrowToDeletable(int64_t n) const;
  int32_t Count() const;
  void DeleteSlot(int32_t k, int32_t m);
  void FollowDeletedSector(int32_t k);

  MagnetTable table_;
  ElementModel& model_;
  Notices& notices_;
  MagnetViews& views_;
  std::string text_{kNoNumber};
  std::optional<FocusRequest> focus_;
};

}  // namespace tavrine

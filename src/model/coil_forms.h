// Logic of the current-element dialogs: the four entry/modify forms (one per conductor kind) and
// the deletion form. Currents are entered in A and held as densities (A/mm²); angles in degrees.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

enum class CoilKind { kStrCyl, kStrRec, kSecCyl, kSecRec };

// What the forms ask of the views; the UI draws into the main window, tests record.
class CoilDisplay {
 public:
  virtual ~CoilDisplay() = default;
  virtual void RedrawAll() = 0;
  // Every element of the kind in normal colours, then element i in white (segments 0: default).
  virtual void HighlightElement(CoilKind kind, int i, int segments) = 0;
  // Only the white drawing of element i, after a RedrawAll.
  virtual void HighlightOnly(CoilKind kind, int i) = 0;
};

enum class CoilRole { kNumber, kCurrent, kGeometry, kAngle, kCentre };

struct CoilFieldSpec {
  std::string_view name;  // the control's objectName
  std::string_view label;
  std::string_view initial_text;
  CoilRole role;
  bool degrees = false;  // geometry shown in degrees (the arcs' opening angle)
};

// An element's values as a dialog shows them: current in A, angles in degrees.
struct CoilValues {
  double current = 0;
  std::vector<double> geometry;  // in the order of the kind's geometry fields
  std::array<double, 3> angles{};
  std::array<double, 3> centre{};
  bool operator==(const CoilValues&) const = default;
};

int32_t& CoilCount(ElementModel& model, CoilKind kind);
int32_t CoilCount(const ElementModel& model, CoilKind kind);
// Cross-section area of the element in slot i (i within the table).
double CoilArea(const ElementModel& model, CoilKind kind, int i);
CoilValues ReadCoil(const ElementModel& model, CoilKind kind, int i);
// Stores the values into slot i (within the table). When the area check fails the current itself
// becomes the density and Caution is raised.
void WriteCoil(
    ElementModel& model, CoilKind kind, int i, const CoilValues& values, Notices& notices);

// One entry/modify form. Fields are kept in Enter-key order: number, current, geometry, the three
// rotations, the three centre coordinates.
class CoilForm {
 public:
  explicit CoilForm(CoilKind kind);

  CoilKind Kind() const { return kind_; }
  std::string_view Title() const;
  const std::vector<CoilFieldSpec>& Fields() const { return fields_; }
  int FieldIndex(std::string_view name) const;  // -1 when the form has no such field
  const std::string& Text(int field) const { return texts_[static_cast<size_t>(field)]; }
  bool EnterEnabled() const { return enter_enabled_; }
  bool ModifyEnabled() const { return modify_enabled_; }
  bool ModifyMode() const { return modify_mode_; }
  const std::string& LastValidNumber() const { return last_valid_number_; }
  // The field that should take the focus with its whole text selected, once.
  std::optional<int> TakeFocusRequest();

  // Opening by the main window: next number, fields from the last element, focus on the current.
  void Open(const ElementModel& model);
  // Any field's text changed by the user; the form may put back another text.
  void OnTextChanged(int field,
                     std::string_view text,
                     const ElementModel& model,
                     Notices& notices,
                     CoilDisplay& display);
  // Enter in a field: the next field of the cycle takes the focus.
  void OnEnterKey(int field);
  int NextField(int field) const;
  // "入力": a new element at the number (at most count + 1 and within the table).
  void Enter(ElementModel& model, Notices& notices, CoilDisplay& display);
  // "修正": the existing element at the number takes the dialog's values.
  void Modify(ElementModel& model, Notices& notices, CoilDisplay& display);
  // The model changed under the open dialog: an element being modified is loaded again,
  // otherwise the number moves to the next free one.
  void Refresh(const ElementModel& model, CoilDisplay& display);

 private:
  void OnNumberChanged(std::string_view text,
                       const ElementModel& model,
                       Notices& notices,
                       CoilDisplay& display);
  void OnValueChanged(int field, std::string_view text, Notices& notices);
  void ShowNewNumber(int number);
  void Fill(const CoilValues& values);
  void FillAll(std::string_view text);
  CoilValues Values() const;
  int Number() const;
  bool ChecksWhileTyping() const;
  bool RefuseMalformedValue(Notices& notices);

  CoilKind kind_;
  std::vector<CoilFieldSpec> fields_;
  std::vector<std::string> texts_;
  // Per field, the last text that passed its check: what a refused keystroke puts back.
  std::vector<std::string> last_valid_;
  // The element as last loaded: a refresh leaves the user's edits alone unless it changed.
  CoilValues loaded_;
  std::string last_valid_number_;
  bool modify_mode_ = false;
  bool enter_enabled_ = true;
  bool modify_enabled_ = false;
  std::optional<int> focus_request_;
};

// The four dialogs by their window names.
class CreateStraightCylCoil final : public CoilForm {
 public:
  CreateStraightCylCoil() : CoilForm(CoilKind::kStrCyl) {}
};
class CreateStraightRecCoil final : public CoilForm {
 public:
  CreateStraightRecCoil() : CoilForm(CoilKind::kStrRec) {}
};
class CreateSectorCylCoil final : public CoilForm {
 public:
  CreateSectorCylCoil() : CoilForm(CoilKind::kSecCyl) {}
};
class CreateSectorRecCoil final : public CoilForm {
 public:
  CreateSectorRecCoil() : CoilForm(CoilKind::kSecRec) {}
};

// "ｺｲﾙの消去": a kind (Option1..4 in CoilKind order) and the number of the element to delete.
class DeleteCoil {
 public:
  static constexpr std::string_view kTitle = "ｺｲﾙの消去";
  static constexpr std::string_view kInitialText = "1";

  CoilKind Kind() const { return kind_; }
  const std::string& Text() const { return text_; }
  // A fresh dialog: the first kind and the initial number.
  void Reset();
  void OnKindChosen(CoilKind kind,
                    const ElementModel& model,
                    Notices& notices,
                    CoilDisplay& display);
  void OnTextChanged(std::string_view text,
                     const ElementModel& model,
                     Notices& notices,
                     CoilDisplay& display);
  // The model changed under the open dialog: a number that no longer names an element of the
  // kind falls back to the initial one, and the element named is shown again.
  void FollowModel(const ElementModel& model, CoilDisplay& display);
  // "入力": true when an element was deleted (the dialog then closes).
  bool Enter(ElementModel& model, Notices& notices, CoilDisplay& display);

 private:
  void Check(const ElementModel& model, Notices& notices, CoilDisplay& display);

  CoilKind kind_ = CoilKind::kStrCyl;
  std::string text_{kInitialText};
};

}  // namespace tavrine

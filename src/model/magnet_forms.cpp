// Magnet create/modify and delete forms: field checks and restores, Enter cycles, the commands.
#include "model/magnet_forms.h"

#include <algorithm>

#include "model/capacity.h"
#include "model/material_grades.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

using F = MagnetField;

constexpr int kCylinderCapacity = kCylinderSlots - 1;  // cylinders 1..50

size_t Index(MagnetField field) {
  return static_cast<size_t>(field);
}

std::vector<MagnetField> CycleOf(MagnetKind kind) {
  std::vector<MagnetField> cycle = {F::kNumber, F::kBr, F::kShape1};
  if (kind != MagnetKind::kRh) {
    cycle.push_back(F::kShape2);
  }
  cycle.push_back(F::kShape3);
  if (kind == MagnetKind::kSector) {
    cycle.push_back(F::kExtra);
  }
  for (MagnetField f : {F::kRotX, F::kRotY, F::kRotZ, F::kPosX, F::kPosY, F::kPosZ}) {
    cycle.push_back(f);
  }
  return cycle;
}

MagnetField NextInCycle(MagnetKind kind, MagnetField field) {
  // Fields outside the cycle lead on to the field after them on the dialog.
  if (field == F::kHcj) {
    return F::kShape1;
  }
  if (field == F::kExtra && kind == MagnetKind::kCylinder) {
    return F::kRotX;
  }
  const std::vector<MagnetField> cycle = CycleOf(kind);
  const auto at = std::find(cycle.begin(), cycle.end(), field);
  if (at == cycle.end() || at + 1 == cycle.end()) {
    return F::kBr;  // the last position field leads back to the remanence
  }
  return *(at + 1);
}

bool InTable(int64_t slot) {
  return slot >= 0 && slot <= kElementCapacity;
}

template <class Record>
void ReadPlacement(const Record& r, MagnetValues& v) {
  v.AngX = r.AngX, v.AngY = r.AngY, v.AngZ = r.AngZ;
  v.Ox = r.Ox, v.Oy = r.Oy, v.Oz = r.Oz;
  v.Br = r.Br, v.Hcj = r.Hcj, v.MaterialIndex = r.MaterialIndex;
}

template <class Record>
void WritePlacement(const MagnetValues& v, Record& r) {
  r.AngX = v.AngX, r.AngY = v.AngY, r.AngZ = v.AngZ;
  r.Ox = v.Ox, r.Oy = v.Oy, r.Oz = v.Oz;
  r.Br = v.Br, r.Hcj = v.Hcj, r.MaterialIndex = v.MaterialIndex;
}

}  // namespace

std::string_view MagnetFormTitle(MagnetKind kind) {
  switch (kind) {
    case MagnetKind::kRectangular:
      return "角柱磁石の作成";
    case MagnetKind::kSector:
      return "扇型磁石の作成";
    case MagnetKind::kCylinder:
      return "(中空)円柱型磁石の作成";
    case MagnetKind::kRh:
      return "RH型磁石の作成";
  }
  return {};
}

std::vector<MagnetFieldLayout> MagnetFieldsOf(MagnetKind kind) {
  const bool rect = kind == MagnetKind::kRectangular;
  const bool rh = kind == MagnetKind::kRh;
  std::vector<MagnetFieldLayout> fields = {
      {F::kNumber, "Text10", "磁石番号"},
      {F::kBr, "Text11", "Br(G)"},
      {F::kHcj, rect ? "Text12" : "Text13", "Hcj(Oe)"},
      {F::kShape1, "Text1", rect ? "X" : (rh ? "R" : "Ri")},
  };
  if (!rh) {
    fields.push_back({F::kShape2, "Text2", rect ? "Y" : "Ro"});
  }
  fields.push_back({F::kShape3, "Text3", rect ? "Z" : "厚さ"});
  if (kind == MagnetKind::kSector) {
    fields.push_back({F::kExtra, "Text12", "開き角(°)"});
  } else if (kind == MagnetKind::kCylinder) {
    fields.push_back({F::kExtra, "Text12", "磁極数"});
  }
  const std::vector<MagnetFieldLayout> placement = {
      {F::kRotX, "Text4", "X軸"}, {F::kRotY, "Text5", "Y軸"}, {F::kRotZ, "Text6", "Z軸"},
      {F::kPosX, "Text7", "X"},   {F::kPosY, "Text8", "Y"},   {F::kPosZ, "Text9", "Z"},
  };
  fields.insert(fields.end(), placement.begin(), placement.end());
  return fields;
}

MagnetTable TableOf(MagnetKind kind) {
  switch (kind) {
    case MagnetKind::kRectangular:
      return MagnetTable::kRecMag;
    case MagnetKind::kRh:
      return MagnetTable::kRhMag;
    default:
      return MagnetTable::kSecMag;
  }
}

MagnetValues ReadMagnet(const ElementModel& model, MagnetTable table, int64_t slot) {
  MagnetValues v;
  if (!InTable(slot)) {
    return v;
  }
  const auto s = static_cast<size_t>(slot);
  switch (table) {
    case MagnetTable::kRecMag: {
      const RecMag& r = model.RecMagTable[s];
      v.shape1 = r.a, v.shape2 = r.b, v.shape3 = r.l;
      ReadPlacement(r, v);
      break;
    }
    case MagnetTable::kSecMag: {
      const SecMag& r = model.SecMagTable[s];
      v.shape1 = r.Ri, v.shape2 = r.Ro, v.shape3 = r.T, v.OpenAngle = r.OpenAngle;
      ReadPlacement(r, v);
      break;
    }
    case MagnetTable::kRhMag: {
      const RhMag& r = model.RhMagTable[s];
      v.shape1 = r.R, v.shape3 = r.HT;
      ReadPlacement(r, v);
      break;
    }
  }
  return v;
}

void WriteMagnet(ElementModel& model, MagnetTable table, int64_t slot, const MagnetValues& v) {
  if (!InTable(slot)) {
    return;
  }
  const auto s = static_cast<size_t>(slot);
  switch (table) {
    case MagnetTable::kRecMag: {
      RecMag& r = model.RecMagTable[s];
      r.a = v.shape1, r.b = v.shape2, r.l = v.shape3;
      WritePlacement(v, r);  // BrAngle is no dialog's business
      break;
    }
    case MagnetTable::kSecMag: {
      SecMag& r = model.SecMagTable[s];
      r.Ri = v.shape1, r.Ro = v.shape2, r.T = v.shape3, r.OpenAngle = v.OpenAngle;
      WritePlacement(v, r);
      break;
    }
    case MagnetTable::kRhMag: {
      RhMag& r = model.RhMagTable[s];
      r.R = v.shape1, r.HT = v.shape3;
      WritePlacement(v, r);
      break;
    }
  }
}

// ---- MagnetForm ----

MagnetForm::MagnetForm(MagnetKind kind, ElementModel& model, Notices& notices, MagnetViews& views)
    : kind_(kind), model_(model), notices_(notices), views_(views) {
  ResetTexts();
}

void MagnetForm::ResetTexts() {
  // The dialog's texts when it is loaded, before the opening prefill.
  auto initial = [this](MagnetField field) -> std::string {
    const bool cylinder = kind_ == MagnetKind::kCylinder;
    switch (field) {
      case F::kNumber:
        return {};
      case F::kBr:
        return cylinder ? "14500" : "13500";
      case F::kHcj:
        return "12000";
      case F::kShape2:
        return cylinder ? "20" : "0";
      case F::kShape3:
        return cylinder ? "30" : "0";
      case F::kExtra:
        return cylinder ? "1" : "360";
      default:
        return "0";
    }
  };
  for (int f = 0; f < kMagnetTextFields; ++f) {
    texts_[static_cast<size_t>(f)] = initial(static_cast<MagnetField>(f));
  }
  last_valid_ = texts_;
  enter_enabled_ = true;
  modify_enabled_ = false;
  modify_mode_ = false;
  remembered_number_.clear();
  focus_.reset();
}

void MagnetForm::Open() {
  ResetTexts();
  selected_grade_ = kDefaultMaterialGrade;
  SetNumber(ShortestDecimal(Count() + 1));
  Prefill();
  if (kind_ == MagnetKind::kCylinder) {
    modify_enabled_ = false;
  }
  Focus(F::kGradeList, false);
}

void MagnetForm::Prefill() {
  const MagnetTable table = TableOf(kind_);
  switch (kind_) {
    case MagnetKind::kRectangular:
    case MagnetKind::kSector: {
      const double last = Count();
      const bool has_user_magnet = kind_ == MagnetKind::kRectangular ? last > 1 : last > 0;
      if (has_user_magnet) {
        const auto slot = static_cast<int64_t>(RoundToInt32(last));
        ShowValues(ReadMagnet(model_, table, slot), true, true, kind_ == MagnetKind::kSector);
        return;
      }
      break;
    }
    case MagnetKind::kCylinder:
      // The last cylinder proposes the values of the next one; the next cylinder has no
      // sectors yet, and slot 0 would only give zeros.
      if (const int32_t last = RoundToInt32(model_.CylinderCount);
          last > 0 && FitsElementSlot(FirstSectorOf(last))) {
        ShowValues(ReadMagnet(model_, table, FirstSectorOf(last)), true, true, false);
        SetValue(F::kExtra,
                 ShortestDecimal(model_.CylinderTable[static_cast<size_t>(last)].PoleCount));
        return;
      }
      break;
    case MagnetKind::kRh: {
      const MagnetValues next = ReadMagnet(model_, table, int64_t{model_.RhMagCount} + 1);
      SetValue(F::kShape1, PlainDecimal(next.shape1));
      SetValue(F::kShape3, PlainDecimal(next.shape3));
      SetValue(F::kBr, "13500");
      return;
    }
  }
  // No user magnet of the kind yet: the values of grade 4 and zeros in the placement. The
  // opening angle, the pole count and the cylinder's proposed sizes keep their initial texts.
  for (MagnetField f : {F::kRotX, F::kRotY, F::kRotZ, F::kPosX, F::kPosY, F::kPosZ}) {
    SetValue(f, "0");
  }
  if (kind_ != MagnetKind::kCylinder) {
    for (MagnetField f : {F::kShape1, F::kShape2, F::kShape3}) {
      SetValue(f, "0");
    }
  }
  SetValue(F::kBr, "13500");
  SetValue(F::kHcj, "12000");
}

void MagnetForm::ChangeText(MagnetField field, std::string_view text) {
  if (field == F::kGradeList || !HasField(field)) {
    return;
  }
  texts_[Index(field)] = std::string(text);
  if (field == F::kNumber) {
    NumberChanged(texts_[Index(field)]);
  } else {
    ValueChanged(field, texts_[Index(field)]);
  }
}

void MagnetForm::NumberChanged(const std::string& text) {
  modify_enabled_ = false;
  if (!IsValidIntegerEntry(text)) {
    notices_.Raise(NoticeId::Caution5);
    texts_[Index(F::kNumber)] = remembered_number_;
    if (kind_ == MagnetKind::kSector || kind_ == MagnetKind::kCylinder) {
      enter_enabled_ = false;
    }
    return;
  }
  remembered_number_ = text;
  const int32_t n = NumberValue();
  const double m = Count();
  if (n <= m) {
    // Rectangular magnet 1 is the world box: neither loaded nor modified here.
    modify_mode_ = false;
    if (n >= LowestLoaded()) {
      LoadMagnet(n);
      modify_enabled_ = true;
    }
    enter_enabled_ = false;
  } else if (n == m + 1) {
    modify_mode_ = false;
    enter_enabled_ = true;
    modify_enabled_ = false;
  }
  HighlightNumber(n);
}

void MagnetForm::ValueChanged(MagnetField field, const std::string& text) {
  if (!modify_mode_) {
    enter_enabled_ = true;
  }
  const bool checked = field != F::kHcj && !(field == F::kExtra && kind_ == MagnetKind::kCylinder);
  if (checked && !IsValidRealEntry(text)) {
    notices_.Raise(NoticeId::Caution5);
    if (field != F::kBr) {
      enter_enabled_ = false;
    }
    texts_[Index(field)] = last_valid_[Index(field)];
    Focus(field, true);
    return;
  }
  last_valid_[Index(field)] = text;
}

void MagnetForm::PressEnter(MagnetField field) {
  Commit(field);
  Focus(NextInCycle(kind_, field), true);
}

void MagnetForm::Commit(MagnetField field) {
  // The radii are compared once Ro is complete, never while its digits are being typed.
  if (field == F::kShape2) {
    CheckRadii();
  }
}

void MagnetForm::CheckRadii() {
  const bool has_radii = kind_ == MagnetKind::kSector || kind_ == MagnetKind::kCylinder;
  if (has_radii && Value(F::kShape2) < Value(F::kShape1)) {
    notices_.Raise(NoticeId::Caution13);
  }
}

void MagnetForm::Refresh() {
  const int32_t n = NumberValue();
  if (modify_mode_ && n >= LowestLoaded() && n <= Count()) {
    const int64_t slot = kind_ == MagnetKind::kCylinder ? FirstSectorOf(n) : n;
    if (!(ReadMagnet(model_, TableOf(kind_), slot) == loaded_)) {
      LoadMagnet(n);
    }
    modify_enabled_ = true;
    enter_enabled_ = false;
    HighlightNumber(n);
    return;
  }
  // The typed values stay: they are the user's proposal for the next magnet.
  const std::array<std::string, kMagnetTextFields> typed = texts_;
  SetNumber(ShortestDecimal(RoundToInt32(Count()) + int64_t{1}));
  texts_ = typed;
  texts_[Index(F::kNumber)] = remembered_number_;
  last_valid_ = texts_;
}

void MagnetForm::ClickGrade(int position) {
  if (position < 0 || position >= kShownMaterialGrades) {
    return;
  }
  const auto grades = MaterialGrades();
  selected_grade_ = position;
  SetValue(F::kBr, ShortestDecimal(grades[static_cast<size_t>(position)].Br));
  SetValue(F::kHcj, ShortestDecimal(grades[static_cast<size_t>(position)].Hcj));
}

bool MagnetForm::Enter() {
  if (!enter_enabled_ || RefuseMalformedHcj()) {
    return false;
  }
  return kind_ == MagnetKind::kCylinder ? EnterCylinder() : EnterMagnet();
}

// The coercivity is not checked while it is typed, but what is stored must read as a number:
// "12,000" would otherwise be stored as 12 Oe without a word and mislead the loss studies.
bool MagnetForm::RefuseMalformedHcj() {
  if (IsValidRealEntry(texts_[Index(F::kHcj)])) {
    return false;
  }
  notices_.Raise(NoticeId::Caution5);
  Focus(F::kHcj, true);
  return true;
}

bool MagnetForm::EnterMagnet() {
  const int32_t n = NumberValue();
  // Only the next free number adds a magnet: any other would replace one, cut the table short
  // or leave stale slots inside it.
  if (n != RoundToInt32(Count()) + int64_t{1} || n < LowestLoaded() || !FitsElementSlot(n)) {
    notices_.Raise(NoticeId::Caution5);
    return false;
  }
  CheckRadii();
  switch (kind_) {
    case MagnetKind::kRectangular:
      model_.RecMagCount = n;
      break;
    case MagnetKind::kRh:
      model_.RhMagCount = n;
      break;
    default:
      model_.SecMagCount = n;
      break;
  }
  WriteMagnet(model_, TableOf(kind_), n, ValuesFromTexts());
  views_.RedrawAll();
  SetNumber(ShortestDecimal(int64_t{n} + 1));
  ShowValues(ReadMagnet(model_, TableOf(kind_), n), true, false, kind_ == MagnetKind::kSector);
  Focus(F::kBr, true);
  return true;
}

bool MagnetForm::EnterCylinder() {
  const int32_t k = NumberValue();
  const int32_t first = RoundToInt32(model_.SecMagCount + 1);
  if (k != RoundToInt32(model_.CylinderCount) + int64_t{1} || k > kCylinderCapacity ||
      !FitsElementSlot(first)) {
    notices_.Raise(NoticeId::Caution5);
    return false;
  }
  CheckRadii();
  CylinderEntry& cylinder = model_.CylinderTable[static_cast<size_t>(k)];
  model_.CylinderCount = k;
  cylinder.PoleCount = 1;
  cylinder.FirstSecMag = first;
  MagnetValues values = ValuesFromTexts();
  values.OpenAngle = 2 * Pi() / cylinder.PoleCount;
  for (int32_t s = first; s < first + cylinder.PoleCount; ++s) {
    model_.SecMagCount += 1;
    values.AngZ = (s - first) * values.OpenAngle;  // the Z rotation field is not used
    WriteMagnet(model_, MagnetTable::kSecMag, s, values);
  }
  views_.RedrawAll();
  SetNumber(ShortestDecimal(model_.CylinderCount + 1));
  ShowValues(ReadMagnet(model_, MagnetTable::kSecMag, first), true, false, false);
  Focus(F::kGradeList, false);
  return true;
}

bool MagnetForm::Modify() {
  if (!modify_enabled_ || RefuseMalformedHcj()) {
    return false;
  }
  remembered_number_ = texts_[Index(F::kNumber)];
  const int32_t n = NumberValue();
  // The count may have changed since the number was typed.
  if (n < LowestLoaded() || n > Count()) {
    notices_.Raise(NoticeId::Caution5);
    return false;
  }
  CheckRadii();
  if (kind_ == MagnetKind::kCylinder) {
    return ModifyCylinder();
  }
  WriteMagnet(model_, TableOf(kind_), n, ValuesFromTexts());
  views_.RedrawAll();
  return true;
}

bool MagnetForm::ModifyCylinder() {
  const int32_t k = NumberValue();
  const int64_t first = FirstSectorOf(k);
  // A cylinder number skipped on entry, or whose sector was deleted, has no sector; slot 0 and
  // slots past the count are never written.
  if (k < 1 || k > kCylinderCapacity || !FitsElementSlot(first) ||
      first > SecMagLoopCount(model_)) {
    notices_.Raise(NoticeId::Caution5);
    return false;
  }
  CylinderEntry& cylinder = model_.CylinderTable[static_cast<size_t>(k)];
  cylinder.PoleCount = 1;
  MagnetValues values = ValuesFromTexts();
  const double remanence = values.Br;
  values.OpenAngle = 2 * Pi() / cylinder.PoleCount;
  for (int64_t s = first; s < first + cylinder.PoleCount && FitsElementSlot(s); ++s) {
    values.Br = (s - first) % 2 == 0 ? remanence : -remanence;  // poles alternate
    values.AngZ = static_cast<double>(s - first) * values.OpenAngle;
    WriteMagnet(model_, MagnetTable::kSecMag, s, values);
  }
  views_.RedrawAll();
  return true;
}

void MagnetForm::Close() {
  modify_mode_ = false;
  views_.RedrawAll();
}

const std::string& MagnetForm::Text(MagnetField field) const {
  static const std::string kNone;
  return field == F::kGradeList ? kNone : texts_[Index(field)];
}

std::optional<FocusRequest> MagnetForm::TakeFocus() {
  std::optional<FocusRequest> request = focus_;
  focus_.reset();
  return request;
}

void MagnetForm::SetNumber(const std::string& text) {
  texts_[Index(F::kNumber)] = text;
  NumberChanged(text);
}

void MagnetForm::SetValue(MagnetField field, const std::string& text) {
  // The dialog's own writes pass the check; only the command state follows them.
  texts_[Index(field)] = text;
  last_valid_[Index(field)] = text;
  if (!modify_mode_) {
    enter_enabled_ = true;
  }
}

void MagnetForm::ShowValues(const MagnetValues& v,
                            bool with_br,
                            bool with_hcj,
                            bool with_open_angle) {
  SetValue(F::kShape1, PlainDecimal(v.shape1));
  if (HasField(F::kShape2)) {
    SetValue(F::kShape2, PlainDecimal(v.shape2));
  }
  SetValue(F::kShape3, PlainDecimal(v.shape3));
  if (with_open_angle) {
    SetValue(F::kExtra, PlainDecimal(RadToDeg(v.OpenAngle)));
  }
  SetValue(F::kRotX, PlainDecimal(RadToDeg(v.AngX)));
  SetValue(F::kRotY, PlainDecimal(RadToDeg(v.AngY)));
  SetValue(F::kRotZ, PlainDecimal(RadToDeg(v.AngZ)));
  SetValue(F::kPosX, PlainDecimal(v.Ox));
  SetValue(F::kPosY, PlainDecimal(v.Oy));
  SetValue(F::kPosZ, PlainDecimal(v.Oz));
  if (with_br) {
    SetValue(F::kBr, PlainDecimal(v.Br));
  }
  if (with_hcj) {
    SetValue(F::kHcj, PlainDecimal(v.Hcj));
  }
}

void MagnetForm::LoadMagnet(int32_t n) {
  modify_mode_ = true;
  const int64_t slot = kind_ == MagnetKind::kCylinder ? FirstSectorOf(n) : n;
  // Every value the commands write is loaded, remanence and coercivity included: a
  // position-only "修正" must not write the fields' stale texts over the magnet.
  const MagnetValues values = ReadMagnet(model_, TableOf(kind_), slot);
  loaded_ = values;
  ShowValues(values, true, true, kind_ == MagnetKind::kSector);
  selected_grade_ = values.MaterialIndex;
}

int32_t MagnetForm::LowestLoaded() const {
  return kind_ == MagnetKind::kRectangular ? 2 : 1;
}

MagnetValues MagnetForm::ValuesFromTexts() const {
  MagnetValues v;
  v.shape1 = Value(F::kShape1);
  v.shape2 = HasField(F::kShape2) ? Value(F::kShape2) : 0;
  v.shape3 = Value(F::kShape3);
  v.OpenAngle = kind_ == MagnetKind::kSector ? DegToRad(Value(F::kExtra)) : 0;
  v.AngX = DegToRad(Value(F::kRotX));
  v.AngY = DegToRad(Value(F::kRotY));
  v.AngZ = DegToRad(Value(F::kRotZ));
  v.Ox = Value(F::kPosX);
  v.Oy = Value(F::kPosY);
  v.Oz = Value(F::kPosZ);
  v.Br = Value(F::kBr);
  v.Hcj = Value(F::kHcj);
  v.MaterialIndex = static_cast<int16_t>(selected_grade_);
  return v;
}

double MagnetForm::Count() const {
  switch (kind_) {
    case MagnetKind::kRectangular:
      return model_.RecMagCount;
    case MagnetKind::kSector:
      return model_.SecMagCount;
    case MagnetKind::kCylinder:
      return model_.CylinderCount;
    case MagnetKind::kRh:
      return model_.RhMagCount;
  }
  return 0;
}

int32_t MagnetForm::NumberValue() const {
  return RoundToInt32(NumericValue(texts_[Index(F::kNumber)]));
}

int64_t MagnetForm::FirstSectorOf(int64_t cylinder) const {
  if (cylinder < 1 || cylinder > kCylinderCapacity) {
    return 0;
  }
  return model_.CylinderTable[static_cast<size_t>(cylinder)].FirstSecMag;
}

void MagnetForm::HighlightNumber(int32_t n) {
  if (kind_ != MagnetKind::kCylinder) {
    if (FitsElementSlot(n)) {
      views_.Highlight(TableOf(kind_), n);
    }
    return;
  }
  // A cylinder is shown by its first sector, once it has one.
  const int64_t first = n <= model_.CylinderCount ? FirstSectorOf(n) : 0;
  if (FitsElementSlot(first)) {
    views_.Highlight(MagnetTable::kSecMag, static_cast<int>(first));
  }
}

bool MagnetForm::HasField(MagnetField field) const {
  if (field == F::kShape2) {
    return kind_ != MagnetKind::kRh;
  }
  if (field == F::kExtra) {
    return kind_ == MagnetKind::kSector || kind_ == MagnetKind::kCylinder;
  }
  return field != F::kGradeList;
}

double MagnetForm::Value(MagnetField field) const {
  return NumericValue(texts_[Index(field)]);
}

void MagnetForm::Focus(MagnetField field, bool select_all) {
  focus_ = FocusRequest{field, select_all};
}

// ---- MagnetDeleteForm ----

MagnetDeleteForm::MagnetDeleteForm(MagnetTable table,
                                   ElementModel& model,
                                   Notices& notices,
                                   MagnetViews& views)
    : table_(table), model_(model), notices_(notices), views_(views) {}

std::string_view MagnetDeleteForm::Title() const {
  return table_ == MagnetTable::kRecMag ? "磁石の消去" : "扇型磁石の消去";
}

void MagnetDeleteForm::Open() {
  text_ = std::string(kNoNumber);
  focus_ = FocusRequest{F::kNumber, true};
}

void MagnetDeleteForm::ChangeText(std::string_view text) {
  text_ = std::string(text);
  views_.RedrawAll();
  const int32_t n = RoundToInt32(NumericValue(text_));
  if (IsValidIntegerEntry(text_) && MayGrowToDeletable(n)) {
    return;  // "入力" refuses it if it stays as it is
  }
  if (!IsValidIntegerEntry(text_) || !Deletable(n)) {
    notices_.Raise(NoticeId::Caution5);
    text_ = std::string(kNoNumber);
    focus_ = FocusRequest{F::kNumber, true};
    return;
  }
  views_.HighlightOnly(table_, n);
}

void MagnetDeleteForm::Refresh() {
  if (text_ != kNoNumber && !Deletable(RoundToInt32(NumericValue(text_)))) {
    text_ = std::string(kNoNumber);
  }
}

bool MagnetDeleteForm::Enter() {
  if (!IsValidIntegerEntry(text_)) {
    notices_.Raise(NoticeId::Caution5);
    return false;
  }
  const int32_t k = RoundToInt32(NumericValue(text_));
  // Checked again: another dialog may have changed the count since the number was typed.
  if (!Deletable(k)) {
    notices_.Raise(NoticeId::Caution5);
    return false;
  }
  DeleteSlot(k, Count());
  views_.RedrawAll();
  return true;
}

std::optional<FocusRequest> MagnetDeleteForm::TakeFocus() {
  std::optional<FocusRequest> request = focus_;
  focus_.reset();
  return request;
}

bool MagnetDeleteForm::Deletable(int64_t n) const {
  // Rectangular magnet 1 is the global frame; slot 0 is never an element.
  const int64_t lowest = table_ == MagnetTable::kRecMag ? 2 : 1;
  return n >= lowest && n <= Count();
}

// The world cube's "1" is the first digit of 10…19, 100… : refusing it at once would keep those
// magnets from being typed at all.
bool MagnetDeleteForm::MayGrowToDeletable(int64_t n) const {
  return n >= 1 && !Deletable(n) && n * 10 <= Count();
}

int32_t MagnetDeleteForm::Count() const {
  return table_ == MagnetTable::kRecMag ? model_.RecMagCount : SecMagLoopCount(model_);
}

void MagnetDeleteForm::DeleteSlot(int32_t k, int32_t m) {
  auto shift = [k, m](auto& table) {
    if (k < m) {
      for (int32_t i = k; i < m; ++i) {
        table[static_cast<size_t>(i)] = table[static_cast<size_t>(i) + 1];
      }
      table[static_cast<size_t>(m)] = {};
    }
  };
  // A grid stays on its own magnet, which is now one number lower; the sector run places its
  // points on that magnet again, so a stale number would move them onto another one.
  auto follow = [k](int32_t& magnet) {
    if (magnet > k) {
      --magnet;
    }
  };
  if (table_ == MagnetTable::kRecMag) {
    shift(model_.RecMagTable);
    model_.RecMagCount = m - 1;
    follow(model_.RectCalPointSet.MagN);
  } else {
    shift(model_.SecMagTable);
    model_.SecMagCount = m - 1;
    FollowDeletedSector(k);
    follow(model_.SectCalPointSet.MagN);
  }
}

// A cylinder is known by the slot of its sector: the later sectors moved down one, and a cylinder
// whose sector went has none left, so neither the cylinder dialog nor its "修正" reaches the
// magnet that took its place.
void MagnetDeleteForm::FollowDeletedSector(int32_t k) {
  for (size_t c = 1; c < model_.CylinderTable.size(); ++c) {
    int32_t& first = model_.CylinderTable[c].FirstSecMag;
    if (first == k) {
      first = 0;
    } else if (first > k) {
      --first;
    }
  }
}

}  // namespace tavrine

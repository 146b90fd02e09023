// Current-element forms: field layouts per kind, current ↔ density through the cross-section
// area, number checks, restores, the Enter cycle and the three commands.
#include "model/coil_forms.h"

#include <algorithm>
#include <utility>

#include "model/capacity.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

// The round-wire editing dialog draws its kind with more generator lines than the views do.
constexpr int kStrCylDialogGenerators = 10;

std::vector<CoilFieldSpec> CommonTail() {
  return {
      {"Text4", "X軸", "0.0", CoilRole::kAngle}, {"Text5", "Y軸", "0.0", CoilRole::kAngle},
      {"Text6", "Z軸", "0.0", CoilRole::kAngle}, {"Text7", "X", "0.0", CoilRole::kCentre},
      {"Text8", "Y", "0.0", CoilRole::kCentre},  {"Text9", "Z", "0.0", CoilRole::kCentre},
  };
}

std::vector<CoilFieldSpec> HeadFields(CoilKind kind) {
  const CoilFieldSpec number{"Text10", "電流要素番号", "1", CoilRole::kNumber};
  switch (kind) {
    case CoilKind::kStrCyl:
      return {number,
              {"Text11", "電流(A)", "13500", CoilRole::kCurrent},
              {"Text1", "線長(mm)", "0.0", CoilRole::kGeometry},
              {"Text2", "線半径(mm)", "0.0", CoilRole::kGeometry}};
    case CoilKind::kStrRec:
      return {number,
              {"Text3", "電流(A)", "", CoilRole::kCurrent},
              {"Text11", "線長", "", CoilRole::kGeometry},
              {"Text1", "線幅", "", CoilRole::kGeometry},
              {"Text2", "線厚さ", "", CoilRole::kGeometry}};
    case CoilKind::kSecCyl:
      return {number,
              {"Text11", "電流(A)", "1.0", CoilRole::kCurrent},
              {"Text1", "曲率半径", "10.", CoilRole::kGeometry},
              {"Text2", "ｺｲﾙ半径", "0.5", CoilRole::kGeometry},
              {"Text3", "開き角", "60.0", CoilRole::kGeometry, true}};
    case CoilKind::kSecRec:
      return {number,
              {"Text3", "電流(A)", "", CoilRole::kCurrent},
              {"Text11", "内R", "", CoilRole::kGeometry},
              {"Text1", "外R", "", CoilRole::kGeometry},
              {"Text2", "厚さ", "", CoilRole::kGeometry},
              {"Text13", "開き角", "30", CoilRole::kGeometry, true}};
  }
  return {number};
}

std::vector<CoilFieldSpec> FieldsOf(CoilKind kind) {
  std::vector<CoilFieldSpec> fields = HeadFields(kind);
  for (const CoilFieldSpec& entry : CommonTail()) {
    fields.push_back(entry);
  }
  return fields;
}

constexpr int kTailFields = 6;  // three rotations, three centre coordinates
constexpr int kHeadFields = 2;  // number and current

// The placement shared by every record, in dialog units (degrees).
template <class Record>
void ReadPlacement(const Record& r, CoilValues& v) {
  v.angles[0] = RadToDeg(r.AngX);
  v.angles[1] = RadToDeg(r.AngY);
  v.angles[2] = RadToDeg(r.AngZ);
  v.centre[0] = r.Ox;
  v.centre[1] = r.Oy;
  v.centre[2] = r.Oz;
}

template <class Record>
void WritePlacement(const CoilValues& v, Record& r) {
  r.AngX = DegToRad(v.angles[0]);
  r.AngY = DegToRad(v.angles[1]);
  r.AngZ = DegToRad(v.angles[2]);
  r.Ox = v.centre[0];
  r.Oy = v.centre[1];
  r.Oz = v.centre[2];
}

double AreaOf(const StrCylCoil& c) {
  return Pi() * c.R * c.R;
}
double AreaOf(const StrRecCoil& c) {
  return c.W * c.T;
}
double AreaOf(const SecCylCoil& c) {
  return Pi() * c.rwire * c.rwire;
}
double AreaOf(const SecRecCoil& c) {
  return (c.Ro - c.Ri) * c.T;
}

// The rectangular straight wire only checks against zero, so a negative width flips the density.
bool AreaUsable(const StrRecCoil&, double area) {
  return area != 0;
}
template <class Record>
bool AreaUsable(const Record&, double area) {
  return area > 0;
}

std::vector<double> GeometryOf(const StrCylCoil& c) {
  return {c.Lx, c.R};
}
std::vector<double> GeometryOf(const StrRecCoil& c) {
  return {c.Lx, c.W, c.T};
}
std::vector<double> GeometryOf(const SecCylCoil& c) {
  return {c.R, c.rwire, RadToDeg(c.Angle)};
}
std::vector<double> GeometryOf(const SecRecCoil& c) {
  return {c.Ri, c.Ro, c.T, RadToDeg(c.Angle)};
}

void SetGeometry(const std::vector<double>& g, StrCylCoil& c) {
  c.Lx = g[0];
  c.R = g[1];
}
void SetGeometry(const std::vector<double>& g, StrRecCoil& c) {
  c.Lx = g[0];
  c.W = g[1];
  c.T = g[2];
}
void SetGeometry(const std::vector<double>& g, SecCylCoil& c) {
  c.R = g[0];
  c.rwire = g[1];
  c.Angle = DegToRad(g[2]);
}
void SetGeometry(const std::vector<double>& g, SecRecCoil& c) {
  c.Ri = g[0];
  c.Ro = g[1];
  c.T = g[2];
  c.Angle = DegToRad(g[3]);
}

template <class Record>
CoilValues ReadRecord(const Record& r) {
  CoilValues v;
  v.current = r.CurrentDensity * AreaOf(r);
  v.geometry = GeometryOf(r);
  ReadPlacement(r, v);
  return v;
}

template <class Record>
void WriteRecord(const CoilValues& v, Record& r, Notices& notices) {
  SetGeometry(v.geometry, r);
  WritePlacement(v, r);
  const double area = AreaOf(r);
  if (AreaUsable(r, area)) {
    r.CurrentDensity = v.current / area;
  } else {
    notices.Raise(NoticeId::Caution);
    r.CurrentDensity = v.current;
  }
}

// Calls f with the kind's table (const or not, following the model).
template <class Model, class F>
decltype(auto) WithTable(Model& model, CoilKind kind, F&& f) {
  switch (kind) {
    case CoilKind::kStrRec:
      return f(model.StrRecCoilTable);
    case CoilKind::kSecCyl:
      return f(model.SecCylCoilTable);
    case CoilKind::kSecRec:
      return f(model.SecRecCoilTable);
    case CoilKind::kStrCyl:
      break;
  }
  return f(model.StrCylCoilTable);
}

// The kind's count (const or not, following the model).
template <class Model>
auto& CountOf(Model& model, CoilKind kind) {
  switch (kind) {
    case CoilKind::kStrRec:
      return model.StrRecCoilCount;
    case CoilKind::kSecCyl:
      return model.SecCylCoilCount;
    case CoilKind::kSecRec:
      return model.SecRecCoilCount;
    case CoilKind::kStrCyl:
      break;
  }
  return model.StrCylCoilCount;
}

size_t Slot(int i) {
  return static_cast<size_t>(i);
}

int ElementNumber(std::string_view text) {
  return RoundToInt32(NumericValue(text));
}

int HighlightSegments(CoilKind kind) {
  return kind == CoilKind::kStrCyl ? kStrCylDialogGenerators : 0;
}

// The Kt lists' kind index (0 straight rectangular, 1 arc rectangular, 2 straight round, 3 arc
// round).
size_t KtKindOf(CoilKind kind) {
  switch (kind) {
    case CoilKind::kStrRec:
      return 0;
    case CoilKind::kSecRec:
      return 1;
    case CoilKind::kStrCyl:
      return 2;
    case CoilKind::kSecCyl:
      break;
  }
  return 3;
}

// The Kt lists name coils by number: the later coils moved down one, and a listed coil that went
// leaves its list with its piece counts, so the sweep still turns the coils the user chose.
void FollowDeletedCoil(KtState& kt, size_t kind, int n) {
  const int listed = std::clamp(kt.KtSelectionCount[kind], 0, kKtSlots - 1);
  int kept = 0;
  for (int p = 1; p <= listed; ++p) {
    const size_t from = Slot(p);
    const int e = kt.KtSelection[kind][from];
    if (e == n) {
      continue;
    }
    const size_t to = Slot(++kept);
    kt.KtSelection[kind][to] = e > n ? e - 1 : e;
    kt.DivL[kind][to] = kt.DivL[kind][from];
    kt.DivW[kind][to] = kt.DivW[kind][from];
    kt.DivT[kind][to] = kt.DivT[kind][from];
  }
  for (int p = kept + 1; p <= listed; ++p) {
    kt.KtSelection[kind][Slot(p)] = 0;
    kt.DivL[kind][Slot(p)] = kt.DivW[kind][Slot(p)] = kt.DivT[kind][Slot(p)] = 0;
  }
  kt.KtSelectionCount[kind] = kept;
}

}  // namespace

int32_t& CoilCount(ElementModel& model, CoilKind kind) {
  return CountOf(model, kind);
}

int32_t CoilCount(const ElementModel& model, CoilKind kind) {
  return CountOf(model, kind);
}

double CoilArea(const ElementModel& model, CoilKind kind, int i) {
  return WithTable(model, kind, [i](const auto& table) { return AreaOf(table[Slot(i)]); });
}

CoilValues ReadCoil(const ElementModel& model, CoilKind kind, int i) {
  return WithTable(model, kind, [i](const auto& table) { return ReadRecord(table[Slot(i)]); });
}

void WriteCoil(
    ElementModel& model, CoilKind kind, int i, const CoilValues& values, Notices& notices) {
  WithTable(model, kind, [&](auto& table) { WriteRecord(values, table[Slot(i)], notices); });
}

// ---- CoilForm ----

CoilForm::CoilForm(CoilKind kind) : kind_(kind), fields_(FieldsOf(kind)) {
  for (const CoilFieldSpec& entry : fields_) {
    texts_.emplace_back(entry.initial_text);
  }
  last_valid_number_ = texts_[0];
  last_valid_ = texts_;
}

std::string_view CoilForm::Title() const {
  switch (kind_) {
    case CoilKind::kStrRec:
      return "平角ワイヤー直線状電流要素の作成";
    case CoilKind::kSecCyl:
      return "円柱ワイヤー円弧状電流要素の作成";
    case CoilKind::kSecRec:
      return "平角ワイヤ-円弧状電流要素の作成";
    case CoilKind::kStrCyl:
      break;
  }
  return "円柱ワイヤー直線状電流要素の作成";
}

int CoilForm::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name == name) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<int> CoilForm::TakeFocusRequest() {
  return std::exchange(focus_request_, std::nullopt);
}

void CoilForm::Open(const ElementModel& model) {
  const int count = CoilCount(model, kind_);
  ShowNewNumber(count + 1);
  if (count > 0 && FitsElementSlot(count)) {
    Fill(ReadCoil(model, kind_, count));
  } else {
    FillAll("0");
  }
  focus_request_ = 1;
}

void CoilForm::OnTextChanged(int field,
                             std::string_view text,
                             const ElementModel& model,
                             Notices& notices,
                             CoilDisplay& display) {
  texts_[static_cast<size_t>(field)] = std::string(text);
  if (field == 0) {
    OnNumberChanged(text, model, notices, display);
  } else {
    OnValueChanged(field, text, notices);
  }
}

void CoilForm::OnNumberChanged(std::string_view text,
                               const ElementModel& model,
                               Notices& notices,
                               CoilDisplay& display) {
  modify_enabled_ = false;
  const int n = ElementNumber(text);
  // A number beyond the table is refused like a malformed one.
  if (!IsValidIntegerEntry(text) || n > kElementCapacity) {
    notices.Raise(NoticeId::Caution5);
    texts_[0] = last_valid_number_;
    enter_enabled_ = false;
    return;
  }
  last_valid_number_ = std::string(text);
  const int count = CoilCount(model, kind_);
  if (n >= 1 && n <= count) {
    Fill(ReadCoil(model, kind_, n));
    modify_mode_ = true;
    enter_enabled_ = false;
    modify_enabled_ = true;
  } else if (n == count + 1) {
    modify_mode_ = false;
    enter_enabled_ = true;
  }
  if (FitsElementSlot(n)) {
    display.HighlightElement(kind_, n, HighlightSegments(kind_));
  }
}

void CoilForm::OnValueChanged(int field, std::string_view text, Notices& notices) {
  if (!ChecksWhileTyping()) {
    return;
  }
  enter_enabled_ = !modify_mode_;
  if (!IsValidRealEntry(text)) {
    notices.Raise(NoticeId::Caution5);
    texts_[static_cast<size_t>(field)] = last_valid_[static_cast<size_t>(field)];
    focus_request_ = field;
    return;
  }
  last_valid_[static_cast<size_t>(field)] = std::string(text);
}

void CoilForm::Refresh(const ElementModel& model, CoilDisplay& display) {
  const int n = Number();
  const int count = CoilCount(model, kind_);
  if (modify_mode_ && n >= 1 && n <= count) {
    if (!(ReadCoil(model, kind_, n) == loaded_)) {
      Fill(ReadCoil(model, kind_, n));
    }
    display.HighlightElement(kind_, n, HighlightSegments(kind_));
    return;
  }
  // A new element's typed values stay; only its number follows the model.
  ShowNewNumber(count + 1);
}

void CoilForm::OnEnterKey(int field) {
  focus_request_ = NextField(field);
}

int CoilForm::NextField(int field) const {
  const int last = static_cast<int>(fields_.size()) - 1;
  return field >= last ? 1 : field + 1;
}

void CoilForm::Enter(ElementModel& model, Notices& notices, CoilDisplay& display) {
  if (!enter_enabled_) {
    return;
  }
  if (RefuseMalformedValue(notices)) {
    return;
  }
  const int n = Number();
  int32_t& count = CoilCount(model, kind_);
  // Only the next free number adds an element: above it the count would jump over stale slots,
  // below it the elements above would be cut off.
  if (n != count + 1 || !FitsElementSlot(n)) {
    notices.Raise(NoticeId::Caution5);
    return;
  }
  count = n;
  WriteCoil(model, kind_, n, Values(), notices);
  display.RedrawAll();
  ShowNewNumber(n + 1);
  if (ChecksWhileTyping()) {
    Fill(ReadCoil(model, kind_, n));
    focus_request_ = 1;
  }
}

void CoilForm::Modify(ElementModel& model, Notices& notices, CoilDisplay& display) {
  if (!modify_enabled_ || RefuseMalformedValue(notices)) {
    return;
  }
  const int n = Number();
  if (n < 1 || n > CoilCount(model, kind_)) {
    notices.Raise(NoticeId::Caution5);
    return;
  }
  WriteCoil(model, kind_, n, Values(), notices);
  display.RedrawAll();
}

void CoilForm::ShowNewNumber(int number) {
  texts_[0] = std::to_string(number);
  last_valid_number_ = texts_[0];
  modify_mode_ = false;
  enter_enabled_ = true;
  modify_enabled_ = false;
}

void CoilForm::Fill(const CoilValues& values) {
  loaded_ = values;
  texts_[1] = PlainDecimal(values.current);
  for (size_t g = 0; g < values.geometry.size(); ++g) {
    texts_[kHeadFields + g] = PlainDecimal(values.geometry[g]);
  }
  const size_t tail = texts_.size() - kTailFields;
  for (size_t k = 0; k < 3; ++k) {
    texts_[tail + k] = PlainDecimal(values.angles[k]);
    texts_[tail + 3 + k] = PlainDecimal(values.centre[k]);
  }
  last_valid_ = texts_;
}

void CoilForm::FillAll(std::string_view text) {
  for (size_t i = 1; i < texts_.size(); ++i) {
    texts_[i] = std::string(text);
  }
  last_valid_ = texts_;
}

CoilValues CoilForm::Values() const {
  CoilValues values;
  values.current = NumericValue(texts_[1]);
  const size_t tail = texts_.size() - kTailFields;
  for (size_t f = kHeadFields; f < tail; ++f) {
    values.geometry.push_back(NumericValue(texts_[f]));
  }
  for (size_t k = 0; k < 3; ++k) {
    values.angles[k] = NumericValue(texts_[tail + k]);
    values.centre[k] = NumericValue(texts_[tail + 3 + k]);
  }
  return values;
}

int CoilForm::Number() const {
  return ElementNumber(texts_[0]);
}

// The straight dialogs take any text while it is typed, but what they store must read as a
// number: a typo such as "1O" or "12,5" would otherwise be stored as its leading digits without
// a word. The field is named and keeps its text for the user to mend.
bool CoilForm::RefuseMalformedValue(Notices& notices) {
  for (size_t f = 1; f < texts_.size(); ++f) {
    if (!IsValidRealEntry(texts_[f])) {
      notices.Raise(NoticeId::Caution5);
      focus_request_ = static_cast<int>(f);
      return true;
    }
  }
  return false;
}

// Only the two arc dialogs check their value fields while the user types.
bool CoilForm::ChecksWhileTyping() const {
  return kind_ == CoilKind::kSecCyl || kind_ == CoilKind::kSecRec;
}

// ---- DeleteCoil ----

void DeleteCoil::Reset() {
  kind_ = CoilKind::kStrCyl;
  text_ = std::string(kInitialText);
}

void DeleteCoil::OnKindChosen(CoilKind kind,
                              const ElementModel& model,
                              Notices& notices,
                              CoilDisplay& display) {
  kind_ = kind;
  Check(model, notices, display);
}

void DeleteCoil::OnTextChanged(std::string_view text,
                               const ElementModel& model,
                               Notices& notices,
                               CoilDisplay& display) {
  text_ = std::string(text);
  Check(model, notices, display);
}

void DeleteCoil::Check(const ElementModel& model, Notices& notices, CoilDisplay& display) {
  display.RedrawAll();
  if (!IsValidIntegerEntry(text_)) {
    notices.Raise(NoticeId::Caution5);
    text_ = std::string(kInitialText);
  }
  // Only an element that exists is shown as the one about to go.
  const int n = ElementNumber(text_);
  if (n >= 1 && n <= CoilCount(model, kind_)) {
    display.HighlightOnly(kind_, n);
  }
}

void DeleteCoil::FollowModel(const ElementModel& model, CoilDisplay& display) {
  const int n = IsValidIntegerEntry(text_) ? ElementNumber(text_) : 0;
  if (n < 1 || n > CoilCount(model, kind_))
    text_ = std::string(kInitialText);
  display.RedrawAll();
  const int shown = ElementNumber(text_);
  if (shown >= 1 && shown <= CoilCount(model, kind_))
    display.HighlightOnly(kind_, shown);
}

bool DeleteCoil::Enter(ElementModel& model, Notices& notices, CoilDisplay& display) {
  if (!IsValidIntegerEntry(text_)) {
    notices.Raise(NoticeId::Caution5);
    text_ = std::string(kInitialText);
    return false;
  }
  const int n = ElementNumber(text_);
  int32_t& count = CoilCount(model, kind_);
  // Nothing to delete there: refuse rather than drop the last element or go below zero.
  if (n < 1 || n > count || !FitsElementSlot(count)) {
    notices.Raise(NoticeId::Caution5);
    return false;
  }
  WithTable(model, kind_, [n, count](auto& table) {
    for (int i = n; i < count; ++i) {
      table[Slot(i)] = table[Slot(i + 1)];
    }
    // The vacated slot would otherwise show the old last element as a stale "next" element.
    table[Slot(count)] = {};
  });
  --count;
  FollowDeletedCoil(model.Kt, KtKindOf(kind_), n);
  display.RedrawAll();
  return true;
}

}  // namespace tavrine

// Sweep keys over the model's tables in the model file's units and names, and the grids laid
// again through the grid dialogs' own form logic.
#include "batch/sweep_keys.h"

#include <array>
#include <map>

#include "calcpoints/grid_forms.h"
#include "files/model_file_layout.h"
#include "model/text_rules.h"

namespace tavrine::sweep {

namespace {

using model_file::Section;

enum class Unit { kPlain, kDegrees, kCurrent };

template <class R>
struct Column {
  double R::*field;
  Unit unit;
};

// One element table: its columns in file order (from the first value after the number) and,
// for coils whose file column holds amperes, the cross-section that turns them into a density.
template <class R>
struct TableInfo {
  ElementTable<R> ElementModel::*table;
  std::vector<Column<R>> columns;
  double (*area)(const R&, double pi) = nullptr;
};

template <class R>
std::vector<Column<R>> Placement() {
  return {{&R::Ox, Unit::kPlain},     {&R::Oy, Unit::kPlain},     {&R::Oz, Unit::kPlain},
          {&R::AngX, Unit::kDegrees}, {&R::AngY, Unit::kDegrees}, {&R::AngZ, Unit::kDegrees}};
}

template <class R>
std::vector<Column<R>> Join(std::vector<Column<R>> head, std::vector<Column<R>> tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Calls f with the TableInfo of the section's element table.
template <class F>
decltype(auto) WithTable(int section, F&& f) {
  constexpr Unit P = Unit::kPlain, D = Unit::kDegrees, A = Unit::kCurrent;
  switch (section) {
    case model_file::kRecMag: {
      auto columns = Join<RecMag>(
          {{&RecMag::Br, P}, {&RecMag::Hcj, P}, {&RecMag::a, P}, {&RecMag::b, P}, {&RecMag::l, P}},
          Placement<RecMag>());
      columns.push_back({&RecMag::BrAngle, D});
      return f(TableInfo<RecMag>{&ElementModel::RecMagTable, columns});
    }
    case model_file::kSecMag:
      return f(TableInfo<SecMag>{&ElementModel::SecMagTable, Join<SecMag>({{&SecMag::Br, P},
                                                                           {&SecMag::Hcj, P},
                                                                           {&SecMag::Ri, P},
                                                                           {&SecMag::Ro, P},
                                                                           {&SecMag::T, P},
                                                                           {&SecMag::OpenAngle, D}},
                                                                          Placement<SecMag>())});
    case model_file::kRhMag:
      return f(TableInfo<RhMag>{
          &ElementModel::RhMagTable,
          Join<RhMag>({{&RhMag::Br, P}, {&RhMag::Hcj, P}, {&RhMag::R, P}, {&RhMag::HT, P}},
                      Placement<RhMag>())});
    case model_file::kStrRec:
      return f(TableInfo<StrRecCoil>{&ElementModel::StrRecCoilTable,
                                     Join<StrRecCoil>({{&StrRecCoil::CurrentDensity, A},
                                                       {&StrRecCoil::Lx, P},
                                                       {&StrRecCoil::W, P},
                                                       {&StrRecCoil::T, P}},
                                                      Placement<StrRecCoil>()),
                                     [](const StrRecCoil& c, double) { return c.W * c.T; }});
    case model_file::kStrCyl:  // the file holds this kind's density itself
      return f(TableInfo<StrCylCoil>{
          &ElementModel::StrCylCoilTable,
          Join<StrCylCoil>(
              {{&StrCylCoil::CurrentDensity, P}, {&StrCylCoil::Lx, P}, {&StrCylCoil::R, P}},
              Placement<StrCylCoil>())});
    case model_file::kSecRec:
      return f(
          TableInfo<SecRecCoil>{&ElementModel::SecRecCoilTable,
                                Join<SecRecCoil>({{&SecRecCoil::CurrentDensity, A},
                                                  {&SecRecCoil::Ri, P},
                                                  {&SecRecCoil::Ro, P},
                                                  {&SecRecCoil::T, P},
                                                  {&SecRecCoil::Angle, D}},
                                                 Placement<SecRecCoil>()),
                                [](const SecRecCoil& c, double) { return (c.Ro - c.Ri) * c.T; }});
    default:
      return f(TableInfo<SecCylCoil>{
          &ElementModel::SecCylCoilTable,
          Join<SecCylCoil>({{&SecCylCoil::CurrentDensity, A},
                            {&SecCylCoil::R, P},
                            {&SecCylCoil::rwire, P},
                            {&SecCylCoil::Angle, D}},
                           Placement<SecCylCoil>()),
          [](const SecCylCoil& c, double pi) { return pi * (c.rwire * c.rwire); }});
  }
}

int ElementCount(const ElementModel& m, int section) {
  const std::array<int, 7> counts = {m.RecMagCount,     SecMagLoopCount(m), m.RhMagCount,
                                     m.StrRecCoilCount, m.StrCylCoilCount,  m.SecRecCoilCount,
                                     m.SecCylCoilCount};
  return counts[static_cast<size_t>(section)];
}

constexpr std::array<std::string_view, 7> kTableNames = {
    "RecMag", "SecMag", "RhMag", "StrRecCoil", "StrCylCoil", "SecRecCoil", "SecCylCoil"};

std::optional<int> SectionNamed(std::string_view name) {
  for (int s = 0; s < 7; ++s) {
    const std::string_view table = kTableNames[static_cast<size_t>(s)];
    if (name == table || name == std::string(table) + "Table" ||
        name == model_file::Sections()[static_cast<size_t>(s)].heading) {
      return s;
    }
  }
  return std::nullopt;
}

// A column heading without its "(i)"; two columns also answer to their model field's name.
std::optional<int> ColumnNamed(int section, std::string_view name) {
  const auto& headings = model_file::Sections()[static_cast<size_t>(section)].columns2;
  for (size_t c = 1; c < headings.size(); ++c) {
    std::string_view heading = headings[c];
    if (heading.ends_with("(i)")) {
      heading.remove_suffix(3);
    }
    if (name == heading) {
      return static_cast<int>(c);
    }
  }
  if (section == model_file::kSecMag && name == "OpenAngle") {
    return 6;
  }
  if (section == model_file::kSecCyl && name == "rwire") {
    return 3;
  }
  return std::nullopt;
}

constexpr std::array<std::string_view, 8> kRectGridFields = {
    "MagN", "XL", "DivX", "YL", "DivY", "DisZ", "XSymmetric", "YSymmetric"};
constexpr std::array<std::string_view, 8> kSectGridFields = {
    "MagN", "RDiv", "CalPointRi", "CalPointRo", "AngleDiv", "TStart", "TSweep", "DisZ"};
// The sector dialog's own control names for the same settings.
constexpr std::array<std::string_view, 8> kSectGridControls = {"MagN", "DivR",   "Ri",     "Ro",
                                                               "DivT", "TStart", "TSweep", "DisZ"};

std::variant<SweepKey, std::string> GridKey(std::string_view text,
                                            GridKind grid,
                                            std::string_view field) {
  for (size_t f = 0; f < 8; ++f) {
    const bool rect = grid == GridKind::kRect;
    if (rect ? field == kRectGridFields[f]
             : (field == kSectGridFields[f] || field == kSectGridControls[f])) {
      return SweepKey{std::string(text), grid, 0, 0, static_cast<int>(f)};
    }
  }
  return "計算点の設定 " + std::string(field) + " はありません: " + std::string(text);
}

std::optional<GridKind> GridNamed(std::string_view name) {
  if (name == "RectGrid" || name == "RectCalPointSet" ||
      name == model_file::Sections()[model_file::kRect].heading) {
    return GridKind::kRect;
  }
  if (name == "SectGrid" || name == "SectCalPointSet" ||
      name == model_file::Sections()[model_file::kSect].heading) {
    return GridKind::kSect;
  }
  return std::nullopt;
}

std::vector<std::string_view> SplitDots(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t dot; (dot = text.find('.', start)) != std::string_view::npos; start = dot + 1) {
    parts.push_back(text.substr(start, dot - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

std::variant<SweepKey, std::string> ParseSweepKey(std::string_view text,
                                                  const ElementModel& model) {
  const std::vector<std::string_view> parts = SplitDots(text);
  const std::string quoted(text);
  if (parts.size() == 2) {
    if (auto grid = GridNamed(parts[0])) {
      return GridKey(text, *grid, parts[1]);
    }
  }
  if (parts.size() != 3) {
    return "キーは 表.番号.項目 または RectGrid.項目、SectGrid.項目 の形で指定してください: " +
           quoted;
  }
  const auto section = SectionNamed(parts[0]);
  if (!section) {
    return "表の名前が違います: " + quoted;
  }
  const std::string number(parts[1]);
  if (!IsValidIntegerEntry(number) || number.find(',') != std::string::npos) {
    return "要素番号が正しくありません: " + quoted;
  }
  const int element = RoundToInt32(NumericValue(number));
  if (element < 1 || element > ElementCount(model, *section)) {
    return "その番号の要素はモデルにありません: " + quoted;
  }
  const auto column = ColumnNamed(*section, parts[2]);
  if (!column) {
    return "その表にこの項目はありません: " + quoted;
  }
  return SweepKey{quoted, GridKind::kNone, *section, element, *column};
}

namespace {

// The values of one element's keys, by file column.
using ColumnValues = std::map<int, double>;

// Sets the columns of element i; a coil keeps its current in amperes unless the current is
// itself a key, so that changing a wire's width changes its density, as editing the file would.
std::optional<std::string> SetElement(ElementModel& model,
                                      int section,
                                      int i,
                                      const ColumnValues& values) {
  return WithTable(section, [&](const auto& info) -> std::optional<std::string> {
    auto& record = (model.*info.table)[static_cast<size_t>(i)];
    // Only coils whose file column holds amperes have an area; that column is their first.
    double* density = info.area ? &(record.*info.columns[0].field) : nullptr;
    double current = density ? *density * info.area(record, model.Pi) : 0;
    for (const auto& [column, value] : values) {
      const auto& c = info.columns[static_cast<size_t>(column - 1)];
      if (c.unit == Unit::kCurrent) {
        current = value;
      } else {
        record.*c.field = c.unit == Unit::kDegrees ? DegToRad(value) : value;
      }
    }
    if (!density) {
      return std::nullopt;
    }
    const double area = info.area(record, model.Pi);
    if (area == 0.0) {
      return std::string(kTableNames[static_cast<size_t>(section)]) + "." + std::to_string(i) +
             " の断面積がゼロです";
    }
    *density = current / area;
    return std::nullopt;
  });
}

// Keeps the first notice raised, for the variant's failure text.
class FirstNotice final : public Notices {
 public:
  void Raise(NoticeId id, std::string_view) override {
    if (!first_) {
      first_ = id;
    }
  }
  std::string Text() const {
    return first_ ? std::string(NoticeInfo(*first_).message)
                  : std::string("入力値が正しくありません");
  }

 private:
  std::optional<NoticeId> first_;
};

std::string GridText(const char* what, const FirstNotice& notice) {
  return std::string(what) + "の計算点を作成できません: " + notice.Text();
}

std::optional<std::string> LayRectGrid(ElementModel& model, const GridTexts& texts) {
  RectGridForm form;
  form.FillFromSettings(model.RectCalPointSet);
  FirstNotice notice;
  if (model.RectCalPointSet.MagN >= 1) {
    form.OnTextChanged(RectGridField::MagN, std::to_string(model.RectCalPointSet.MagN),
                       model.RectCalPointSet, notice);
  }
  for (const auto& [field, text] : texts) {
    if (field == kRectHalfX || field == kRectHalfY) {
      const bool half = NumericValue(text) != 0;
      if (field == kRectHalfX) {
        form.SetHalfX(half);
      } else {
        form.SetHalfY(half);
      }
    } else if (form.OnTextChanged(static_cast<RectGridField>(field), text, model.RectCalPointSet,
                                  notice)
                   .restored) {
      return GridText("四角型", notice);
    }
  }
  if (form.Input(model, notice) == GridOutcome::kRefused) {
    return GridText("四角型", notice);
  }
  return std::nullopt;
}

// The sector dialog's texts for the grid the model holds, when its points are that grid's.
void FillFromStoredSectGrid(SectGridForm& form, const SectPointSet& set) {
  const int64_t rings = int64_t{set.RDiv} + 1, angles = int64_t{set.AngleDiv} + 1;
  if (set.MagN >= 1) {
    form.SetText(SectGridField::MagN, std::to_string(set.MagN));
  }
  if (set.RDiv <= 0 || set.AngleDiv <= 0 || rings * angles - 1 != set.LastIndex) {
    return;
  }
  const SectCalPoint& first = set.Points[0];
  form.SetText(SectGridField::DivR, std::to_string(set.RDiv));
  form.SetText(SectGridField::DivT, std::to_string(set.AngleDiv));
  form.SetText(SectGridField::CalPointRi, ShortestDecimal(first.R));
  form.SetText(SectGridField::CalPointRo, ShortestDecimal(set.Points[set.LastIndex].R));
  form.SetText(SectGridField::TStart, ShortestDecimal(RadToDeg(first.Theta)));
  form.SetText(SectGridField::TSweep,
               ShortestDecimal(RadToDeg(set.Points[set.AngleDiv].Theta - first.Theta)));
  form.SetText(SectGridField::DisZ, ShortestDecimal(first.Z));
}

std::optional<std::string> LaySectGrid(ElementModel& model, const GridTexts& texts) {
  SectGridForm form;
  FillFromStoredSectGrid(form, model.SectCalPointSet);
  for (const auto& [field, text] : texts) {
    form.SetText(static_cast<SectGridField>(field), text);
  }
  FirstNotice notice;
  if (form.Input(model, notice) == GridOutcome::kRefused) {
    return GridText("扇型", notice);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> LayGrid(ElementModel& model, GridKind grid, const GridTexts& texts) {
  return grid == GridKind::kRect ? LayRectGrid(model, texts) : LaySectGrid(model, texts);
}

std::optional<std::string> ApplyVariant(ElementModel& model,
                                        const std::vector<SweepKey>& keys,
                                        const std::vector<double>& values) {
  std::map<std::pair<int, int>, ColumnValues> elements;
  GridTexts rect, sect;
  for (size_t k = 0; k < keys.size(); ++k) {
    const SweepKey& key = keys[k];
    if (key.grid == GridKind::kRect) {
      rect[key.column] = ShortestDecimal(values[k]);
    } else if (key.grid == GridKind::kSect) {
      sect[key.column] = ShortestDecimal(values[k]);
    } else {
      elements[{key.section, key.element}][key.column] = values[k];
    }
  }
  for (const auto& [element, columns] : elements) {
    if (auto failure = SetElement(model, element.first, element.second, columns)) {
      return failure;
    }
  }
  if (!rect.empty()) {
    if (auto failure = LayGrid(model, GridKind::kRect, rect)) {
      return failure;
    }
  }
  if (!sect.empty()) {
    return LayGrid(model, GridKind::kSect, sect);
  }
  return std::nullopt;
}

}  // namespace tavrine::sweep

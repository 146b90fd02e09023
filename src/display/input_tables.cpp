// Input data tables: each kind's columns as values with their display patterns.
#include "display/input_tables.h"

#include <algorithm>
#include <string_view>

#include "model/capacity.h"
#include "model/number_patterns.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

constexpr std::string_view kValue = "####0.##";

struct Cell {
  double value;
  std::string_view pattern = kValue;
};

// Rows of one kind: the element number through `number_pattern`, then the kind's cells.
template <class Record, class Cells>
InputTable Build(std::string grid,
                 std::vector<std::string> headings,
                 std::string_view number_pattern,
                 const ElementTable<Record>& table,
                 int64_t count,
                 Cells cells) {
  InputTable out{std::move(grid), std::move(headings), {}};
  const int n = ClampedCount(count);
  out.rows.reserve(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i) {
    std::vector<std::string> row{PatternNumber(i, number_pattern)};
    for (const Cell& cell : cells(table[static_cast<size_t>(i)])) {
      row.push_back(PatternNumber(cell.value, cell.pattern));
    }
    out.rows.push_back(std::move(row));
  }
  return out;
}

// The headings every kind shares after its own: centre and rotation angles.
std::vector<std::string> WithPlacement(std::vector<std::string> first,
                                       std::vector<std::string> last = {}) {
  for (const char* h : {"Ox(mm)", "Oy(mm)", "Oz(mm)", "回転角X", "回転角Y", "回転角Z"}) {
    first.emplace_back(h);
  }
  first.insert(first.end(), last.begin(), last.end());
  return first;
}

class Tables {
 public:
  explicit Tables(const ElementModel& model)
      : model_(model), pi_(model.Pi != 0 ? model.Pi : Pi()) {}

  double Deg(double radians) const { return radians / pi_ * 180; }

  template <class Record>
  std::vector<Cell> Placed(std::vector<Cell> first,
                           const Record& r,
                           std::vector<Cell> last = {}) const {
    for (double v : {r.Ox, r.Oy, r.Oz, Deg(r.AngX), Deg(r.AngY), Deg(r.AngZ)}) {
      first.push_back({v});
    }
    first.insert(first.end(), last.begin(), last.end());
    return first;
  }

  InputTable RecMags() const {
    return Build("Grid1",
                 WithPlacement({"角柱磁石", "a(mm)", "b(mm)", "l(mm)"}, {"Br(G)", "Hcj(Oe)"}),
                 "###0", model_.RecMagTable, model_.RecMagCount, [this](const RecMag& r) {
                   return Placed({{r.a}, {r.b}, {r.l}}, r, {{r.Br}, {r.Hcj, "###0.##"}});
                 });
  }
  InputTable SecMags() const {
    return Build("Grid2",
                 WithPlacement({"（中空）円柱型磁石", "Ri(mm)", "Ro(mm)", "t(mm)", "開き角度"},
                               {"Br(G)", "Hcj(Oe)"}),
                 "####0", model_.SecMagTable, SecMagLoopCount(model_), [this](const SecMag& r) {
                   return Placed({{r.Ri}, {r.Ro}, {r.T}, {Deg(r.OpenAngle)}}, r, {{r.Br}, {r.Hcj}});
                 });
  }
  InputTable RhMags() const {
    return Build("Grid7", WithPlacement({"RH型磁石", "R(mm)", "Lz(mm)"}, {"Br(G)", "Hcj(Oe)"}),
                 "####0", model_.RhMagTable, model_.RhMagCount, [this](const RhMag& r) {
                   return Placed({{r.R}, {r.HT}}, r, {{r.Br}, {r.Hcj}});
                 });
  }
  InputTable StrCylCoils() const {
    return Build("Grid3", WithPlacement({"円柱型ｺｲﾙ", "長さ(mm)", "半径(mm)", "電流(A)"}), "####0",
                 model_.StrCylCoilTable, model_.StrCylCoilCount, [this](const StrCylCoil& r) {
                   const double current = r.CurrentDensity * pi_ * r.R * r.R;
                   return Placed({{r.Lx}, {r.R}, {current, "#####0.####"}}, r);
                 });
  }
  InputTable StrRecCoils() const {
    return Build(
        "Grid4", WithPlacement({"角柱型ｺｲﾙ", "長さ(mm)", "線幅(mm)", "線厚さ(mm)", "電流(A)"}),
        "####0", model_.StrRecCoilTable, model_.StrRecCoilCount, [this](const StrRecCoil& r) {
          const double current = r.T * r.W * r.CurrentDensity;
          return Placed({{r.Lx}, {r.W}, {r.T}, {current, "#####0.####"}}, r);
        });
  }
  InputTable SecRecCoils() const {
    return Build(
        "Grid5",
        WithPlacement({"角柱扇型ｺｲﾙ", "内径(mm)", "外径(mm)", "厚さ(mm)", "開き角(°)", "電流(A)"}),
        "####0", model_.SecRecCoilTable, model_.SecRecCoilCount, [this](const SecRecCoil& r) {
          const double current = (r.Ro - r.Ri) * r.CurrentDensity * r.T;
          return Placed({{r.Ri}, {r.Ro}, {r.T}, {Deg(r.Angle)}, {current}}, r);
        });
  }
  InputTable SecCylCoils() const {
    return Build(
        "Grid6", WithPlacement({"円柱扇型ｺｲﾙ", "曲率(mm)", "線半径(mm)", "開き角(°)", "電流(A)"}),
        "####0", model_.SecCylCoilTable, model_.SecCylCoilCount, [this](const SecCylCoil& r) {
          const double current = r.rwire * r.rwire * pi_ * r.CurrentDensity;
          return Placed({{r.R}, {r.rwire}, {Deg(r.Angle)}, {current, "#####0.##"}}, r);
        });
  }

 private:
  const ElementModel& model_;
  double pi_;
};

}  // namespace

std::vector<InputTable> InputDataTables(const ElementModel& model) {
  const Tables tables(model);
  std::vector<InputTable> out;
  out.push_back(tables.RecMags());
  out.push_back(tables.SecMags());
  out.push_back(tables.RhMags());
  out.push_back(tables.StrCylCoils());
  out.push_back(tables.StrRecCoils());
  out.push_back(tables.SecRecCoils());
  out.push_back(tables.SecCylCoils());
  return out;
}

}  // namespace tavrine

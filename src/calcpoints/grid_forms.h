// Logic of the two grid dialogs, "四角型分布磁界計算点の作成" and "扇型分布磁界計算点の作成":
// their field texts, the division checks with their restores, the Enter cycle and "入力".
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calcpoints/grids.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

// What a changed text leaves in its field; `restored` asks for the whole text to be selected.
struct FieldText {
  std::string text;
  bool restored = false;
};

// Fields of the rectangular grid dialog, in their Enter cycle order.
enum class RectGridField { MagN, XL, DivX, YL, DivY, DisZ };
inline constexpr int kRectGridFieldCount = 6;

class RectGridForm {
 public:
  RectGridForm();

  // Opening from the main window: divisions, multipliers, distance and half-region boxes from
  // the stored settings; the magnet number keeps its text.
  void FillFromSettings(const RectPointSet& set);

  const std::string& Text(RectGridField field) const;
  bool HalfX() const { return half_x_; }
  bool HalfY() const { return half_y_; }
  void SetHalfX(bool checked) { half_x_ = checked; }
  void SetHalfY(bool checked) { half_y_ = checked; }

  // The divisions must stay valid integer entries: an invalid one raises Caution5 and the
  // stored division comes back. Other fields take any text.
  FieldText OnTextChanged(RectGridField field,
                          std::string_view text,
                          const RectPointSet& stored,
                          Notices& notices);

  static RectGridField NextField(RectGridField field);

  // The texts read as numbers, as "入力" hands them to the generator.
  RectGridInput Read() const;
  // "入力": store the settings and generate the points; the caller redraws and previews.
  GridOutcome Input(ElementModel& model, Notices& notices) const;

 private:
  std::array<std::string, kRectGridFieldCount> texts_;
  bool half_x_ = true, half_y_ = true;
};

// Fields of the sector grid dialog, in their Enter cycle order.
enum class SectGridField { MagN, DivR, CalPointRi, CalPointRo, DivT, TStart, TSweep, DisZ };
inline constexpr int kSectGridFieldCount = 8;

// Opens with its own default texts every time it is created; nothing is checked while typing.
class SectGridForm {
 public:
  SectGridForm();

  const std::string& Text(SectGridField field) const;
  void SetText(SectGridField field, std::string_view text);

  static SectGridField NextField(SectGridField field);

  SectGridInput Read() const;
  // The model changed under the open dialog: a magnet number that no longer names a sector
  // magnet falls back to the initial one; every other text is kept.
  void FollowModel(const ElementModel& model);
  // "入力": store the settings and generate the points; a zero division count raises
  // Caution2 and generates nothing.
  GridOutcome Input(ElementModel& model, Notices& notices) const;

 private:
  std::array<std::string, kSectGridFieldCount> texts_;
};

}  // namespace tavrine

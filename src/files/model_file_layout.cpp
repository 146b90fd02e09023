// Headings and column headings of the model file, spaces exactly as the file holds them:
// U+3000 ideographic spaces around "ｺｲﾙ位置", a full-width "ｒ" in "ｒwire(i)".
#include "files/model_file_layout.h"

namespace tavrine::model_file {

const std::array<SectionText, kSectionCount>& Sections() {
  static const std::array<SectionText, kSectionCount> kSections{{
      {"角柱磁石データ",
       {"磁石番号", "残留磁束密度", "保磁力", " ", "磁石形状", " ", " ", "磁石位置", " ", " ",
        "回転角度", " ", "磁化法線角度"},
       {"i", "Br(Gauss)", "Hcj(Oe)", "a(i)", "b(i)", "l(i)", "Ox(i)", "Oy(i)", "Oz(i)", "AngX(i)",
        "AngY(i)", "AngZ(i)", "BrAngle"}},
      {"扇型磁石データ",
       {"磁石番号", "残留磁束密度", "保磁力", " ", "磁石形状", " ", " ", "磁石位置", " ", " ", " ",
        "回転角度", " "},
       {"i", "Br(Gauss)", "Hcj(Oe)", "Ri(i)", "Ro(i)", "T(i)", "開き角(i)", "Ox(i)", "Oy(i)",
        "Oz(i)", "AngX(i)", "AngY(i)", "AngZ(i)"}},
      {"RH型磁石データ",
       {"磁石番号", "残留磁束密度", "保磁力", " ", "磁石形状", " ", "磁石位置", " ", " ",
        "回転角度", " "},
       {"i", "Br(Gauss)", "Hcj(Oe)", "R(i)", "HT(i)", "Ox(i)", "Oy(i)", "Oz(i)", "AngX(i)",
        "AngY(i)", "AngZ(i)"}},
      {"直線角柱ｺｲﾙデータ",
       {"ｺｲﾙ番号", "ｺｲﾙ電流(A)", " ", "ｺｲﾙ形状", " ", " ", "ｺｲﾙ位置", " ", " ", "ｺｲﾙ回転角度"},
       {"i", "Current(i)", "Lx(i)", "W(i)", "T(i)", "Ox(i)", "Oy(i)", "Oz(i)", "AngX(i)", "AngY(i)",
        "AngZ(i)"}},
      {"直線円柱ｺｲﾙデータ",
       {"ｺｲﾙ番号", "ｺｲﾙ電流(A)", "ｺｲﾙ形状", " ", " ", "ｺｲﾙ位置", " ", " ", "ｺｲﾙ回転角度"},
       {"i", "Current(i)", "Lx(i)", "R(i)", "Ox(i)", "Oy(i)", "Oz(i)", "AngX(i)", "AngY(i)",
        "AngZ(i)"}},
      {"曲線角柱ｺｲﾙデータ",
       {"ｺｲﾙ番号", "ｺｲﾙ電流(A)", "内径", "外径", "厚さ ", "開き角 ", "　　ｺｲﾙ位置　　", " ", " ",
        "固有座標回転角度"},
       {"i", "Current(i)", "Ri(i)", "Ro(i)", "T(i)", "Angle(i)", "Ox(i)", "Oy(i)", "Oz(i)",
        "AngX(i)", "AngY(i)", "AngZ(i)"}},
      {"曲線円柱ｺｲﾙデータ",
       {"ｺｲﾙ番号", "ｺｲﾙ電流(A)", "曲率", "線半径", "開き角 ", "　　ｺｲﾙ位置　　", " ", " ",
        "固有座標回転角度"},
       {"i", "Current(i)", "R(i)", "ｒwire(i)", "Angle(i)", "Ox(i)", "Oy(i)", "Oz(i)", "AngX(i)",
        "AngY(i)", "AngZ(i)"}},
      {"四角型磁界分布計算結果",
       {"計算点番号", " ", "計算点座標", " ", " ", "計算結果", " "},
       {" i ", "PGroX(i)", "PGroY(i)", "PGroZ(i)", "Hx(i)", "Hy(i)", "Hz(i)"}},
      {"扇型計算結果",
       {"計算点番号", " ", "計算点座標", " ", " ", "計算結果", " "},
       {" i ", "R(i)", "θ(i)", "Z(i)", "Hx(i)", "Hy(i)", "Hz(i)"}},
  }};
  return kSections;
}

const std::array<std::string_view, 7>& CountLabels() {
  static const std::array<std::string_view, 7> kLabels = {
      "角柱磁石個数", "扇型磁石個数", "RH型磁石個数", "ｺｲﾙ個数", "ｺｲﾙ個数", "ｺｲﾙ個数", "ｺｲﾙ個数"};
  return kLabels;
}

}  // namespace tavrine::model_file

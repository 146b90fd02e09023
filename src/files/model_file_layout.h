// The fixed texts of the model file's nine sections (UTF-8 here, code page 932 in the file).
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tavrine::model_file {

struct SectionText {
  std::string_view heading;
  std::vector<std::string_view> columns1;
  std::vector<std::string_view> columns2;
};

inline constexpr int kSectionCount = 9;
enum Section { kRecMag, kSecMag, kRhMag, kStrRec, kStrCyl, kSecRec, kSecCyl, kRect, kSect };

const std::array<SectionText, kSectionCount>& Sections();

// Count labels of sections 1 to 7, and the settings labels of the two point sets.
const std::array<std::string_view, 7>& CountLabels();
inline constexpr std::string_view kPointCountLabel = "計算点の数";
inline constexpr std::array<std::string_view, 4> kRectSettingLabels = {"X分割数", "X軸対称有無",
                                                                       "Y分割数", "Y軸対称有無"};
inline constexpr std::array<std::string_view, 2> kSectSettingLabels = {"R分割数", "角度分割数"};

// A trailing section, after the nine, with the magnets the two grids were laid on. Written
// only when one differs from 1, so older readers, which stop after the ninth section, never
// see it and files of models without it stay as they were.
inline constexpr std::string_view kGridMagnetHeading = "計算点の磁石番号";
inline constexpr std::array<std::string_view, 2> kGridMagnetLabels = {"四角型計算点の磁石番号",
                                                                      "扇型計算点の磁石番号"};

}  // namespace tavrine::model_file

// The fonts of the program's windows; named explicitly so Japanese text renders everywhere.
#pragma once

#include <QFont>

namespace tavrine {

inline constexpr const char* kUiFontFamily = "Noto Sans CJK JP";

inline QFont ViewFont() {
  QFont font(kUiFontFamily);
  font.setPixelSize(12);
  return font;
}

}  // namespace tavrine

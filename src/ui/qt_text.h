// The one crossing between the core's UTF-8 strings and Qt's strings.
#pragma once

#include <string_view>

#include <QString>

namespace tavrine {

inline QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tavrine

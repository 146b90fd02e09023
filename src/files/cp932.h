// Strict conversion between UTF-8 (inside the program) and code page 932 (in files).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrine {

// Nothing when a character has no code page 932 form or the input is not valid UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
// Nothing when the bytes are not valid code page 932 text.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

}  // namespace tavrine

// iconv with no transliteration and no skipping: any unconvertible input fails the whole text.
#include "files/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace tavrine {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    return std::nullopt;
  }
  std::string out(input.size() * 2 + 16, '\0');
  char* in_ptr = const_cast<char*>(input.data());
  size_t in_left = input.size();
  size_t out_used = 0;
  bool ok = true;
  // The final call with no input flushes any pending shift state and must succeed too.
  for (bool flushing = false;;) {
    char* out_ptr = out.data() + out_used;
    size_t out_left = out.size() - out_used;
    size_t rc = flushing ? iconv(cd, nullptr, nullptr, &out_ptr, &out_left)
                         : iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out_used = out.size() - out_left;
    if (rc != static_cast<size_t>(-1)) {
      if (flushing) {
        break;
      }
      flushing = true;
      continue;
    }
    if (errno != E2BIG) {
      ok = false;  // EILSEQ or EINVAL: invalid or incomplete input
      break;
    }
    out.resize(out.size() * 2);
  }
  iconv_close(cd);
  if (!ok) {
    return std::nullopt;
  }
  out.resize(out_used);
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932);
}

}  // namespace tavrine

// Case mapping of UTF-8 text through utf8proc.
#include "unicode.h"

#include <utf8proc.h>

namespace {

// Maps each code point with map(code point, index of the character); bytes that do not decode are
// copied as they are.
template <typename Map>
std::string MapCodePoints(const std::string& text, Map map) {
  std::string out;
  out.reserve(text.size());
  const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(text.size());
  size_t index = 0;
  while (left > 0) {
    utf8proc_int32_t cp;
    utf8proc_ssize_t n = utf8proc_iterate(p, left, &cp);
    if (n <= 0) {
      out.push_back(static_cast<char>(*p));
      ++p;
      --left;
      ++index;
      continue;
    }
    utf8proc_int32_t mapped = map(cp, index);
    utf8proc_uint8_t buffer[4];
    utf8proc_ssize_t m = utf8proc_encode_char(mapped, buffer);
    out.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(m));
    p += n;
    left -= n;
    ++index;
  }
  return out;
}

}  // namespace

std::string UpperCase(const std::string& text) {
  return MapCodePoints(text, [](utf8proc_int32_t c, size_t) { return utf8proc_toupper(c); });
}

std::string LowerCase(const std::string& text) {
  return MapCodePoints(text, [](utf8proc_int32_t c, size_t) { return utf8proc_tolower(c); });
}

std::string TitleCase(const std::string& text) {
  return MapCodePoints(text, [](utf8proc_int32_t c, size_t index) {
    return index == 0 ? utf8proc_toupper(c) : utf8proc_tolower(c);
  });
}

std::string AsciiUpper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Reading the command line: option names and values, numbers, and the settings options set.
#include "options.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "keywords.h"
#include "unicode.h"

namespace {

std::string Trim(const std::string& text, const char* blanks) {
  size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::string TrimSpaces(const std::string& text) {
  return Trim(text, " ");
}

std::string StripQuotes(const std::string& text) {
  size_t begin = text.find_first_not_of('"');
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of('"') - begin + 1);
}

std::string OptionNameAt(const Parameters& params, size_t i) {
  if (i >= params.size()) return std::string();
  const std::string text = TrimSpaces(params[i]);
  if (StartsWith(text, "--")) return AsciiUpper(text.substr(0, text.find('=')));
  if (StartsWith(text, "-")) return AsciiUpper(text);
  return std::string();
}

std::string OptionValueAt(const Parameters& params, size_t i) {
  if (i >= params.size()) return std::string();
  const std::string text = TrimSpaces(params[i]);
  const size_t equals = text.find('=', 2);
  if (StartsWith(text, "--") && equals != std::string::npos) return text.substr(equals + 1);
  return text;
}

int32_t ParseInteger(const std::string& text) {
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return 0;
  bool negative = false;
  if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
  unsigned base = 10;
  if (at < text.size() && text[at] == '$')
    base = 16, ++at;
  else if (at < text.size() && text[at] == '%')
    base = 2, ++at;
  // Unsigned arithmetic wraps like the 32-bit store it ends in, without overflow.
  uint32_t value = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    unsigned digit = 99;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    if (digit >= base) break;
    value = value * base + digit;
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

float ParseReal(const std::string& text) {
  // Only the decimal form counts: "inf", "nan" and hexadecimal floats that strtod would also
  // take are not numbers here.
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return 0;
  const size_t start = at;
  auto digits = [&] {
    const size_t from = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
      ++at;
    return at > from;
  };
  if (text[at] == '+' || text[at] == '-') ++at;
  bool any = digits();
  if (at < text.size() && text[at] == '.') ++at, any = digits() || any;
  if (!any) return 0;
  const size_t mantissaEnd = at;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (!digits()) at = mantissaEnd;
  }
  // The program never changes the C locale, so strtod reads "." as the separator.
  const double value = std::strtod(text.substr(start, at - start).c_str(), nullptr);
  if (std::fabs(value) > FLT_MAX) return value > 0 ? HUGE_VALF : -HUGE_VALF;
  return static_cast<float>(value);
}

const SettingDef* FindOption(const std::string& name, bool inProfile) {
  for (const SettingDef& def : SettingsTable()) {
    const char* option = inProfile && def.profileOption ? def.profileOption : def.option;
    if (option && name == option) return &def;
  }
  return nullptr;
}

void ApplyOption(const SettingDef& def, const std::string& value) {
  FieldPtr field = def.field(gSettings);
  // Integers go into byte settings as their low byte, as a one-byte store keeps them.
  auto storeInteger = [&field](int32_t number) {
    if (auto* byte = std::get_if<int8_t*>(&field)) **byte = static_cast<int8_t>(number);
    if (auto* word = std::get_if<int32_t*>(&field)) **word = number;
    if (auto* real = std::get_if<float*>(&field)) **real = static_cast<float>(number);
  };
  switch (def.optionKind) {
    case OptionKind::Keyword:
      storeInteger(KeywordValue(def.keywordTable, TrimSpaces(value)));
      break;
    case OptionKind::Integer:
      storeInteger(ParseInteger(value));
      break;
    case OptionKind::Flag:
      storeInteger(def.flagValue);
      break;
    case OptionKind::Real:
      if (auto* real = std::get_if<float*>(&field)) **real = ParseReal(value);
      break;
    case OptionKind::Text:
      if (auto* text = std::get_if<std::string*>(&field)) **text = value;
      break;
    case OptionKind::None:
      return;
  }
  if (def.sideFlag) *std::get<int8_t*>(def.sideFlag(gSettings)) = def.sideValue;
}

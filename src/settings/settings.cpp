// Defaults of the settings record, colour texts and the folder history list.
#include "settings.h"

#include <cctype>

#include "clock.h"
#include "identity.h"
#include "settings_table.h"
#include "unicode.h"

Settings gSettings;

namespace {

int desktopWidth = 0;
int desktopHeight = 0;

// The value a rule-driven default takes now.
double RuleValue(DefaultRule rule, bool consoleDefaults) {
  switch (rule) {
    case DefaultRule::Now:
      return static_cast<double>(static_cast<int32_t>(LocalNowSeconds()));
    case DefaultRule::CentredX:
      return 510 < desktopWidth ? (desktopWidth - 510) / 2 : 100;
    case DefaultRule::CentredY:
      return 330 < desktopHeight ? (desktopHeight - 330) / 2 : 100;
    case DefaultRule::KeepAspectRatio:
      return consoleDefaults ? 0 : 1;
    default:
      return 0;
  }
}

void Assign(const SettingDef& def, Settings& settings, bool consoleDefaults) {
  std::string text = def.text;
  if (def.rule == DefaultRule::FirstInputFormat) text = InputExtensions().front();
  if (def.rule == DefaultRule::FirstOutputFormat) text = OutputExtensions().front();
  double number =
      def.rule == DefaultRule::Value ? def.number : RuleValue(def.rule, consoleDefaults);
  std::visit(
      [&](auto* field) {
        using T = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>)
          *field = text;
        else
          *field = static_cast<T>(number);
      },
      def.field(settings));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Two characters read as hexadecimal up to the first that is not a digit.
uint8_t HexPair(char high, char low) {
  int a = HexDigit(high);
  if (a < 0) return 0;
  int b = HexDigit(low);
  return static_cast<uint8_t>(b < 0 ? a : a * 16 + b);
}

}  // namespace

void SetDesktopSize(int width, int height) {
  desktopWidth = width;
  desktopHeight = height;
}

void ResetSettings(bool consoleDefaults) {
  for (const SettingDef& def : SettingsTable())
    Assign(def, gSettings, consoleDefaults);
}

Color ParseHexColor(const std::string& text) {
  if (text.size() != 6) return Color{};
  return Color{HexPair(text[0], text[1]), HexPair(text[2], text[3]), HexPair(text[4], text[5])};
}

std::string ColorToHex(Color color) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t part : {color.red, color.green, color.blue}) {
    out.push_back(digits[part >> 4]);
    out.push_back(digits[part & 15]);
  }
  return out;
}

namespace {

std::string TrimSpaces(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

}  // namespace

std::string RecentListAt(const std::string& list, int index) {
  if (index < 0) return std::string();
  size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = list.find('\t', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  size_t end = list.find('\t', start);
  return TrimSpaces(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

std::string AddToRecentList(const std::string& list, const std::string& folder, int maxEntries) {
  // Folders that differ only in letter case are the same folder; the texts themselves are
  // compared, as two different folders may share a checksum.
  const std::string key = UpperCase(folder);
  std::string result = folder;
  int kept = 1;
  for (int i = 0; i < maxEntries; ++i) {
    std::string entry = RecentListAt(list, i);
    if (!entry.empty() && kept <= maxEntries - 1 && UpperCase(entry) != key) {
      result += "\t" + entry;
      ++kept;
    }
  }
  return result;
}

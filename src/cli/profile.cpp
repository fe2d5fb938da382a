// Profile files: command-line options kept in the "CLI" group of an INI-style file.
#include "command_line.h"
#include "ini_file.h"
#include "unicode.h"

bool ReadProfile(const std::string& path) {
  IniReader reader;
  if (!reader.Open(path)) return false;
  for (const auto& [key, raw] : reader.GroupEntries("CLI")) {
    const std::string name = AsciiUpper(TrimSpaces(key));
    const SettingDef* def = FindOption(name, true);
    if (!def) continue;
    // No checks here: a profile's values are taken as they stand, flags by their presence.
    std::string value = TrimSpaces(raw);
    if (name == "--FILENAME-MASK") value = StripQuotes(value);
    ApplyOption(*def, value);
  }
  return true;
}

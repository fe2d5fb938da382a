// Language files, read by the rules of the program's INI-style files.
#include "language_file.h"

// Not wired to the INI reader yet: until it is, no language file can be read and the
// built-in texts stay. Start-up never passes a language file.
std::optional<LanguageLookup> OpenLanguageFile(const std::string&) {
  return std::nullopt;
}

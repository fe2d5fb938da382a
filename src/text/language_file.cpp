// Language files, read by the rules of the program's INI-style files.
#include "language_file.h"

#include <memory>

#include "ini_file.h"

std::optional<LanguageLookup> OpenLanguageFile(const std::string& path) {
  auto reader = std::make_shared<IniReader>();
  if (path.empty() || !reader->Open(path)) return std::nullopt;
  return LanguageLookup(
      [reader](const std::string& group, const std::string& key) -> std::optional<std::string> {
        if (!reader->HasKey(group, key)) return std::nullopt;
        return reader->ReadText(group, key, std::string());
      });
}

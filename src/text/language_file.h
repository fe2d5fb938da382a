// Language files: INI-style files whose values replace built-in texts.
#pragma once

#include <optional>
#include <string>

#include "text_table.h"

// A lookup of the file's values, or nothing when the file cannot be read.
std::optional<LanguageLookup> OpenLanguageFile(const std::string& path);

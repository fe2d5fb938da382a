// The table every visible text comes from, built from the built-in English texts.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "english_texts.h"

// What a lookup of a group or key that the table lacks gives, and what is then shown.
inline constexpr const char* kNoStringError = "%NO_STRING_ERROR%";

// A language file's value for a key of a group, or nothing when the file lacks either. The
// table passes its names in upper case; the file's names match them regardless of letter case.
using LanguageLookup =
    std::function<std::optional<std::string>(const std::string& group, const std::string& key)>;

// Builds the table from the built-in texts. When languageFile names a file that can be read,
// its values replace the texts of the keys it holds; anything else in it is ignored. Always true.
bool BuildTextTable(const std::string& languageFile);
// The same from other data: at most count pairs, up to the "_END_" pair. An empty language
// lookup keeps every text of the data.
bool BuildTextTable(const TextPair* data, size_t count, const LanguageLookup& language);

// The text of key in group, both matched regardless of letter case, or kNoStringError.
std::string GetText(const std::string& group, const std::string& key);

// The text with every "%s1%".."%s4%" (either case of the s) replaced by the argument of that
// number, s1 first; an empty argument leaves its placeholder as it is.
std::string FormatText(const std::string& text, const std::string& s1 = "",
                       const std::string& s2 = "", const std::string& s3 = "",
                       const std::string& s4 = "");

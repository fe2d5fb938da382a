// Case mapping of UTF-8 text.
#pragma once

#include <string>

// Full Unicode case mapping; invalid UTF-8 bytes pass through unchanged.
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);
// First character upper case, the rest lower case ("sUNSET" -> "Sunset").
std::string TitleCase(const std::string& text);
// Only the ASCII letters are changed.
std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);

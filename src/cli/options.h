// Reading the command line: option names and values, numbers, and the settings options set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings_table.h"

using Parameters = std::vector<std::string>;

// The option a parameter names, upper case: "--NAME" up to its "=", a whole "-X", or empty
// for a parameter that is not an option.
std::string OptionNameAt(const Parameters& params, size_t i);
// The value of a long option after its first "=", else the whole trimmed parameter.
std::string OptionValueAt(const Parameters& params, size_t i);
// Decimal, "$" hexadecimal or "%" binary, with an optional sign; stops at the first
// character that does not belong; no digits give 0.
int32_t ParseInteger(const std::string& text);
// A decimal fraction with "." as separator; text that is not a number gives 0.
float ParseReal(const std::string& text);
// Removes every leading and trailing double quote.
std::string StripQuotes(const std::string& text);
// Removes leading and trailing spaces.
std::string TrimSpaces(const std::string& text);

// The settings row a command-line option (profile key when inProfile) sets, or nullptr.
const SettingDef* FindOption(const std::string& name, bool inProfile);
// Stores value in the row's setting by the row's option kind and switches its side flag on.
void ApplyOption(const SettingDef& def, const std::string& value);

// Every setting described once: group, key, kind, default and the option that sets it.
// ResetSettings, the configuration file and the command line all walk this table.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "settings.h"

enum class SettingKind { Flag, ByteEnum, IntEnum, Int32, Float, Text, Color, Date };

// How an option's value is read: a keyword of a table, a number, a text, or nothing (a flag).
enum class OptionKind { None, Keyword, Integer, Real, Text, Flag };

// Defaults that are not a constant.
enum class DefaultRule {
  Value,     // the number or text of the row
  Now,       // the current local date and time
  CentredX,  // the default window centred on the primary desktop
  CentredY,
  FirstInputFormat,   // first entry of the input-format list
  FirstOutputFormat,  // first entry of the output-format list
  KeepAspectRatio,    // 1 on the desktop, 0 on the console
};

using FieldPtr = std::variant<int8_t*, int32_t*, float*, std::string*>;
using FieldAccess = FieldPtr (*)(Settings&);

struct SettingDef {
  const char* group;
  const char* key;
  SettingKind kind;
  FieldAccess field;
  double number = 0;      // default of a numeric setting
  const char* text = "";  // default of a text setting
  DefaultRule rule = DefaultRule::Value;
  const char* format = nullptr;  // written only while this format is in its format list
  bool hasMissingValue = false;  // a file without the key reads missingValue, not the default
  int32_t missingValue = 0;

  // Command line: the option, how its value is read, and for flag options the value stored.
  const char* option = nullptr;
  OptionKind optionKind = OptionKind::None;
  int keywordTable = -1;
  int8_t flagValue = 1;
  // A flag the option switches on as well ("set to 1 by"), with the value it gets.
  FieldAccess sideFlag = nullptr;
  int8_t sideValue = 1;
  // Profiles name a few settings by another option than the command line.
  const char* profileOption = nullptr;
};

const std::vector<SettingDef>& SettingsTable();
// The row of group/key (exact names), or nullptr.
const SettingDef* FindSetting(const std::string& group, const std::string& key);

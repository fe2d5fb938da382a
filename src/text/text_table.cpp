// The table every visible text comes from.
#include "text_table.h"

bool BuildTextTable(const std::string&) { return true; }
std::string GetText(const std::string&, const std::string&) { return "%NO_STRING_ERROR%"; }
std::string FormatText(const std::string& text, const std::string&, const std::string&,
                       const std::string&, const std::string&) {
  return text;
}

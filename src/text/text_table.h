// The table every visible text comes from, built from the built-in English texts.
#pragma once

#include <string>

bool BuildTextTable(const std::string& languageFile);
std::string GetText(const std::string& group, const std::string& key);
std::string FormatText(const std::string& text, const std::string& s1 = "", const std::string& s2 = "",
                       const std::string& s3 = "", const std::string& s4 = "");

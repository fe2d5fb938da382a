// The option keyword tables: words of the command line and their setting values.
#pragma once

#include <string>

int KeywordValue(int table, const std::string& word);
std::string KeywordName(int table, int value);

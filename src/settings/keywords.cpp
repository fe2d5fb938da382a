// The option keyword tables.
#include "keywords.h"

int KeywordValue(int, const std::string&) { return 0; }
std::string KeywordName(int, int) { return std::string(); }

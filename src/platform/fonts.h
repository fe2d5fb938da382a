// Fonts by name, through fontconfig.
#pragma once

#include <string>

// True when fontconfig can provide the family itself or a metric-compatible stand-in for it
// (as Liberation Sans stands in for Arial); a mere fallback to another design does not count.
bool FontIsAvailable(const std::string& family, bool bold, bool italic);

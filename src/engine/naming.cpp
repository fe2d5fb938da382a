// Output file names: the filename mask with its %-tokens, and temporary names.
#include "naming.h"

std::string ReplaceNameToken(const std::string& text, const std::string&) { return text; }
std::string ExpandFilenameMask() { return std::string(); }
std::string RemoveExtension(const std::string& name) { return name; }
std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix) {
  return prefix + suffix;
}
std::string BuildOutputPath() { return std::string(); }
std::string BuildTemporaryPath() { return std::string(); }

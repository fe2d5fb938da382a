// Profile files: command-line options kept in the "CLI" group of an INI-style file.
#include "command_line.h"

bool ReadProfile(const std::string&) {
  return false;
}

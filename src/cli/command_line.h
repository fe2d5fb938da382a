// The command line: help, version, options and profiles, and the console run they lead to.
#pragma once

#include <optional>
#include <string>

#include "options.h"

// Handles the process parameters. Returns the exit code when they were a console action;
// returns nothing when the desktop program is to start.
std::optional<int> HandleCommandLine(const Parameters& params);
// Applies the keys of group "CLI" of an INI-style profile; false when it cannot be opened.
bool ReadProfile(const std::string& path);

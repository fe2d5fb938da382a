// The help and version texts of the command line.
#pragma once

#include <string>
#include <vector>

// The help lines, filled for the program file named program.
std::vector<std::string> HelpLines(const std::string& program);
// The four lines printed before a console run.
std::vector<std::string> HeaderLines();

// The console the console run owns: whole lines, results on stdout, failures on stderr.
#pragma once

#include <string>

void ConsoleLine(const std::string& text);
void ConsoleErrorLine(const std::string& text);

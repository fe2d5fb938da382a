// The console the console run owns: whole lines, results on stdout, failures on stderr.
#pragma once

#include <string>

void ConsoleLine(const std::string& text);
void ConsoleErrorLine(const std::string& text);
// Sets the terminal's title, when stdout is a terminal.
void SetConsoleTitle(const std::string& title);
// Waits for one key press, when stdin is a terminal.
void WaitForKey();

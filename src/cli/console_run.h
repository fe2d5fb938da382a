// The console conversion run: checks, debug echo of the settings, import, conversion.
#pragma once

// Runs the conversion the command line asked for and returns the process exit code:
// 0 every imported file converted, 1 an error line or nothing imported, 2 a file failed.
int RunConsoleConversion(bool quiet);

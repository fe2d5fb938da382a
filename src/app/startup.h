// Start-up: the process-wide tables, the image libraries, the single-instance lock.
#pragma once

// Runs the program with the process parameters and returns its exit code.
int RunProgram(int argc, char** argv);

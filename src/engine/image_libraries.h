// Start-up of the image libraries, once per process.
#pragma once

#include <string>

// Initialises DevIL and ILU, silences libtiff's own console output and routes FreeImage's
// messages into LastImageLibraryMessage. Safe to call more than once.
void InitialiseImageLibraries();
// The last message FreeImage reported on this thread (for debugging and tests).
std::string LastImageLibraryMessage();

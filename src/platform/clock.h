// Local wall-clock time as the program stores it: seconds since 1970 as if local time were UTC.
#pragma once

#include <cstdint>
#include <ctime>

// time() shifted by the local zone's offset.
int64_t LocalNowSeconds();
// The real time (seconds since 1970, UTC) of a local date and time held as if it were UTC.
int64_t LocalSecondsToTime(int64_t localSeconds);
// Broken-down local date and time of now.
std::tm LocalNow();
// Uniform random integer in [low, high], from one process-wide generator.
int RandomInt(int low, int high);

// Local wall-clock time and the process-wide random source.
#include "clock.h"

#include <mutex>
#include <random>

int64_t LocalNowSeconds() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<int64_t>(now) + local.tm_gmtoff;
}

int64_t LocalSecondsToTime(int64_t localSeconds) {
  std::time_t asUtc = static_cast<std::time_t>(localSeconds);
  std::tm fields{};
  gmtime_r(&asUtc, &fields);
  fields.tm_isdst = -1;  // let the zone rules say whether summer time applies then
  return static_cast<int64_t>(mktime(&fields));
}

std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

int RandomInt(int low, int high) {
  static std::mutex lock;
  static std::mt19937 generator{std::random_device{}()};
  std::lock_guard<std::mutex> guard(lock);
  return std::uniform_int_distribution<int>(low, high)(generator);
}

// The progress of the one background job: written by the job, read by whoever waits for it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

struct ProgressState {
  std::mutex mutex;            // guards the four fields below
  int32_t processedCount = 0;  // 1-based number of the item the job has reached
  std::string currentName;
  int64_t duration = 0;  // milliseconds the previous file took (conversion only)
  int32_t resultCount = 0;
  std::atomic<bool> running{false};  // cleared to ask the job to stop
};

extern ProgressState gProgress;

// Clears the counters of gProgress and sets running, before a job starts. The result count
// is left alone: imports add to it.
void ResetProgress();

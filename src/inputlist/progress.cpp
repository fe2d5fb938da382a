// The progress of the one background job.
#include "progress.h"

ProgressState gProgress;

void ResetProgress() {
  std::lock_guard<std::mutex> guard(gProgress.mutex);
  gProgress.processedCount = 0;
  gProgress.currentName.clear();
  gProgress.duration = 0;
  gProgress.running = true;
}

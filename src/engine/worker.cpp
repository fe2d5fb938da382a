// The thread body that converts every file of the input list, one after the other.
#include "worker.h"

#include <algorithm>
#include <chrono>

#include "clock.h"
#include "console.h"
#include "context.h"
#include "files.h"
#include "input_table.h"
#include "pipeline.h"
#include "progress.h"
#include "settings.h"
#include "signatures.h"

namespace {

int64_t NowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Gives the output the time stamp File Timestamp asks for; failures are not reported.
void StampOutput() {
  switch (gSettings.Advanced.FileTimestamp) {
    case 1: {
      const int64_t original = FileModifiedTime(gContext.inputPath);
      if (original >= 0) SetFileModifiedTime(gContext.outputPath, original);
      break;
    }
    case 2:
      SetFileModifiedTime(gContext.outputPath,
                          LocalSecondsToTime(gSettings.Advanced.CustomTimestamp));
      break;
    default:
      break;
  }
}

}  // namespace

void ConversionWorker() {
  const bool debug = gContext.consoleMode && gContext.consoleMessageMode == "DEBUG";
  int32_t started = 0, converted = 0;
  int64_t elapsed = 0;
  for (const InputEntry& entry : gInput.table) {
    if (!gProgress.running) break;
    ++started;
    gContext.inputPath = entry.path;
    gContext.relativeFolder = entry.relativeFolder;
    {
      std::lock_guard<std::mutex> guard(gProgress.mutex);
      gProgress.processedCount = started;
      gProgress.currentName = entry.path;
      gProgress.duration = elapsed;
    }
    if (gSettings.Advanced.KeepSubfolders) EnsureOutputFolder();
    if (debug) {
      ConsoleLine("Processing: " + entry.path);
      ConsoleLine("File Format: " + DetectFileType(entry.path));
    }
    const int64_t start = NowMilliseconds();
    if (ConvertFile()) {
      if (debug) ConsoleLine("[OK] Saving As: " + gContext.outputPath);
      ++converted;
      // At least a second a file, for the window's estimate of the time left.
      elapsed = std::max<int64_t>(NowMilliseconds() - start, 1000);
      gContext.randomNumber = RandomInt(1, 99999);
      ++gContext.counter;
      StampOutput();
    } else {
      elapsed = 0;
      if (debug) ConsoleLine("[ERROR] Unable to convert the file!");
    }
  }
  std::lock_guard<std::mutex> guard(gProgress.mutex);
  gProgress.resultCount = converted;
}

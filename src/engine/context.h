// The engine's working record: the run's output format and the current file's fields.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "text_drawing.h"

struct OutputFormat {
  int formatId = 0;  // FREE_IMAGE_FORMAT, or the DevIL type for psd, dds and pcx
  std::string extension;
  int32_t bitsPerPixel = 0;  // 0 until an automatic depth is resolved for a file
  int32_t saveFlags = 0;
  bool automaticDepth = false;
};

struct ConversionContext {
  // Run-wide, filled by the starter of a run.
  std::string outputFolder;  // ends in "/"
  OutputFormat outputFormat;
  bool consoleMode = false;
  std::string consoleMessageMode;                 // "DEBUG" for debug output on the console
  std::shared_ptr<const TextFont> watermarkFont;  // for a text watermark; see LoadWatermarkFont

  // Name counters, carried from run to run.
  int32_t randomNumber = 1;  // %rnd%, 1..99999
  int32_t counter = 1;       // %n%

  // Per file.
  std::string inputPath;
  std::string relativeFolder;  // below the input root, ends in "/", or empty
  std::string outputPath;
  std::string temporaryPath;
  int32_t sourceDepth = 0;
  int32_t namingWidth = 0;
  int32_t namingHeight = 0;
  int32_t frameNumber = 1;
};

extern ConversionContext gContext;

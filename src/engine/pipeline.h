// One Radiance file through the whole pipeline, from load to the saved output file.
#pragma once

// Converts gContext.inputPath to the run's output format. True when the output file was
// written. Nothing is written, and an existing output stays as it was, when it fails.
bool ConvertFile();
// Creates OutputFolder + relative folder of the context, level by level.
void EnsureOutputFolder();

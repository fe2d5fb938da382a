// The thread body that converts every file of the input list, one after the other.
#pragma once

// Walks gInput.table with ConvertFile, publishing progress in gProgress, stopping between
// files when gProgress.running is cleared; the result count is the number converted.
void ConversionWorker();

// How the finished image is encoded: the run's format, depth and save flags, the per-file
// depth conversion, and BMP files with a colour table of exactly the used entries.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>

// Fills the OutputFormat of the context for a run to ext.
void PrepareOutputFormat(const std::string& ext);
int32_t ComputeSaveFlags(const std::string& ext);
// The first allowed depth of ext at least sourceDepth, else the largest.
int32_t ResolveAutomaticDepth(const std::string& ext, int32_t sourceDepth);
// Converts image to the run's depth (resolving an automatic one first); owns image.
FIBITMAP* ConvertToOutputDepth(FIBITMAP* image);
// Writes an 8-bit image as BMP whose colour table holds only the used entries.
bool SaveExactPaletteBmp(FIBITMAP* image, const std::string& path);
// 1 + the highest palette index among the pixels of an 8-bit image.
int32_t CountUsedPaletteEntries(FIBITMAP* image);

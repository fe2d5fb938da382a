// Reads output files back with independent readers: ImageMagick, and JxrDecApp for JPEG XR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // 3 bytes per pixel, top row first
  std::string error;         // why the file could not be read; empty when it was

  bool ok() const { return error.empty() && width > 0 && height > 0; }
  const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// The first image of path as 8-bit sRGB through ImageMagick's convert, upright. JPEG XR files
// are decoded with JxrDecApp first; 16-bit icons, which ImageMagick cannot read, with Python's
// imaging library.
RgbImage ReadBack(const std::string& path);
// ImageMagick's identify with a -format string, e.g. "%w %h %z" (first image only).
std::string Identify(const std::string& path, const std::string& format);
// Quotes text for the shell.
std::string ShellQuote(const std::string& text);

// Radiance HDR files made by the tests: flat or run-length encoded scanlines, any size.
#pragma once

#include <string>
#include <vector>

struct FloatImage {
  int width = 0;
  int height = 0;
  std::vector<float> rgb;  // 3 floats per pixel, top row first

  FloatImage() = default;
  FloatImage(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0.0f) {}
  float* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  const float* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

enum class Scanlines { Flat, Rle };

// The bytes of a Radiance file ("#?RADIANCE", FORMAT=32-bit_rle_rgbe, "-Y h +X w").
std::string EncodeRadiance(const FloatImage& image, Scanlines scanlines);
bool WriteRadiance(const std::string& path, const FloatImage& image,
                   Scanlines scanlines = Scanlines::Rle);

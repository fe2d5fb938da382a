// Radiance HDR files made by the tests: flat or run-length encoded scanlines, any size.
#pragma once

#include <cstdint>
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

// Flat: 4 bytes per pixel. Rle: the run-length scanlines of current Radiance files, for
// widths 8..32767; other widths cannot be run-length encoded and are written flat.
enum class Scanlines { Flat, Rle };

// One pixel as red, green and blue mantissas sharing an exponent byte. Negative values and
// NaN are written as 0; values beyond the exponent's range saturate.
struct Rgbe {
  uint8_t r = 0, g = 0, b = 0, e = 0;
};
Rgbe FloatToRgbe(const float* rgb);
// Decodes as FreeImage does (mantissa * 2^(e-136), no half-step offset), so a value read
// back by FreeImage equals RgbeToFloat(FloatToRgbe(v)) exactly.
void RgbeToFloat(Rgbe pixel, float* rgb);
// How far a channel of rgb may be off after an RGBE round trip: one mantissa step of its
// brightest channel.
float RgbeTolerance(const float* rgb);

// True when this width gets run-length scanlines in Rle mode.
bool CanRunLengthEncode(int width);

// "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y height +X width\n".
std::string RadianceHeaderText(int width, int height);
// The pixel data alone: every scanline, top row first.
std::string EncodeRadianceScanlines(const FloatImage& image, Scanlines scanlines);
// The bytes of a Radiance file ("#?RADIANCE", FORMAT=32-bit_rle_rgbe, "-Y h +X w").
std::string EncodeRadiance(const FloatImage& image, Scanlines scanlines);
bool WriteRadiance(const std::string& path, const FloatImage& image,
                   Scanlines scanlines = Scanlines::Rle);

// Writes bytes as the whole content of path (for hand-made and malformed files).
bool WriteBytes(const std::string& path, const std::string& bytes);

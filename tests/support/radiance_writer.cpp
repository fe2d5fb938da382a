// Radiance HDR files made by the tests.
#include "radiance_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

// A run shorter than this costs more as a run than inside a literal dump.
constexpr int kMinRun = 4;
constexpr int kMaxRun = 127;   // count byte 128 + n, n at most 127
constexpr int kMaxDump = 128;  // count byte n, 1..128, then n literal bytes

// Appends one channel of a scanline as runs and literal dumps.
void AppendChannelRle(const uint8_t* data, int count, std::string& out) {
  int pos = 0;
  while (pos < count) {
    // Find the next run worth encoding at or after pos.
    int runStart = pos;
    int runLength = 0;
    while (runStart < count) {
      runLength = 1;
      while (runStart + runLength < count && runLength < kMaxRun &&
             data[runStart + runLength] == data[runStart])
        ++runLength;
      if (runLength >= kMinRun) break;
      runStart += runLength;
      runLength = 0;
    }
    while (pos < runStart) {
      const int dump = std::min(kMaxDump, runStart - pos);
      out += static_cast<char>(dump);
      out.append(reinterpret_cast<const char*>(data + pos), dump);
      pos += dump;
    }
    if (runLength >= kMinRun) {
      out += static_cast<char>(128 + runLength);
      out += static_cast<char>(data[runStart]);
      pos += runLength;
    }
  }
}

void AppendPixel(Rgbe p, std::string& out) {
  out += static_cast<char>(p.r);
  out += static_cast<char>(p.g);
  out += static_cast<char>(p.b);
  out += static_cast<char>(p.e);
}

}  // namespace

Rgbe FloatToRgbe(const float* rgb) {
  float channel[3];
  for (int i = 0; i < 3; ++i)
    channel[i] = rgb[i] > 0.0f ? rgb[i] : 0.0f;  // also NaN -> 0
  const float brightest = std::max({channel[0], channel[1], channel[2]});
  Rgbe p;
  if (brightest < 1e-32f) return p;
  int exponent = 0;
  std::frexp(brightest, &exponent);  // brightest = m * 2^exponent, m in [0.5, 1)
  if (!std::isfinite(brightest) || exponent > 127) {
    // Beyond what the exponent byte holds: the largest value it can.
    p.r = p.g = p.b = 255;
    p.e = 255;
    return p;
  }
  // Scale so the brightest mantissa lands in 128..255, the others in proportion.
  const double scale = std::ldexp(1.0, 8 - exponent);
  p.r = static_cast<uint8_t>(std::min(255.0, channel[0] * scale));
  p.g = static_cast<uint8_t>(std::min(255.0, channel[1] * scale));
  p.b = static_cast<uint8_t>(std::min(255.0, channel[2] * scale));
  p.e = static_cast<uint8_t>(exponent + 128);
  return p;
}

void RgbeToFloat(Rgbe p, float* rgb) {
  if (p.e == 0) {
    rgb[0] = rgb[1] = rgb[2] = 0.0f;
    return;
  }
  const float f = static_cast<float>(std::ldexp(1.0, p.e - 136));
  rgb[0] = p.r * f;
  rgb[1] = p.g * f;
  rgb[2] = p.b * f;
}

float RgbeTolerance(const float* rgb) {
  const float brightest = std::max({rgb[0], rgb[1], rgb[2], 0.0f});
  // The brightest mantissa is at least 128, so one step is at most 1/128 of it.
  return brightest / 128.0f + 1e-30f;
}

bool CanRunLengthEncode(int width) {
  return width >= 8 && width <= 0x7fff;
}

std::string RadianceHeaderText(int width, int height) {
  return "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y " + std::to_string(height) + " +X " +
         std::to_string(width) + "\n";
}

std::string EncodeRadianceScanlines(const FloatImage& image, Scanlines scanlines) {
  const int w = image.width;
  std::string out;
  const bool rle = scanlines == Scanlines::Rle && CanRunLengthEncode(w);
  out.reserve(static_cast<size_t>(w) * image.height * (rle ? 2 : 4));
  std::vector<uint8_t> planes(rle ? static_cast<size_t>(w) * 4 : 0);
  for (int y = 0; y < image.height; ++y) {
    if (!rle) {
      for (int x = 0; x < w; ++x)
        AppendPixel(FloatToRgbe(image.At(x, y)), out);
      continue;
    }
    // Scanline marker: 2, 2, then the width in 15 bits (high byte below 128).
    AppendPixel(Rgbe{2, 2, static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w & 0xFF)}, out);
    for (int x = 0; x < w; ++x) {
      const Rgbe p = FloatToRgbe(image.At(x, y));
      planes[x] = p.r;
      planes[w + x] = p.g;
      planes[2 * w + x] = p.b;
      planes[3 * w + x] = p.e;
    }
    for (int c = 0; c < 4; ++c)
      AppendChannelRle(&planes[static_cast<size_t>(c) * w], w, out);
  }
  return out;
}

std::string EncodeRadiance(const FloatImage& image, Scanlines scanlines) {
  return RadianceHeaderText(image.width, image.height) + EncodeRadianceScanlines(image, scanlines);
}

bool WriteRadiance(const std::string& path, const FloatImage& image, Scanlines scanlines) {
  return WriteBytes(path, EncodeRadiance(image, scanlines));
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

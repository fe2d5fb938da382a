// Writes the bundled sample pictures: a few Radiance scenes with real dynamic range.
//   generate_samples OUT_DIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "radiance_patterns.h"
#include "radiance_writer.h"

namespace {

constexpr float kPi = 3.14159265f;

// Deterministic value noise in 0..1, so every run writes the same bytes.
float Noise(int x, int y) {
  uint32_t n = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
  n = (n ^ (n >> 13)) * 1274126177u;
  return static_cast<float>((n ^ (n >> 16)) & 0xFFFF) / 65535.0f;
}

void Set(float* p, float r, float g, float b) {
  p[0] = r;
  p[1] = g;
  p[2] = b;
}

// An equirectangular sky: deep blue at the zenith, a bright horizon, a sun of 30000 with a
// glow around it, and dim textured ground below the horizon.
FloatImage SkyPanorama(int width, int height) {
  FloatImage image(width, height);
  const float sunAzimuth = 0.3f * 2 * kPi, sunElevation = 0.35f;
  for (int y = 0; y < height; ++y) {
    const float elevation = kPi / 2 - kPi * (y + 0.5f) / height;
    for (int x = 0; x < width; ++x) {
      const float azimuth = 2 * kPi * (x + 0.5f) / width;
      float* p = image.At(x, y);
      if (elevation < 0) {
        const float shade = 0.04f + 0.12f * Noise(x / 3, y / 3) * std::exp(elevation * 2);
        Set(p, shade * 1.2f, shade * 0.9f, shade * 0.6f);
        continue;
      }
      const float cosAngle =
          std::sin(elevation) * std::sin(sunElevation) +
          std::cos(elevation) * std::cos(sunElevation) * std::cos(azimuth - sunAzimuth);
      const float angle = std::acos(std::fmax(-1.0f, std::fmin(1.0f, cosAngle)));
      const float horizon = std::exp(-elevation * 4);
      const float glow = 40.0f * std::exp(-angle * 9);
      float r = 0.3f + 2.2f * horizon + glow, g = 0.5f + 2.0f * horizon + glow * 0.8f,
            b = 1.2f + 1.4f * horizon + glow * 0.5f;
      if (angle < 0.02f) r = g = b = 30000.0f;
      Set(p, r, g, b);
    }
  }
  return image;
}

// A dim room (walls about 0.01 to 0.1) with a window onto a bright sky behind dark
// mullions, a patch of sunlight on the floor and a lamp of 800.
FloatImage WindowRoom(int width, int height) {
  FloatImage image(width, height);
  const int left = width * 55 / 100, right = width * 85 / 100;
  const int top = height * 15 / 100, bottom = height * 60 / 100;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float* p = image.At(x, y);
      const float wall = 0.01f + 0.09f * (1.0f - std::fabs(x - width * 0.7f) / width);
      Set(p, wall * 1.1f, wall, wall * 0.8f);
      if (y > height * 3 / 4) {
        const float floor = 0.02f + 0.03f * Noise(x / 4, y / 2);
        Set(p, floor * 1.3f, floor, floor * 0.7f);
        // Sunlight thrown through the window onto the floor.
        const float sx = x - (left - (y - height * 3 / 4) * 0.8f);
        if (sx > 0 && sx < right - left) Set(p, 12.0f, 10.0f, 7.0f);
      }
      if (x >= left && x < right && y >= top && y < bottom) {
        const bool mullion =
            std::abs(x - (left + right) / 2) < 3 || std::abs(y - (top + bottom) / 2) < 3;
        const float sky = 60.0f + 140.0f * (1.0f - static_cast<float>(y - top) / (bottom - top));
        if (mullion)
          Set(p, 0.008f, 0.006f, 0.005f);
        else
          Set(p, sky * 0.7f, sky * 0.85f, sky);
      }
      const float lx = x - width * 0.2f, ly = y - height * 0.35f;
      const float d2 = lx * lx + ly * ly;
      if (d2 < 36.0f)
        Set(p, 800.0f, 700.0f, 450.0f);
      else if (d2 < 2500.0f) {
        const float halo = 4.0f * std::exp(-d2 / 600.0f);
        p[0] += halo, p[1] += halo * 0.85f, p[2] += halo * 0.55f;
      }
    }
  }
  return image;
}

// Dark blue night with a scatter of point lights from 50 to 5000.
FloatImage NightLights(int width, int height) {
  FloatImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float* p = image.At(x, y);
      const float base = 0.002f + 0.01f * static_cast<float>(height - y) / height;
      Set(p, base * 0.5f, base * 0.7f, base * 1.5f);
      const float n = Noise(x, y);
      if (n > 0.985f) {
        const float level = 50.0f * std::pow(100.0f, (n - 0.985f) / 0.015f);
        Set(p, level, level * 0.8f, level * 0.5f);
      }
    }
  return image;
}

struct Sample {
  const char* name;
  FloatImage (*make)(int, int);
  int width, height;
  Scanlines scanlines;
};

const Sample kSamples[] = {
    {"sky_panorama.hdr", SkyPanorama, 1024, 512, Scanlines::Rle},
    {"window_room.hdr", WindowRoom, 640, 480, Scanlines::Rle},
    {"orientation_quadrants.hdr", MakeOrientationPattern, 320, 240, Scanlines::Rle},
    {"gradient_flat.hdr", MakeHdrGradient, 403, 127, Scanlines::Flat},
    {"night_lights.hdr", NightLights, 97, 61, Scanlines::Flat},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 1;
  }
  std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  for (const Sample& sample : kSamples) {
    const std::string path = folder + sample.name;
    if (!WriteRadiance(path, sample.make(sample.width, sample.height), sample.scanlines)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s %dx%d\n", path.c_str(), sample.width, sample.height);
  }
  return 0;
}

// Synthetic HDR pictures for tests, and a check that an 8-bit result is upright and in colour.
#include "radiance_patterns.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

// Position of i in 0..n-1 as 0..1 (0 for a single pixel).
float Fraction(int i, int n) {
  return n > 1 ? static_cast<float>(i) / (n - 1) : 0.0f;
}

}  // namespace

FloatImage MakeHdrGradient(int width, int height) {
  FloatImage image(width, height);
  struct Spot {
    float x, y, radius, level;
  };
  // Positions as fractions of the image; the radius in pixels grows with the image.
  const Spot spots[] = {
      {0.2f, 0.3f, 0.03f, 5000.0f}, {0.55f, 0.7f, 0.02f, 12000.0f}, {0.85f, 0.2f, 0.04f, 20000.0f}};
  const float scale = static_cast<float>(std::max(width, height));
  for (int y = 0; y < height; ++y) {
    const float v = Fraction(y, height);
    for (int x = 0; x < width; ++x) {
      const float u = Fraction(x, width);
      // 0.001 at the left, 10^3.6 (about 4000) at the right.
      const float factor = 0.001f * std::pow(10.0f, 6.6f * u);
      float* p = image.At(x, y);
      p[0] = factor * (0.55f + 0.45f * std::sin(kPi * (u + v)));
      p[1] = factor * (0.55f + 0.45f * std::cos(kPi * v));
      p[2] = factor * (0.55f + 0.45f * std::sin(kPi * (1.5f * u - v)));
      for (const Spot& spot : spots) {
        const float dx = (u - spot.x) * width, dy = (v - spot.y) * height;
        if (dx * dx + dy * dy <= std::pow(spot.radius * scale + 0.5f, 2.0f))
          p[0] = p[1] = p[2] = spot.level;
      }
    }
  }
  return image;
}

FloatImage MakeOrientationPattern(int width, int height) {
  struct Quadrant {
    float r, g, b, level;
  };
  // Top-left, top-right, bottom-left, bottom-right. Strong colours with a little of the other
  // channels, at levels far apart so the whole image has real dynamic range.
  const Quadrant quadrants[4] = {{1.0f, 0.04f, 0.04f, 1.0f},
                                 {0.04f, 1.0f, 0.04f, 0.3f},
                                 {0.04f, 0.04f, 1.0f, 4.0f},
                                 {1.0f, 0.85f, 0.04f, 12.0f}};
  FloatImage image(width, height);
  const int halfW = width / 2, halfH = height / 2;
  for (int y = 0; y < height; ++y) {
    const bool bottom = y >= halfH;
    const int qy = bottom ? y - halfH : y, qh = bottom ? height - halfH : halfH;
    for (int x = 0; x < width; ++x) {
      const bool right = x >= halfW;
      const int qx = right ? x - halfW : x, qw = right ? width - halfW : halfW;
      const Quadrant& q = quadrants[(bottom ? 2 : 0) + (right ? 1 : 0)];
      // A 300:1 ramp across the quadrant along its diagonal, 1 at the centre.
      const float t = 0.5f * (Fraction(qx, qw) + Fraction(qy, qh)) - 0.5f;
      const float ramp = q.level * std::pow(10.0f, 2.48f * t);
      float* p = image.At(x, y);
      p[0] = q.r * ramp;
      p[1] = q.g * ramp;
      p[2] = q.b * ramp;
    }
  }
  return image;
}

char ClassifyColour(Rgb8 colour) {
  const int c[3] = {colour.r, colour.g, colour.b};
  const int brightest = std::max({c[0], c[1], c[2]});
  if (brightest < 40) return 'K';
  bool lit[3];
  for (int i = 0; i < 3; ++i) {
    lit[i] = c[i] * 100 >= brightest * 60;
    // Neither clearly lit nor clearly dark: no honest answer.
    if (!lit[i] && c[i] * 100 > brightest * 45) return '?';
  }
  switch ((lit[0] ? 1 : 0) | (lit[1] ? 2 : 0) | (lit[2] ? 4 : 0)) {
    case 1:
      return 'R';
    case 2:
      return 'G';
    case 4:
      return 'B';
    case 3:
      return 'Y';
    case 7:
      return 'W';
    default:
      return '?';  // magenta or cyan
  }
}

namespace {

struct Centre {
  const char* name;
  int x, y;
};

void QuadrantCentres(int width, int height, Centre centres[4]) {
  const int halfW = width / 2, halfH = height / 2;
  const int left = halfW / 2, right = halfW + (width - halfW) / 2;
  const int top = halfH / 2, bottom = halfH + (height - halfH) / 2;
  centres[0] = {"top-left", left, top};
  centres[1] = {"top-right", right, top};
  centres[2] = {"bottom-left", left, bottom};
  centres[3] = {"bottom-right", right, bottom};
}

}  // namespace

std::string QuadrantLayout(const PixelAt& pixel, int width, int height) {
  Centre centres[4];
  QuadrantCentres(width, height, centres);
  std::string layout;
  for (const Centre& centre : centres)
    layout += ClassifyColour(pixel(centre.x, centre.y));
  return layout;
}

std::string CheckOrientation(const PixelAt& pixel, int width, int height,
                             const std::string& layout) {
  if (width < 2 || height < 2)
    return "image of " + std::to_string(width) + " x " + std::to_string(height) +
           " has no quadrants";
  Centre centres[4];
  QuadrantCentres(width, height, centres);
  std::string failures;
  for (int i = 0; i < 4; ++i) {
    const Rgb8 colour = pixel(centres[i].x, centres[i].y);
    const char found = ClassifyColour(colour);
    if (i < static_cast<int>(layout.size()) && found == layout[i]) continue;
    if (!failures.empty()) failures += "; ";
    failures += std::string(centres[i].name) + " centre (" + std::to_string(centres[i].x) + ", " +
                std::to_string(centres[i].y) + ") is rgb(" + std::to_string(colour.r) + ", " +
                std::to_string(colour.g) + ", " + std::to_string(colour.b) + ") = '" + found +
                "', expected '" + (i < static_cast<int>(layout.size()) ? layout[i] : '-') + "'";
  }
  return failures;
}

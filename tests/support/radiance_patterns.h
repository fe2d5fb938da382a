// Synthetic HDR pictures for tests, and a check that an 8-bit result is upright and in colour.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "radiance_writer.h"

// A smooth colour gradient times a factor that rises log-spaced from 0.001 at the left edge
// to about 4000 at the right, with three bright spots of 5000 to 20000. No pixel is black.
FloatImage MakeHdrGradient(int width, int height);

// Four quadrants for orientation checks, each with a 300:1 brightness ramp inside:
//   top-left red      top-right green
//   bottom-left blue  bottom-right yellow
// After FreeImage_TmoFattal02(0.5, 0.85) each quadrant's centre is still clearly its colour,
// so a flip, a rotation or swapped red and blue channels all show. Both sides at least 32:
// FreeImage_TmoFattal02 gives no image at all when a side is shorter.
FloatImage MakeOrientationPattern(int width, int height);

struct Rgb8 {
  uint8_t r = 0, g = 0, b = 0;
};
// The 8-bit colour at (x, y) of some decoded image, y = 0 being the TOP row.
using PixelAt = std::function<Rgb8(int x, int y)>;

// What an 8-bit colour looks like: 'R', 'G', 'B' when one channel dominates, 'Y' for red and
// green, 'W' for all three, 'K' for near black, '?' for anything else (e.g. magenta, cyan).
char ClassifyColour(Rgb8 colour);
// The classes of the four quadrant centres, in the order top-left, top-right, bottom-left,
// bottom-right. An upright image gives "RGBY"; turned 90 degrees clockwise, "BRYG"; flipped
// top to bottom, "BYRG"; with red and blue swapped, "BGR?" (yellow turns cyan).
std::string QuadrantLayout(const PixelAt& pixel, int width, int height);
// Empty when the quadrant centres match layout (default: upright); otherwise a message that
// names each centre that failed, its position and colour, e.g.
// "top-left centre (8, 4) is rgb(12, 40, 230) = 'B', expected 'R'".
std::string CheckOrientation(const PixelAt& pixel, int width, int height,
                             const std::string& layout = "RGBY");

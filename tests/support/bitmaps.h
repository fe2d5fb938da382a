// Small FreeImage bitmaps made and read by the tests, addressed with y = 0 the top row.
#pragma once

#include <functional>
#include <ostream>

#include "image_ptr.h"

struct Rgb {
  int r, g, b;
};
inline bool operator==(Rgb a, Rgb b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}
inline std::ostream& operator<<(std::ostream& out, Rgb c) {
  return out << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// A bitmap of bpp bits (24 or 32, opaque) filled by colour(x, y).
ImagePtr MakeImage(int width, int height, const std::function<Rgb(int, int)>& colour, int bpp = 24);
// An image of the given type and depth (palettes a grey ramp), for the depth rules of stages.
ImagePtr MakeOfDepth(FREE_IMAGE_TYPE type, int bpp, int width, int height);
// The colour at (x, y) of a 24- or 32-bit bitmap.
Rgb ColourAt(FIBITMAP* image, int x, int y);
// Number of pixel bytes that differ between two images of one size and depth.
int CountDifferences(FIBITMAP* a, FIBITMAP* b);

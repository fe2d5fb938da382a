// Colour adjustments, greyscale, threshold and dithering.
#include "stages.h"

FIBITMAP* ApplyColorAdjustments(FIBITMAP* image) {
  return image;
}
FIBITMAP* ApplyGreyscale(FIBITMAP* image) {
  return image;
}
FIBITMAP* ApplyThreshold(FIBITMAP* image) {
  return image;
}
FIBITMAP* ApplyDither(FIBITMAP* image) {
  return image;
}

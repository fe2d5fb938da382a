// The text or picture watermark.
#include "stages.h"

FIBITMAP* ApplyWatermark(FIBITMAP* image, int, int) {
  return image;
}

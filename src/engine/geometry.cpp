// Rotation, resize and flip.
#include "stages.h"

FIBITMAP* ApplyRotation(FIBITMAP* image) {
  return image;
}
FIBITMAP* ApplyResize(FIBITMAP* image, int, int) {
  return image;
}
void ApplyFlip(FIBITMAP*) {}

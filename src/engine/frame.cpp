// The solid frame painted inside the image.
#include "stages.h"

FIBITMAP* ApplyFrame(FIBITMAP* image, int, int) {
  return image;
}

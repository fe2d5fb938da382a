// Small FreeImage bitmaps made and read by the tests.
#include "bitmaps.h"

ImagePtr MakeImage(int width, int height, const std::function<Rgb(int, int)>& colour, int bpp) {
  ImagePtr image(FreeImage_Allocate(width, height, bpp));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      RGBQUAD q{static_cast<BYTE>(c.b), static_cast<BYTE>(c.g), static_cast<BYTE>(c.r), 255};
      FreeImage_SetPixelColor(image.get(), x, height - 1 - y, &q);
    }
  return image;
}

Rgb ColourAt(FIBITMAP* image, int x, int y) {
  RGBQUAD q{};
  FreeImage_GetPixelColor(image, x, FreeImage_GetHeight(image) - 1 - y, &q);
  return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

ImagePtr MakeOfDepth(FREE_IMAGE_TYPE type, int bpp, int width, int height) {
  ImagePtr image(FreeImage_AllocateT(type, width, height, bpp));
  if (bpp <= 8 && type == FIT_BITMAP) {
    RGBQUAD* palette = FreeImage_GetPalette(image.get());
    const int colours = 1 << bpp;
    for (int i = 0; i < colours; ++i) {
      const auto v = static_cast<BYTE>(i * 255 / (colours - 1));
      palette[i] = RGBQUAD{v, v, v, 0};
    }
  }
  return image;
}

int CountDifferences(FIBITMAP* a, FIBITMAP* b) {
  const unsigned height = FreeImage_GetHeight(a), lineBytes = FreeImage_GetLine(a);
  int differences = 0;
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* lineA = FreeImage_GetScanLine(a, y);
    const BYTE* lineB = FreeImage_GetScanLine(b, y);
    for (unsigned i = 0; i < lineBytes; ++i)
      differences += lineA[i] != lineB[i];
  }
  return differences;
}

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

// Between drawing canvases and FreeImage bitmaps: layers drawn on a canvas become 32-bit
// bitmaps laid over the image, pictures on disk become canvases.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>

#include "canvas.h"

struct PixelArea {
  int left = 0, top = 0, width = 0, height = 0;
};

// The area of the canvas as a 32-bit bitmap with straight alpha, every alpha scaled by
// opacity (0..255); null when the area does not lie inside the canvas or memory runs out.
FIBITMAP* CanvasToBitmap(const Canvas& canvas, const PixelArea& area, int opacity = 255);
// The whole canvas with its own alpha.
FIBITMAP* CanvasToBitmap(const Canvas& canvas);
// A PNG, BMP or JPEG picture; hasAlpha tells whether it brought an alpha channel of its own.
// A canvas that is not ok() when the file is missing, unreadable or of another kind.
Canvas LoadPicture(const std::string& path, bool& hasAlpha);
// Lays layer (32 bits) over the 24-bit image with its top-left corner at (x, y), touching only
// the pixels beneath it; false, with the image unchanged, when it does not lie inside. The
// position is 64-bit so that sums of unchecked settings reach it unwrapped.
bool CompositeAt(FIBITMAP* image, FIBITMAP* layer, int64_t x, int64_t y);

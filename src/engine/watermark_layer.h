// The watermark's layer before it is turned, cut and placed: a 32-bit bitmap with alpha.
#pragma once

#include <FreeImage.h>

// The text block of the watermark settings; null without a loaded watermark font or canvas.
FIBITMAP* BuildTextLayer();
// The watermark picture with its opacity; null when it cannot be loaded.
FIBITMAP* BuildImageLayer();

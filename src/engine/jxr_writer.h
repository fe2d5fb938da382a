// JPEG XR files written with the codec library itself (FreeImage's own JPEG XR writer
// fails on every image with this library build).
#pragma once

#include <FreeImage.h>

#include <string>

// Writes image losslessly as a JPEG XR file at path. Handles 1-bit, 8-bit grey, 16-bit
// (5-5-5 or 5-6-5), 24-bit, 32-bit, 48-bit (RGB16) and 96-bit (RGBF) images. False, and no
// file left at path, when the image has another layout or anything fails.
bool SaveJxr(FIBITMAP* image, const std::string& path);

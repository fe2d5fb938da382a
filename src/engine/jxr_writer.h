// JPEG XR files written with the codec library itself (FreeImage's own JPEG XR writer
// fails on every image with this library build).
#pragma once

#include <FreeImage.h>

#include <string>

// Writes image losslessly as a JPEG XR file at path. Takes 1-bit, 4-bit and 8-bit palette or
// grey images, 16-bit (5-5-5 or 5-6-5), 24-bit and 32-bit (with alpha) images, and the 16-bit
// grey, RGB16, RGBA16, float grey, RGBF and RGBAF types. Floats keep 17 significant bits, all
// the codec can hold. False, and no file written, when the image has another layout or
// anything fails.
bool SaveJxr(FIBITMAP* image, const std::string& path);

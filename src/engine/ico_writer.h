// 16-bit icons, written here because FreeImage fills them with uninitialised memory.
#pragma once

#include <FreeImage.h>

#include <string>

// Writes a 16-bit image (5-5-5 or 5-6-5) as a one-image icon with a 5-5-5 bitmap and an
// opaque mask. The image must be square, 16 to 256 pixels.
bool SaveIco16(FIBITMAP* image, const std::string& path);

// BMP encoding through FreeImage with the RLE header fields it leaves wrong set right.
#pragma once

#include <FreeImage.h>

#include <vector>

// Encodes image as a BMP file into out. FreeImage writes RLE8 files with an image size of 0,
// the file size of the uncompressed data and a stray end-of-line marker at the end, which no
// reader opens; all three are corrected.
bool EncodeBmp(FIBITMAP* image, int flags, std::vector<BYTE>& out);

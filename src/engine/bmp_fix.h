// BMP encoding through FreeImage with the RLE header fields it leaves wrong set right.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <vector>

// Little-endian 32-bit fields of a BMP file held in memory.
uint32_t Get32(const std::vector<BYTE>& data, size_t offset);
void Put32(std::vector<BYTE>& data, size_t offset, uint32_t value);

// Encodes image as a BMP file into out. FreeImage writes RLE8 files with an image size of 0,
// the file size of the uncompressed data and a stray end-of-line marker at the end, which no
// reader opens; all three are corrected.
bool EncodeBmp(FIBITMAP* image, int flags, std::vector<BYTE>& out);

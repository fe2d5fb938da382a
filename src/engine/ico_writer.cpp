// 16-bit icons: ICONDIR, one ICONDIRENTRY, a BITMAPINFOHEADER of double height, the 5-5-5
// pixels bottom row first and an all-zero (opaque) AND mask.
#include "ico_writer.h"

#include <vector>

#include "files.h"

namespace {

struct ByteWriter {
  std::vector<BYTE> bytes;
  void U8(unsigned v) { bytes.push_back(static_cast<BYTE>(v)); }
  void U16(unsigned v) { U8(v & 0xFF), U8(v >> 8); }
  void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
};

// One 5-5-5 pixel from a 16-bit pixel in either layout.
uint16_t To555(uint16_t pixel, bool is565) {
  if (!is565) return pixel & 0x7FFF;
  const unsigned red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
  return static_cast<uint16_t>(red << 10 | (green >> 1) << 5 | blue);
}

}  // namespace

bool SaveIco16(FIBITMAP* image, const std::string& path) {
  const unsigned size = FreeImage_GetWidth(image);
  if (FreeImage_GetBPP(image) != 16 || size != FreeImage_GetHeight(image) || size < 16 ||
      size > 256)
    return false;
  const bool is565 = FreeImage_GetGreenMask(image) == FI16_565_GREEN_MASK;
  const unsigned xorPitch = (size * 2 + 3) & ~3u;
  const unsigned andPitch = ((size + 31) / 32) * 4;
  const uint32_t imageBytes = 40 + (xorPitch + andPitch) * size;

  ByteWriter out;
  out.U16(0), out.U16(1), out.U16(1);  // icon directory with one image
  out.U8(size == 256 ? 0 : size), out.U8(size == 256 ? 0 : size), out.U8(0), out.U8(0);
  out.U16(1), out.U16(16), out.U32(imageBytes), out.U32(6 + 16);
  out.U32(40), out.U32(size), out.U32(size * 2), out.U16(1), out.U16(16);
  out.U32(0), out.U32((xorPitch + andPitch) * size), out.U32(0), out.U32(0), out.U32(0), out.U32(0);
  for (unsigned y = 0; y < size; ++y) {
    const auto* line =
        reinterpret_cast<const uint16_t*>(FreeImage_GetScanLine(image, static_cast<int>(y)));
    for (unsigned x = 0; x < size; ++x)
      out.U16(To555(line[x], is565));
    for (unsigned pad = size * 2; pad < xorPitch; ++pad)
      out.U8(0);
  }
  out.bytes.resize(out.bytes.size() + static_cast<size_t>(andPitch) * size, 0);
  return WriteWholeFile(path, out.bytes.data(), out.bytes.size());
}

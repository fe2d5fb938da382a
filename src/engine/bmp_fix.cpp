// BMP encoding through FreeImage with correct RLE header fields.
#include "bmp_fix.h"

namespace {

uint32_t Get32(const std::vector<BYTE>& data, size_t offset) {
  return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
         static_cast<uint32_t>(data[offset + 2]) << 16 | static_cast<uint32_t>(data[offset + 3]) << 24;
}

void Put32(std::vector<BYTE>& data, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<BYTE>(value >> (8 * i));
}

constexpr size_t kFileSize = 2, kPixelOffset = 10, kCompression = 14 + 16, kImageSize = 14 + 20;
constexpr uint32_t kRle8 = 1, kRle4 = 2;

}  // namespace

bool EncodeBmp(FIBITMAP* image, int flags, std::vector<BYTE>& out) {
  FIMEMORY* stream = FreeImage_OpenMemory(nullptr, 0);
  if (!stream) return false;
  BYTE* data = nullptr;
  DWORD size = 0;
  bool ok = FreeImage_SaveToMemory(FIF_BMP, image, stream, flags) &&
            FreeImage_AcquireMemory(stream, &data, &size) && size >= 54;
  if (ok) out.assign(data, data + size);
  FreeImage_CloseMemory(stream);
  if (!ok) return false;
  const uint32_t compression = Get32(out, kCompression);
  const uint32_t pixelOffset = Get32(out, kPixelOffset);
  if ((compression == kRle8 || compression == kRle4) && pixelOffset <= out.size()) {
    Put32(out, kFileSize, static_cast<uint32_t>(out.size()));
    Put32(out, kImageSize, static_cast<uint32_t>(out.size() - pixelOffset));
  }
  return true;
}

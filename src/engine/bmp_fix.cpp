// BMP encoding through FreeImage with RLE8 files that readers open.
#include "bmp_fix.h"

namespace {

constexpr size_t kFileSize = 2, kPixelOffset = 10, kCompression = 14 + 16, kImageSize = 14 + 20;
constexpr uint32_t kRle8 = 1;

// Offset of an end-of-line marker that directly precedes the end-of-bitmap marker of an RLE8
// stream starting at begin, or 0. Walks the stream's codes so pixel bytes are never mistaken
// for markers.
size_t FinalEndOfLine(const std::vector<BYTE>& data, size_t begin) {
  size_t lastEndOfLine = 0;
  for (size_t at = begin; at + 1 < data.size();) {
    const BYTE count = data[at], code = data[at + 1];
    if (count > 0) {  // a run of one index
      at += 2;
    } else if (code == 0) {  // end of line
      lastEndOfLine = at;
      at += 2;
    } else if (code == 1) {  // end of bitmap
      return lastEndOfLine + 2 == at && lastEndOfLine != 0 ? lastEndOfLine : 0;
    } else if (code == 2) {  // delta
      at += 4;
    } else {  // literal indices, padded to an even length
      at += 2 + code + (code & 1);
    }
  }
  return 0;
}

}  // namespace

uint32_t Get32(const std::vector<BYTE>& data, size_t offset) {
  return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
         static_cast<uint32_t>(data[offset + 2]) << 16 |
         static_cast<uint32_t>(data[offset + 3]) << 24;
}

void Put32(std::vector<BYTE>& data, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    data[offset + i] = static_cast<BYTE>(value >> (8 * i));
}

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
  const uint32_t pixelOffset = Get32(out, kPixelOffset);
  if (Get32(out, kCompression) == kRle8 && pixelOffset <= out.size()) {
    // FreeImage ends the last row with an end-of-line before the end-of-bitmap; its own
    // reader then steps past the last row and gives up. The marker carries nothing.
    if (size_t endOfLine = FinalEndOfLine(out, pixelOffset))
      out.erase(out.begin() + static_cast<long>(endOfLine),
                out.begin() + static_cast<long>(endOfLine) + 2);
    Put32(out, kFileSize, static_cast<uint32_t>(out.size()));
    Put32(out, kImageSize, static_cast<uint32_t>(out.size() - pixelOffset));
  }
  return true;
}

// Writes the finished image in the run's output format, mending what the libraries write
// wrongly for a few formats.
#include "output_writer.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "bmp_fix.h"
#include "context.h"
#include "devil_save.h"
#include "encoding.h"
#include "files.h"
#include "formats.h"
#include "ico_writer.h"
#include "jxr_writer.h"
#include "settings.h"

namespace {

bool SaveWithFreeImage(FIBITMAP* image, const std::string& path) {
  const OutputFormat& format = gContext.outputFormat;
  return FreeImage_Save(static_cast<FREE_IMAGE_FORMAT>(format.formatId), image, path.c_str(),
                        format.saveFlags) == TRUE;
}

bool SaveBmp(FIBITMAP* image, const std::string& path) {
  if (gContext.outputFormat.bitsPerPixel == 8 && gSettings.Output.BMPColorTable == 1)
    return SaveExactPaletteBmp(image, path);
  std::vector<BYTE> encoded;
  return EncodeBmp(image, gContext.outputFormat.saveFlags, encoded) &&
         WriteWholeFile(path, encoded.data(), encoded.size());
}

// PFM stores its rows bottom to top, as FreeImage holds them in memory, but FreeImage writes
// them top first: flipping beforehand makes the file upright for every reader.
bool SavePfm(FIBITMAP* image, const std::string& path) {
  return FreeImage_FlipVertical(image) && SaveWithFreeImage(image, path);
}

// A PBM bit of 1 is black. FreeImage writes palette indices as they are, so when index 0 is
// the darker entry the bits are inverted first.
bool SavePbm(FIBITMAP* image, const std::string& path) {
  if (FreeImage_GetBPP(image) == 1) {
    RGBQUAD* palette = FreeImage_GetPalette(image);
    auto luma = [](const RGBQUAD& c) { return c.rgbRed * 3 + c.rgbGreen * 6 + c.rgbBlue; };
    if (palette && luma(palette[0]) < luma(palette[1])) {
      const unsigned pitch = FreeImage_GetPitch(image);
      for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
        BYTE* line = FreeImage_GetScanLine(image, static_cast<int>(y));
        for (unsigned x = 0; x < pitch; ++x)
          line[x] = static_cast<BYTE>(~line[x]);
      }
      std::swap(palette[0], palette[1]);
    }
  }
  return SaveWithFreeImage(image, path);
}

// Icons are square, 16 to 256 pixels. FreeImage fills 16-bit icons with uninitialised
// memory, so those are written here.
bool SaveIco(FIBITMAP* image, const std::string& path) {
  const unsigned width = FreeImage_GetWidth(image);
  if (width != FreeImage_GetHeight(image) || width < 16 || width > 256) return false;
  if (FreeImage_GetBPP(image) == 16) return SaveIco16(image, path);
  return SaveWithFreeImage(image, path);
}

// With TIFF_CMYK FreeImage only tags a 32-bit image as CMYK and writes each pixel's four bytes
// in memory order as C, M, Y, K; the pixels are converted here first.
bool SaveTiff(FIBITMAP* image, const std::string& path) {
  if ((gContext.outputFormat.saveFlags & TIFF_CMYK) && FreeImage_GetBPP(image) == 32 &&
      FreeImage_GetImageType(image) == FIT_BITMAP) {
    for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
      BYTE* pixel = FreeImage_GetScanLine(image, static_cast<int>(y));
      for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x, pixel += 4) {
        const int r = pixel[FI_RGBA_RED], g = pixel[FI_RGBA_GREEN], b = pixel[FI_RGBA_BLUE];
        const int k = 255 - std::max(r, std::max(g, b));
        const int white = 255 - k;  // 0 only for black, where c, m and y do not matter
        auto ink = [white](int level) { return white ? (white - level) * 255 / white : 0; };
        pixel[0] = static_cast<BYTE>(ink(r));
        pixel[1] = static_cast<BYTE>(ink(g));
        pixel[2] = static_cast<BYTE>(ink(b));
        pixel[3] = static_cast<BYTE>(k);
      }
    }
  }
  return SaveWithFreeImage(image, path);
}

using Writer = bool (*)(FIBITMAP*, const std::string&);

struct SpecialWriter {
  const char* extension;
  Writer write;
};

const SpecialWriter kSpecialWriters[] = {
    {"bmp", SaveBmp}, {"ico", SaveIco}, {"jxr", SaveJxr},
    {"pbm", SavePbm}, {"pfm", SavePfm}, {"tiff", SaveTiff},
};

}  // namespace

bool WriteOutputFile(FIBITMAP* image, const std::string& path) {
  if (!image) return false;
  const OutputFormat& format = gContext.outputFormat;
  if (format.extension == "psd" || format.extension == "dds" || format.extension == "pcx")
    return SaveWithDevil(image, format.formatId, path);
  for (const SpecialWriter& special : kSpecialWriters)
    if (format.extension == special.extension) return special.write(image, path);
  return SaveWithFreeImage(image, path);
}

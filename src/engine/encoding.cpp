// Output format, save flags, depth conversion and the exact-palette BMP writer.
#include "encoding.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "bmp_fix.h"
#include "context.h"
#include "files.h"
#include "formats.h"
#include "image_ptr.h"
#include "settings.h"
#include "settings_table.h"
#include "unicode.h"

namespace {

// A setting value mapped to the encoder flag it stands for; values outside the map give 0.
int32_t MapValue(int32_t value, std::initializer_list<int32_t> flags) {
  if (value < 0 || value >= static_cast<int32_t>(flags.size())) return 0;
  return *(flags.begin() + value);
}

int32_t JpegFlags() {
  const auto& out = gSettings.Output;
  return out.JPGQuality |
         MapValue(out.JPGChroma, {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_420,
                                  JPEG_SUBSAMPLING_411}) |
         MapValue(out.JPGSaveAs, {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE});
}

// The BPP setting of ext: the row "EXT BPP" of the settings table.
int32_t BppSetting(const std::string& ext) {
  const SettingDef* def = FindSetting("Output", AsciiUpper(ext) + " BPP");
  if (!def) return 0;
  return *std::get<int32_t*>(def->field(gSettings));
}

}  // namespace

int32_t ComputeSaveFlags(const std::string& ext) {
  const auto& out = gSettings.Output;
  if (ext == "bmp") return out.BMPCompression == 1 ? BMP_SAVE_RLE : 0;
  if (ext == "exr")
    return MapValue(out.EXRCompression, {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44});
  if (ext == "jpg") return JpegFlags();
  if (ext == "jxr") return JXR_LOSSLESS;
  if (ext == "png")
    return MapValue(out.PNGCompression, {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED,
                                         PNG_Z_DEFAULT_COMPRESSION, PNG_Z_BEST_COMPRESSION}) |
           (out.PNGInterlaced ? PNG_INTERLACED : 0);
  if (ext == "tga") return out.TGACompression == 1 ? TARGA_SAVE_RLE : 0;
  if (ext == "tiff")
    return MapValue(out.TIFFCompression,
                    {TIFF_NONE, TIFF_CCITTFAX3, TIFF_CCITTFAX4, TIFF_PACKBITS, TIFF_DEFLATE,
                     TIFF_ADOBE_DEFLATE, TIFF_LZW, TIFF_JPEG, TIFF_LOGLUV}) |
           (out.TIFFColorMode == 1 ? TIFF_CMYK : 0);
  if (ext == "webp") return out.WEBPQuality == 100 ? WEBP_LOSSLESS : out.WEBPQuality;
  return 0;
}

void PrepareOutputFormat(const std::string& ext) {
  OutputFormat& format = gContext.outputFormat;
  const FormatEntry* entry = FindOutputFormat(ext);
  format.extension = ext;
  format.formatId = entry ? entry->formatId : FIF_UNKNOWN;
  format.bitsPerPixel = BppSetting(ext);
  format.saveFlags = ComputeSaveFlags(ext);
  format.automaticDepth = format.bitsPerPixel == 0;
}

int32_t ResolveAutomaticDepth(const std::string& ext, int32_t sourceDepth) {
  std::vector<int> depths = AllowedDepths(ext);
  for (int depth : depths)
    if (depth >= sourceDepth) return depth;
  return depths.empty() ? 0 : depths.back();
}

namespace {

// The greyscale path of an 8-bit target: formats that store grey rather than a palette.
bool StoresEightBitGrey(const std::string& ext) {
  return ext == "j2k" || ext == "jp2" || ext == "jpg" || ext == "jxr";
}

}  // namespace

FIBITMAP* ConvertToOutputDepth(FIBITMAP* image) {
  if (!image) return nullptr;
  OutputFormat& format = gContext.outputFormat;
  if (format.automaticDepth)
    format.bitsPerPixel = ResolveAutomaticDepth(format.extension, gContext.sourceDepth);
  const int target = format.bitsPerPixel;
  const int current = static_cast<int>(FreeImage_GetBPP(image));
  if (current == target) return image;

  ImagePtr source(image);
  const std::string& ext = format.extension;
  switch (target) {
    case 96:
      return FreeImage_ConvertToRGBF(source.get());
    case 48:
      return FreeImage_ConvertToRGB16(source.get());
    case 32:
      return FreeImage_ConvertTo32Bits(source.get());
    case 24:
      return FreeImage_ConvertTo24Bits(source.get());
    case 16: {
      if (current > 32) Replace(source, FreeImage_ConvertTo24Bits(source.get()));
      if (!source) return nullptr;
      return ext == "ico" || ext == "tga" ? FreeImage_ConvertTo16Bits555(source.get())
                                          : FreeImage_ConvertTo16Bits565(source.get());
    }
    case 8:
      if (StoresEightBitGrey(ext)) return FreeImage_ConvertTo8Bits(source.get());
      // A PGM holds grey levels: quantising would store palette indices as grey values.
      if (ext == "pgm") return FreeImage_ConvertToGreyscale(source.get());
      if (current != 24) Replace(source, FreeImage_ConvertTo24Bits(source.get()));
      if (!source) return nullptr;
      return FreeImage_ColorQuantizeEx(source.get(), FIQ_WUQUANT, 256, 0, nullptr);
    case 4:
      return FreeImage_ConvertTo4Bits(source.get());
    case 1:
      return FreeImage_Dither(source.get(), FID_FS);
    default:
      return nullptr;
  }
}

int32_t CountUsedPaletteEntries(FIBITMAP* image) {
  const unsigned width = FreeImage_GetWidth(image);
  const unsigned height = FreeImage_GetHeight(image);
  BYTE highest = 0;
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* line = FreeImage_GetScanLine(image, static_cast<int>(y));
    if (width > 0) highest = std::max(highest, *std::max_element(line, line + width));
  }
  return highest + 1;
}

bool SaveExactPaletteBmp(FIBITMAP* image, const std::string& path) {
  if (!image || FreeImage_GetBPP(image) != 8) return false;
  std::vector<BYTE> encoded;
  if (!EncodeBmp(image, gContext.outputFormat.saveFlags, encoded)) return false;
  // FreeImage writes the full 256-entry table; the pixel data starts where its header says.
  const size_t pixelStart = Get32(encoded, 10);
  if (pixelStart > encoded.size()) return false;
  const size_t pixelBytes = encoded.size() - pixelStart;
  const int32_t used = CountUsedPaletteEntries(image);

  std::vector<BYTE> file(54 + 4 * static_cast<size_t>(used) + pixelBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  Put32(file, 10, 54 + 4 * static_cast<uint32_t>(used));
  std::memcpy(&file[14], FreeImage_GetInfoHeader(image), 40);
  Put32(file, 14 + 16, static_cast<uint32_t>(gSettings.Output.BMPCompression));
  Put32(file, 14 + 20, static_cast<uint32_t>(pixelBytes));
  Put32(file, 14 + 32, static_cast<uint32_t>(used));
  Put32(file, 14 + 36, static_cast<uint32_t>(used));
  std::memcpy(&file[54], FreeImage_GetPalette(image), 4 * static_cast<size_t>(used));
  std::memcpy(&file[54 + 4 * static_cast<size_t>(used)], encoded.data() + pixelStart, pixelBytes);
  return WriteWholeFile(path, file.data(), file.size());
}

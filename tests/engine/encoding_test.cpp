// Output encoding: save flags, automatic depths, depth conversion and exact-palette BMPs.
#include "encoding.h"

#include <gtest/gtest.h>

#include "context.h"
#include "identity.h"
#include "image_libraries.h"
#include "image_ptr.h"
#include "image_readback.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

class Encoding : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseImageLibraries();
    ResetSettings(true);
    gContext = ConversionContext{};
    gContext.sourceDepth = 96;
  }
};

// A 24-bit image of w x h pixels with a colourful gradient.
ImagePtr Gradient(int w, int h) {
  ImagePtr image(FreeImage_Allocate(w, h, 24));
  for (int y = 0; y < h; ++y) {
    BYTE* p = FreeImage_GetScanLine(image.get(), y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[FI_RGBA_RED] = static_cast<BYTE>(x * 255 / std::max(1, w - 1));
      p[FI_RGBA_GREEN] = static_cast<BYTE>(y * 255 / std::max(1, h - 1));
      p[FI_RGBA_BLUE] = static_cast<BYTE>((x + y) & 0xFF);
    }
  }
  return image;
}

// An 8-bit palette image using palette indices 0..highest, distinct colours for each.
ImagePtr Indexed(int w, int h, int highest) {
  ImagePtr image(FreeImage_Allocate(w, h, 8));
  RGBQUAD* palette = FreeImage_GetPalette(image.get());
  for (int i = 0; i < 256; ++i)
    palette[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
  for (int y = 0; y < h; ++y) {
    BYTE* line = FreeImage_GetScanLine(image.get(), y);
    for (int x = 0; x < w; ++x)
      line[x] = static_cast<BYTE>((x + y * w) % (highest + 1));
  }
  return image;
}

TEST_F(Encoding, SaveFlagsFollowTheSettings) {
  auto& out = gSettings.Output;
  EXPECT_EQ(ComputeSaveFlags("jpg"), 95 + 0x10000) << "the defaults: quality 95, 4:4:4";
  out.JPGQuality = 80, out.JPGChroma = 2, out.JPGSaveAs = 3;
  EXPECT_EQ(ComputeSaveFlags("jpg"), 80 | JPEG_SUBSAMPLING_420 | JPEG_PROGRESSIVE);
  out.JPGChroma = 3, out.JPGSaveAs = 1;
  EXPECT_EQ(ComputeSaveFlags("jpg"), 80 | JPEG_SUBSAMPLING_411 | JPEG_BASELINE);
  out.JPGChroma = 1, out.JPGSaveAs = 2;
  EXPECT_EQ(ComputeSaveFlags("jpg"), 80 | JPEG_SUBSAMPLING_422 | JPEG_OPTIMIZE);

  const int exr[] = {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44, 0};
  for (int v = 0; v <= 5; ++v) {
    out.EXRCompression = v;
    EXPECT_EQ(ComputeSaveFlags("exr"), exr[v]) << v;
  }
  const int png[] = {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED, PNG_Z_DEFAULT_COMPRESSION,
                     PNG_Z_BEST_COMPRESSION, 0};
  for (int v = 0; v <= 4; ++v) {
    out.PNGCompression = v;
    EXPECT_EQ(ComputeSaveFlags("png"), png[v]) << v;
  }
  out.PNGCompression = 3, out.PNGInterlaced = 1;
  EXPECT_EQ(ComputeSaveFlags("png"), PNG_Z_BEST_COMPRESSION | PNG_INTERLACED);
  const int tiff[] = {
      TIFF_NONE,          TIFF_CCITTFAX3, TIFF_CCITTFAX4, TIFF_PACKBITS, TIFF_DEFLATE,
      TIFF_ADOBE_DEFLATE, TIFF_LZW,       TIFF_JPEG,      TIFF_LOGLUV,   0};
  for (int v = 0; v <= 9; ++v) {
    out.TIFFCompression = v;
    EXPECT_EQ(ComputeSaveFlags("tiff"), tiff[v]) << v;
  }
  out.TIFFCompression = 6;
  for (int mode : {0, 2}) {
    out.TIFFColorMode = mode;
    EXPECT_EQ(ComputeSaveFlags("tiff"), TIFF_LZW) << mode;
  }
  out.TIFFColorMode = 1;
  EXPECT_EQ(ComputeSaveFlags("tiff"), TIFF_LZW | TIFF_CMYK);

  out.BMPCompression = 1, out.TGACompression = 1;
  EXPECT_EQ(ComputeSaveFlags("bmp"), BMP_SAVE_RLE);
  EXPECT_EQ(ComputeSaveFlags("tga"), TARGA_SAVE_RLE);
  out.WEBPQuality = 100;
  EXPECT_EQ(ComputeSaveFlags("webp"), WEBP_LOSSLESS);
  out.WEBPQuality = 99;
  EXPECT_EQ(ComputeSaveFlags("webp"), 99);
  EXPECT_EQ(ComputeSaveFlags("jxr"), JXR_LOSSLESS);
  for (const char* ext : {"dds", "gif", "hdr", "ico", "pcx", "psd", "xpm", "pbm"})
    EXPECT_EQ(ComputeSaveFlags(ext), 0) << ext;
}

TEST_F(Encoding, AutomaticDepthOfARadianceSource) {
  const std::pair<const char*, int> expected[] = {
      {"bmp", 32}, {"dds", 32},  {"exr", 96}, {"gif", 8},   {"hdr", 96}, {"ico", 32},
      {"j2k", 48}, {"jng", 32},  {"jp2", 48}, {"jpg", 24},  {"jxr", 96}, {"pbm", 1},
      {"pcx", 24}, {"pfm", 96},  {"pgm", 8},  {"png", 48},  {"ppm", 48}, {"psd", 32},
      {"tga", 32}, {"tiff", 96}, {"wbmp", 1}, {"webp", 32}, {"xpm", 24}};
  ASSERT_EQ(std::size(expected), OutputExtensions().size());
  for (const auto& [ext, depth] : expected)
    EXPECT_EQ(ResolveAutomaticDepth(ext, 96), depth) << ext;
  EXPECT_EQ(ResolveAutomaticDepth("png", 24), 24);
  EXPECT_EQ(ResolveAutomaticDepth("png", 2), 4);
}

TEST_F(Encoding, PrepareOutputFormatTakesTheFormatsOwnSettings) {
  gSettings.Output.PNGBPP = 24;
  PrepareOutputFormat("png");
  EXPECT_EQ(gContext.outputFormat.formatId, FIF_PNG);
  EXPECT_EQ(gContext.outputFormat.extension, "png");
  EXPECT_EQ(gContext.outputFormat.bitsPerPixel, 24);
  EXPECT_FALSE(gContext.outputFormat.automaticDepth);
  PrepareOutputFormat("psd");
  EXPECT_EQ(gContext.outputFormat.formatId, 0x0439);
  EXPECT_EQ(gContext.outputFormat.bitsPerPixel, 0);
  EXPECT_TRUE(gContext.outputFormat.automaticDepth);
}

// What ConvertToOutputDepth makes of a 24-bit image for each target.
TEST_F(Encoding, DepthConversions) {
  struct Case {
    const char* ext;
    int target;
    FREE_IMAGE_TYPE type;
    unsigned bpp;
    FREE_IMAGE_COLOR_TYPE color;
    unsigned greenMask;  // of 16-bit results
  } cases[] = {
      {"tiff", 96, FIT_RGBF, 96, FIC_RGB, 0},
      {"png", 48, FIT_RGB16, 48, FIC_RGB, 0},
      {"bmp", 32, FIT_BITMAP, 32, FIC_RGBALPHA, 0},
      {"bmp", 16, FIT_BITMAP, 16, FIC_RGB, FI16_565_GREEN_MASK},
      {"tga", 16, FIT_BITMAP, 16, FIC_RGB, FI16_555_GREEN_MASK},
      {"ico", 16, FIT_BITMAP, 16, FIC_RGB, FI16_555_GREEN_MASK},
      {"jpg", 8, FIT_BITMAP, 8, FIC_MINISBLACK, 0},
      {"jxr", 8, FIT_BITMAP, 8, FIC_MINISBLACK, 0},
      {"pgm", 8, FIT_BITMAP, 8, FIC_MINISBLACK, 0},
      {"png", 8, FIT_BITMAP, 8, FIC_PALETTE, 0},
      {"gif", 8, FIT_BITMAP, 8, FIC_PALETTE, 0},
      {"bmp", 4, FIT_BITMAP, 4, FIC_PALETTE, 0},
      {"pbm", 1, FIT_BITMAP, 1, FIC_MINISBLACK, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ext) + " " + std::to_string(c.target));
    gContext.outputFormat = OutputFormat{0, c.ext, c.target, 0, false};
    ImagePtr result(ConvertToOutputDepth(Gradient(37, 21).release()));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetImageType(result.get()), c.type);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), c.bpp);
    if (c.color != FIC_RGBALPHA) {
      EXPECT_EQ(FreeImage_GetColorType(result.get()), c.color);
    }
    if (c.greenMask) {
      EXPECT_EQ(FreeImage_GetGreenMask(result.get()), c.greenMask);
    }
    EXPECT_EQ(FreeImage_GetWidth(result.get()), 37u);
  }
}

TEST_F(Encoding, DepthConversionEdges) {
  gContext.outputFormat = OutputFormat{0, "png", 0, 0, true};
  EXPECT_EQ(ConvertToOutputDepth(nullptr), nullptr);

  // Automatic depth is resolved from the source depth, so %bpp% sees the depth used.
  ImagePtr same(ConvertToOutputDepth(Gradient(8, 8).release()));
  EXPECT_EQ(gContext.outputFormat.bitsPerPixel, 48);
  EXPECT_EQ(FreeImage_GetBPP(same.get()), 48u);

  // An image already at the target comes back as it is.
  gContext.outputFormat = OutputFormat{0, "png", 24, 0, false};
  FIBITMAP* input = Gradient(8, 8).release();
  ImagePtr unchanged(ConvertToOutputDepth(input));
  EXPECT_EQ(unchanged.get(), input);

  // A depth no format offers gives no image (and releases the input: the sanitizer run checks).
  gContext.outputFormat = OutputFormat{0, "png", 12, 0, false};
  EXPECT_EQ(ConvertToOutputDepth(Gradient(8, 8).release()), nullptr);
}

TEST_F(Encoding, CountUsedPaletteEntriesReadsOnlyThePixelsOfEachRow) {
  // Width 5 leaves 3 padding bytes per row; they must not count.
  ImagePtr image = Indexed(5, 4, 15);
  for (int y = 0; y < 4; ++y)
    FreeImage_GetScanLine(image.get(), y)[6] = 200;
  EXPECT_EQ(CountUsedPaletteEntries(image.get()), 16);
  EXPECT_EQ(CountUsedPaletteEntries(Indexed(4, 4, 0).get()), 1);
}

// The colour table holds just the used entries; readers still see every pixel right.
TEST_F(Encoding, ExactPaletteBmp) {
  TempFolder dir;
  struct Case {
    int width, height, highest, compression;
  } cases[] = {{16, 8, 15, 0}, {13, 7, 15, 0}, {33, 9, 255, 0}, {13, 7, 40, 1}, {64, 16, 3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " up to " +
                 std::to_string(c.highest) + (c.compression ? " RLE" : ""));
    gSettings.Output.BMPCompression = c.compression;
    gContext.outputFormat =
        OutputFormat{FIF_BMP, "bmp", 8, c.compression ? BMP_SAVE_RLE : 0, false};
    ImagePtr image = Indexed(c.width, c.height, c.highest);
    const std::string path = dir / "exact.bmp";
    ASSERT_TRUE(SaveExactPaletteBmp(image.get(), path));

    const std::string bytes = ReadFileBytes(path);
    auto u32 = [&](size_t at) {
      return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
             uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    const uint32_t used = static_cast<uint32_t>(c.highest + 1);
    EXPECT_EQ(u32(2), bytes.size());
    EXPECT_EQ(u32(10), 54 + 4 * used);
    EXPECT_EQ(u32(14 + 16), static_cast<uint32_t>(c.compression));
    EXPECT_EQ(u32(14 + 20), bytes.size() - (54 + 4 * used));
    EXPECT_EQ(u32(14 + 32), used);

    // FreeImage's own reading, and ImageMagick's, agree with the palette colours.
    ImagePtr back(FreeImage_Load(FIF_BMP, path.c_str(), 0));
    ASSERT_TRUE(back) << LastImageLibraryMessage();
    RgbImage independent = ReadBack(path);
    ASSERT_TRUE(independent.ok()) << independent.error;
    const RGBQUAD* palette = FreeImage_GetPalette(image.get());
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const RGBQUAD& want = palette[FreeImage_GetScanLine(image.get(), c.height - 1 - y)[x]];
        const uint8_t* got = independent.At(x, y);
        ASSERT_EQ(got[0], want.rgbRed) << x << "," << y;
        ASSERT_EQ(got[1], want.rgbGreen) << x << "," << y;
        ASSERT_EQ(got[2], want.rgbBlue) << x << "," << y;
        BYTE index = 0;
        ASSERT_TRUE(FreeImage_GetPixelIndex(back.get(), x, c.height - 1 - y, &index));
        const RGBQUAD& mine = FreeImage_GetPalette(back.get())[index];
        ASSERT_EQ(mine.rgbRed, want.rgbRed);
        ASSERT_EQ(mine.rgbBlue, want.rgbBlue);
      }
  }
}

TEST_F(Encoding, ExactPaletteBmpWithAllEntriesMatchesFreeImagesOwnSize) {
  TempFolder dir;
  gContext.outputFormat = OutputFormat{FIF_BMP, "bmp", 8, 0, false};
  ImagePtr image = Indexed(40, 10, 255);
  ASSERT_TRUE(SaveExactPaletteBmp(image.get(), dir / "exact.bmp"));
  ASSERT_TRUE(FreeImage_Save(FIF_BMP, image.get(), (dir / "plain.bmp").c_str(), 0));
  EXPECT_EQ(ReadFileBytes(dir / "exact.bmp").size(), ReadFileBytes(dir / "plain.bmp").size());
}

TEST_F(Encoding, ExactPaletteBmpFailsCleanly) {
  TempFolder dir;
  gContext.outputFormat = OutputFormat{FIF_BMP, "bmp", 8, 0, false};
  EXPECT_FALSE(SaveExactPaletteBmp(Indexed(8, 8, 3).get(), dir / "missing/folder/x.bmp"));
  EXPECT_FALSE(SaveExactPaletteBmp(Gradient(8, 8).get(), dir / "x.bmp")) << "not an 8-bit image";
  EXPECT_TRUE(ListFolder(dir.path()).empty());
}

}  // namespace

// Tone mapping, colour adjustments, greyscale, threshold and dithering on synthetic images.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "bitmaps.h"
#include "image_ptr.h"
#include "settings.h"
#include "stages.h"

namespace {

// Every channel value occurs, in colours that are not grey.
ImagePtr MakeColourful(int width, int height, int bpp = 24) {
  return MakeImage(
      width, height,
      [](int x, int y) {
        return Rgb{(x * 7 + y) % 256, (x * 3 + y * 11) % 256, (y * 5) % 256};
      },
      bpp);
}

// A grey ramp: grey(x, y) is the value of each pixel.
int GreyRamp(int x, int y) {
  return (x * 37 + y * 101) % 256;
}
ImagePtr MakeGreyRamp(int width, int height) {
  return MakeImage(width, height, [](int x, int y) {
    const int v = GreyRamp(x, y);
    return Rgb{v, v, v};
  });
}

RGBQUAD QuadAt(FIBITMAP* image, int x, int y) {
  RGBQUAD q{};
  FreeImage_GetPixelColor(image, x, FreeImage_GetHeight(image) - 1 - y, &q);
  return q;
}

// The grey value of a palette pixel (1 or 8 bits).
int PaletteGreyAt(FIBITMAP* image, int x, int y) {
  BYTE index = 0;
  FreeImage_GetPixelIndex(image, x, FreeImage_GetHeight(image) - 1 - y, &index);
  return FreeImage_GetPalette(image)[index].rgbGreen;
}

// A float image of positive values rising from 0.01 to about 10 across it.
ImagePtr MakeFloatRamp(int width, int height) {
  ImagePtr image(FreeImage_AllocateT(FIT_RGBF, width, height));
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(image.get(), y));
    for (int x = 0; x < width; ++x) {
      const float v =
          0.01f + 10.0f * static_cast<float>(x + y) / static_cast<float>(width + height);
      row[x] = FIRGBF{v, v * 0.5f, v * 0.25f};
    }
  }
  return image;
}

class ToneTest : public testing::Test {
 protected:
  void SetUp() override { ResetSettings(true); }
};

using ColorAdjustmentTest = ToneTest;
using GreyscaleTest = ToneTest;
using ThresholdTest = ToneTest;
using DitherTest = ToneTest;

TEST_F(ToneTest, SwitchedOffStagesReturnTheirInput) {
  for (int bpp : {1, 8, 24, 32}) {
    SCOPED_TRACE(bpp);
    FIBITMAP* image = MakeOfDepth(FIT_BITMAP, bpp, 91, 27).release();
    EXPECT_EQ(ApplyColorAdjustments(image), image);
    EXPECT_EQ(ApplyGreyscale(image), image);
    EXPECT_EQ(ApplyThreshold(image), image);
    EXPECT_EQ(ApplyDither(image), image);
    EXPECT_EQ(FreeImage_GetBPP(image), static_cast<unsigned>(bpp));
    FreeImage_Unload(image);
  }
}

TEST_F(ToneTest, NullImagePassesThroughEveryStage) {
  auto& a = gSettings.Adjustment;
  a.DoImageColorCorrection = a.DoImageGreyscale = a.DoImageThreshold = a.DoImageDither = 1;
  a.ImageBrightness = 20;
  EXPECT_EQ(ApplyToneMapping(nullptr), nullptr);
  EXPECT_EQ(ApplyColorAdjustments(nullptr), nullptr);
  EXPECT_EQ(ApplyGreyscale(nullptr), nullptr);
  EXPECT_EQ(ApplyThreshold(nullptr), nullptr);
  EXPECT_EQ(ApplyDither(nullptr), nullptr);
}

TEST_F(ToneTest, ToneMappingBringsFloatImagesTo24Bits) {
  ImagePtr mapped(ApplyToneMapping(MakeFloatRamp(41, 33).release()));
  ASSERT_TRUE(mapped);
  EXPECT_EQ(FreeImage_GetImageType(mapped.get()), FIT_BITMAP);
  EXPECT_EQ(FreeImage_GetBPP(mapped.get()), 24u);
  // FreeImage's operator cannot handle a side under 32 pixels.
  EXPECT_EQ(ApplyToneMapping(MakeFloatRamp(31, 40).release()), nullptr);
  FIBITMAP* image = MakeColourful(1, 1).release();
  ImagePtr same(ApplyToneMapping(image));
  EXPECT_EQ(same.get(), image);
}

TEST_F(ColorAdjustmentTest, NeutralValuesChangeNoPixel) {
  gSettings.Adjustment.DoImageColorCorrection = 1;
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(bpp);
    const ImagePtr original = MakeColourful(91, 27, bpp);
    ImagePtr adjusted(ApplyColorAdjustments(FreeImage_Clone(original.get())));
    ASSERT_TRUE(adjusted);
    EXPECT_EQ(FreeImage_GetBPP(adjusted.get()), static_cast<unsigned>(bpp));
    EXPECT_EQ(CountDifferences(adjusted.get(), original.get()), 0);
  }
}

TEST_F(ColorAdjustmentTest, InvertTurnsEveryChannelOver) {
  gSettings.Adjustment.DoImageColorCorrection = 1;
  gSettings.Adjustment.ImageInvert = 1;
  const ImagePtr original = MakeColourful(91, 27);
  ImagePtr adjusted(ApplyColorAdjustments(FreeImage_Clone(original.get())));
  ASSERT_TRUE(adjusted);
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 91; ++x) {
      const RGBQUAD before = QuadAt(original.get(), x, y);
      const RGBQUAD after = QuadAt(adjusted.get(), x, y);
      ASSERT_EQ(after.rgbRed, 255 - before.rgbRed) << x << ", " << y;
      ASSERT_EQ(after.rgbGreen, 255 - before.rgbGreen) << x << ", " << y;
      ASSERT_EQ(after.rgbBlue, 255 - before.rgbBlue) << x << ", " << y;
    }
}

// Each value reaches FreeImage in its own place: brightness lifts black, contrast spreads
// dark and light apart, gamma lifts the middle and keeps both ends.
TEST_F(ColorAdjustmentTest, EachValueHasItsOwnEffect) {
  struct Case {
    const char* name;
    int brightness, contrast;
    float gamma;
    int darkChange, middleChange, lightChange;  // sign of the change of 30, 128 and 220
  };
  const Case cases[] = {
      {"brightness", 40, 0, 1.0f, +1, +1, +1},
      {"contrast", 0, 60, 1.0f, -1, 0, +1},
      {"gamma", 0, 0, 2.0f, +1, +1, +1},
      {"darker", -40, 0, 1.0f, -1, -1, -1},
  };
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& a = gSettings.Adjustment;
    a.DoImageColorCorrection = 1;
    a.ImageBrightness = c.brightness;
    a.ImageContrast = c.contrast;
    a.ImageGamma = c.gamma;
    ImagePtr adjusted(ApplyColorAdjustments(MakeImage(3, 1, [](int x, int) {
                                              const int v = x == 0 ? 30 : x == 1 ? 128 : 220;
                                              return Rgb{v, v, v};
                                            }).release()));
    ASSERT_TRUE(adjusted);
    EXPECT_EQ(sign(QuadAt(adjusted.get(), 0, 0).rgbGreen - 30), c.darkChange);
    if (c.middleChange != 0) {
      EXPECT_EQ(sign(QuadAt(adjusted.get(), 1, 0).rgbGreen - 128), c.middleChange);
    }
    EXPECT_EQ(sign(QuadAt(adjusted.get(), 2, 0).rgbGreen - 220), c.lightChange);
  }
}

TEST_F(ColorAdjustmentTest, DepthsOutside8To32AreBroughtTo24Bits) {
  struct Case {
    FREE_IMAGE_TYPE type;
    int bpp;
    unsigned expected;
  };
  const Case cases[] = {{FIT_BITMAP, 1, 24},
                        {FIT_BITMAP, 4, 24},
                        {FIT_BITMAP, 8, 8},
                        {FIT_BITMAP, 32, 32},
                        {FIT_RGB16, 48, 24}};
  gSettings.Adjustment.DoImageColorCorrection = 1;
  gSettings.Adjustment.ImageBrightness = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bpp);
    ImagePtr adjusted(ApplyColorAdjustments(MakeOfDepth(c.type, c.bpp, 91, 27).release()));
    ASSERT_TRUE(adjusted);
    EXPECT_EQ(FreeImage_GetBPP(adjusted.get()), c.expected);
  }
}

TEST_F(GreyscaleTest, GivesEightBitGreyKeepingGreyValues) {
  gSettings.Adjustment.DoImageGreyscale = 1;
  ImagePtr grey(ApplyGreyscale(MakeGreyRamp(91, 27).release()));
  ASSERT_TRUE(grey);
  EXPECT_EQ(FreeImage_GetBPP(grey.get()), 8u);
  EXPECT_EQ(FreeImage_GetColorType(grey.get()), FIC_MINISBLACK);
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 91; ++x)
      ASSERT_NEAR(PaletteGreyAt(grey.get(), x, y), GreyRamp(x, y), 1);

  for (FREE_IMAGE_TYPE type : {FIT_RGB16, FIT_BITMAP}) {
    SCOPED_TRACE(type);
    ImagePtr converted(
        ApplyGreyscale(MakeOfDepth(type, type == FIT_RGB16 ? 48 : 1, 1, 1).release()));
    ASSERT_TRUE(converted);
    EXPECT_EQ(FreeImage_GetBPP(converted.get()), 8u);
  }
}

TEST_F(ThresholdTest, GivesOneBitSplitAtTheLevel) {
  gSettings.Adjustment.DoImageThreshold = 1;
  for (int level : {0, 1, 128, 255}) {
    SCOPED_TRACE(level);
    gSettings.Adjustment.ImageThreshold = level;
    ImagePtr result(ApplyThreshold(MakeGreyRamp(91, 27).release()));
    ASSERT_TRUE(result);
    ASSERT_EQ(FreeImage_GetBPP(result.get()), 1u);
    for (int y = 0; y < 27; ++y)
      for (int x = 0; x < 91; ++x)
        ASSERT_EQ(PaletteGreyAt(result.get(), x, y), GreyRamp(x, y) >= level ? 255 : 0)
            << x << ", " << y << " grey " << GreyRamp(x, y);
  }
}

TEST_F(ThresholdTest, OneBitInputIsBroughtTo24BitsFirst) {
  gSettings.Adjustment.DoImageThreshold = 1;
  gSettings.Adjustment.ImageThreshold = 128;
  ImagePtr input = MakeOfDepth(FIT_BITMAP, 1, 91, 27);
  BYTE white = 1;
  FreeImage_SetPixelIndex(input.get(), 3, 26, &white);  // (3, 0): scanlines run bottom up
  ImagePtr result(ApplyThreshold(input.release()));
  ASSERT_TRUE(result);
  EXPECT_EQ(FreeImage_GetBPP(result.get()), 1u);
  EXPECT_EQ(PaletteGreyAt(result.get(), 3, 0), 255);
  EXPECT_EQ(PaletteGreyAt(result.get(), 4, 0), 0);
  EXPECT_EQ(PaletteGreyAt(result.get(), 3, 1), 0);
}

// Each setting must reach FreeImage as its algorithm; from "BAYER16" on the settings are not
// FreeImage's numbers, and the naive reading gives other pixels.
TEST_F(DitherTest, AlgorithmSelectsItsPattern) {
  struct Case {
    int setting;
    FREE_IMAGE_DITHER algorithm;
  };
  const Case cases[] = {{0, FID_FS},           {1, FID_BAYER4x4},   {2, FID_BAYER8x8},
                        {3, FID_BAYER16x16},   {4, FID_CLUSTER6x6}, {5, FID_CLUSTER8x8},
                        {6, FID_CLUSTER16x16}, {7, FID_FS},         {-1, FID_FS}};
  const ImagePtr source = MakeColourful(91, 67);
  gSettings.Adjustment.DoImageDither = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    gSettings.Adjustment.ImageDitherAlgorithm = static_cast<int8_t>(c.setting);
    ImagePtr dithered(ApplyDither(FreeImage_Clone(source.get())));
    ASSERT_TRUE(dithered);
    EXPECT_EQ(FreeImage_GetBPP(dithered.get()), 1u);
    ImagePtr expected(FreeImage_Dither(source.get(), c.algorithm));
    EXPECT_EQ(CountDifferences(dithered.get(), expected.get()), 0);
    if (c.setting >= 3 && c.setting <= 6) {
      ImagePtr naive(FreeImage_Dither(source.get(), static_cast<FREE_IMAGE_DITHER>(c.setting)));
      EXPECT_GT(CountDifferences(dithered.get(), naive.get()), 0);
    }
  }
}

TEST_F(DitherTest, TinyAndOneBitInputsGiveOneBit) {
  gSettings.Adjustment.DoImageDither = 1;
  for (int algorithm = 0; algorithm < 7; ++algorithm) {
    SCOPED_TRACE(algorithm);
    gSettings.Adjustment.ImageDitherAlgorithm = static_cast<int8_t>(algorithm);
    ImagePtr tiny(ApplyDither(MakeColourful(1, 1).release()));
    ASSERT_TRUE(tiny);
    EXPECT_EQ(FreeImage_GetBPP(tiny.get()), 1u);
    ImagePtr fromOneBit(ApplyDither(MakeOfDepth(FIT_BITMAP, 1, 91, 27).release()));
    ASSERT_TRUE(fromOneBit);
    EXPECT_EQ(FreeImage_GetBPP(fromOneBit.get()), 1u);
  }
}

// Greyscale, threshold and dither in a row: grey, then one bit, which the dither stage brings
// back to 24 bits and dithers to one bit again.
TEST_F(ToneTest, GreyscaleThresholdAndDitherChain) {
  auto& a = gSettings.Adjustment;
  a.DoImageGreyscale = a.DoImageThreshold = a.DoImageDither = 1;
  a.ImageThreshold = 128;
  ImagePtr image(ApplyGreyscale(MakeGreyRamp(91, 27).release()));
  ASSERT_TRUE(image);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 8u);
  image.reset(ApplyThreshold(image.release()));
  ASSERT_TRUE(image);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 1u);
  image.reset(ApplyDither(image.release()));
  ASSERT_TRUE(image);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 1u);
  // Black and white survive the round: the thresholded pixels are kept.
  for (int x = 0; x < 91; ++x)
    EXPECT_EQ(PaletteGreyAt(image.get(), x, 0), GreyRamp(x, 0) >= 128 ? 255 : 0) << x;
}

}  // namespace

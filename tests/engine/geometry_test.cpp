// Rotation, resize and flip on synthetic images, and the colour-with-alpha reading.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "bitmaps.h"
#include "image_ptr.h"
#include "radiance_patterns.h"
#include "settings.h"
#include "stages.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kMark{200, 10, 60};

// White with the top-left pixel marked.
ImagePtr MakeMarked(int width, int height, int bpp = 24) {
  return MakeImage(
      width, height, [](int x, int y) { return x == 0 && y == 0 ? kMark : kWhite; }, bpp);
}

int AlphaAt(FIBITMAP* image, int x, int y) {
  RGBQUAD q{};
  FreeImage_GetPixelColor(image, x, FreeImage_GetHeight(image) - 1 - y, &q);
  return q.rgbReserved;
}

// A float image as the decoder gives it, with the quadrant pattern of the test support.
ImagePtr MakeFloatPattern(int width, int height) {
  const FloatImage pattern = MakeOrientationPattern(width, height);
  ImagePtr image(FreeImage_AllocateT(FIT_RGBF, width, height));
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(image.get(), height - 1 - y));
    for (int x = 0; x < width; ++x) {
      const float* p = pattern.At(x, y);
      row[x] = FIRGBF{p[0], p[1], p[2]};
    }
  }
  return image;
}

std::string Size(FIBITMAP* image) {
  return std::to_string(FreeImage_GetWidth(image)) + "x" +
         std::to_string(FreeImage_GetHeight(image));
}

class GeometryTest : public testing::Test {
 protected:
  void SetUp() override { ResetSettings(true); }
};

using RotationTest = GeometryTest;

TEST_F(RotationTest, AnglesAndTypesGiveTheirSizes) {
  struct Case {
    const char* name;
    int type, angle;
    const char* size;
  };
  const Case cases[] = {
      {"simple 90 swaps the sides", 0, 90, "300x400"},
      {"simple 180 keeps them", 0, 180, "400x300"},
      {"simple 270 swaps them", 0, 270, "300x400"},
      {"advanced 90 keeps the canvas", 1, 90, "400x300"},
      {"advanced 45 keeps the canvas", 1, 45, "400x300"},
      {"unknown type does not turn", 2, 90, "400x300"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gSettings.Transform.DoImageRotation = 1;
    gSettings.Transform.ImageRotationType = static_cast<int8_t>(c.type);
    gSettings.Transform.ImageRotation = c.angle;
    ImagePtr rotated(ApplyRotation(MakeMarked(400, 300).release()));
    ASSERT_TRUE(rotated);
    EXPECT_EQ(Size(rotated.get()), c.size);
    EXPECT_EQ(FreeImage_GetBPP(rotated.get()), 24u);
  }
}

TEST_F(RotationTest, AnglesOutsideOneTo359AndSwitchOffLeaveTheImageAlone) {
  for (int angle : {0, 360, -90, 450}) {
    SCOPED_TRACE(angle);
    gSettings.Transform.DoImageRotation = 1;
    gSettings.Transform.ImageRotation = angle;
    FIBITMAP* image = MakeFloatPattern(40, 32).release();
    ImagePtr result(ApplyRotation(image));
    EXPECT_EQ(result.get(), image);
    EXPECT_EQ(FreeImage_GetImageType(image), FIT_RGBF);
  }
  gSettings.Transform.DoImageRotation = 0;
  gSettings.Transform.ImageRotation = 90;
  FIBITMAP* image = MakeMarked(91, 27).release();
  ImagePtr result(ApplyRotation(image));
  EXPECT_EQ(result.get(), image);
}

// FreeImage turns counter-clockwise: the top-left corner ends bottom-left at 90 degrees.
TEST_F(RotationTest, SimpleTurnMovesTheMarkedCorner) {
  struct Case {
    int angle, x, y;  // where the top-left pixel of the 91 x 27 image lands
  };
  const Case cases[] = {{90, 0, 90}, {180, 90, 26}, {270, 26, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    gSettings.Transform.DoImageRotation = 1;
    gSettings.Transform.ImageRotation = c.angle;
    ImagePtr rotated(ApplyRotation(MakeMarked(91, 27).release()));
    ASSERT_TRUE(rotated);
    EXPECT_EQ(ColourAt(rotated.get(), c.x, c.y), kMark);
  }
}

TEST_F(RotationTest, SimpleTurnFillsTheEnlargedCanvasWithTheBackground) {
  struct Case {
    const char* text;
    Rgb expected;
    int bpp;
  };
  const Case cases[] = {{"FF0000", {255, 0, 0}, 24},
                        {"00ff80", {0, 255, 128}, 24},
                        {"F00", {0, 0, 0}, 24},
                        {"0000FF", {0, 0, 255}, 32}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.bpp) + " bits");
    gSettings.Transform.DoImageRotation = 1;
    gSettings.Transform.ImageRotation = 45;
    gSettings.Transform.ImageRotationBackColor = c.text;
    ImagePtr rotated(ApplyRotation(MakeMarked(91, 27, c.bpp).release()));
    ASSERT_TRUE(rotated);
    // The canvas holds the turned image: (91 + 27) / sqrt(2) = 83.4 on either side.
    EXPECT_EQ(Size(rotated.get()), "84x84");
    EXPECT_EQ(ColourAt(rotated.get(), 0, 0), c.expected);
    const unsigned w = FreeImage_GetWidth(rotated.get()), h = FreeImage_GetHeight(rotated.get());
    EXPECT_EQ(ColourAt(rotated.get(), w - 1, h - 1), c.expected);
    EXPECT_EQ(ColourAt(rotated.get(), w / 2, h / 2), kWhite);
    if (c.bpp == 32) {
      EXPECT_EQ(AlphaAt(rotated.get(), 0, 0), 0);
    }
  }
}

// Turned about its centre, a picture with a red left half and a blue right half has red below
// the centre and blue above it, and the centre stays where it was.
TEST_F(RotationTest, AdvancedTurnIsAboutTheCentre) {
  gSettings.Transform.DoImageRotation = 1;
  gSettings.Transform.ImageRotationType = 1;
  gSettings.Transform.ImageRotation = 90;
  const Rgb red{255, 0, 0}, blue{0, 0, 255};
  ImagePtr rotated(ApplyRotation(MakeImage(91, 27, [&](int x, int) {
                                   return x < 45 ? red : x > 45 ? blue : kWhite;
                                 }).release()));
  ASSERT_TRUE(rotated);
  EXPECT_EQ(Size(rotated.get()), "91x27");
  EXPECT_EQ(ColourAt(rotated.get(), 45, 13 + 8), red);
  EXPECT_EQ(ColourAt(rotated.get(), 45, 13 - 8), blue);
}

TEST_F(RotationTest, DepthsOutside17To32AreBroughtTo24Bits) {
  struct Case {
    FREE_IMAGE_TYPE type;
    int bpp;
    unsigned expected;
  };
  const Case cases[] = {{FIT_BITMAP, 1, 24},  {FIT_BITMAP, 8, 24},  {FIT_BITMAP, 16, 24},
                        {FIT_BITMAP, 24, 24}, {FIT_BITMAP, 32, 32}, {FIT_RGB16, 48, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bpp);
    gSettings.Transform.DoImageRotation = 1;
    gSettings.Transform.ImageRotation = 90;
    ImagePtr rotated(ApplyRotation(MakeOfDepth(c.type, c.bpp, 91, 27).release()));
    ASSERT_TRUE(rotated);
    EXPECT_EQ(FreeImage_GetBPP(rotated.get()), c.expected);
    EXPECT_EQ(Size(rotated.get()), "27x91");
  }
}

// FreeImage cannot bring float colour to 24 bits itself; a Radiance image is tone mapped
// instead and keeps its colours where they belong.
TEST_F(RotationTest, FloatImageIsToneMappedAndTurned) {
  gSettings.Transform.DoImageRotation = 1;
  gSettings.Transform.ImageRotation = 90;
  for (int type : {0, 1}) {
    SCOPED_TRACE(type);
    gSettings.Transform.ImageRotationType = static_cast<int8_t>(type);
    ImagePtr rotated(ApplyRotation(MakeFloatPattern(400, 300).release()));
    ASSERT_TRUE(rotated);
    EXPECT_EQ(FreeImage_GetImageType(rotated.get()), FIT_BITMAP);
    EXPECT_EQ(FreeImage_GetBPP(rotated.get()), 24u);
    EXPECT_EQ(Size(rotated.get()), type == 0 ? "300x400" : "400x300");
    if (type == 0) {
      FIBITMAP* image = rotated.get();
      const int w = static_cast<int>(FreeImage_GetWidth(image));
      const int h = static_cast<int>(FreeImage_GetHeight(image));
      const PixelAt pixel = [image](int x, int y) {
        const Rgb c = ColourAt(image, x, y);
        return Rgb8{static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g),
                    static_cast<uint8_t>(c.b)};
      };
      EXPECT_EQ(CheckOrientation(pixel, w, h, "GYRB"), "");
    }
  }
}

using ResizeTest = GeometryTest;

TEST_F(ResizeTest, TargetsRoundAsTheUnitsSay) {
  struct Case {
    const char* name;
    int width, height;
    int32_t targetWidth, widthUnit, targetHeight, heightUnit;
    bool keepAspect;
    int type;
    const char* size;
  };
  const Case cases[] = {
      {"50 % of 1001 is 500.5, to the even 500", 1001, 600, 50, 1, 50, 1, false, 0, "500x300"},
      {"50 % of 1003 is 501.5, to the even 502", 1003, 600, 50, 1, 50, 1, false, 0, "502x300"},
      {"odd sides: 45.5 and 13.5 go up to even", 91, 27, 50, 1, 50, 1, false, 0, "46x14"},
      {"33 % of 91 x 27", 91, 27, 33, 1, 33, 1, false, 0, "30x9"},
      {"aspect: 500 / 1.668333 = 299.7", 1001, 600, 50, 1, 50, 1, true, 0, "500x300"},
      {"aspect, portrait: the height rules", 600, 1200, 800, 0, 100, 0, true, 0, "50x100"},
      {"aspect, square: the width rules", 300, 300, 100, 0, 50, 0, true, 0, "100x100"},
      {"aspect rounds 2.5 away from zero", 400, 100, 10, 0, 999, 0, true, 0, "10x3"},
      {"aspect rounds 2.5 away, portrait", 100, 400, 999, 0, 10, 0, true, 0, "3x10"},
      {"aspect keeps a thin strip one pixel high", 1000, 1, 10, 0, 10, 0, true, 0, "10x1"},
      {"pixels without aspect", 91, 27, 40, 0, 50, 0, false, 0, "40x50"},
      {"mixed units", 91, 27, 10, 0, 200, 1, false, 0, "10x54"},
      {"large only: one side smaller is resized", 800, 1200, 1000, 0, 1000, 0, false, 1,
       "1000x1000"},
      {"large only: both smaller stays", 800, 900, 1000, 0, 1000, 0, false, 1, "800x900"},
      {"large only: a larger image shrinks", 1001, 600, 500, 0, 300, 0, false, 1, "500x300"},
      {"percent 0 does nothing", 91, 27, 0, 1, 50, 1, false, 0, "91x27"},
      {"a negative size does nothing", 91, 27, -5, 0, 10, 0, false, 0, "91x27"},
      {"an unknown unit does nothing", 91, 27, 40, 2, 10, 0, false, 0, "91x27"},
      {"the same size does nothing", 91, 27, 91, 0, 27, 0, false, 0, "91x27"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSettings(true);
    auto& t = gSettings.Transform;
    t.DoImageResize = 1;
    t.ImageWidth = c.targetWidth;
    t.ImageWidthUnit = static_cast<int8_t>(c.widthUnit);
    t.ImageHeight = c.targetHeight;
    t.ImageHeightUnit = static_cast<int8_t>(c.heightUnit);
    t.KeepAspectRatio = c.keepAspect;
    t.ImageResizeType = static_cast<int8_t>(c.type);
    ImagePtr resized(
        ApplyResize(FreeImage_AllocateT(FIT_RGBF, c.width, c.height), c.width, c.height));
    ASSERT_TRUE(resized);
    EXPECT_EQ(Size(resized.get()), c.size);
    EXPECT_EQ(FreeImage_GetImageType(resized.get()), FIT_RGBF);
  }
}

TEST_F(ResizeTest, UnchangedImageIsTheSameImage) {
  gSettings.Transform.DoImageResize = 1;
  gSettings.Transform.ImageWidth = 91;
  gSettings.Transform.ImageHeight = 27;
  FIBITMAP* image = FreeImage_AllocateT(FIT_RGBF, 91, 27);
  ImagePtr result(ApplyResize(image, 91, 27));
  EXPECT_EQ(result.get(), image);

  gSettings.Transform.DoImageResize = 0;
  gSettings.Transform.ImageWidth = 10;
  FIBITMAP* other = result.release();
  result.reset(ApplyResize(other, 91, 27));
  EXPECT_EQ(result.get(), other);
}

// Sizes no later stage could hold fail the file instead of exhausting memory.
TEST_F(ResizeTest, AbsurdTargetsFailWithoutAllocating) {
  struct Case {
    const char* name;
    int32_t width, widthUnit, height, heightUnit;
    bool keepAspect;
  };
  const Case cases[] = {
      {"two billion pixels wide", 2000000000, 0, 10, 0, false},
      {"two billion percent", 2000000000, 1, 2000000000, 1, false},
      {"wider than the decoder accepts", 32768, 0, 1, 0, false},
      {"more pixels than the decoder accepts", 20000, 0, 20000, 0, false},
      {"derived from a huge width", 40000, 0, 1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& t = gSettings.Transform;
    t.DoImageResize = 1;
    t.ImageWidth = c.width;
    t.ImageWidthUnit = static_cast<int8_t>(c.widthUnit);
    t.ImageHeight = c.height;
    t.ImageHeightUnit = static_cast<int8_t>(c.heightUnit);
    t.KeepAspectRatio = c.keepAspect;
    EXPECT_EQ(ApplyResize(FreeImage_AllocateT(FIT_RGBF, 91, 27), 91, 27), nullptr);
  }
}

// Each setting must reach FreeImage as its own filter; the neighbouring filter of the naive
// reading (setting = FreeImage's number) gives other pixels, so a swap shows.
TEST_F(ResizeTest, AlgorithmSelectsItsFilter) {
  struct Case {
    int setting;
    FREE_IMAGE_FILTER filter;
  };
  const Case cases[] = {{0, FILTER_BOX},     {1, FILTER_BILINEAR},   {2, FILTER_BSPLINE},
                        {3, FILTER_BICUBIC}, {4, FILTER_CATMULLROM}, {5, FILTER_LANCZOS3},
                        {6, FILTER_BICUBIC}, {-1, FILTER_BICUBIC}};
  // Hard edges every few pixels: the filters differ clearly on them.
  const auto pattern = [](int x, int y) {
    return ((x / 3 + y / 2) % 2) ? Rgb{250, 30, 90} : Rgb{10, 200, 40};
  };
  const ImagePtr source = MakeImage(91, 27, pattern);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    gSettings.Transform.DoImageResize = 1;
    gSettings.Transform.ImageWidth = 40;
    gSettings.Transform.ImageHeight = 13;
    gSettings.Transform.ImageResizeAlgorithm = static_cast<int8_t>(c.setting);
    ImagePtr resized(ApplyResize(FreeImage_Clone(source.get()), 91, 27));
    ImagePtr expected(FreeImage_Rescale(source.get(), 40, 13, c.filter));
    ASSERT_TRUE(resized);
    ASSERT_EQ(Size(resized.get()), "40x13");
    int differences = 0;
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 40; ++x)
        if (!(ColourAt(resized.get(), x, y) == ColourAt(expected.get(), x, y))) ++differences;
    EXPECT_EQ(differences, 0);
  }
  // The filters really are told apart by this pattern.
  ImagePtr box(FreeImage_Rescale(source.get(), 40, 13, FILTER_BOX));
  ImagePtr bilinear(FreeImage_Rescale(source.get(), 40, 13, FILTER_BILINEAR));
  bool differ = false;
  for (int x = 0; x < 40 && !differ; ++x)
    differ = !(ColourAt(box.get(), x, 6) == ColourAt(bilinear.get(), x, 6));
  EXPECT_TRUE(differ);
}

using FlipTest = GeometryTest;

TEST_F(FlipTest, FlipsMoveTheMarkedCorner) {
  struct Case {
    bool horizontal, vertical;
    int x, y;
  };
  const Case cases[] = {
      {false, false, 0, 0}, {true, false, 90, 0}, {false, true, 0, 26}, {true, true, 90, 26}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.horizontal) + std::to_string(c.vertical));
    gSettings.Transform.DoImageFlipHorizontal = c.horizontal;
    gSettings.Transform.DoImageFlipVertical = c.vertical;
    ImagePtr image = MakeMarked(91, 27);
    ApplyFlip(image.get());
    EXPECT_EQ(ColourAt(image.get(), c.x, c.y), kMark);
  }
  ImagePtr tiny = MakeMarked(1, 1);
  ApplyFlip(tiny.get());
  EXPECT_EQ(ColourAt(tiny.get(), 0, 0), kMark);
}

TEST_F(GeometryTest, NullImagePassesThroughEveryStage) {
  auto& t = gSettings.Transform;
  t.DoImageRotation = 1;
  t.ImageRotation = 90;
  t.DoImageResize = 1;
  t.ImageWidth = 10;
  t.ImageHeight = 10;
  t.DoImageFlipHorizontal = t.DoImageFlipVertical = 1;
  EXPECT_EQ(ApplyRotation(nullptr), nullptr);
  EXPECT_EQ(ApplyResize(nullptr, 0, 0), nullptr);
  ApplyFlip(nullptr);
}

TEST(ParseHexColorAlphaTest, PacksRedGreenBlueAndAlpha) {
  struct Case {
    const char* text;
    int alpha;
    uint32_t packed;
  };
  const Case cases[] = {
      {"FF0000", 255, 0xFF0000FFu}, {"00ff00", 0, 0x0000FF00u},  {"0000FF", 128, 0x80FF0000u},
      {"123456", 1, 0x01563412u},   {"F00", 200, 0xC8000000u},   {"", 7, 0x07000000u},
      {"1G2xZZ", 0, 0x00000201u},  // pairs read up to their first non-hexadecimal character
      {"FFFFFF", 300, 0xFFFFFFFFu}, {"FFFFFF", -5, 0x00FFFFFFu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.alpha));
    EXPECT_EQ(ParseHexColorAlpha(c.text, c.alpha), c.packed);
  }
}

}  // namespace

// The solid frame on synthetic images, and the bridge between canvases and bitmaps.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "bitmaps.h"
#include "canvas_bridge.h"
#include "image_ptr.h"
#include "settings.h"
#include "stages.h"
#include "temp_folder.h"

namespace {

constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0}, kYellow{255, 255, 0};

// A pattern no frame colour matches, so a changed pixel shows.
Rgb Pattern(int x, int y) {
  return Rgb{(x * 5 + y) % 200 + 20, (y * 7) % 200 + 30, (x * 3 + y * 2) % 200 + 40};
}
ImagePtr MakePattern(int width, int height, int bpp = 24) {
  return MakeImage(width, height, Pattern, bpp);
}

std::string Size(FIBITMAP* image) {
  return std::to_string(FreeImage_GetWidth(image)) + "x" +
         std::to_string(FreeImage_GetHeight(image));
}

struct Widths {
  int left, right, top, bottom;
};

// Left red, top blue, right green, bottom yellow.
void SetFrame(const Widths& widths, int opacity = 255) {
  auto& frame = gSettings.Frame;
  frame.DoFrame = 1;
  frame.SolidLeft = widths.left;
  frame.SolidRight = widths.right;
  frame.SolidTop = widths.top;
  frame.SolidBottom = widths.bottom;
  frame.SolidLeftColor = "FF0000";
  frame.SolidTopColor = "0000ff";
  frame.SolidRightColor = "00FF00";
  frame.SolidBottomColor = "FFFF00";
  frame.SolidOpacity = opacity;
}

enum class Owner { kNone, kLeft, kRight, kTop, kBottom, kDiagonal };

// Which side paints the pixel (x, y) of a W x H image, by where the centre of the pixel lies;
// kDiagonal for pixels that a corner's diagonal passes through or near, which are blended.
Owner OwnerOf(int x, int y, int width, int height, const Widths& s) {
  const double cx = x + 0.5, cy = y + 0.5;
  const bool left = cx<s.left, right = cx> width - s.right;
  const bool top = cy<s.top, bottom = cy> height - s.bottom;
  if (!left && !right && !top && !bottom) return Owner::kNone;
  if ((left || right) == (top || bottom)) {
    // A corner: dx across the vertical side of width a, dy across the horizontal of width b.
    const double dx = left ? cx : width - cx, a = left ? s.left : s.right;
    const double dy = top ? cy : height - cy, b = top ? s.top : s.bottom;
    const double beyond = (dx * b - dy * a) / std::hypot(a, b);
    if (std::abs(beyond) < 1.0) return Owner::kDiagonal;
    if (beyond < 0) return left ? Owner::kLeft : Owner::kRight;
    return top ? Owner::kTop : Owner::kBottom;
  }
  if (left) return Owner::kLeft;
  if (right) return Owner::kRight;
  return top ? Owner::kTop : Owner::kBottom;
}

std::optional<Rgb> ColourOf(Owner owner) {
  switch (owner) {
    case Owner::kLeft:
      return kRed;
    case Owner::kRight:
      return kGreen;
    case Owner::kTop:
      return kBlue;
    case Owner::kBottom:
      return kYellow;
    default:
      return std::nullopt;
  }
}

class FrameTest : public testing::Test {
 protected:
  void SetUp() override { ResetSettings(true); }
};

TEST_F(FrameTest, EachSidePaintsItsBandWithMitredCorners) {
  struct Case {
    const char* name;
    int width, height;
    Widths widths;
    int bpp;
  };
  const Case cases[] = {
      {"all 10 on 100 x 80", 100, 80, {10, 10, 10, 10}, 24},
      {"left only", 61, 47, {20, 0, 0, 0}, 24},
      {"unequal sides", 101, 77, {7, 13, 5, 9}, 24},
      {"sides that meet", 40, 30, {25, 15, 10, 20}, 24},
      {"32-bit input", 53, 41, {6, 4, 8, 3}, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFrame(c.widths);
    ImagePtr framed(ApplyFrame(MakePattern(c.width, c.height, c.bpp).release(), c.width, c.height));
    ASSERT_TRUE(framed);
    ASSERT_EQ(Size(framed.get()), std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const Owner owner = OwnerOf(x, y, c.width, c.height, c.widths);
        if (owner == Owner::kDiagonal) continue;
        const Rgb expected = ColourOf(owner).value_or(Pattern(x, y));
        const Rgb actual = ColourAt(framed.get(), x, y);
        if (actual == expected) continue;
        if (++wrong <= 5) ADD_FAILURE() << "at " << x << "," << y << ": " << actual;
      }
    EXPECT_EQ(wrong, 0);
  }
}

// The corner triangles of the top band, by pixels that lie clearly on one side of a diagonal.
TEST_F(FrameTest, TopCornersOf100By80SplitAlongTheirDiagonals) {
  SetFrame({10, 10, 10, 10});
  ImagePtr framed(ApplyFrame(MakePattern(100, 80).release(), 100, 80));
  ASSERT_TRUE(framed);
  struct Case {
    int x, y;
    Rgb expected;
  };
  const Case cases[] = {
      {50, 0, kBlue},
      {50, 9, kBlue},
      {6, 2, kBlue},
      {2, 6, kRed},
      {0, 9, kRed},
      {9, 0, kBlue},
      {93, 2, kBlue},
      {97, 6, kGreen},
      {99, 9, kGreen},
      {90, 0, kBlue},
      {50, 10, Pattern(50, 10)},
      {10, 40, Pattern(10, 40)},
      {9, 40, kRed},
      {50, 79, kYellow},
      {90, 40, kGreen},
      {89, 40, Pattern(89, 40)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(ColourAt(framed.get(), c.x, c.y), c.expected);
  }
  // Along a diagonal the two sides mix over their corner rectangle; the image never shows
  // through. The channel both sides lack stays 0: green at the top left (red and blue), red at
  // the top right (blue and green), blue at the bottom (yellow with red or green).
  const Widths widths{10, 10, 10, 10};
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) {
      if (OwnerOf(x, y, 100, 80, widths) != Owner::kDiagonal) continue;
      const Rgb c = ColourAt(framed.get(), x, y);
      const int lacking = y < 40 ? (x < 50 ? c.g : c.r) : c.b;
      EXPECT_EQ(lacking, 0) << "at " << x << "," << y << ": " << c;
    }
}

TEST_F(FrameTest, OpacityBlendsTheFrameWithTheImage) {
  const Widths widths{10, 10, 10, 10};
  for (int opacity : {0, 128, 255}) {
    SCOPED_TRACE(opacity);
    SetFrame(widths, opacity);
    ImagePtr framed(ApplyFrame(MakePattern(100, 80).release(), 100, 80));
    ASSERT_TRUE(framed);
    int wrong = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 100; ++x) {
        const std::optional<Rgb> frame = ColourOf(OwnerOf(x, y, 100, 80, widths));
        if (!frame && OwnerOf(x, y, 100, 80, widths) == Owner::kDiagonal) continue;
        const Rgb image = Pattern(x, y), colour = frame.value_or(image);
        auto blend = [opacity](int over, int under) {
          return under + (over - under) * opacity / 255.0;
        };
        const Rgb actual = ColourAt(framed.get(), x, y);
        const bool near = std::abs(actual.r - blend(colour.r, image.r)) <= 3 &&
                          std::abs(actual.g - blend(colour.g, image.g)) <= 3 &&
                          std::abs(actual.b - blend(colour.b, image.b)) <= 3;
        if (!near && ++wrong <= 5) ADD_FAILURE() << "at " << x << "," << y << ": " << actual;
      }
    EXPECT_EQ(wrong, 0);
  }
}

// With nothing to paint (or no canvas to paint on) the pixels stay, but the depth becomes 24.
TEST_F(FrameTest, NoFrameToPaintStillGivesTwentyFourBits) {
  struct Case {
    const char* name;
    int doFrame, width, height, bpp;
    Widths widths;
  };
  const Case cases[] = {
      {"widths 0 on 32 bits", 1, 37, 23, 32, {0, 0, 0, 0}},
      {"widths 0 on 8 bits", 1, 37, 23, 8, {0, 0, 0, 0}},
      {"negative widths", 1, 37, 23, 24, {-5, -5, -5, -5}},
      {"Do Frame 2", 2, 37, 23, 32, {5, 5, 5, 5}},
      {"Do Frame -1", -1, 37, 23, 8, {5, 5, 5, 5}},
      {"wider than a canvas can be", 1, 32768, 2, 32, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFrame(c.widths);
    gSettings.Frame.DoFrame = static_cast<int8_t>(c.doFrame);
    ImagePtr image;
    if (c.bpp == 8) {
      image = MakeOfDepth(FIT_BITMAP, 8, c.width, c.height);  // palette: a grey ramp
      for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
          BYTE index = static_cast<BYTE>((x * 11 + y * 3) % 256);
          FreeImage_SetPixelIndex(image.get(), x, c.height - 1 - y, &index);
        }
    } else {
      image = MakePattern(c.width, c.height, c.bpp);
    }
    ImagePtr before(FreeImage_ConvertTo24Bits(image.get()));
    ImagePtr framed(ApplyFrame(image.release(), c.width, c.height));
    ASSERT_TRUE(framed);
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
    ASSERT_EQ(Size(framed.get()), Size(before.get()));
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        if (!(ColourAt(framed.get(), x, y) == ColourAt(before.get(), x, y)) && ++wrong <= 5)
          ADD_FAILURE() << "changed at " << x << "," << y;
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(FrameTest, SwitchedOffOrNullPassesTheImageAsItIs) {
  SetFrame({5, 5, 5, 5});
  EXPECT_EQ(ApplyFrame(nullptr, 10, 10), nullptr);
  gSettings.Frame.DoFrame = 0;
  FIBITMAP* image = MakePattern(20, 10, 32).release();
  ImagePtr result(ApplyFrame(image, 20, 10));
  EXPECT_EQ(result.get(), image);
  EXPECT_EQ(FreeImage_GetBPP(image), 32u);
  EXPECT_EQ(ColourAt(image, 0, 0), Pattern(0, 0));
}

// What is painted where sides cross over is not fixed; the image must survive at its size.
TEST_F(FrameTest, SidesWiderThanTheImageKeepItsSize) {
  const Widths cases[] = {
      {500, 500, 500, 500}, {30, 30, 5, 5},     {5, 5, 20, 20},
      {40, 0, 0, 30},       {INT_MAX, 1, 1, 1}, {INT_MAX, INT_MAX, INT_MIN, INT_MAX},
  };
  for (const Widths& w : cases) {
    SCOPED_TRACE(std::to_string(w.left) + " " + std::to_string(w.right) + " " +
                 std::to_string(w.top) + " " + std::to_string(w.bottom));
    SetFrame(w);
    ImagePtr framed(ApplyFrame(MakePattern(40, 30).release(), 40, 30));
    ASSERT_TRUE(framed);
    EXPECT_EQ(Size(framed.get()), "40x30");
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
  }
}

// A 32-bit layer of w x h, every pixel the given colour and alpha.
ImagePtr MakeLayer(int width, int height, Rgb colour, int alpha) {
  ImagePtr layer(FreeImage_Allocate(width, height, 32));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      RGBQUAD q{static_cast<BYTE>(colour.b), static_cast<BYTE>(colour.g),
                static_cast<BYTE>(colour.r), static_cast<BYTE>(alpha)};
      FreeImage_SetPixelColor(layer.get(), x, y, &q);
    }
  return layer;
}

TEST(CanvasBridgeTest, CompositeAtTouchesOnlyThePixelsBeneathTheLayer) {
  struct Case {
    int x, y;
    bool inside;
  };
  const Case cases[] = {{3, 2, true},   {0, 0, true},        {14, 6, true},
                        {15, 0, false}, {0, 7, false},       {-1, 0, false},
                        {0, -1, false}, {INT_MAX, 0, false}, {0, INT_MAX - 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    ImagePtr image = MakePattern(20, 10);
    ImagePtr layer = MakeLayer(6, 4, kRed, 255);
    EXPECT_EQ(CompositeAt(image.get(), layer.get(), c.x, c.y), c.inside);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool beneath = c.inside && x >= c.x && x < c.x + 6 && y >= c.y && y < c.y + 4;
        EXPECT_EQ(ColourAt(image.get(), x, y), beneath ? kRed : Pattern(x, y))
            << "at " << x << "," << y;
      }
  }
  ImagePtr image = MakePattern(20, 10);
  EXPECT_FALSE(CompositeAt(image.get(), nullptr, 0, 0));
  ImagePtr layer = MakeLayer(6, 4, kRed, 255);
  EXPECT_FALSE(CompositeAt(nullptr, layer.get(), 0, 0));
}

TEST(CanvasBridgeTest, CanvasToBitmapUndoesPremultiplyAndScalesAlpha) {
  Canvas canvas(5, 4);
  {
    Drawing drawing(canvas);
    drawing.FillRectangle(1, 1, 2, 1, 0x80FF0000u);  // blue at alpha 128
  }
  ImagePtr whole(CanvasToBitmap(canvas));
  ASSERT_TRUE(whole);
  EXPECT_EQ(FreeImage_GetBPP(whole.get()), 32u);
  RGBQUAD q{};
  FreeImage_GetPixelColor(whole.get(), 1, 4 - 1 - 1, &q);  // rows are kept bottom-up
  EXPECT_EQ(q.rgbReserved, 128);
  EXPECT_NEAR(q.rgbBlue, 255, 1);
  EXPECT_EQ(q.rgbRed, 0);
  FreeImage_GetPixelColor(whole.get(), 1, 0, &q);
  EXPECT_EQ(q.rgbReserved, 0);

  ImagePtr area(CanvasToBitmap(canvas, {1, 1, 3, 2}, 128));
  ASSERT_TRUE(area);
  EXPECT_EQ(Size(area.get()), "3x2");
  FreeImage_GetPixelColor(area.get(), 0, 1, &q);  // the area's top-left pixel
  EXPECT_NEAR(q.rgbReserved, 64, 1);
  EXPECT_NEAR(q.rgbBlue, 255, 1);

  const PixelArea outside[] = {{0, 0, 6, 4}, {-1, 0, 2, 2}, {4, 3, 2, 1}, {0, 0, 0, 4}};
  for (const PixelArea& a : outside)
    EXPECT_EQ(CanvasToBitmap(canvas, a), nullptr);
  EXPECT_EQ(CanvasToBitmap(Canvas(0, 0)), nullptr);
}

uint32_t CanvasPixel(const Canvas& canvas, int x, int y) {
  return reinterpret_cast<const uint32_t*>(canvas.row(y))[x];
}

TEST(CanvasBridgeTest, LoadPictureOfA32BitPngPremultipliesItsAlpha) {
  TempFolder folder;
  struct Pixel {
    int r, g, b, a;
  };
  // Top row first.
  const Pixel pixels[2][3] = {{{255, 0, 0, 255}, {0, 255, 0, 128}, {10, 20, 30, 0}},
                              {{0, 0, 200, 64}, {255, 255, 255, 1}, {90, 160, 250, 200}}};
  ImagePtr picture(FreeImage_Allocate(3, 2, 32));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const Pixel& p = pixels[y][x];
      RGBQUAD q{static_cast<BYTE>(p.b), static_cast<BYTE>(p.g), static_cast<BYTE>(p.r),
                static_cast<BYTE>(p.a)};
      FreeImage_SetPixelColor(picture.get(), x, 1 - y, &q);
    }
  const std::string path = folder / "alpha.png";
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, picture.get(), path.c_str(), 0));

  bool hasAlpha = false;
  const Canvas canvas = LoadPicture(path, hasAlpha);
  ASSERT_TRUE(canvas.ok());
  EXPECT_TRUE(hasAlpha);
  EXPECT_EQ(canvas.width(), 3);
  EXPECT_EQ(canvas.height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const Pixel& p = pixels[y][x];
      auto pre = [&p](int channel) {
        return static_cast<uint32_t>(std::lround(channel * p.a / 255.0));
      };
      const uint32_t expected =
          static_cast<uint32_t>(p.a) << 24 | pre(p.r) << 16 | pre(p.g) << 8 | pre(p.b);
      EXPECT_EQ(CanvasPixel(canvas, x, y), expected) << "at " << x << "," << y;
    }
}

TEST(CanvasBridgeTest, LoadPictureOfOpaqueKindsHasNoAlpha) {
  TempFolder folder;
  // Colour blocks of 16 x 16, so JPEG's blocks keep them apart; the top differs from the bottom.
  ImagePtr picture = MakeImage(32, 48, [](int x, int y) {
    return y < 16 ? Rgb{200, 40, 10} : x < 16 ? Rgb{20, 220, 60} : Rgb{30, 50, 240};
  });
  // Many BMP writers leave the fourth byte of 32-bit pixels 0: that is no alpha, not an
  // invisible picture. 16-bit PNGs come to FreeImage as another image type.
  auto invisibleAlpha = [](FIBITMAP* image) {
    FIBITMAP* rgba = FreeImage_ConvertTo32Bits(image);
    for (unsigned y = 0; y < FreeImage_GetHeight(rgba); ++y)
      for (unsigned x = 0; x < FreeImage_GetWidth(rgba); ++x)
        FreeImage_GetScanLine(rgba, y)[x * 4 + FI_RGBA_ALPHA] = 0;
    return rgba;
  };
  struct Case {
    FREE_IMAGE_FORMAT format;
    const char* name;
    int flags, tolerance;
    std::function<FIBITMAP*(FIBITMAP*)> make;
  };
  const Case cases[] = {{FIF_BMP, "plain.bmp", 0, 0, FreeImage_Clone},
                        {FIF_JPEG, "plain.jpg", JPEG_QUALITYSUPERB, 6, FreeImage_Clone},
                        {FIF_BMP, "zero-alpha.bmp", 0, 0, invisibleAlpha},
                        {FIF_PNG, "deep.png", 0, 0, FreeImage_ConvertToRGB16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder / c.name;
    const ImagePtr saved(c.make(picture.get()));
    ASSERT_TRUE(FreeImage_Save(c.format, saved.get(), path.c_str(), c.flags));
    bool hasAlpha = true;
    const Canvas canvas = LoadPicture(path, hasAlpha);
    ASSERT_TRUE(canvas.ok());
    EXPECT_FALSE(hasAlpha);
    EXPECT_EQ(canvas.width(), 32);
    EXPECT_EQ(canvas.height(), 48);
    int wrong = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 32; ++x) {
        const uint32_t pixel = CanvasPixel(canvas, x, y);
        const Rgb expected = ColourAt(picture.get(), x, y);
        const bool near =
            pixel >> 24 == 255 &&
            std::abs(static_cast<int>(pixel >> 16 & 0xFF) - expected.r) <= c.tolerance &&
            std::abs(static_cast<int>(pixel >> 8 & 0xFF) - expected.g) <= c.tolerance &&
            std::abs(static_cast<int>(pixel & 0xFF) - expected.b) <= c.tolerance;
        if (!near && ++wrong <= 5)
          ADD_FAILURE() << "at " << x << "," << y << ": " << std::hex << pixel;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(CanvasBridgeTest, LoadPictureRefusesWhatIsNoPicture) {
  TempFolder folder;
  {
    std::ofstream(folder / "words.png") << "these are words, not pixels\n";
    std::ofstream(folder / "empty.jpg");
  }
  // A picture of another kind: a TIFF is no PNG, BMP or JPEG.
  ImagePtr tiff = MakePattern(4, 4);
  ASSERT_TRUE(FreeImage_Save(FIF_TIFF, tiff.get(), (folder / "other.png").c_str(), 0));
  for (const char* name : {"words.png", "empty.jpg", "other.png", "missing.bmp"}) {
    SCOPED_TRACE(name);
    bool hasAlpha = true;
    const Canvas canvas = LoadPicture(folder / name, hasAlpha);
    EXPECT_FALSE(canvas.ok());
    EXPECT_FALSE(hasAlpha);
  }
  bool hasAlpha = true;
  EXPECT_FALSE(LoadPicture(folder.path(), hasAlpha).ok());
}

}  // namespace

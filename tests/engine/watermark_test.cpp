// The watermark: its text and font, its text and picture layers, where they land.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "context.h"
#include "image_ptr.h"
#include "naming.h"
#include "settings.h"
#include "stages.h"
#include "temp_folder.h"
#include "text_drawing.h"
#include "watermark.h"
#include "watermark_layer.h"

namespace {

constexpr Rgb kGrey{90, 90, 90};      // the images the watermark goes on
constexpr Rgb kWhite{255, 255, 255};  // text
constexpr Rgb kBlue{0, 0, 255};       // text box
constexpr Rgb kRed{220, 30, 40};      // pictures

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
};
bool operator==(const Box& a, const Box& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.x << ", " << b.y << ") " << b.w << "x" << b.h;
}

int Width(FIBITMAP* image) {
  return static_cast<int>(FreeImage_GetWidth(image));
}
int Height(FIBITMAP* image) {
  return static_cast<int>(FreeImage_GetHeight(image));
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// a laid over b with alpha (0..255).
Rgb Blend(Rgb a, Rgb b, int alpha) {
  auto mix = [alpha](int top, int bottom) {
    return static_cast<int>(std::lround((top * alpha + bottom * (255 - alpha)) / 255.0));
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// The bounding box of the pixels that differ from colour; empty when none does.
Box ChangedArea(FIBITMAP* image, Rgb colour) {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  for (int y = 0; y < Height(image); ++y)
    for (int x = 0; x < Width(image); ++x)
      if (!(ColourAt(image, x, y) == colour)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

ImagePtr Uniform(int width, int height, Rgb colour, int bpp = 24) {
  return MakeImage(
      width, height, [colour](int, int) { return colour; }, bpp);
}

// The watermark stage on the image, at the image's own size.
ImagePtr Watermarked(ImagePtr image) {
  const int width = Width(image.get()), height = Height(image.get());
  return ImagePtr(ApplyWatermark(image.release(), width, height));
}

// The stage left the watermark out: a 24-bit image of the size given, all of one colour.
void ExpectLeftOut(FIBITMAP* image, int width, int height, Rgb colour) {
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(image), 24u);
  ASSERT_EQ(Width(image), width);
  ASSERT_EQ(Height(image), height);
  EXPECT_EQ(ChangedArea(image, colour), Box{});
}

bool SamePixels(FIBITMAP* a, FIBITMAP* b) {
  if (Width(a) != Width(b) || Height(a) != Height(b) || FreeImage_GetBPP(a) != FreeImage_GetBPP(b))
    return false;
  return CountDifferences(a, b) == 0;
}

// Saves and restores the process-wide records the stage reads; a typical file is converting.
class WatermarkFixture : public testing::Test {
 protected:
  WatermarkFixture() : savedSettings_(gSettings), savedContext_(gContext) {}
  ~WatermarkFixture() override {
    gSettings = savedSettings_;
    gContext = savedContext_;
  }
  void SetUp() override {
    ResetSettings(true);
    gContext.watermarkFont.reset();
    gContext.inputPath = "/in/Sunset.HDR";
    gContext.namingWidth = 640;
    gContext.namingHeight = 480;
  }

  // Frame widths that differ side by side, so a swapped side shows.
  static void SetFrame(int doFrame, int left, int right, int top, int bottom) {
    auto& frame = gSettings.Frame;
    frame.DoFrame = static_cast<int8_t>(doFrame);
    frame.SolidLeft = left;
    frame.SolidRight = right;
    frame.SolidTop = top;
    frame.SolidBottom = bottom;
  }

 private:
  Settings savedSettings_;
  ConversionContext savedContext_;
};

// A text watermark in white on an opaque blue box at the top-left corner, font loaded.
class WatermarkTextTest : public WatermarkFixture {
 protected:
  void SetUp() override {
    WatermarkFixture::SetUp();
    auto& w = gSettings.Watermark;
    w.DoWatermark = 1;
    w.FontColor = "FFFFFF";
    w.BackColor = "0000FF";
    w.BackOpacity = 255;
    w.TextPosition = 0;
    w.TextXOffset = w.TextYOffset = 0;
    // The picture's placement differs, so text mode reading it would show.
    w.ImagePosition = 4;
    w.ImageXOffset = 60;
    w.ImageYOffset = 45;
    w.ImageBoundary = 1;
    w.ImageRotation = 90;
    ASSERT_TRUE(LoadWatermarkFont());
  }

  static const TextFont& Font() { return *gContext.watermarkFont; }

  // The size of the text layer built on its own.
  static Box LayerSize() {
    ImagePtr layer(BuildTextLayer());
    if (!layer) return {};
    return {0, 0, Width(layer.get()), Height(layer.get())};
  }
};

// A picture watermark at the top-left corner, fully opaque; pictures go into a fresh folder.
class WatermarkPictureTest : public WatermarkFixture {
 protected:
  void SetUp() override {
    WatermarkFixture::SetUp();
    auto& w = gSettings.Watermark;
    w.DoWatermark = 2;
    w.ImagePosition = 0;
    w.ImageXOffset = w.ImageYOffset = 0;
    w.ImageOpacity = 255;
    // The text's placement differs, so picture mode reading it would show.
    w.TextPosition = 4;
    w.TextXOffset = 60;
    w.TextYOffset = 45;
    w.TextBoundary = 1;
    w.TextRotation = 45;
  }

  // Saves picture as name in the test's folder and makes it the watermark picture.
  void UsePicture(const std::string& name, FREE_IMAGE_FORMAT format, FIBITMAP* picture) {
    const std::string path = folder_ / name;
    ASSERT_TRUE(FreeImage_Save(format, picture, path.c_str(), 0));
    gSettings.Watermark.Image = path;
  }
  void UseRedPicture(int width, int height) {
    UsePicture("red.png", FIF_PNG, Uniform(width, height, kRed).get());
  }

  TempFolder folder_;
};

// A 32-bit picture of one colour and alpha. Its top-left pixel is fully transparent, so the file
// keeps its alpha channel even at alpha 255 (FreeImage writes an opaque one without).
ImagePtr MakeTranslucent(int width, int height, Rgb colour, int alpha) {
  ImagePtr picture = Uniform(width, height, colour, 32);
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(picture.get(), y);
    for (int x = 0; x < width; ++x)
      row[x * 4 + FI_RGBA_ALPHA] = static_cast<BYTE>(alpha);
  }
  FreeImage_GetScanLine(picture.get(), height - 1)[FI_RGBA_ALPHA] = 0;
  return picture;
}

// ---------------------------------------------------------------------------------------------
// Text expansion and the font

using WatermarkTextExpansionTest = WatermarkFixture;

TEST_F(WatermarkTextExpansionTest, TokensAreReplacedAndTheRestKeepsItsCase) {
  struct Case {
    const char* text;
    const char* input;
    const char* expected;
  } const cases[] = {
      {"%filename% %width%", "/in/Sunset.HDR", "Sunset 640"},
      {"Shot %FILENAME% at %Width%x%HEIGHT%", "/in/Sunset.HDR", "Shot Sunset at 640x480"},
      {"100% Sunset", "/in/Sunset.HDR", "100% Sunset"},
      {"One %WIDTH", "/in/Sunset.HDR", "One %WIDTH"},
      {"50%% Off, No Tokens", "/in/Sunset.HDR", "50%% Off, No Tokens"},
      {"Top%EOL%Bottom", "/in/Sunset.HDR", "Top%EOL%Bottom"},
      {"", "/in/Sunset.HDR", ""},
      // Tokens are looked for in the text as written, not in what a file name brought in.
      {"%filename%", "/in/x%width%y.hdr", "x%width%y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    gSettings.Watermark.Text = c.text;
    gContext.inputPath = c.input;
    EXPECT_EQ(ExpandWatermarkText(), c.expected);
  }
}

using WatermarkFontTest = WatermarkFixture;

TEST_F(WatermarkFontTest, LoadsInstalledFamiliesAndRefusesOthers) {
  struct Case {
    const char* family;
    int style, mode;
    bool loads, hasFont;
  } const cases[] = {
      {"Arial", 0, 1, true, true},
      {"arial", 0, 1, true, true},
      {"Liberation Serif", 3, 1, true, true},
      {"DejaVu Sans", 1, 1, true, true},
      {"NoSuchFontFamily", 0, 1, false, false},
      {"Tahoma", 0, 1, false, false},
      {"", 0, 1, false, false},
      // Other modes draw no text: nothing to load, nothing to refuse.
      {"NoSuchFontFamily", 0, 2, true, false},
      {"Arial", 0, 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " mode " + std::to_string(c.mode));
    // A font of an earlier run must not linger.
    gContext.watermarkFont = LoadFont({"Arial", 12});
    ASSERT_NE(gContext.watermarkFont, nullptr);
    gSettings.Watermark.Font = c.family;
    gSettings.Watermark.FontStyle = static_cast<int8_t>(c.style);
    gSettings.Watermark.DoWatermark = static_cast<int8_t>(c.mode);
    EXPECT_EQ(LoadWatermarkFont(), c.loads);
    EXPECT_EQ(gContext.watermarkFont != nullptr, c.hasFont);
    ReleaseWatermarkFont();
    EXPECT_EQ(gContext.watermarkFont, nullptr);
  }
}

// ---------------------------------------------------------------------------------------------
// The text layer

// The longest run of pixels of colour in row y of a bitmap.
int LongestRun(FIBITMAP* image, int y, Rgb colour) {
  int longest = 0, run = 0;
  for (int x = 0; x < Width(image); ++x) {
    run = ColourAt(image, x, y) == colour ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

// Rows of the layer crossed by a fore-colour line over most of its width.
std::vector<int> RuledRows(FIBITMAP* layer) {
  std::vector<int> rows;
  for (int y = 0; y < Height(layer); ++y)
    if (LongestRun(layer, y, kWhite) * 10 >= Width(layer) * 8) rows.push_back(y);
  return rows;
}

TEST_F(WatermarkTextTest, StylesAndEffectsReachTheFont) {
  gSettings.Watermark.Text = "Lumen";
  ImagePtr layers[4];
  for (int style = 0; style < 4; ++style) {
    gSettings.Watermark.FontStyle = static_cast<int8_t>(style);
    ASSERT_TRUE(LoadWatermarkFont());
    layers[style].reset(BuildTextLayer());
    ASSERT_NE(layers[style], nullptr);
  }
  EXPECT_GT(Width(layers[1].get()), Width(layers[0].get())) << "bold is wider";
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b)
      EXPECT_FALSE(SamePixels(layers[a].get(), layers[b].get())) << "styles " << a << ", " << b;

  gSettings.Watermark.FontStyle = 0;
  EXPECT_TRUE(RuledRows(layers[0].get()).empty());
  const int h = Height(layers[0].get());
  for (int effect : {1, 2}) {
    SCOPED_TRACE(effect == 1 ? "underline" : "strike-out");
    gSettings.Watermark.FontEffect = static_cast<int8_t>(effect);
    ASSERT_TRUE(LoadWatermarkFont());
    ImagePtr layer(BuildTextLayer());
    ASSERT_NE(layer, nullptr);
    const std::vector<int> rows = RuledRows(layer.get());
    ASSERT_FALSE(rows.empty());
    // An underline lies below the middle of the line, a strike-out through its middle.
    if (effect == 1) {
      EXPECT_GT(rows.front(), h / 2);
    } else {
      EXPECT_GT(rows.front(), h / 4);
      EXPECT_LT(rows.back(), h * 3 / 4);
    }
  }
}

TEST_F(WatermarkTextTest, LineBreaksInAnyCaseStackLines) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
    int leading, padding;
  } const cases[] = {
      {"Top%EOL%Bottom", {"Top", "Bottom"}, 3, 4},
      {"One%eol%Two%EoL%Three", {"One", "Two", "Three"}, 0, 2},
      {"Top%EOL%Bottom", {"Top", "Bottom"}, -4, 0},
      // Lines are never smaller than 10 x 10, even when empty.
      {"%eol%", {"", ""}, 5, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + std::string(" leading ") + std::to_string(c.leading));
    gSettings.Watermark.Text = c.text;
    gSettings.Watermark.FontLeading = c.leading;
    gSettings.Watermark.TextPadding = c.padding;
    int lineWidth = 10, lineHeight = 10;
    for (const std::string& line : c.lines) {
      const TextExtent extent = MeasureText(Font(), line, false);
      lineWidth = std::max(lineWidth, extent.width);
      lineHeight = std::max(lineHeight, extent.height);
    }
    const int count = static_cast<int>(c.lines.size()) - 1;
    const Box expected{0, 0, lineWidth + 2 * c.padding,
                       lineHeight + count * (lineHeight + c.leading) + 2 * c.padding};
    EXPECT_EQ(ChangedArea(Watermarked(Uniform(300, 200, kGrey)).get(), kGrey), expected);
  }
}

TEST_F(WatermarkTextTest, SingleLineFillsItsBoxAndEmptyTextLeavesPadding) {
  gSettings.Watermark.Text = "Lumen";
  gSettings.Watermark.TextPadding = 5;
  const TextExtent extent = MeasureText(Font(), "Lumen", false);
  EXPECT_EQ(ChangedArea(Watermarked(Uniform(200, 100, kGrey)).get(), kGrey),
            (Box{0, 0, extent.width + 10, extent.height + 10}));

  gSettings.Watermark.Text = "";
  gSettings.Watermark.TextPadding = 6;
  ImagePtr boxed = Watermarked(Uniform(200, 100, kGrey));
  EXPECT_EQ(ChangedArea(boxed.get(), kGrey), (Box{0, 0, 12, 12}));
  EXPECT_EQ(ColourAt(boxed.get(), 6, 6), kBlue);

  // Nothing to draw and no padding: no layer, and the file still converts.
  gSettings.Watermark.TextPadding = 0;
  ImagePtr empty = Watermarked(Uniform(200, 100, kGrey, 32));
  ExpectLeftOut(empty.get(), 200, 100, kGrey);
}

// The leftmost white pixel in rows [top, bottom) of image; INT_MAX when none.
int InkLeft(FIBITMAP* image, int top, int bottom) {
  int left = INT_MAX;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < Width(image); ++x)
      if (ColourAt(image, x, y) == kWhite) left = std::min(left, x);
  return left;
}

TEST_F(WatermarkTextTest, AlignmentMovesTheShorterLines) {
  const int padding = 4;
  gSettings.Watermark.Text = "Wide first line%EOL%ab";
  gSettings.Watermark.TextPadding = padding;
  const TextExtent wide = MeasureText(Font(), "Wide first line", false),
                   narrow = MeasureText(Font(), "ab", false);
  const int step = std::max({10, wide.height, narrow.height});
  const int box = wide.width + 2 * padding;

  // Where each line's ink starts, left-aligned, then the shift each alignment gives.
  auto inkStarts = [&](int alignment) {
    gSettings.Watermark.TextAlignment = static_cast<int8_t>(alignment);
    ImagePtr image = Watermarked(Uniform(300, 100, kGrey));
    return std::make_pair(InkLeft(image.get(), padding, padding + step),
                          InkLeft(image.get(), padding + step, padding + 2 * step));
  };
  const auto left = inkStarts(0);
  ASSERT_NE(left.second, INT_MAX);
  struct Case {
    int alignment, wideShift, narrowShift;
  } const cases[] = {
      {1, 0, static_cast<int>(std::lround((box - narrow.width) / 2.0)) - padding},
      {2, 0, box - narrow.width - 2 * padding},
      {7, -padding, -padding},  // unknown alignments start at the box edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    const auto starts = inkStarts(c.alignment);
    EXPECT_EQ(starts.first - left.first, c.wideShift);
    EXPECT_EQ(starts.second - left.second, c.narrowShift);
  }

  // A single line fills its box and is not aligned.
  gSettings.Watermark.Text = "ab";
  gSettings.Watermark.TextAlignment = 0;
  ImagePtr leftAligned(BuildTextLayer());
  gSettings.Watermark.TextAlignment = 2;
  ImagePtr rightAligned(BuildTextLayer());
  ASSERT_NE(leftAligned, nullptr);
  ASSERT_NE(rightAligned, nullptr);
  EXPECT_TRUE(SamePixels(leftAligned.get(), rightAligned.get()));
}

TEST_F(WatermarkTextTest, TokensAreExpandedInTheBox) {
  gSettings.Watermark.Text = "%WIDTH% wide";
  ImagePtr expanded(BuildTextLayer());
  gSettings.Watermark.Text = "640 wide";
  ImagePtr literal(BuildTextLayer());
  ASSERT_NE(expanded, nullptr);
  ASSERT_NE(literal, nullptr);
  EXPECT_TRUE(SamePixels(expanded.get(), literal.get()));
}

TEST_F(WatermarkTextTest, OpacitiesOfTextAndBox) {
  // Which colours the box holds: plain text writes each colour with its own alpha, so
  // transparent glyphs are holes through an opaque box; antialiased text lies over the box.
  struct Case {
    const char* name;
    bool antialiased;
    int textOpacity;
    bool fore, holes, inBetween;
  } const cases[] = {
      {"PlainOpaque", false, 255, true, false, false},
      {"AntialiasedOpaque", true, 255, true, false, true},
      {"PlainTransparentText", false, 0, false, true, false},
      {"AntialiasedTransparentText", true, 0, false, false, false},
  };
  gSettings.Watermark.Text = "Lumen";
  gSettings.Watermark.TextPadding = 2;
  gSettings.Watermark.FontSize = 24;
  ASSERT_TRUE(LoadWatermarkFont());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gSettings.Watermark.TextAntialiasing = c.antialiased;
    gSettings.Watermark.TextOpacity = c.textOpacity;
    const Box box = LayerSize();
    ImagePtr image = Watermarked(Uniform(200, 100, kGrey));
    int back = 0, fore = 0, holes = 0, other = 0;
    for (int y = 0; y < box.h; ++y)
      for (int x = 0; x < box.w; ++x) {
        const Rgb p = ColourAt(image.get(), x, y);
        ++(p == kBlue ? back : p == kWhite ? fore : p == kGrey ? holes : other);
      }
    EXPECT_GT(back, 0);
    EXPECT_EQ(fore > 0, c.fore) << fore;
    EXPECT_EQ(holes > 0, c.holes) << holes;
    EXPECT_EQ(other > 0, c.inBetween) << other;
  }

  // The box's own opacity, seen at a corner where no text is.
  struct BoxCase {
    bool antialiased;
    int backOpacity;
  } const boxCases[] = {{false, 128}, {true, 128}, {false, 0}, {true, 0}, {true, 255}};
  gSettings.Watermark.TextOpacity = 255;
  for (const BoxCase& c : boxCases) {
    SCOPED_TRACE((c.antialiased ? "antialiased " : "plain ") + std::to_string(c.backOpacity));
    gSettings.Watermark.TextAntialiasing = c.antialiased;
    gSettings.Watermark.BackOpacity = c.backOpacity;
    ImagePtr image = Watermarked(Uniform(200, 100, kGrey));
    const Rgb corner = ColourAt(image.get(), 0, 0);
    EXPECT_TRUE(Near(corner, Blend(kBlue, kGrey, c.backOpacity), 2)) << corner;
  }
}

TEST_F(WatermarkTextTest, WithoutFontTheFileConvertsWithoutWatermark) {
  gContext.watermarkFont.reset();
  ImagePtr image = Watermarked(Uniform(120, 80, kGrey, 32));
  ExpectLeftOut(image.get(), 120, 80, kGrey);
}

// ---------------------------------------------------------------------------------------------
// Placement

TEST_F(WatermarkTextTest, BoxLandsByItsPlacement) {
  struct Case {
    const char* name;
    int position, xOffset, yOffset;
    bool frame;
    Box (*expected)(int w, int h);
  } const cases[] = {
      {"DefaultCornerTenFromTheEdges", 8, 10, 10, false,
       [](int w, int h) {
         return Box{400 - 10 - w, 120 - 10 - h, w, h};
       }},
      {"TopLeftInsideTheFrame", 0, 10, 10, true,
       [](int w, int h) {
         return Box{30, 30, w, h};
       }},
      {"CentreIgnoresOffsets", 4, 50, 30, false,
       [](int w, int h) {
         return Box{(400 - w) / 2, (120 - h) / 2, w, h};
       }},
  };
  // The default text and font, on the fixture's opaque blue box.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& w = gSettings.Watermark;
    w.TextPosition = static_cast<int8_t>(c.position);
    w.TextXOffset = c.xOffset;
    w.TextYOffset = c.yOffset;
    w.TextBoundary = c.frame;
    SetFrame(c.frame, 20, 20, 20, 20);
    const Box layer = LayerSize();
    ASSERT_GT(layer.w, 100);
    EXPECT_EQ(ChangedArea(Watermarked(Uniform(400, 120, kGrey)).get(), kGrey),
              c.expected(layer.w, layer.h));
  }
}

TEST_F(WatermarkTextTest, NoRoomLeavesTheWatermarkOut) {
  gSettings.Watermark.TextXOffset = 120;
  ImagePtr image = Watermarked(Uniform(120, 80, kGrey));
  ExpectLeftOut(image.get(), 120, 80, kGrey);
}

TEST_F(WatermarkTextTest, ExtremeNumbersLeaveTheWatermarkOut) {
  // Settings come from files and the command line unchecked; sums of them must not wrap.
  struct Case {
    const char* name;
    int position, xOffset, yOffset, padding, leading, frameLeft;
  } const cases[] = {
      {"LargestXOffset", 0, INT_MAX, 0, 0, 0, 0},
      {"LargestYOffset", 8, 10, INT_MAX, 0, 0, 0},
      {"SmallestXOffsetAtRight", 2, INT_MIN, 0, 0, 0, 0},
      {"SmallestYOffsetAtBottom", 8, 10, INT_MIN, 0, 0, 0},
      {"LargestPadding", 0, 0, 0, INT_MAX, 0, 0},
      {"SmallestPadding", 0, 0, 0, INT_MIN, 0, 0},
      {"LargestLeading", 0, 0, 0, 0, INT_MAX, 0},
      {"SmallestLeading", 0, 0, 0, 0, INT_MIN, 0},
      {"LargestFrame", 8, 10, 10, 0, 0, INT_MAX},
      {"SmallestFrame", 0, 10, 10, 0, 0, INT_MIN},
  };
  gSettings.Watermark.Text = "Top%eol%Bottom";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& w = gSettings.Watermark;
    w.TextPosition = static_cast<int8_t>(c.position);
    w.TextXOffset = c.xOffset;
    w.TextYOffset = c.yOffset;
    w.TextPadding = c.padding;
    w.FontLeading = c.leading;
    w.TextBoundary = c.frameLeft != 0;
    SetFrame(c.frameLeft != 0, c.frameLeft, 20, 20, 20);
    ImagePtr image = Watermarked(Uniform(120, 80, kGrey));
    ExpectLeftOut(image.get(), 120, 80, kGrey);
  }
}

TEST_F(WatermarkPictureTest, NinePositionsWithOffsetsAndFrame) {
  // A 31 x 21 picture on 200 x 150 with offsets 7, 5; the frame is 12, 20, 8, 16 (left, right,
  // top, bottom), leaving a room of 168 x 126 at (12, 8).
  struct Case {
    const char* name;
    int position, doFrame, boundary, x, y;
  } const cases[] = {
      {"TopLeft", 0, 0, 0, 7, 5},
      {"TopCenter", 1, 0, 0, 84, 5},
      {"TopRight", 2, 0, 0, 162, 5},
      {"MiddleLeft", 3, 0, 0, 7, 64},
      {"MiddleCenter", 4, 0, 0, 84, 64},
      {"MiddleRight", 5, 0, 0, 162, 64},
      {"BottomLeft", 6, 0, 0, 7, 124},
      {"BottomCenter", 7, 0, 0, 84, 124},
      {"BottomRight", 8, 0, 0, 162, 124},
      {"OtherPosition", 9, 0, 0, 0, 0},
      {"NegativePosition", -1, 0, 0, 0, 0},
      {"FrameTopLeft", 0, 1, 1, 19, 13},
      {"FrameTopRight", 2, 1, 1, 142, 13},
      {"FrameMiddleCenter", 4, 1, 1, 80, 60},
      {"FrameBottomLeft", 6, 1, 1, 19, 108},
      {"FrameBottomRight", 8, 1, 1, 142, 108},
      {"FrameOtherPosition", 9, 1, 1, 12, 8},
      {"FrameBoundaryWithoutFrame", 8, 0, 1, 162, 124},
      {"FrameWithImageBoundary", 8, 1, 0, 162, 124},
  };
  UseRedPicture(31, 21);
  auto& w = gSettings.Watermark;
  w.ImageXOffset = 7;
  w.ImageYOffset = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.ImagePosition = static_cast<int8_t>(c.position);
    w.ImageBoundary = static_cast<int8_t>(c.boundary);
    SetFrame(c.doFrame, 12, 20, 8, 16);
    ImagePtr image = Watermarked(Uniform(200, 150, kGrey));
    EXPECT_EQ(ChangedArea(image.get(), kGrey), (Box{c.x, c.y, 31, 21}));
    EXPECT_EQ(ColourAt(image.get(), c.x + 15, c.y + 10), kRed);
  }
}

Rgb PictureColour(int x, int y) {
  return {x % 256, y % 256, 77};
}

TEST_F(WatermarkPictureTest, CutToTheRoomKeepingTheTopLeftPart) {
  struct Case {
    const char* name;
    int width, height, position, xOffset, yOffset;
    bool frame;
    Box expected;
  } const cases[] = {
      {"LargerThanImage", 300, 200, 0, 10, 10, false, {10, 10, 190, 140}},
      {"LargerThanImageFarCorner", 300, 200, 8, 10, 10, false, {0, 0, 190, 140}},
      {"CentredOffsetsStillLimitSize", 180, 140, 4, 50, 50, false, {25, 25, 150, 100}},
      {"OnlyTooWide", 250, 20, 6, 5, 5, false, {5, 125, 195, 20}},
      {"OneColumnOfRoom", 31, 21, 0, 199, 0, false, {199, 0, 1, 21}},
      {"FrameRoomLimitsSize", 300, 200, 0, 10, 10, true, {30, 30, 150, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UsePicture("gradient.png", FIF_PNG, MakeImage(c.width, c.height, PictureColour).get());
    auto& w = gSettings.Watermark;
    w.ImagePosition = static_cast<int8_t>(c.position);
    w.ImageXOffset = c.xOffset;
    w.ImageYOffset = c.yOffset;
    w.ImageBoundary = c.frame;
    SetFrame(c.frame, 20, 20, 20, 20);
    ImagePtr image = Watermarked(Uniform(200, 150, kGrey));
    ASSERT_EQ(ChangedArea(image.get(), kGrey), c.expected);
    int wrong = 0;
    for (int y = 0; y < c.expected.h; ++y)
      for (int x = 0; x < c.expected.w; ++x)
        wrong +=
            !(ColourAt(image.get(), c.expected.x + x, c.expected.y + y) == PictureColour(x, y));
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(WatermarkPictureTest, WithoutRoomOrPartlyOutsideTheFileConvertsWithoutIt) {
  // frame: the width of the left and right sides of a frame with boundary 1, 0 for none.
  struct Case {
    const char* name;
    int position, xOffset, yOffset, frame;
  } const cases[] = {
      {"XOffsetAtWidth", 0, 200, 0, 0},       {"XOffsetPastWidth", 8, 250, 10, 0},
      {"YOffsetAtHeight", 0, 0, 150, 0},      {"CentredAxisStillNeedsRoom", 4, 200, 0, 0},
      {"XOffsetAtFrameRoom", 0, 160, 0, 20},  {"FrameWiderThanImage", 0, 0, 0, 120},
      {"NegativeOffsetLeft", 0, -5, 0, 0},    {"NegativeOffsetRight", 2, -5, 0, 0},
      {"NegativeOffsetBottom", 8, 10, -1, 0},
  };
  UseRedPicture(31, 21);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& w = gSettings.Watermark;
    w.ImagePosition = static_cast<int8_t>(c.position);
    w.ImageXOffset = c.xOffset;
    w.ImageYOffset = c.yOffset;
    w.ImageBoundary = c.frame > 0;
    SetFrame(c.frame > 0, c.frame, c.frame, 20, 20);
    ImagePtr image = Watermarked(Uniform(200, 150, kGrey, 32));
    ExpectLeftOut(image.get(), 200, 150, kGrey);
  }
}

// ---------------------------------------------------------------------------------------------
// Pictures

TEST_F(WatermarkPictureTest, PictureWithoutAlphaFadesTowardsBlack) {
  struct Case {
    const char* name;
    FREE_IMAGE_FORMAT format;
    int tolerance;
  } const cases[] = {
      {"picture.png", FIF_PNG, 2},
      {"picture.bmp", FIF_BMP, 2},
      {"picture.jpg", FIF_JPEG, 4},
  };
  gSettings.Watermark.ImageOpacity = 128;
  const Rgb colour{200, 100, 50};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UsePicture(c.name, c.format, Uniform(40, 30, colour).get());
    ImagePtr image = Watermarked(Uniform(100, 80, kWhite));
    // Opaque: none of the white image shows through.
    EXPECT_EQ(ChangedArea(image.get(), kWhite), (Box{0, 0, 40, 30}));
    const Rgb seen = ColourAt(image.get(), 20, 15);
    EXPECT_TRUE(Near(seen, Blend(colour, {0, 0, 0}, 128), c.tolerance)) << seen;
  }
}

TEST_F(WatermarkPictureTest, PictureWithAlphaBlendsWithTheImage) {
  struct Case {
    int alpha, opacity, combined;
  } const cases[] = {{255, 128, 128}, {128, 255, 128}, {128, 128, 64}, {255, 0, 0}};
  const Rgb colour{200, 100, 50};
  for (const Case& c : cases) {
    SCOPED_TRACE("alpha " + std::to_string(c.alpha) + " opacity " + std::to_string(c.opacity));
    UsePicture("alpha.png", FIF_PNG, MakeTranslucent(40, 30, colour, c.alpha).get());
    gSettings.Watermark.ImageOpacity = c.opacity;
    ImagePtr image = Watermarked(Uniform(100, 80, kWhite));
    const Rgb seen = ColourAt(image.get(), 20, 15);
    EXPECT_TRUE(Near(seen, Blend(colour, kWhite, c.combined), 2)) << seen;
    // The picture's transparent pixel leaves the image as it is.
    EXPECT_EQ(ColourAt(image.get(), 0, 0), kWhite);
  }
}

TEST_F(WatermarkPictureTest, GreyscaleUsesItsWeights) {
  // grey = (77 r + 150 g + 29 b) >> 8, alpha kept.
  struct Case {
    Rgb colour;
    int alpha, grey;
  } const cases[] = {
      {{255, 0, 0}, 255, 76},     {{0, 255, 0}, 255, 149}, {{0, 0, 255}, 255, 28},
      {{200, 100, 50}, 255, 124}, {{255, 0, 0}, 128, 76},
  };
  gSettings.Watermark.ImageGreyscale = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.colour) + " alpha " + std::to_string(c.alpha));
    if (c.alpha == 255)
      UsePicture("colour.bmp", FIF_BMP, Uniform(20, 20, c.colour).get());
    else
      UsePicture("colour.png", FIF_PNG, MakeTranslucent(20, 20, c.colour, c.alpha).get());
    ImagePtr image = Watermarked(Uniform(60, 60, kWhite));
    const Rgb seen = ColourAt(image.get(), 10, 10);
    const Rgb expected = Blend({c.grey, c.grey, c.grey}, kWhite, c.alpha);
    EXPECT_TRUE(Near(seen, expected, c.alpha == 255 ? 0 : 2)) << seen << " not " << expected;
  }
}

TEST_F(WatermarkPictureTest, TurnsByItsOwnRotation) {
  UseRedPicture(31, 21);
  gSettings.Watermark.ImageRotation = 90;
  EXPECT_EQ(ChangedArea(Watermarked(Uniform(100, 80, kGrey)).get(), kGrey), (Box{0, 0, 21, 31}));
}

TEST_F(WatermarkPictureTest, UnusablePictureLeavesTheImage) {
  const std::string text = folder_ / "notes.png", empty = folder_ / "empty.png",
                    tiff = folder_ / "picture.tif";
  std::ofstream(text) << "not a picture";
  std::ofstream{empty};
  ASSERT_TRUE(FreeImage_Save(FIF_TIFF, Uniform(20, 20, kRed).get(), tiff.c_str(), 0));
  for (const std::string& path : {std::string(), folder_ / "missing.png", text, empty, tiff}) {
    SCOPED_TRACE(path);
    gSettings.Watermark.Image = path;
    ImagePtr image = Watermarked(Uniform(60, 40, kGrey, 32));
    ExpectLeftOut(image.get(), 60, 40, kGrey);
  }
}

// ---------------------------------------------------------------------------------------------
// Rotation of the text box

TEST_F(WatermarkTextTest, RotationTurnsTheBox) {
  gSettings.Watermark.Text = "Lumen";
  gSettings.Watermark.TextPadding = 3;
  const Box flat = LayerSize();
  ASSERT_GT(flat.w, flat.h);
  const double diagonal = (flat.w + flat.h) / std::sqrt(2.0);
  struct Case {
    int angle;
    double w, h;
    double tolerance;
  } const cases[] = {
      {0, double(flat.w), double(flat.h), 0},   {360, double(flat.w), double(flat.h), 0},
      {-90, double(flat.w), double(flat.h), 0}, {90, double(flat.h), double(flat.w), 1},
      {270, double(flat.h), double(flat.w), 1}, {45, diagonal, diagonal, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    gSettings.Watermark.TextRotation = c.angle;
    const Box box = ChangedArea(Watermarked(Uniform(200, 200, kGrey)).get(), kGrey);
    EXPECT_NEAR(box.w, c.w, c.tolerance);
    EXPECT_NEAR(box.h, c.h, c.tolerance);
  }

  // The box is turned before it is cut: upright it fits an image narrower than the text.
  gSettings.Watermark.TextRotation = 90;
  const Box turned = ChangedArea(Watermarked(Uniform(flat.h + 4, 200, kGrey)).get(), kGrey);
  EXPECT_NEAR(turned.w, flat.h, 1);
  EXPECT_NEAR(turned.h, flat.w, 1);
}

// ---------------------------------------------------------------------------------------------
// The stage's switches

using WatermarkStageTest = WatermarkFixture;

TEST_F(WatermarkStageTest, NullPassesAndOffLeavesTheImageAlone) {
  for (int mode : {0, 1, 2}) {
    gSettings.Watermark.DoWatermark = static_cast<int8_t>(mode);
    EXPECT_EQ(ApplyWatermark(nullptr, 10, 10), nullptr) << mode;
  }

  gSettings.Watermark.DoWatermark = 0;
  ImagePtr image = Uniform(30, 20, kGrey, 32);
  FIBITMAP* given = image.get();
  ImagePtr result(ApplyWatermark(image.release(), 30, 20));
  EXPECT_EQ(result.get(), given);
  EXPECT_EQ(FreeImage_GetBPP(result.get()), 32u);

  // A mode that is neither text nor picture only brings the image to 24 bits.
  gSettings.Watermark.DoWatermark = 3;
  ImagePtr other = Watermarked(Uniform(30, 20, kGrey, 32));
  ExpectLeftOut(other.get(), 30, 20, kGrey);
}

}  // namespace

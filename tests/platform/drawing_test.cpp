// Drawing canvases, the path text of the frame, and text drawing.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "canvas.h"
#include "path_text.h"
#include "text_drawing.h"

namespace {

constexpr PackedColor kOpaqueRed = 0xFF0000FFu;
constexpr PackedColor kOpaqueBlack = 0xFF000000u;
constexpr PackedColor kOpaqueWhite = 0xFFFFFFFFu;

// The premultiplied ARGB32 value of a pixel, as cairo keeps it.
uint32_t PixelAt(const Canvas& canvas, int x, int y) {
  return reinterpret_cast<const uint32_t*>(canvas.row(y))[x];
}
void SetPixel(Canvas& canvas, int x, int y, uint32_t argb) {
  reinterpret_cast<uint32_t*>(canvas.row(y))[x] = argb;
}
int Alpha(uint32_t argb) {
  return static_cast<int>(argb >> 24);
}

std::string Describe(const std::vector<PathFigure>& figures) {
  std::ostringstream out;
  for (const PathFigure& figure : figures) {
    out << "[";
    for (const PathPoint& p : figure)
      out << "(" << p.x << "," << p.y << ")";
    out << "]";
  }
  return out.str();
}

// The distinct pixel values of a canvas, and whether any lies outside the box.
struct Census {
  std::set<uint32_t> inside;
  bool inkOutside = false;
};
Census TakeCensus(const Canvas& canvas, int left, int top, int width, int height) {
  Census census;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const uint32_t pixel = PixelAt(canvas, x, y);
      if (x >= left && x < left + width && y >= top && y < top + height)
        census.inside.insert(pixel);
      else if (pixel != 0)
        census.inkOutside = true;
    }
  return census;
}

TextFontPtr LoadArial(int points = 20) {
  FontRequest request;
  request.family = "Arial";
  request.points = points;
  return LoadFont(request);
}

TEST(PathTextTest, ReadsFiguresOfMoveLineAndClose) {
  struct Case {
    const char* text;
    const char* figures;
  };
  const Case cases[] = {
      {"M 0 0 l 10 0 l 0 10 Z", "[(0,0)(10,0)(10,10)]"},
      // The right side of a 100 x 80 frame of width 10.
      {"M 100 0 l 0 80 l -10 -10 l 0 -60 Z", "[(100,0)(100,80)(90,70)(90,10)]"},
      {"M 0 0 l 1 0 Z M 5 5 l 0 2 Z", "[(0,0)(1,0)][(5,5)(5,7)]"},
      {"M1.5,2 l+3,-0.5 Z", "[(1.5,2)(4.5,1.5)]"},
      {"  M 0 0  l -0 0  Z  ", "[(0,0)(0,0)]"},
      {"M 3 4 l 1 1", "[(3,4)(4,5)]"},  // an open figure is still a figure
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<PathFigure> figures;
    EXPECT_TRUE(ParsePathText(c.text, figures));
    EXPECT_EQ(Describe(figures), c.figures);
  }
}

TEST(PathTextTest, RefusesAnythingElseAndKeepsNoFigures) {
  const char* const cases[] = {
      "M 0 0 l --4 0 Z",  // what a frame wider than its image writes
      "l --4",
      "M 0 0 l 1 Z",
      "M 0 0 L 1 1 Z",
      "m 0 0 l 1 1 Z",
      "Z",
      "l 1 1 Z",
      "M 0 0 l 1 1 Z l 1 1",
      "M 0 0 l 1 1 Z x",
      "M a b",
      "M 0 0 l 1e400 0 Z",
      "M inf 0 l 1 1 Z",
      "M 0 nan l 1 1 Z",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    std::vector<PathFigure> figures = {{{1, 1}}};
    EXPECT_FALSE(ParsePathText(text, figures));
    EXPECT_TRUE(figures.empty());
  }
}

TEST(CanvasTest, StartsTransparentAndFillAllWritesAlphaAsItIs) {
  Canvas canvas(7, 5);
  ASSERT_TRUE(canvas.ok());
  EXPECT_EQ(PixelAt(canvas, 0, 0), 0u);
  EXPECT_EQ(PixelAt(canvas, 6, 4), 0u);
  {
    Drawing drawing(canvas);
    drawing.FillAll(kOpaqueWhite);
    drawing.FillAll(0x80FF0000u);  // blue at alpha 128 replaces the white, not over it
  }
  const uint32_t pixel = PixelAt(canvas, 3, 2);
  EXPECT_EQ(Alpha(pixel), 128);
  EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 128, 1);  // premultiplied blue
  EXPECT_EQ(pixel & 0x00FFFF00u, 0u);
  EXPECT_EQ(PixelAt(canvas, 0, 0), pixel);
  EXPECT_EQ(PixelAt(canvas, 6, 4), pixel);
}

TEST(CanvasTest, RectangleAndPathFillTheirOwnPixels) {
  Canvas canvas(12, 10);
  {
    Drawing drawing(canvas);
    drawing.FillRectangle(2, 3, 4, 5, kOpaqueRed);
    // A triangle below the diagonal of the square 6..12 x 0..6.
    EXPECT_TRUE(drawing.FillPath("M 6 0 l 0 6 l 6 0 Z", kOpaqueBlack));
    EXPECT_FALSE(drawing.FillPath("M 0 0 l 12 0 l --1 Z", kOpaqueWhite));
  }
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      const bool inRectangle = x >= 2 && x < 6 && y >= 3 && y < 8;
      const bool inSquare = x >= 6 && y < 6;
      if (inSquare && y == x - 6) continue;  // halved by the diagonal
      const uint32_t expected = inRectangle             ? 0xFFFF0000u
                                : inSquare && y > x - 6 ? 0xFF000000u
                                                        : 0u;
      EXPECT_EQ(PixelAt(canvas, x, y), expected);
    }
}

TEST(CanvasTest, DrawCanvasScalesAlphaByOpacity) {
  Canvas source(4, 4);
  {
    Drawing drawing(source);
    drawing.FillAll(kOpaqueRed);
  }
  struct Case {
    int opacity, alpha;
  };
  const Case cases[] = {{255, 255}, {128, 128}, {0, 0}, {300, 255}, {-5, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opacity);
    Canvas target(6, 6);
    {
      Drawing drawing(target);
      drawing.DrawCanvas(source, 1, 2, c.opacity);
    }
    EXPECT_NEAR(Alpha(PixelAt(target, 1, 2)), c.alpha, 1);
    EXPECT_NEAR(Alpha(PixelAt(target, 4, 5)), c.alpha, 1);
    EXPECT_NEAR(static_cast<int>(PixelAt(target, 4, 5) >> 16 & 0xFF), c.alpha, 1);
    EXPECT_EQ(PixelAt(target, 0, 2), 0u);
    EXPECT_EQ(PixelAt(target, 5, 5), 0u);
    EXPECT_EQ(PixelAt(target, 1, 1), 0u);
  }
}

TEST(CanvasTest, CanvasOutsideOneTo32767IsNotOkAndIgnoresDrawing) {
  struct Case {
    int width, height;
    bool ok;
  };
  const Case cases[] = {{0, 10, false},     {10, 0, false},    {-3, 10, false},  {40000, 10, false},
                        {10, 40000, false}, {32768, 1, false}, {32767, 1, true}, {1, 1, true}};
  Canvas good(3, 3);
  {
    Drawing drawing(good);
    drawing.FillAll(kOpaqueRed);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    Canvas canvas(c.width, c.height);
    EXPECT_EQ(canvas.ok(), c.ok);
    if (c.ok) continue;
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.height(), 0);
    EXPECT_EQ(canvas.stride(), 0);
    {
      Drawing drawing(canvas);
      EXPECT_FALSE(drawing.ok());
      drawing.FillAll(kOpaqueWhite);
      drawing.FillRectangle(0, 0, 5, 5, kOpaqueWhite);
      drawing.DrawCanvas(good, 0, 0, 255);
      // The text is still checked; there is just nothing to fill.
      EXPECT_TRUE(drawing.FillPath("M 0 0 l 5 0 l 0 5 Z", kOpaqueWhite));
      EXPECT_FALSE(drawing.FillPath("M 0 0 l --5", kOpaqueWhite));
    }
    GreyCanvas(canvas);
    canvas.MarkDirty();
    // Drawn onto a good canvas, it leaves it as it was.
    Drawing onGood(good);
    onGood.DrawCanvas(canvas, 0, 0, 255);
    EXPECT_EQ(PixelAt(good, 1, 1), 0xFFFF0000u);
  }
}

TEST(CanvasTest, GreyCanvasWeighsTheChannelsAndKeepsAlpha) {
  Canvas canvas(3, 1);
  SetPixel(canvas, 0, 0, 0xFFC86432u);  // opaque (200, 100, 50)
  SetPixel(canvas, 1, 0, 0x80643219u);  // alpha 128, premultiplied (100, 50, 25)
  canvas.MarkDirty();
  GreyCanvas(canvas);
  const uint32_t opaqueGrey = (200 * 77 + 100 * 150 + 50 * 29) >> 8;
  const uint32_t halfGrey = (100 * 77 + 50 * 150 + 25 * 29) >> 8;
  EXPECT_EQ(PixelAt(canvas, 0, 0), 0xFF000000u | opaqueGrey * 0x010101u);
  EXPECT_EQ(PixelAt(canvas, 1, 0), 0x80000000u | halfGrey * 0x010101u);
  EXPECT_EQ(PixelAt(canvas, 2, 0), 0u);
  // White stays white: the weights add up to 256.
  {
    Drawing drawing(canvas);
    drawing.FillAll(kOpaqueWhite);
  }
  GreyCanvas(canvas);
  EXPECT_EQ(PixelAt(canvas, 2, 0), 0xFFFFFFFFu);
}

TEST(TextDrawingTest, LoadsFamiliesFontconfigCanProvideOnly) {
  struct Case {
    const char* family;
    bool bold, italic, loads;
  };
  const Case cases[] = {
      {"Arial", false, false, true},           {"arial", true, true, true},
      {"Liberation Sans", false, false, true}, {"Tahoma", false, false, false},
      {"NoSuchFont", false, false, false},     {"", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    FontRequest request;
    request.family = c.family;
    request.points = 12;
    request.bold = c.bold;
    request.italic = c.italic;
    EXPECT_EQ(LoadFont(request) != nullptr, c.loads);
  }
}

TEST(TextDrawingTest, LongerTextMeasuresWiderAndEmptyTextMeasuresNothing) {
  const TextFontPtr font = LoadArial();
  ASSERT_TRUE(font);
  for (bool antialiased : {false, true}) {
    SCOPED_TRACE(antialiased);
    const TextExtent shorter = MeasureText(*font, "Hello", antialiased);
    const TextExtent longer = MeasureText(*font, "Hello, world", antialiased);
    EXPECT_GT(shorter.width, 0);
    EXPECT_GT(shorter.height, 0);
    EXPECT_GT(longer.width, shorter.width);
    EXPECT_EQ(longer.height, shorter.height);
    const TextExtent empty = MeasureText(*font, "", antialiased);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
    // Broken UTF-8 is drawn with stand-ins rather than refused.
    EXPECT_GT(MeasureText(*font,
                          "a\xff\xfe"
                          "b",
                          antialiased)
                  .width,
              0);
  }
  const TextFontPtr larger = LoadArial(40);
  ASSERT_TRUE(larger);
  EXPECT_GT(MeasureText(*larger, "Hello", true).height, MeasureText(*font, "Hello", true).height);
}

// Plain text writes its box and its glyphs with their own colours and alpha, and nothing else:
// no in-between values at the glyph edges, nothing outside the box.
TEST(TextDrawingTest, PlainTextHasOnlyItsTwoColours) {
  const TextFontPtr font = LoadArial();
  ASSERT_TRUE(font);
  const std::string text = "Wavy glyphs 08";
  const TextExtent extent = MeasureText(*font, text, false);
  struct Case {
    const char* name;
    PackedColor fore, back;
    uint32_t foreArgb, backArgb;
  };
  const Case cases[] = {
      {"opaque", kOpaqueRed, kOpaqueWhite, 0xFFFF0000u, 0xFFFFFFFFu},
      {"translucent back", kOpaqueBlack, 0x40FFFFFFu, 0xFF000000u, 0x40404040u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(extent.width + 20, extent.height + 20);
    {
      // What lay beneath is replaced, not blended with.
      Drawing drawing(canvas);
      drawing.FillRectangle(7, 9, extent.width, extent.height, 0xFF00FF00u);
    }
    DrawPlainText(canvas, *font, 7, 9, text, c.fore, c.back);
    const Census census = TakeCensus(canvas, 7, 9, extent.width, extent.height);
    EXPECT_FALSE(census.inkOutside);
    EXPECT_EQ(census.inside, (std::set<uint32_t>{c.foreArgb, c.backArgb}));
  }
}

TEST(TextDrawingTest, VectorTextIsAntialiasedOverTheCanvas) {
  const TextFontPtr font = LoadArial();
  ASSERT_TRUE(font);
  const TextExtent extent = MeasureText(*font, "Wavy glyphs 08", true);
  Canvas canvas(extent.width + 20, extent.height + 20);
  DrawVectorText(canvas, *font, 10, 10, "Wavy glyphs 08", kOpaqueBlack);
  int opaque = 0, between = 0;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const int alpha = Alpha(PixelAt(canvas, x, y));
      opaque += alpha == 255;
      between += alpha > 0 && alpha < 255;
    }
  EXPECT_GT(opaque, 0);
  EXPECT_GT(between, 0);
  // Drawn over: the transparent surroundings of the glyphs stay transparent.
  EXPECT_EQ(PixelAt(canvas, 0, 0), 0u);
  EXPECT_EQ(PixelAt(canvas, canvas.width() - 1, canvas.height() - 1), 0u);
}

TEST(TextDrawingTest, TextOnACanvasThatIsNotOkIsIgnored) {
  const TextFontPtr font = LoadArial();
  ASSERT_TRUE(font);
  Canvas canvas(0, 0);
  DrawPlainText(canvas, *font, 0, 0, "Hello", kOpaqueBlack, kOpaqueWhite);
  DrawVectorText(canvas, *font, 0, 0, "Hello", kOpaqueBlack);
  EXPECT_FALSE(canvas.ok());
  // And an empty text draws nothing, not even its box.
  Canvas good(10, 10);
  DrawPlainText(good, *font, 0, 0, "", kOpaqueBlack, kOpaqueWhite);
  EXPECT_EQ(PixelAt(good, 0, 0), 0u);
}

}  // namespace

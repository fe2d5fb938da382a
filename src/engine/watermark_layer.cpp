// The watermark's text block and picture, drawn on canvases and handed to FreeImage.
#include "watermark_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "canvas_bridge.h"
#include "context.h"
#include "naming.h"
#include "settings.h"
#include "stages.h"
#include "text_drawing.h"
#include "unicode.h"

namespace {

constexpr char kLineBreak[] = "%eol%";
constexpr size_t kLineBreakLength = sizeof kLineBreak - 1;
constexpr int kSmallestBlockSide = 10;

// The lines of a text at its "%eol%" breaks, written in any case.
std::vector<std::string> SplitLines(const std::string& text) {
  const std::string lowered = AsciiLower(text);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t found; (found = lowered.find(kLineBreak, start)) != std::string::npos;
       start = found + kLineBreakLength)
    lines.push_back(text.substr(start, found - start));
  lines.push_back(text.substr(start));
  return lines;
}

// The text block's size and line step, as measured by plain text drawing; sizes 0 when the
// padding and leading make a block no canvas can hold.
struct Block {
  std::vector<std::string> lines;  // more than one only for a text with line breaks
  int width = 0, height = 0, step = 0;
};

bool FitsInt(int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

Block MeasureBlock(const TextFont& font, const std::string& text) {
  const auto& watermark = gSettings.Watermark;
  Block block;
  block.lines = SplitLines(text);
  // Padding and leading come unchecked from files and the command line: sums of them are taken
  // in 64 bits, and a block whose size or line positions leave int is not drawn.
  int64_t width = 0, height = 0, step = 0;
  if (block.lines.size() == 1) {
    const TextExtent extent = MeasureText(font, text, false);
    width = extent.width;
    height = extent.height;
  } else {
    width = height = kSmallestBlockSide;
    for (const std::string& line : block.lines) {
      const TextExtent extent = MeasureText(font, line, false);
      width = std::max<int64_t>(width, extent.width);
      height = std::max<int64_t>(height, extent.height);
    }
    step = height + watermark.FontLeading;
    height += static_cast<int64_t>(block.lines.size() - 1) * step;
  }
  width += 2 * int64_t{watermark.TextPadding};
  height += 2 * int64_t{watermark.TextPadding};
  const int64_t lastLine =
      watermark.TextPadding + static_cast<int64_t>(block.lines.size() - 1) * step;
  if (width < 1 || height < 1 || !FitsInt(width) || !FitsInt(height) || !FitsInt(step) ||
      !FitsInt(lastLine))
    return block;
  block.width = static_cast<int>(width);
  block.height = static_cast<int>(height);
  block.step = static_cast<int>(step);
  return block;
}

// Where a line of a multi-line block starts, by the text alignment.
int AlignLine(int lineWidth, int boxWidth) {
  const int padding = gSettings.Watermark.TextPadding;
  switch (gSettings.Watermark.TextAlignment) {
    case 0:
      return padding;
    case 1:
      return static_cast<int>(std::lround((boxWidth - lineWidth) / 2.0));
    case 2:
      return boxWidth - lineWidth - padding;
    default:
      return 0;
  }
}

// Draws every line of the block on its own row, or the single line at the padding.
template <typename DrawLine>
void DrawLines(const Block& block, const TextFont& font, bool antialiased, DrawLine draw) {
  const int padding = gSettings.Watermark.TextPadding;
  if (block.lines.size() == 1) return draw(padding, padding, block.lines.front());
  int y = padding;
  for (const std::string& line : block.lines) {
    draw(AlignLine(MeasureText(font, line, antialiased).width, block.width), y, line);
    y += block.step;
  }
}

// Text and box with their own alphas written as they are, without antialiasing.
Canvas DrawPlainBlock(const Block& block, const TextFont& font) {
  const auto& watermark = gSettings.Watermark;
  const PackedColor fore = ParseHexColorAlpha(watermark.FontColor, watermark.TextOpacity);
  const PackedColor back = ParseHexColorAlpha(watermark.BackColor, watermark.BackOpacity);
  Canvas canvas(block.width, block.height);
  Drawing(canvas).FillAll(back);
  DrawLines(block, font, false, [&](int x, int y, const std::string& line) {
    DrawPlainText(canvas, font, x, y, line, fore, back);
  });
  return canvas;
}

// Opaque antialiased text over an opaque box, each then laid down with its own opacity.
Canvas DrawAntialiasedBlock(const Block& block, const TextFont& font) {
  const auto& watermark = gSettings.Watermark;
  const PackedColor fore = ParseHexColorAlpha(watermark.FontColor, 255);
  const PackedColor back = ParseHexColorAlpha(watermark.BackColor, 255);
  Canvas box(block.width, block.height), text(block.width, block.height),
      result(block.width, block.height);
  Drawing(box).FillAll(back);
  DrawLines(block, font, true, [&](int x, int y, const std::string& line) {
    DrawVectorText(text, font, x, y, line, fore);
  });
  Drawing drawing(result);
  if (!drawing.ok()) return Canvas(0, 0);
  drawing.DrawCanvas(box, 0, 0, watermark.BackOpacity);
  drawing.DrawCanvas(text, 0, 0, watermark.TextOpacity);
  return result;
}

}  // namespace

FIBITMAP* BuildTextLayer() {
  const TextFont* font = gContext.watermarkFont.get();
  if (!font) return nullptr;
  const Block block = MeasureBlock(*font, ExpandWatermarkText());
  if (block.width < 1 || block.height < 1) return nullptr;
  const Canvas canvas = gSettings.Watermark.TextAntialiasing ? DrawAntialiasedBlock(block, *font)
                                                             : DrawPlainBlock(block, *font);
  return canvas.ok() ? CanvasToBitmap(canvas) : nullptr;
}

FIBITMAP* BuildImageLayer() {
  const auto& watermark = gSettings.Watermark;
  bool hasAlpha = false;
  Canvas picture = LoadPicture(watermark.Image, hasAlpha);
  if (!picture.ok()) return nullptr;
  if (watermark.ImageGreyscale) GreyCanvas(picture);
  // A picture without alpha of its own fades towards black, not towards the image.
  Canvas result(picture.width(), picture.height());
  Drawing drawing(result);
  if (!drawing.ok()) return nullptr;
  if (!hasAlpha) drawing.FillAll(0xFF000000u);
  drawing.DrawCanvas(picture, 0, 0, watermark.ImageOpacity);
  return CanvasToBitmap(result);
}

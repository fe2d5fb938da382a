// Text on canvases through pango: "plain" text is drawn without antialiasing and writes its
// colours with their alpha as they are; "vector" text is antialiased and drawn over the canvas.
#pragma once

#include <memory>
#include <string>

#include "canvas.h"

struct FontRequest {
  std::string family;
  int points = 0;  // at 96 pixels an inch, as the desktop measures them
  bool bold = false, italic = false, underline = false, strikeOut = false;
};

class TextFont;
struct TextFontDeleter {
  void operator()(TextFont* font) const;
};
using TextFontPtr = std::unique_ptr<TextFont, TextFontDeleter>;

// Null when fontconfig offers neither the family nor a metric-compatible stand-in for it.
TextFontPtr LoadFont(const FontRequest& request);

struct TextExtent {
  int width = 0, height = 0;
};
// The advance width and line height of a one-line text; an empty text measures 0 x 0.
TextExtent MeasureText(const TextFont& font, const std::string& text, bool antialiased);

// Draws text with its top-left corner at (x, y): its box of MeasureText's size is written with
// back, then the glyphs with fore, each with its own alpha.
void DrawPlainText(Canvas& canvas, const TextFont& font, int x, int y, const std::string& text,
                   PackedColor fore, PackedColor back);
// Draws antialiased text with its top-left corner at (x, y) over the canvas.
void DrawVectorText(Canvas& canvas, const TextFont& font, int x, int y, const std::string& text,
                    PackedColor fore);

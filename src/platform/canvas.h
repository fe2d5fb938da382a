// Off-screen 32-bit drawing canvases: cairo ARGB32 image surfaces with vector fills, drawing
// one canvas onto another with an opacity, and a grey filter.
#pragma once

#include <cstdint>
#include <string>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

// A colour packed as red + green * 256 + blue * 65536 + alpha * 2^24.
using PackedColor = uint32_t;

// Pixels are premultiplied native-endian ARGB32, as cairo keeps them. A canvas that could not
// be created (a side under 1 or over 32767, over 2^28 pixels, no memory) is not ok() and
// ignores drawing.
class Canvas {
 public:
  Canvas(int width, int height);  // fully transparent
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return surface_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const;
  uint8_t* row(int y);  // null on a canvas that is not ok()
  const uint8_t* row(int y) const;
  cairo_surface_t* surface() const { return surface_; }
  // Call after writing pixels through row(), before drawing on the canvas again.
  void MarkDirty();

 private:
  cairo_surface_t* surface_ = nullptr;
  int width_ = 0, height_ = 0;
};

// Vector drawing on a canvas, antialiased unless asked otherwise. Shapes are filled over what
// lies beneath; FillAll and the plain text drawing write their colour, alpha included.
class Drawing {
 public:
  explicit Drawing(Canvas& canvas, bool antialiased = true);
  ~Drawing();
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  bool ok() const { return context_ != nullptr; }
  cairo_t* context() const { return context_; }

  void FillAll(PackedColor color);
  void FillRectangle(double x, double y, double width, double height, PackedColor color);
  // Fills the figures of a path text of "M x y", "l dx dy" and "Z" commands; false when the
  // text cannot be read (nothing is filled then).
  bool FillPath(const std::string& path, PackedColor color);
  // Draws source with its top-left corner at (x, y), over what lies beneath; opacity 0..255.
  void DrawCanvas(const Canvas& source, int x, int y, int opacity);

 private:
  cairo_t* context_ = nullptr;
};

// Sets the colour cairo paints with next.
void SetSourceColor(cairo_t* context, PackedColor color);
// Every pixel becomes grey = (red * 77 + green * 150 + blue * 29) >> 8, its alpha kept.
void GreyCanvas(Canvas& canvas);

// Canvases on cairo image surfaces.
#include "canvas.h"

#include <cairo.h>

#include <algorithm>
#include <utility>

#include "path_text.h"

namespace {

// cairo's image surfaces hold at most this many pixels on a side. A gigabyte is as much as a
// canvas may take: anything larger is a setting gone wrong, not a picture.
constexpr int kLargestSide = 32767;
constexpr int64_t kMostPixels = int64_t{1} << 28;

double Channel(PackedColor color, int shift) {
  return ((color >> shift) & 0xFF) / 255.0;
}

}  // namespace

Canvas::Canvas(int width, int height) {
  if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide ||
      int64_t{width} * height > kMostPixels)
    return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  surface_ = surface;  // cairo clears new image surfaces: fully transparent
  width_ = width;
  height_ = height;
}

Canvas::~Canvas() {
  if (surface_) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  std::swap(surface_, other.surface_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  return *this;
}

int Canvas::stride() const {
  return surface_ ? cairo_image_surface_get_stride(surface_) : 0;
}

uint8_t* Canvas::row(int y) {
  if (!surface_) return nullptr;
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_) + static_cast<size_t>(y) * stride();
}

const uint8_t* Canvas::row(int y) const {
  if (!surface_) return nullptr;
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_) + static_cast<size_t>(y) * stride();
}

void Canvas::MarkDirty() {
  if (surface_) cairo_surface_mark_dirty(surface_);
}

Drawing::Drawing(Canvas& canvas, bool antialiased) {
  if (!canvas.ok()) return;
  cairo_t* context = cairo_create(canvas.surface());
  if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(context);
    return;
  }
  cairo_set_antialias(context, antialiased ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  context_ = context;
}

Drawing::~Drawing() {
  if (context_) {
    cairo_surface_flush(cairo_get_target(context_));
    cairo_destroy(context_);
  }
}

void Drawing::FillAll(PackedColor color) {
  if (!context_) return;
  cairo_save(context_);
  cairo_set_operator(context_, CAIRO_OPERATOR_SOURCE);
  SetSourceColor(context_, color);
  cairo_paint(context_);
  cairo_restore(context_);
}

void Drawing::FillRectangle(double x, double y, double width, double height, PackedColor color) {
  if (!context_ || width <= 0 || height <= 0) return;
  cairo_new_path(context_);
  cairo_rectangle(context_, x, y, width, height);
  SetSourceColor(context_, color);
  cairo_fill(context_);
}

bool Drawing::FillPath(const std::string& path, PackedColor color) {
  std::vector<PathFigure> figures;
  if (!ParsePathText(path, figures)) return false;
  if (!context_) return true;
  cairo_new_path(context_);
  for (const PathFigure& figure : figures) {
    cairo_move_to(context_, figure.front().x, figure.front().y);
    for (size_t i = 1; i < figure.size(); ++i)
      cairo_line_to(context_, figure[i].x, figure[i].y);
    cairo_close_path(context_);
  }
  SetSourceColor(context_, color);
  cairo_fill(context_);
  return true;
}

void Drawing::DrawCanvas(const Canvas& source, int x, int y, int opacity) {
  if (!context_ || !source.ok()) return;
  cairo_save(context_);
  cairo_set_source_surface(context_, source.surface(), x, y);
  cairo_paint_with_alpha(context_, std::clamp(opacity, 0, 255) / 255.0);
  cairo_restore(context_);
}

void SetSourceColor(cairo_t* context, PackedColor color) {
  cairo_set_source_rgba(context, Channel(color, 0), Channel(color, 8), Channel(color, 16),
                        Channel(color, 24));
}

void GreyCanvas(Canvas& canvas) {
  if (!canvas.ok()) return;
  // Premultiplied channels stay premultiplied: the weighted sum of them is the premultiplied
  // grey, and the weights add up to 256, so it never exceeds the alpha.
  for (int y = 0; y < canvas.height(); ++y) {
    auto* pixel = reinterpret_cast<uint32_t*>(canvas.row(y));
    for (int x = 0; x < canvas.width(); ++x) {
      const uint32_t argb = pixel[x];
      const uint32_t grey =
          (((argb >> 16) & 0xFF) * 77 + ((argb >> 8) & 0xFF) * 150 + (argb & 0xFF) * 29) >> 8;
      pixel[x] = (argb & 0xFF000000u) | grey << 16 | grey << 8 | grey;
    }
  }
  canvas.MarkDirty();
}

// Canvases into bitmaps and pictures into canvases.
#include "canvas_bridge.h"

#include <algorithm>
#include <cstdint>

#include "image_ptr.h"

namespace {

bool IsPictureKind(FREE_IMAGE_FORMAT format) {
  return format == FIF_PNG || format == FIF_BMP || format == FIF_JPEG;
}

// Straight RGBA bytes of FreeImage into the canvas's premultiplied pixels.
void CopyIntoCanvas(FIBITMAP* picture, Canvas& canvas) {
  const int height = canvas.height();
  for (int y = 0; y < height; ++y) {
    // FreeImage keeps the bottom row first.
    const BYTE* source = FreeImage_GetScanLine(picture, height - 1 - y);
    auto* target = reinterpret_cast<uint32_t*>(canvas.row(y));
    for (int x = 0; x < canvas.width(); ++x, source += 4) {
      const uint32_t alpha = source[FI_RGBA_ALPHA];
      auto premultiply = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
      target[x] = alpha << 24 | premultiply(source[FI_RGBA_RED]) << 16 |
                  premultiply(source[FI_RGBA_GREEN]) << 8 | premultiply(source[FI_RGBA_BLUE]);
    }
  }
  canvas.MarkDirty();
}

// Many 32-bit BMP writers leave the fourth byte 0: such a picture means no alpha at all, not
// an invisible one. Makes it opaque and says so.
bool MakeOpaqueIfInvisible(FIBITMAP* rgba) {
  const unsigned width = FreeImage_GetWidth(rgba), height = FreeImage_GetHeight(rgba);
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* pixel = FreeImage_GetScanLine(rgba, y);
    for (unsigned x = 0; x < width; ++x, pixel += 4)
      if (pixel[FI_RGBA_ALPHA] != 0) return false;
  }
  for (unsigned y = 0; y < height; ++y) {
    BYTE* pixel = FreeImage_GetScanLine(rgba, y);
    for (unsigned x = 0; x < width; ++x, pixel += 4)
      pixel[FI_RGBA_ALPHA] = 255;
  }
  return true;
}

}  // namespace

FIBITMAP* CanvasToBitmap(const Canvas& canvas, const PixelArea& area, int opacity) {
  if (!canvas.ok() || area.width < 1 || area.height < 1 || area.left < 0 || area.top < 0 ||
      area.left + area.width > canvas.width() || area.top + area.height > canvas.height())
    return nullptr;
  FIBITMAP* bitmap = FreeImage_Allocate(area.width, area.height, 32, FI_RGBA_RED_MASK,
                                        FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (!bitmap) return nullptr;
  const uint32_t scale = static_cast<uint32_t>(std::clamp(opacity, 0, 255));
  for (int y = 0; y < area.height; ++y) {
    const auto* source = reinterpret_cast<const uint32_t*>(canvas.row(area.top + y)) + area.left;
    BYTE* target = FreeImage_GetScanLine(bitmap, area.height - 1 - y);
    for (int x = 0; x < area.width; ++x, target += 4) {
      const uint32_t argb = source[x], alpha = argb >> 24;
      // Undone as cairo's own PNG writer undoes it, rounding to the nearest.
      auto straight = [alpha](uint32_t channel) {
        return static_cast<BYTE>(alpha ? (channel * 255 + alpha / 2) / alpha : 0);
      };
      target[FI_RGBA_RED] = straight((argb >> 16) & 0xFF);
      target[FI_RGBA_GREEN] = straight((argb >> 8) & 0xFF);
      target[FI_RGBA_BLUE] = straight(argb & 0xFF);
      target[FI_RGBA_ALPHA] = static_cast<BYTE>((alpha * scale + 127) / 255);
    }
  }
  return bitmap;
}

FIBITMAP* CanvasToBitmap(const Canvas& canvas) {
  return CanvasToBitmap(canvas, {0, 0, canvas.width(), canvas.height()});
}

Canvas LoadPicture(const std::string& path, bool& hasAlpha) {
  hasAlpha = false;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (!IsPictureKind(format)) return Canvas(0, 0);
  ImagePtr picture(FreeImage_Load(format, path.c_str(), 0));
  if (!picture) return Canvas(0, 0);
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(picture.get());
  hasAlpha = type == FIT_RGBA16 || FreeImage_GetBPP(picture.get()) == 32 ||
             FreeImage_IsTransparent(picture.get());
  // 16-bit PNGs come as colour or grey of 16 bits a channel; grey is brought to 8 bits first.
  if (type != FIT_BITMAP && type != FIT_RGB16 && type != FIT_RGBA16)
    Replace(picture, FreeImage_ConvertToStandardType(picture.get(), TRUE));
  if (!picture) return Canvas(0, 0);
  ImagePtr rgba(FreeImage_ConvertTo32Bits(picture.get()));
  if (!rgba) return Canvas(0, 0);
  if (hasAlpha && MakeOpaqueIfInvisible(rgba.get())) hasAlpha = false;
  Canvas canvas(static_cast<int>(FreeImage_GetWidth(rgba.get())),
                static_cast<int>(FreeImage_GetHeight(rgba.get())));
  if (canvas.ok()) CopyIntoCanvas(rgba.get(), canvas);
  return canvas;
}

bool CompositeAt(FIBITMAP* image, FIBITMAP* layer, int64_t x, int64_t y) {
  if (!image || !layer) return false;
  const int64_t w = FreeImage_GetWidth(layer), h = FreeImage_GetHeight(layer);
  if (x < 0 || y < 0 || x + w > FreeImage_GetWidth(image) || y + h > FreeImage_GetHeight(image))
    return false;
  // Inside the image, so every value below fits in int. Transparent pixels leave the image
  // exactly as it is, so laying the layer over the part beneath it is the same as laying a
  // transparent image-sized layer over all of it.
  const int left = static_cast<int>(x), top = static_cast<int>(y);
  ImagePtr beneath(
      FreeImage_Copy(image, left, top, static_cast<int>(x + w), static_cast<int>(y + h)));
  if (!beneath) return false;
  ImagePtr laid(FreeImage_Composite(layer, FALSE, nullptr, beneath.get()));
  return laid && FreeImage_Paste(image, laid.get(), left, top, 256);
}

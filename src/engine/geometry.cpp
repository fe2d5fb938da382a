// Rotation, resize and flip, and the colour-with-alpha reading the frame and watermark use.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "image_ptr.h"
#include "radiance_header.h"
#include "settings.h"
#include "stages.h"

namespace {

// FreeImage turns 24- and 32-bit images as they are; others are brought to 24 bits first.
// It has no 24-bit conversion for floating-point colour, which is how every Radiance image
// arrives: those are tone mapped as the pipeline would have done after the turn, so a
// rotated picture looks like an unrotated one and its background keeps its exact colour.
FIBITMAP* ToRotatableDepth(FIBITMAP* image) {
  const unsigned bpp = FreeImage_GetBPP(image);
  if (bpp > 16 && bpp <= 32) return image;
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(image);
  if (type == FIT_RGBF || type == FIT_RGBAF) return ApplyToneMapping(image);
  ImagePtr source(image);
  return FreeImage_ConvertTo24Bits(source.get());
}

FREE_IMAGE_FILTER ResizeFilter(int algorithm) {
  static const FREE_IMAGE_FILTER filters[] = {FILTER_BOX,     FILTER_BILINEAR,   FILTER_BSPLINE,
                                              FILTER_BICUBIC, FILTER_CATMULLROM, FILTER_LANCZOS3};
  if (algorithm < 0 || algorithm >= static_cast<int>(std::size(filters))) return FILTER_BICUBIC;
  return filters[algorithm];
}

// A target side in pixels: the value itself, or value percent of the current side rounded
// half to even (computed exactly, so 50 % of 1001 is 500 and not a float near it). An
// unknown unit gives 0, which leaves the image alone.
int64_t TargetSide(int32_t value, int unit, int current) {
  if (unit == 0) return value;
  if (unit != 1) return 0;
  const int64_t product = int64_t{value} * current;
  int64_t quotient = product / 100;
  const int64_t remainder = product % 100;
  // Negative products truncate towards zero; their targets are ignored anyway.
  if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// The side derived with Keep Aspect Ratio: in 32-bit floats, rounded half away from zero,
// and at least one pixel (a thin strip would otherwise ask FreeImage for no rows and fail).
int64_t DerivedSide(int64_t target, float ratio) {
  const float side = static_cast<float>(target) / ratio;
  return std::max<int64_t>(1, std::llround(side));
}

// Larger images than the decoder accepts would take gigabytes in the stages that follow (the
// float image alone is 12 bytes a pixel), or more than FreeImage can address.
bool IsWithinBounds(int64_t width, int64_t height) {
  return width <= kRadianceMaxSide && height <= kRadianceMaxSide &&
         width * height <= kRadianceMaxPixels;
}

}  // namespace

FIBITMAP* ApplyRotation(FIBITMAP* image) {
  const auto& transform = gSettings.Transform;
  if (!image || !transform.DoImageRotation) return image;
  const int angle = transform.ImageRotation;
  if (angle <= 0 || angle >= 360) return image;

  // The centre of the image as given, halves kept for odd sides.
  const double originX = FreeImage_GetWidth(image) / 2.0;
  const double originY = FreeImage_GetHeight(image) / 2.0;
  ImagePtr source(ToRotatableDepth(image));
  if (!source) return nullptr;

  switch (transform.ImageRotationType) {
    case 0: {
      const Color color = ParseHexColor(transform.ImageRotationBackColor);
      const RGBQUAD background = {color.blue, color.green, color.red, 0};
      return FreeImage_Rotate(source.get(), angle, &background);
    }
    case 1:
      return FreeImage_RotateEx(source.get(), angle, 0, 0, originX, originY, FALSE);
    default:
      return source.release();
  }
}

FIBITMAP* ApplyResize(FIBITMAP* image, int width, int height) {
  const auto& transform = gSettings.Transform;
  if (!image || !transform.DoImageResize) return image;
  const int64_t targetWidth = TargetSide(transform.ImageWidth, transform.ImageWidthUnit, width);
  const int64_t targetHeight = TargetSide(transform.ImageHeight, transform.ImageHeightUnit, height);
  if (targetWidth <= 0 || targetHeight <= 0) return image;
  if (width == targetWidth && height == targetHeight) return image;
  if (transform.ImageResizeType == 1 && width < targetWidth && height < targetHeight) return image;

  int64_t newWidth = targetWidth, newHeight = targetHeight;
  // Only one target side counts: the width for landscape and square images, the height for
  // portrait ones.
  if (transform.KeepAspectRatio) {
    if (width >= height) {
      newHeight = DerivedSide(targetWidth, static_cast<float>(width) / static_cast<float>(height));
    } else {
      newWidth = DerivedSide(targetHeight, static_cast<float>(height) / static_cast<float>(width));
    }
  }

  ImagePtr source(image);
  // A size no later stage could hold fails the file rather than being silently ignored.
  if (!IsWithinBounds(newWidth, newHeight)) return nullptr;
  return FreeImage_Rescale(source.get(), static_cast<int>(newWidth), static_cast<int>(newHeight),
                           ResizeFilter(transform.ImageResizeAlgorithm));
}

void ApplyFlip(FIBITMAP* image) {
  if (!image) return;
  if (gSettings.Transform.DoImageFlipHorizontal) FreeImage_FlipHorizontal(image);
  if (gSettings.Transform.DoImageFlipVertical) FreeImage_FlipVertical(image);
}

uint32_t ParseHexColorAlpha(const std::string& text, int alpha) {
  const Color color = ParseHexColor(text);
  const auto clamped = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  return color.red | uint32_t{color.green} << 8 | uint32_t{color.blue} << 16 | clamped << 24;
}

// Tone mapping, colour adjustments, greyscale, threshold and dithering.
#include <iterator>

#include "image_ptr.h"
#include "settings.h"
#include "stages.h"

namespace {

// FreeImage's gradient-domain operator gives up on images under 32 pixels on a side, and on
// the way reads memory it never set: such images fail here, as FreeImage would fail them.
constexpr unsigned kSmallestToneMappedSide = 32;

FREE_IMAGE_DITHER DitherAlgorithm(int setting) {
  // The order of the settings is not FreeImage's: its 16 x 16 Bayer pattern came last.
  static const FREE_IMAGE_DITHER algorithms[] = {FID_FS,          FID_BAYER4x4,   FID_BAYER8x8,
                                                 FID_BAYER16x16,  FID_CLUSTER6x6, FID_CLUSTER8x8,
                                                 FID_CLUSTER16x16};
  if (setting < 0 || setting >= static_cast<int>(std::size(algorithms))) return FID_FS;
  return algorithms[setting];
}

// Brings an image outside minBpp..32 bits a pixel to 24 bits; null when FreeImage cannot.
FIBITMAP* To24BitsOutside(FIBITMAP* image, unsigned minBpp) {
  const unsigned bpp = FreeImage_GetBPP(image);
  if (bpp >= minBpp && bpp <= 32) return image;
  ImagePtr source(image);
  return FreeImage_ConvertTo24Bits(source.get());
}

}  // namespace

FIBITMAP* To24Bits(FIBITMAP* image) {
  if (!image || FreeImage_GetBPP(image) == 24) return image;
  ImagePtr source(image);
  return FreeImage_ConvertTo24Bits(source.get());
}

FIBITMAP* ApplyToneMapping(FIBITMAP* image) {
  if (!image || FreeImage_GetBPP(image) <= 32) return image;
  ImagePtr source(image);
  if (FreeImage_GetWidth(image) < kSmallestToneMappedSide ||
      FreeImage_GetHeight(image) < kSmallestToneMappedSide)
    return nullptr;
  return FreeImage_TmoFattal02(source.get(), 0.5, 0.85);
}

FIBITMAP* ApplyColorAdjustments(FIBITMAP* image) {
  const auto& adjustment = gSettings.Adjustment;
  if (!image || !adjustment.DoImageColorCorrection) return image;
  image = To24BitsOutside(image, 8);
  if (!image) return nullptr;
  // FreeImage answers FALSE also when the values ask for no change, so the answer says
  // nothing about failure.
  FreeImage_AdjustColors(image, adjustment.ImageBrightness, adjustment.ImageContrast,
                         adjustment.ImageGamma, adjustment.ImageInvert ? TRUE : FALSE);
  return image;
}

FIBITMAP* ApplyGreyscale(FIBITMAP* image) {
  if (!image || !gSettings.Adjustment.DoImageGreyscale) return image;
  ImagePtr source(To24BitsOutside(image, 0));
  if (!source) return nullptr;
  return FreeImage_ConvertToGreyscale(source.get());
}

FIBITMAP* ApplyThreshold(FIBITMAP* image) {
  const auto& adjustment = gSettings.Adjustment;
  if (!image || !adjustment.DoImageThreshold) return image;
  ImagePtr source(To24BitsOutside(image, 4));
  if (!source) return nullptr;
  // The level is a byte to FreeImage: its low 8 bits count.
  const auto level = static_cast<BYTE>(adjustment.ImageThreshold & 0xFF);
  return FreeImage_Threshold(source.get(), level);
}

FIBITMAP* ApplyDither(FIBITMAP* image) {
  const auto& adjustment = gSettings.Adjustment;
  if (!image || !adjustment.DoImageDither) return image;
  ImagePtr source(To24BitsOutside(image, 4));
  if (!source) return nullptr;
  return FreeImage_Dither(source.get(), DitherAlgorithm(adjustment.ImageDitherAlgorithm));
}

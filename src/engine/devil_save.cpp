// PSD, DDS and PCX files written through DevIL.
#include "devil_save.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <new>
#include <vector>

#include "formats.h"
#include "image_ptr.h"

std::mutex& DevilLock() {
  static std::mutex lock;
  return lock;
}

bool SaveWithDevil(FIBITMAP* image, int ilType, const std::string& path) {
  if (!image) return false;
  ImagePtr converted;
  unsigned depth = FreeImage_GetBPP(image);
  if (depth != 24 && depth != 32) {
    converted.reset(FreeImage_ConvertTo24Bits(image));
    if (!converted) return false;
    image = converted.get();
    depth = 24;
  }
  const unsigned width = FreeImage_GetWidth(image);
  const unsigned height = FreeImage_GetHeight(image);
  const unsigned bytesPerPixel = depth / 8;
  // Rows packed without FreeImage's 4-byte alignment: DevIL reads width x bytes per pixel.
  const unsigned pitch = width * bytesPerPixel;
  std::vector<BYTE> pixels;
  try {
    pixels.resize(static_cast<size_t>(pitch) * height);
  } catch (const std::bad_alloc&) {
    return false;
  }
  FreeImage_ConvertToRawBits(pixels.data(), image, static_cast<int>(pitch), depth, FI_RGBA_RED_MASK,
                             FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);

  std::lock_guard<std::mutex> guard(DevilLock());
  while (ilGetError() != IL_NO_ERROR) {
  }
  ilEnable(IL_FILE_OVERWRITE);
  ILuint id = 0;
  ilGenImages(1, &id);
  ilBindImage(id);
  bool ok = ilTexImage(width, height, static_cast<ILuint>(ilGetInteger(IL_IMAGE_DEPTH)),
                       static_cast<ILubyte>(bytesPerPixel), depth == 32 ? IL_BGRA : IL_BGR,
                       IL_UNSIGNED_BYTE, pixels.data()) == IL_TRUE;
  if (ok && ilType == IL_TYPE_DDS) ok = iluBuildMipmaps() == IL_TRUE;
  if (ok) ok = ilSave(static_cast<ILenum>(ilType), path.c_str()) == IL_TRUE;
  ilDeleteImages(1, &id);
  return ok;
}

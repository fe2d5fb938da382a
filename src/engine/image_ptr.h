// An owning holder of a FreeImage bitmap, so early returns never leak an image.
#pragma once

#include <FreeImage.h>

#include <memory>

struct ImageDeleter {
  void operator()(FIBITMAP* image) const { FreeImage_Unload(image); }
};
using ImagePtr = std::unique_ptr<FIBITMAP, ImageDeleter>;

// Replaces the held image by next (which may be null); the old one is released.
inline void Replace(ImagePtr& image, FIBITMAP* next) {
  image.reset(next);
}

// The optional pixel stages of the pipeline. Each takes ownership of the image it is given,
// returns the image to go on with, releases what it replaces and passes a null image through;
// a stage whose setting is off returns its input unchanged.
#pragma once

#include <FreeImage.h>

#include <cstdint>
#include <string>

FIBITMAP* ApplyRotation(FIBITMAP* image);
FIBITMAP* ApplyResize(FIBITMAP* image, int width, int height);
void ApplyFlip(FIBITMAP* image);  // in place
FIBITMAP* ApplyColorAdjustments(FIBITMAP* image);
FIBITMAP* ApplyGreyscale(FIBITMAP* image);
FIBITMAP* ApplyThreshold(FIBITMAP* image);
FIBITMAP* ApplyDither(FIBITMAP* image);
FIBITMAP* ApplyFrame(FIBITMAP* image, int width, int height);
FIBITMAP* ApplyWatermark(FIBITMAP* image, int width, int height);

// The image at 24 bits: unchanged when it is, else converted (and released); null passes.
FIBITMAP* To24Bits(FIBITMAP* image);

// Maps a floating-point image (more than 32 bits a pixel) to 24 bits with the pipeline's one
// operator; other images pass unchanged. Images under 32 pixels on a side give null.
FIBITMAP* ApplyToneMapping(FIBITMAP* image);

// The colour of an RRGGBB text (black unless six characters) with alpha attached, packed as
// red + green * 256 + blue * 65536 + alpha * 2^24; alpha is held to 0..255.
uint32_t ParseHexColorAlpha(const std::string& text, int alpha);

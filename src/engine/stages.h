// The optional pixel stages of the pipeline. Each takes ownership of the image it is given,
// returns the image to go on with, releases what it replaces and passes a null image through;
// a stage whose setting is off returns its input unchanged.
#pragma once

#include <FreeImage.h>

FIBITMAP* ApplyRotation(FIBITMAP* image);
FIBITMAP* ApplyResize(FIBITMAP* image, int width, int height);
void ApplyFlip(FIBITMAP* image);  // in place
FIBITMAP* ApplyColorAdjustments(FIBITMAP* image);
FIBITMAP* ApplyGreyscale(FIBITMAP* image);
FIBITMAP* ApplyThreshold(FIBITMAP* image);
FIBITMAP* ApplyDither(FIBITMAP* image);
FIBITMAP* ApplyFrame(FIBITMAP* image, int width, int height);
FIBITMAP* ApplyWatermark(FIBITMAP* image, int width, int height);

// The solid frame painted inside the image, its corners mitred along their diagonals.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas_bridge.h"
#include "image_ptr.h"
#include "settings.h"
#include "stages.h"

namespace {

// 64 bits, so widths anywhere in the settings' range give no overflow in the sums below.
struct Sides {
  int64_t left, right, top, bottom;
};

Sides FrameSides() {
  const auto& frame = gSettings.Frame;
  return {frame.SolidLeft, frame.SolidRight, frame.SolidTop, frame.SolidBottom};
}

std::string Number(int64_t value) {
  return std::to_string(value);
}

// The frame on a transparent canvas of the image's size: the four corner rectangles first,
// then the four sides as quadrilaterals whose ends meet their neighbours along the diagonals.
Canvas DrawFrame(int width, int height) {
  const auto& frame = gSettings.Frame;
  const Sides s = FrameSides();
  const PackedColor top = ParseHexColorAlpha(frame.SolidTopColor, 255),
                    right = ParseHexColorAlpha(frame.SolidRightColor, 255),
                    bottom = ParseHexColorAlpha(frame.SolidBottomColor, 255),
                    left = ParseHexColorAlpha(frame.SolidLeftColor, 255);
  const std::string w = Number(width), h = Number(height), l = Number(s.left), r = Number(s.right),
                    t = Number(s.top), b = Number(s.bottom),
                    across = Number(width - s.left - s.right),
                    down = Number(height - s.top - s.bottom);

  Canvas canvas(width, height);
  Drawing drawing(canvas);
  if (!drawing.ok()) return Canvas(0, 0);
  drawing.FillRectangle(0, 0, s.left, s.top, top);
  drawing.FillRectangle(width - s.right, 0, s.right, s.top, right);
  drawing.FillRectangle(width - s.right, height - s.bottom, s.right, s.bottom, bottom);
  drawing.FillRectangle(0, height - s.bottom, s.left, s.bottom, left);
  // Sides that together are wider than the image write texts such as "--4", which name no
  // figure: those sides keep just their corner rectangles.
  drawing.FillPath("M 0 0 l " + w + " 0 l -" + r + " " + t + " l -" + across + " 0 Z", top);
  drawing.FillPath("M " + w + " 0 l 0 " + h + " l -" + r + " -" + b + " l 0 -" + down + " Z",
                   right);
  drawing.FillPath(
      "M " + w + " " + h + " l -" + w + " 0 l " + l + " -" + b + " l " + across + " 0 Z", bottom);
  drawing.FillPath("M 0 " + h + " l 0 -" + h + " l " + l + " " + t + " l 0 " + down + " Z", left);
  return canvas;
}

// Four disjoint bands along the edges that hold every pixel the frame paints: the top and
// bottom rows across the whole width, the left and right columns between them.
std::vector<PixelArea> FrameBands(int width, int height) {
  const Sides s = FrameSides();
  const int top = static_cast<int>(std::clamp<int64_t>(s.top, 0, height));
  const int bottom = static_cast<int>(std::clamp<int64_t>(s.bottom, 0, height - top));
  const int middle = height - top - bottom;
  const int left = static_cast<int>(std::clamp<int64_t>(s.left, 0, width));
  const int right = static_cast<int>(std::clamp<int64_t>(s.right, 0, width - left));
  return {{0, 0, width, top},
          {0, height - bottom, width, bottom},
          {0, top, left, middle},
          {width - right, top, right, middle}};
}

}  // namespace

FIBITMAP* ApplyFrame(FIBITMAP* image, int width, int height) {
  const auto& frame = gSettings.Frame;
  if (!image || frame.DoFrame == 0) return image;
  image = To24Bits(image);
  if (!image || frame.DoFrame != 1) return image;

  // Only the bands are laid over the image: everywhere else the frame's layer is transparent
  // and would leave the pixels as they are.
  const Canvas canvas = DrawFrame(width, height);
  for (const PixelArea& band : FrameBands(width, height)) {
    ImagePtr layer(CanvasToBitmap(canvas, band, frame.SolidOpacity));
    if (layer) CompositeAt(image, layer.get(), band.left, band.top);
  }
  return image;
}

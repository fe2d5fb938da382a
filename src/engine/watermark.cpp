// The text or picture watermark: its layer turned, cut to the room it has, placed and laid
// over the image.
#include "watermark.h"

#include <algorithm>
#include <cstdint>

#include "canvas_bridge.h"
#include "context.h"
#include "image_ptr.h"
#include "settings.h"
#include "stages.h"
#include "watermark_layer.h"

namespace {

// The placement settings of the watermark's mode.
struct Placement {
  int boundary, position, xOffset, yOffset, rotation;
};

Placement PlacementSettings() {
  const auto& w = gSettings.Watermark;
  if (w.DoWatermark == 1)
    return {w.TextBoundary, w.TextPosition, w.TextXOffset, w.TextYOffset, w.TextRotation};
  return {w.ImageBoundary, w.ImagePosition, w.ImageXOffset, w.ImageYOffset, w.ImageRotation};
}

// The area the layer is placed in: the image, or the inside of the frame. Offsets and frame
// widths come unchecked from files and the command line, so sums of them are taken in 64 bits.
struct Room {
  int64_t left = 0, top = 0, width = 0, height = 0;
};

Room RoomOf(const Placement& placement, int width, int height) {
  const auto& frame = gSettings.Frame;
  if (frame.DoFrame == 0 || placement.boundary != 1) return {0, 0, width, height};
  return {frame.SolidLeft, frame.SolidTop, int64_t{width} - frame.SolidLeft - frame.SolidRight,
          int64_t{height} - frame.SolidTop - frame.SolidBottom};
}

// The top-left corner of a layer of w x h in the room, by the nine positions; offsets count
// from the edges the position names and are not used along a centred axis.
void Place(const Placement& placement, const Room& room, int64_t w, int64_t h, int64_t& x,
           int64_t& y) {
  const int position = placement.position;
  if (position < 0 || position > 8) {
    x = room.left;
    y = room.top;
    return;
  }
  const int column = position % 3, row = position / 3;
  const int64_t xs[] = {placement.xOffset, (room.width - w) / 2,
                        room.width - w - placement.xOffset};
  const int64_t ys[] = {placement.yOffset, (room.height - h) / 2,
                        room.height - h - placement.yOffset};
  x = xs[column] + room.left;
  y = ys[row] + room.top;
}

FIBITMAP* BuildLayer() {
  return gSettings.Watermark.DoWatermark == 1 ? BuildTextLayer() : BuildImageLayer();
}

}  // namespace

bool LoadWatermarkFont() {
  const auto& w = gSettings.Watermark;
  gContext.watermarkFont.reset();
  if (w.DoWatermark != 1) return true;
  FontRequest request;
  request.family = w.Font;
  request.points = w.FontSize;
  request.bold = w.FontStyle == 1 || w.FontStyle == 3;
  request.italic = w.FontStyle == 2 || w.FontStyle == 3;
  request.underline = w.FontEffect == 1;
  request.strikeOut = w.FontEffect == 2;
  gContext.watermarkFont = LoadFont(request);
  return gContext.watermarkFont != nullptr;
}

void ReleaseWatermarkFont() {
  gContext.watermarkFont.reset();
}

FIBITMAP* ApplyWatermark(FIBITMAP* image, int width, int height) {
  const int mode = gSettings.Watermark.DoWatermark;
  if (!image || mode == 0) return image;
  ImagePtr result(To24Bits(image));
  if (!result || (mode != 1 && mode != 2)) return result.release();

  ImagePtr layer(BuildLayer());
  const Placement placement = PlacementSettings();
  if (layer && placement.rotation > 0 && placement.rotation < 360)
    Replace(layer, FreeImage_Rotate(layer.get(), placement.rotation, nullptr));
  if (!layer) return result.release();

  // A layer that reaches past the room keeps its top-left part; one left without room is left
  // out, and the file converts without it.
  const Room room = RoomOf(placement, width, height);
  const int64_t fullWidth = FreeImage_GetWidth(layer.get()),
                fullHeight = FreeImage_GetHeight(layer.get());
  const int64_t w = std::min(fullWidth, room.width - placement.xOffset),
                h = std::min(fullHeight, room.height - placement.yOffset);
  if (w <= 0 || h <= 0) return result.release();
  // A cut only makes the layer smaller, so its sides still fit in int.
  if (w < fullWidth || h < fullHeight)
    Replace(layer, FreeImage_Copy(layer.get(), 0, 0, static_cast<int>(w), static_cast<int>(h)));
  if (!layer) return result.release();

  int64_t x = 0, y = 0;
  Place(placement, room, w, h, x, y);
  // A layer that does not lie wholly inside the image (negative offsets) is left out.
  CompositeAt(result.get(), layer.get(), x, y);
  return result.release();
}

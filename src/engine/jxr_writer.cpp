// JPEG XR files written losslessly with the codec library's own encoder (its glue API).
#include "jxr_writer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "files.h"
#include "image_ptr.h"

// The codec's headers are C that declares most functions without C linkage. FreeImage.h
// defines _WINDOWS_, which makes them declare a 24-byte GUID where the library was built with
// a 16-byte one: every pixel format passed by value then arrives as garbage (FreeImage's own
// JPEG XR plugin fails on exactly this). Hide the macro while they are read.
#pragma push_macro("_WINDOWS_")
#undef _WINDOWS_
extern "C" {
#include <JXRGlue.h>
}
#pragma pop_macro("_WINDOWS_")
static_assert(sizeof(PKPixelFormatGUID) == 16, "JPEG XR GUIDs must match the library's layout");

// The codec's 24- and 32-bit "BGR" formats match FreeImage's memory order only on
// little-endian builds.
static_assert(FREEIMAGE_COLORORDER == FREEIMAGE_COLORORDER_BGR,
              "JPEG XR writer assumes FreeImage's BGR byte order");

namespace {

// The codec stores a float as an integer of (exponent + bias) and a shortened mantissa. Its
// defaults (13 bits, bias 4) lose a third of the value of pixels near 1/4096; IEEE's own
// bias keeps the whole float range, and 16 mantissa bits keep every value to 1 part in
// 2^17. More bits overflow the codec's integers on bright images: it asserts and aborts the
// process (at 23 bits on any image, at 19 on one filled with the largest float).
constexpr U8 kFloatMantissaBits = 16;
constexpr I8 kFloatExponentBias = 127 - 128;  // the encoder adds 128 (in 8 bits) again

// The encoder writes its container header first and patches offsets into it at the end, so it
// needs a stream it can seek in. Encoding into memory also means nothing reaches the disk
// unless the whole image encoded.
struct MemoryStream {
  WMPStream stream{};
  std::vector<uint8_t> bytes;
  size_t position = 0;
};

MemoryStream& Owner(WMPStream* stream) {
  return *static_cast<MemoryStream*>(stream->state.pvObj);
}

// The encoder "closes" its stream when it is released; the memory stays ours.
ERR StreamClose(WMPStream** stream) {
  *stream = nullptr;
  return WMP_errSuccess;
}

Bool StreamAtEnd(WMPStream* stream) {
  const MemoryStream& self = Owner(stream);
  return self.position >= self.bytes.size();
}

ERR StreamRead(WMPStream* stream, void* data, size_t size) {
  MemoryStream& self = Owner(stream);
  if (self.position > self.bytes.size() || size > self.bytes.size() - self.position)
    return WMP_errFileIO;
  std::memcpy(data, self.bytes.data() + self.position, size);
  self.position += size;
  return WMP_errSuccess;
}

ERR StreamWrite(WMPStream* stream, const void* data, size_t size) {
  MemoryStream& self = Owner(stream);
  if (size > SIZE_MAX - self.position) return WMP_errBufferOverflow;
  const size_t end = self.position + size;
  try {  // called from C: no exception may leave
    if (end > self.bytes.size()) self.bytes.resize(end);
  } catch (const std::bad_alloc&) {
    return WMP_errOutOfMemory;
  }
  if (size) std::memcpy(self.bytes.data() + self.position, data, size);
  self.position = end;
  return WMP_errSuccess;
}

ERR StreamSetPos(WMPStream* stream, size_t position) {
  Owner(stream).position = position;
  return WMP_errSuccess;
}

ERR StreamGetPos(WMPStream* stream, size_t* position) {
  *position = Owner(stream).position;
  return WMP_errSuccess;
}

void OpenMemoryStream(MemoryStream& self) {
  self.stream.state.pvObj = &self;
  self.stream.fMem = TRUE;
  self.stream.Close = StreamClose;
  self.stream.EOS = StreamAtEnd;
  self.stream.Read = StreamRead;
  self.stream.Write = StreamWrite;
  self.stream.SetPos = StreamSetPos;
  self.stream.GetPos = StreamGetPos;
}

// Pixels ready for the encoder: rows top first, in the memory layout of format.
struct EncoderInput {
  const PKPixelFormatGUID* format = nullptr;
  bool grey = false;   // luminance only: coded as one channel
  bool alpha = false;  // coded as a plane of its own
  bool floating = false;
  uint32_t stride = 0;
  std::vector<uint8_t> pixels;
};

// FreeImage keeps rows bottom first; the encoder takes them top first.
const BYTE* TopRow(FIBITMAP* image, unsigned y) {
  return FreeImage_GetScanLine(image, static_cast<int>(FreeImage_GetHeight(image) - 1 - y));
}

void CopyRows(FIBITMAP* image, const PKPixelFormatGUID& format, size_t rowBytes,
              EncoderInput& input) {
  const unsigned height = FreeImage_GetHeight(image);
  input.format = &format;
  input.stride = static_cast<uint32_t>(rowBytes);
  input.pixels.resize(rowBytes * height);
  for (unsigned y = 0; y < height; ++y)
    std::memcpy(&input.pixels[rowBytes * y], TopRow(image, y), rowBytes);
}

bool IsGrey(const RGBQUAD& c) {
  return c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue;
}

// Palette images keep their exact colours: black and white stays 1-bit, greys become 8-bit
// grey, colours 24-bit and palettes with transparency 32-bit.
bool GatherPalette(FIBITMAP* image, EncoderInput& input) {
  const unsigned bpp = FreeImage_GetBPP(image);
  const unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
  const RGBQUAD* palette = FreeImage_GetPalette(image);
  const unsigned colours = FreeImage_GetColorsUsed(image);
  if (!palette || colours == 0 || colours > 256u) return false;

  if (FreeImage_IsTransparent(image)) {
    ImagePtr converted(FreeImage_ConvertTo32Bits(image));
    if (!converted) return false;
    CopyRows(converted.get(), GUID_PKPixelFormat32bppBGRA, size_t{width} * 4, input);
    input.alpha = true;
    return true;
  }
  bool allGrey = true;
  for (unsigned i = 0; i < colours; ++i)
    allGrey = allGrey && IsGrey(palette[i]);
  if (!allGrey) {
    ImagePtr converted(FreeImage_ConvertTo24Bits(image));
    if (!converted) return false;
    CopyRows(converted.get(), GUID_PKPixelFormat24bppBGR, size_t{width} * 3, input);
    return true;
  }

  input.grey = true;
  const int first = palette[0].rgbRed, second = colours > 1 ? palette[1].rgbRed : -1;
  if (bpp == 1 && first + second == 255 && (first == 0 || second == 0)) {
    // The codec's 1-bit format codes 0 as black: a palette with white first is inverted.
    CopyRows(image, GUID_PKPixelFormatBlackWhite, (size_t{width} + 7) / 8, input);
    if (first == 255)
      for (uint8_t& byte : input.pixels)
        byte = static_cast<uint8_t>(~byte);
    return true;
  }
  // Greys are looked up, not recomputed: a luminance formula can round a grey off by one.
  input.format = &GUID_PKPixelFormat8bppGray;
  input.stride = width;
  input.pixels.resize(size_t{width} * height);
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* line = TopRow(image, y);
    uint8_t* out = &input.pixels[size_t{width} * y];
    for (unsigned x = 0; x < width; ++x) {
      unsigned index = bpp == 8   ? line[x]
                       : bpp == 4 ? (line[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0f
                                  : (line[x / 8] >> (7 - x % 8)) & 1;
      out[x] = palette[index < colours ? index : 0].rgbRed;
    }
  }
  return true;
}

// The codec has a 96-bit RGB float format in its tables but reads its rows with the wrong
// pixel size; its 128-bit RGB float format carries a fourth, unused float instead.
void GatherRgbFloat(FIBITMAP* image, EncoderInput& input) {
  const unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
  input.format = &GUID_PKPixelFormat128bppRGBFloat;
  input.floating = true;
  input.stride = width * 16u;
  input.pixels.assign(size_t{input.stride} * height, 0);
  for (unsigned y = 0; y < height; ++y) {
    const FIRGBF* line = reinterpret_cast<const FIRGBF*>(TopRow(image, y));
    uint8_t* out = &input.pixels[size_t{input.stride} * y];
    for (unsigned x = 0; x < width; ++x)
      std::memcpy(out + x * 16u, &line[x], sizeof(FIRGBF));
  }
}

// The codec rounds mantissas to kFloatMantissaBits, which turns the brightest finite floats
// into infinity; they are clamped to the largest value it keeps finite.
void ClampBrightFloats(EncoderInput& input) {
  const float largest = std::ldexp(2.0f - std::ldexp(1.0f, -kFloatMantissaBits), 127);
  for (size_t at = 0; at + sizeof(float) <= input.pixels.size(); at += sizeof(float)) {
    float value;
    std::memcpy(&value, &input.pixels[at], sizeof value);
    if (std::isfinite(value) && std::fabs(value) > largest) {
      value = std::copysign(largest, value);
      std::memcpy(&input.pixels[at], &value, sizeof value);
    }
  }
}

// Picks the codec's pixel format for image and lays its pixels out for it. False for layouts
// the codec cannot take.
bool GatherPixels(FIBITMAP* image, EncoderInput& input) {
  const unsigned bpp = FreeImage_GetBPP(image);
  const size_t rowBytes = (size_t{FreeImage_GetWidth(image)} * bpp + 7) / 8;
  auto copy = [&](const PKPixelFormatGUID& format) { CopyRows(image, format, rowBytes, input); };

  switch (FreeImage_GetImageType(image)) {
    case FIT_BITMAP:
      switch (bpp) {
        case 8:
          if (FreeImage_GetColorType(image) != FIC_MINISBLACK || FreeImage_IsTransparent(image))
            return GatherPalette(image, input);
          copy(GUID_PKPixelFormat8bppGray);
          input.grey = true;
          return true;
        case 1:
        case 4:
          return GatherPalette(image, input);
        case 16:
          copy(FreeImage_GetGreenMask(image) == FI16_565_GREEN_MASK
                   ? GUID_PKPixelFormat16bppRGB565
                   : GUID_PKPixelFormat16bppRGB555);
          return true;
        case 24:
          copy(GUID_PKPixelFormat24bppBGR);
          return true;
        case 32:
          copy(GUID_PKPixelFormat32bppBGRA);
          input.alpha = true;
          return true;
        default:
          return false;
      }
    case FIT_UINT16:
      copy(GUID_PKPixelFormat16bppGray);
      input.grey = true;
      return true;
    case FIT_FLOAT:
      copy(GUID_PKPixelFormat32bppGrayFloat);
      input.grey = input.floating = true;
      return true;
    case FIT_RGB16:
      copy(GUID_PKPixelFormat48bppRGB);
      return true;
    case FIT_RGBA16:
      copy(GUID_PKPixelFormat64bppRGBA);
      input.alpha = true;
      return true;
    case FIT_RGBF:
      GatherRgbFloat(image, input);
      return true;
    case FIT_RGBAF:
      copy(GUID_PKPixelFormat128bppRGBAFloat);
      input.alpha = input.floating = true;
      return true;
    default:
      return false;
  }
}

// Releases what the glue API handed out, also on the early returns.
struct EncoderSession {
  PKCodecFactory* factory = nullptr;
  PKImageEncode* encoder = nullptr;
  ~EncoderSession() {
    // Release closes the encoder's stream, which only Initialize sets; an encoder without one
    // is still a plain allocation.
    if (encoder && encoder->pStream)
      encoder->Release(&encoder);
    else if (encoder)
      PKFree(reinterpret_cast<void**>(&encoder));
    if (factory) factory->Release(&factory);
  }
};

float DotsPerInch(unsigned dotsPerMetre) {
  return dotsPerMetre ? static_cast<float>(dotsPerMetre) * 0.0254f : 96.0f;
}

bool Encode(FIBITMAP* image, EncoderInput& input, MemoryStream& memory) {
  EncoderSession session;
  if (Failed(PKCreateCodecFactory(&session.factory, WMP_SDK_VERSION)) ||
      Failed(session.factory->CreateCodec(&IID_PKImageWmpEncode,
                                          reinterpret_cast<void**>(&session.encoder))))
    return false;

  // Quantiser 1 on every band and plane is the codec's lossless mode.
  CWMIStrCodecParam params;
  std::memset(&params, 0, sizeof params);
  params.cfColorFormat = input.grey ? Y_ONLY : YUV_444;
  params.bdBitDepth = BD_LONG;
  params.bfBitstreamFormat = SPATIAL;
  params.olOverlap = OL_NONE;  // overlap filtering only pays off when quantising
  params.sbSubband = SB_ALL;
  params.uAlphaMode = input.alpha ? 2 : 0;  // 2: alpha as a plane of its own
  params.uiDefaultQPIndex = 1;
  params.uiDefaultQPIndexAlpha = 1;
  if (input.floating) {
    params.nLenMantissaOrShift = kFloatMantissaBits;
    params.nExpBias = kFloatExponentBias;
  }

  PKImageEncode* encoder = session.encoder;
  const unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
  return !Failed(encoder->Initialize(encoder, &memory.stream, &params, sizeof params)) &&
         !Failed(encoder->SetPixelFormat(encoder, *input.format)) &&
         !Failed(encoder->SetSize(encoder, static_cast<I32>(width), static_cast<I32>(height))) &&
         !Failed(encoder->SetResolution(encoder, DotsPerInch(FreeImage_GetDotsPerMeterX(image)),
                                        DotsPerInch(FreeImage_GetDotsPerMeterY(image)))) &&
         !Failed(encoder->WritePixels(encoder, height, input.pixels.data(), input.stride));
}

}  // namespace

bool SaveJxr(FIBITMAP* image, const std::string& path) {
  if (!image || !FreeImage_HasPixels(image)) return false;
  // The codec takes sizes below 2^28 (and prints a complaint on stdout for others); that also
  // keeps the widest row, 16 bytes a pixel, within its 32-bit stride.
  const unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
  if (width == 0 || height == 0 || width >= (1u << 28) || height >= (1u << 28)) return false;

  MemoryStream memory;
  OpenMemoryStream(memory);
  try {
    EncoderInput input;
    if (!GatherPixels(image, input)) return false;
    if (input.floating) ClampBrightFloats(input);
    if (!Encode(image, input, memory)) return false;
  } catch (const std::bad_alloc&) {  // an image too big to copy fails like any other
    return false;
  }
  return !memory.bytes.empty() && WriteWholeFile(path, memory.bytes.data(), memory.bytes.size());
}

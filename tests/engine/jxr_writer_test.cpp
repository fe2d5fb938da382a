// JPEG XR writer: every input layout round-trips through the reference decoder unchanged.
#include "jxr_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <sstream>

#include "image_libraries.h"
#include "image_ptr.h"
#include "image_readback.h"
#include "temp_folder.h"

namespace {

using Pixel = std::array<double, 4>;  // red, green, blue, alpha as stored (no scaling)

// A value for channel c of pixel (x, y), counted from the top row, that differs between
// neighbours, channels and rows, so a flip, a mirror or a channel swap changes the image.
unsigned Noise(unsigned x, unsigned y, unsigned c) {
  unsigned h = x * 73856093u ^ y * 19349663u ^ (c + 1) * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  return h ^ (h >> 15);
}

// Pixel (x, y) of image, counted from the top row as a decoder sees the file. Palette images
// give their colours, 16-bit RGB its raw 5/6-bit fields.
Pixel Sample(FIBITMAP* image, unsigned x, unsigned yTop) {
  const unsigned y = FreeImage_GetHeight(image) - 1 - yTop;
  const BYTE* line = FreeImage_GetScanLine(image, static_cast<int>(y));
  switch (FreeImage_GetImageType(image)) {
    case FIT_UINT16: {
      const double v = reinterpret_cast<const uint16_t*>(line)[x];
      return {v, v, v, 0};
    }
    case FIT_FLOAT: {
      const double v = reinterpret_cast<const float*>(line)[x];
      return {v, v, v, 0};
    }
    case FIT_RGB16: {
      const FIRGB16& p = reinterpret_cast<const FIRGB16*>(line)[x];
      return {double(p.red), double(p.green), double(p.blue), 0};
    }
    case FIT_RGBA16: {
      const FIRGBA16& p = reinterpret_cast<const FIRGBA16*>(line)[x];
      return {double(p.red), double(p.green), double(p.blue), double(p.alpha)};
    }
    case FIT_RGBF: {
      const FIRGBF& p = reinterpret_cast<const FIRGBF*>(line)[x];
      return {p.red, p.green, p.blue, 0};
    }
    case FIT_RGBAF: {
      const FIRGBAF& p = reinterpret_cast<const FIRGBAF*>(line)[x];
      return {p.red, p.green, p.blue, p.alpha};
    }
    default:
      break;
  }
  const unsigned bpp = FreeImage_GetBPP(image);
  if (bpp <= 8) {
    const unsigned index = bpp == 8   ? line[x]
                           : bpp == 4 ? (line[x / 2] >> ((x & 1) ? 0 : 4)) & 15
                                      : (line[x / 8] >> (7 - x % 8)) & 1;
    const RGBQUAD& c = FreeImage_GetPalette(image)[index];
    const BYTE* alpha = FreeImage_GetTransparencyTable(image);
    const double a = FreeImage_IsTransparent(image) && index < FreeImage_GetTransparencyCount(image)
                         ? alpha[index]
                         : 255;
    return {double(c.rgbRed), double(c.rgbGreen), double(c.rgbBlue), a};
  }
  if (bpp == 16) {
    const unsigned v = reinterpret_cast<const uint16_t*>(line)[x];
    auto field = [v](unsigned mask) { return double((v & mask) >> __builtin_ctz(mask)); };
    return {field(FreeImage_GetRedMask(image)), field(FreeImage_GetGreenMask(image)),
            field(FreeImage_GetBlueMask(image)), 0};
  }
  const BYTE* p = line + x * (bpp / 8);
  return {double(p[FI_RGBA_RED]), double(p[FI_RGBA_GREEN]), double(p[FI_RGBA_BLUE]),
          bpp == 32 ? double(p[FI_RGBA_ALPHA]) : 0};
}

// Fills every pixel of image with Noise, each field within its own range.
void FillNoise(FIBITMAP* image) {
  const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
  const unsigned bpp = FreeImage_GetBPP(image);
  for (unsigned yTop = 0; yTop < h; ++yTop) {
    BYTE* line = FreeImage_GetScanLine(image, static_cast<int>(h - 1 - yTop));
    for (unsigned x = 0; x < w; ++x) {
      auto n = [&](unsigned c) { return Noise(x, yTop, c); };
      // Floats of 16 significant bits (a Radiance pixel has 8) from 1e-6 to 2000: the codec
      // keeps them exactly.
      auto f = [&](unsigned c) { return std::ldexp(float(n(c) & 0xffff), int(n(c) >> 28) - 20); };
      switch (FreeImage_GetImageType(image)) {
        case FIT_UINT16:
          reinterpret_cast<uint16_t*>(line)[x] = uint16_t(n(0));
          break;
        case FIT_FLOAT:
          reinterpret_cast<float*>(line)[x] = f(0);
          break;
        case FIT_RGB16:
          reinterpret_cast<FIRGB16*>(line)[x] = {WORD(n(0)), WORD(n(1)), WORD(n(2))};
          break;
        case FIT_RGBA16:
          reinterpret_cast<FIRGBA16*>(line)[x] = {WORD(n(0)), WORD(n(1)), WORD(n(2)), WORD(n(3))};
          break;
        case FIT_RGBF:
          reinterpret_cast<FIRGBF*>(line)[x] = {f(0), f(1), f(2)};
          break;
        case FIT_RGBAF:
          reinterpret_cast<FIRGBAF*>(line)[x] = {f(0), f(1), f(2), f(3)};
          break;
        default:
          if (bpp == 1)
            line[x / 8] = BYTE((line[x / 8] & ~(0x80 >> x % 8)) | ((n(0) & 1) << (7 - x % 8)));
          else if (bpp == 4)
            line[x / 2] = BYTE((x & 1) ? (line[x / 2] & 0xf0) | (n(0) & 15)
                                       : (line[x / 2] & 15) | (n(0) << 4));
          else if (bpp == 16)
            reinterpret_cast<uint16_t*>(line)[x] = uint16_t(n(0));
          else
            for (unsigned c = 0; c < bpp / 8; ++c)
              line[x * (bpp / 8) + c] = BYTE(n(c));
      }
    }
  }
}

ImagePtr Bitmap(unsigned w, unsigned h, unsigned bpp) {
  if (bpp == 16)
    return ImagePtr(FreeImage_Allocate(int(w), int(h), 16, FI16_565_RED_MASK, FI16_565_GREEN_MASK,
                                       FI16_565_BLUE_MASK));
  return ImagePtr(FreeImage_Allocate(int(w), int(h), int(bpp)));
}

struct Layout {
  const char* name;
  std::function<ImagePtr(unsigned, unsigned)> make;
  unsigned width, height;
  const char* decodedAs;  // extension JxrDecApp writes the decoded image in
  FREE_IMAGE_TYPE decodedType;
  unsigned decodedBpp;
  unsigned channels;  // compared: 1 grey, 3 RGB, 4 RGBA
};

void PrintTo(const Layout& layout, std::ostream* os) {
  *os << layout.name;
}

ImagePtr WithNoise(ImagePtr image) {
  FillNoise(image.get());
  return image;
}

const auto kBlackWhite = [](unsigned i) {
  return i ? RGBQUAD{255, 255, 255, 0} : RGBQUAD{0, 0, 0, 0};
};
const auto kWhiteBlack = [](unsigned i) {
  return i ? RGBQUAD{0, 0, 0, 0} : RGBQUAD{255, 255, 255, 0};
};
const auto kGreyRamp = [](unsigned i) {
  BYTE v = BYTE(i);
  return RGBQUAD{v, v, v, 0};
};
const auto kInvertedGreys = [](unsigned i) {
  BYTE v = BYTE(255 - i);
  return RGBQUAD{v, v, v, 0};
};
const auto kTwoGreys = [](unsigned i) {
  BYTE v = BYTE(64 + 128 * i);
  return RGBQUAD{v, v, v, 0};
};
const auto kColours = [](unsigned i) {
  return RGBQUAD{BYTE(i * 7), BYTE(255 - i), BYTE(i * 3 + 1), 0};
};

ImagePtr Palette(unsigned w, unsigned h, unsigned bpp, RGBQUAD (*colour)(unsigned)) {
  ImagePtr image = Bitmap(w, h, bpp);
  for (unsigned i = 0; i < FreeImage_GetColorsUsed(image.get()); ++i)
    FreeImage_GetPalette(image.get())[i] = colour(i);
  FillNoise(image.get());
  return image;
}

ImagePtr Typed(FREE_IMAGE_TYPE type, unsigned w, unsigned h) {
  return WithNoise(ImagePtr(FreeImage_AllocateT(type, int(w), int(h))));
}

const Layout kLayouts[] = {
    {"BlackWhite", [](unsigned w, unsigned h) { return Palette(w, h, 1, kBlackWhite); }, 91, 27,
     "tif", FIT_BITMAP, 1, 1},
    {"WhiteBlackPalette", [](unsigned w, unsigned h) { return Palette(w, h, 1, kWhiteBlack); }, 91,
     27, "tif", FIT_BITMAP, 1, 1},
    {"TwoColourPalette", [](unsigned w, unsigned h) { return Palette(w, h, 1, kColours); }, 91, 27,
     "tif", FIT_BITMAP, 24, 3},
    {"OneBitGreys", [](unsigned w, unsigned h) { return Palette(w, h, 1, kTwoGreys); }, 91, 27,
     "tif", FIT_BITMAP, 8, 1},
    {"FourBitGreys", [](unsigned w, unsigned h) { return Palette(w, h, 4, kInvertedGreys); }, 91,
     27, "tif", FIT_BITMAP, 8, 1},
    {"FourBitColours", [](unsigned w, unsigned h) { return Palette(w, h, 4, kColours); }, 91, 27,
     "tif", FIT_BITMAP, 24, 3},
    {"Grey8", [](unsigned w, unsigned h) { return Palette(w, h, 8, kGreyRamp); }, 91, 27, "tif",
     FIT_BITMAP, 8, 1},
    {"InvertedGreyPalette", [](unsigned w, unsigned h) { return Palette(w, h, 8, kInvertedGreys); },
     91, 27, "tif", FIT_BITMAP, 8, 1},
    {"ColourPalette8", [](unsigned w, unsigned h) { return Palette(w, h, 8, kColours); }, 91, 27,
     "tif", FIT_BITMAP, 24, 3},
    {"TransparentPalette",
     [](unsigned w, unsigned h) {
       ImagePtr image = Palette(w, h, 8, kGreyRamp);
       BYTE alpha[256];
       for (unsigned i = 0; i < 256; ++i)
         alpha[i] = BYTE(i * 5);
       FreeImage_SetTransparencyTable(image.get(), alpha, 256);
       return image;
     },
     91, 27, "tif", FIT_BITMAP, 32, 4},
    {"Rgb565", [](unsigned w, unsigned h) { return WithNoise(Bitmap(w, h, 16)); }, 91, 27, "bmp",
     FIT_BITMAP, 16, 3},
    {"Rgb555",
     [](unsigned w, unsigned h) {
       return WithNoise(ImagePtr(FreeImage_Allocate(int(w), int(h), 16, FI16_555_RED_MASK,
                                                    FI16_555_GREEN_MASK, FI16_555_BLUE_MASK)));
     },
     91, 27, "bmp", FIT_BITMAP, 16, 3},
    {"Bgr24", [](unsigned w, unsigned h) { return WithNoise(Bitmap(w, h, 24)); }, 91, 27, "tif",
     FIT_BITMAP, 24, 3},
    {"Bgr24OnePixel", [](unsigned w, unsigned h) { return WithNoise(Bitmap(w, h, 24)); }, 1, 1,
     "tif", FIT_BITMAP, 24, 3},
    {"Bgra32", [](unsigned w, unsigned h) { return WithNoise(Bitmap(w, h, 32)); }, 91, 27, "tif",
     FIT_BITMAP, 32, 4},
    {"Bgra32Large", [](unsigned w, unsigned h) { return WithNoise(Bitmap(w, h, 32)); }, 403, 131,
     "tif", FIT_BITMAP, 32, 4},
    {"Rgb16", [](unsigned w, unsigned h) { return Typed(FIT_RGB16, w, h); }, 91, 27, "tif",
     FIT_RGB16, 48, 3},
    {"Rgba16", [](unsigned w, unsigned h) { return Typed(FIT_RGBA16, w, h); }, 91, 27, "tif",
     FIT_RGBA16, 64, 4},
    {"RgbFloat", [](unsigned w, unsigned h) { return Typed(FIT_RGBF, w, h); }, 91, 27, "tif",
     FIT_RGBF, 96, 3},
    {"RgbaFloat", [](unsigned w, unsigned h) { return Typed(FIT_RGBAF, w, h); }, 91, 27, "tif",
     FIT_RGBAF, 128, 4},
    {"Grey16", [](unsigned w, unsigned h) { return Typed(FIT_UINT16, w, h); }, 91, 27, "tif",
     FIT_UINT16, 16, 1},
    {"GreyFloat", [](unsigned w, unsigned h) { return Typed(FIT_FLOAT, w, h); }, 91, 27, "tif",
     FIT_FLOAT, 32, 1},
};

class JxrWriter : public ::testing::TestWithParam<Layout> {
 protected:
  void SetUp() override { InitialiseImageLibraries(); }
  TempFolder folder;
};

TEST_P(JxrWriter, DecodesToTheSamePixelsUpright) {
  const Layout& layout = GetParam();
  ImagePtr image = layout.make(layout.width, layout.height);
  ASSERT_TRUE(image);
  const std::string path = folder / "out.jxr";

  // The codec prints some complaints on stdout; none may reach the console.
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const bool saved = SaveJxr(image.get(), path);
  std::fflush(nullptr);
  const std::string printed =
      testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
  ASSERT_TRUE(saved);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(ReadFileBytes(path).substr(0, 4), std::string("II\xBC\x01", 4)) << "JPEG XR signature";

  const std::string decoded = folder / (std::string("decoded.") + layout.decodedAs);
  int code = -1;
  const std::string log = RunCommand(
      "JxrDecApp -i " + ShellQuote(path) + " -o " + ShellQuote(decoded) + " 2>&1", &code);
  ASSERT_EQ(code, 0) << log;
  ImagePtr back(FreeImage_Load(FreeImage_GetFileType(decoded.c_str()), decoded.c_str()));
  ASSERT_TRUE(back) << "FreeImage cannot read " << decoded;
  ASSERT_EQ(FreeImage_GetWidth(back.get()), layout.width);
  ASSERT_EQ(FreeImage_GetHeight(back.get()), layout.height);
  EXPECT_EQ(FreeImage_GetImageType(back.get()), layout.decodedType);
  ASSERT_EQ(FreeImage_GetBPP(back.get()), layout.decodedBpp);
  if (layout.decodedBpp == 16) {
    EXPECT_EQ(FreeImage_GetGreenMask(back.get()), FreeImage_GetGreenMask(image.get()))
        << "5-6-5 or 5-5-5";
  }

  // Lossless: every stored value comes back exactly.
  unsigned wrong = 0;
  for (unsigned y = 0; y < layout.height; ++y)
    for (unsigned x = 0; x < layout.width; ++x) {
      const Pixel want = Sample(image.get(), x, y), got = Sample(back.get(), x, y);
      for (unsigned c = 0; c < layout.channels; ++c)
        if (want[c] != got[c] && wrong++ < 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << c << ": want " << want[c]
                        << ", got " << got[c];
    }
  EXPECT_EQ(wrong, 0u);
}

INSTANTIATE_TEST_SUITE_P(Layouts, JxrWriter, ::testing::ValuesIn(kLayouts),
                         [](const auto& test) { return std::string(test.param.name); });

// ImageMagick reads JPEG XR here through the same decoder, handed over as PNM, so only for
// the pixel formats the decoder writes as PNM; it must see the size we wrote.
TEST(JxrWriterIdentify, SeesTheSize) {
  InitialiseImageLibraries();
  for (const Layout& layout : kLayouts) {
    const bool asPnm =
        (layout.decodedType == FIT_BITMAP && (layout.decodedBpp == 8 || layout.decodedBpp == 24)) ||
        layout.decodedType == FIT_RGB16 || layout.decodedType == FIT_RGBF;
    if (!asPnm) continue;
    SCOPED_TRACE(layout.name);
    TempFolder folder;
    ImagePtr image = layout.make(layout.width, layout.height);
    ASSERT_TRUE(SaveJxr(image.get(), folder / "out.jxr"));
    std::ostringstream size;
    size << layout.width << " " << layout.height;
    EXPECT_EQ(Identify(folder / "out.jxr", "%w %h"), size.str());
  }
}

// Floats keep 17 significant bits (the codec cannot hold all 24) over the whole float range,
// and no value, however bright, may abort the encoder.
TEST(JxrWriterFloats, KeepSeventeenBitsAndSurviveExtremes) {
  InitialiseImageLibraries();
  const float kMax = std::numeric_limits<float>::max(),
              kInf = std::numeric_limits<float>::infinity();
  const float extremes[] = {kInf,
                            -kInf,
                            std::numeric_limits<float>::quiet_NaN(),
                            kMax,
                            -kMax,
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::denorm_min(),
                            0.0f,
                            -0.0f,
                            1.0f};
  for (FREE_IMAGE_TYPE type : {FIT_RGBF, FIT_RGBAF, FIT_FLOAT}) {
    for (const bool plainBright : {false, true}) {
      SCOPED_TRACE(std::to_string(int(type)) + (plainBright ? " plain bright" : " full mantissas"));
      ImagePtr image(FreeImage_AllocateT(type, 67, 45));
      const unsigned channels = type == FIT_RGBF ? 3 : type == FIT_RGBAF ? 4 : 1;
      for (unsigned y = 0; y < 45; ++y) {
        float* line = reinterpret_cast<float*>(FreeImage_GetScanLine(image.get(), int(44 - y)));
        for (unsigned i = 0; i < 67 * channels; ++i) {
          const unsigned n = Noise(i, y, 7);
          const float mantissa = 1.0f + float(n & 0x7fffff) / 8388608.0f;  // all 24 bits used
          line[i] =
              plainBright ? kMax
              : y == 0 && i < std::size(extremes)
                  ? extremes[i]
                  : std::ldexp(n & 0x80000000u ? -mantissa : mantissa, int(n >> 23 & 0xff) - 127);
        }
      }
      TempFolder folder;
      ASSERT_TRUE(SaveJxr(image.get(), folder / "out.jxr"));
      int code = -1;
      RunCommand("JxrDecApp -i " + (folder / "out.jxr") + " -o " + (folder / "out.tif") +
                     " >/dev/null 2>&1",
                 &code);
      ASSERT_EQ(code, 0);
      ImagePtr back(FreeImage_Load(FIF_TIFF, (folder / "out.tif").c_str()));
      ASSERT_TRUE(back);
      ASSERT_EQ(FreeImage_GetImageType(back.get()), type);
      unsigned wrong = 0;
      for (unsigned y = 0; y < 45; ++y)
        for (unsigned x = 0; x < 67; ++x) {
          const Pixel want = Sample(image.get(), x, y), got = Sample(back.get(), x, y);
          for (unsigned c = 0; c < channels; ++c) {
            const double tolerance =
                std::max(std::fabs(want[c]) / (1 << 17), std::ldexp(1.0, -143));
            const bool same = std::isnan(want[c])   ? std::isnan(got[c])
                              : std::isinf(want[c]) ? got[c] == want[c]
                                                    : std::fabs(got[c] - want[c]) <= tolerance;
            if (!same && wrong++ < 5)
              ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << c << ": want "
                            << want[c] << ", got " << got[c];
          }
        }
      EXPECT_EQ(wrong, 0u);
    }
  }
}

struct Refusal {
  const char* name;
  std::function<ImagePtr()> make;
  std::string (*path)(const TempFolder&);
};

std::string InFolder(const TempFolder& folder) {
  return folder / "out.jxr";
}
std::string InMissingFolder(const TempFolder& folder) {
  return folder / "missing/out.jxr";
}
std::string AtAFolder(const TempFolder& folder) {
  return folder.path();
}

// Paths that cannot be written and layouts the codec has no format for fail quietly, leaving
// nothing behind.
TEST(JxrWriterRefuses, FailsWithoutLeavingAFile) {
  const Refusal refusals[] = {
      {"missing folder", [] { return WithNoise(Bitmap(91, 27, 24)); }, InMissingFolder},
      {"path is a folder", [] { return WithNoise(Bitmap(91, 27, 24)); }, AtAFolder},
      {"double pixels", [] { return ImagePtr(FreeImage_AllocateT(FIT_DOUBLE, 9, 9)); }, InFolder},
      {"complex pixels", [] { return ImagePtr(FreeImage_AllocateT(FIT_COMPLEX, 9, 9)); }, InFolder},
      {"signed 32-bit pixels", [] { return ImagePtr(FreeImage_AllocateT(FIT_INT32, 9, 9)); },
       InFolder},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.name);
    TempFolder folder;
    ImagePtr image = refusal.make();
    ASSERT_TRUE(image);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveJxr(image.get(), refusal.path(folder)));
    std::fflush(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(ListFolder(folder.path()).empty()) << "a file was left behind";
  }
  EXPECT_FALSE(SaveJxr(nullptr, "/tmp/never-written.jxr"));
}

}  // namespace

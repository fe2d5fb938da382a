// The Radiance header check, the test writer's files read back by FreeImage, and the
// orientation pattern through tone mapping.
#include "radiance_header.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "bad_radiance.h"
#include "files.h"
#include "image_ptr.h"
#include "radiance_patterns.h"
#include "radiance_writer.h"
#include "temp_folder.h"

namespace {

const char kHead[] = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n";

// The colour at (x, y) of a 24- or 32-bit FreeImage bitmap, y = 0 the top row (FreeImage
// keeps the bottom row first in memory).
PixelAt TopDownPixels(FIBITMAP* image) {
  return [image](int x, int y) {
    const unsigned height = FreeImage_GetHeight(image);
    const BYTE* p = FreeImage_GetScanLine(image, static_cast<int>(height) - 1 - y) +
                    x * (FreeImage_GetBPP(image) / 8);
    return Rgb8{p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE]};
  };
}

// The gradient with a few pixels the encoder must treat specially: black, negative, NaN, and
// a run of equal pixels long enough for run-length runs in the mantissas.
FloatImage RoundTripImage(int width, int height) {
  FloatImage image = MakeHdrGradient(width, height);
  const float special[][3] = {{0, 0, 0}, {-1.0f, 2.0f, 0.5f}, {NAN, 1.0f, 1.0f}};
  for (int i = 0; i < 3 && i < width * height; ++i)
    for (int c = 0; c < 3; ++c)
      image.rgb[static_cast<size_t>(i) * 3 + c] = special[i][c];
  for (int x = width / 3; x < width / 3 + 20 && x < width; ++x) {
    float* p = image.At(x, height - 1);
    p[0] = 3.0f, p[1] = 0.25f, p[2] = 1000.0f;
  }
  return image;
}

// Scanlines of runs only: the fewest bytes a run-length file of this size can have.
std::string MinimalRleScanlines(int width, int height) {
  std::string line = {2, 2, static_cast<char>(width >> 8), static_cast<char>(width & 0xFF)};
  for (int channel = 0; channel < 4; ++channel)
    for (int left = width; left > 0; left -= 127) {
      line += static_cast<char>(128 + (left < 127 ? left : 127));
      line += '\0';
    }
  std::string all;
  all.reserve(line.size() * height);
  for (int y = 0; y < height; ++y)
    all += line;
  return all;
}

// ---------------------------------------------------------------------------------------
// The writer's files read back by FreeImage.

struct RoundTripCase {
  int width, height;
  Scanlines scanlines;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.width << "x" << c.height << (c.scanlines == Scanlines::Rle ? " rle" : " flat");
}

class RadianceRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RadianceRoundTrip, FreeImageReadsBackEveryPixel) {
  const RoundTripCase c = GetParam();
  TempFolder folder;
  const std::string path = folder / "round.hdr";
  const FloatImage image = RoundTripImage(c.width, c.height);
  ASSERT_TRUE(WriteRadiance(path, image, c.scanlines));
  // Wider than the check's bound, the file is still one FreeImage reads (flat).
  EXPECT_EQ(CheckRadianceHeader(path), c.width <= kRadianceMaxSide);

  ImagePtr loaded(FreeImage_Load(FIF_HDR, path.c_str(), 0));
  ASSERT_TRUE(loaded);
  ASSERT_EQ(FreeImage_GetImageType(loaded.get()), FIT_RGBF);
  ASSERT_EQ(static_cast<int>(FreeImage_GetWidth(loaded.get())), c.width);
  ASSERT_EQ(static_cast<int>(FreeImage_GetHeight(loaded.get())), c.height);
  int wrong = 0;
  for (int y = 0; y < c.height && wrong < 5; ++y) {
    const auto* row =
        reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(loaded.get(), c.height - 1 - y));
    for (int x = 0; x < c.width && wrong < 5; ++x) {
      const float* original = image.At(x, y);
      float expected[3];
      RgbeToFloat(FloatToRgbe(original), expected);
      const float got[3] = {row[x].red, row[x].green, row[x].blue};
      float clamped[3];
      for (int i = 0; i < 3; ++i)
        clamped[i] = original[i] > 0 ? original[i] : 0.0f;
      const float tolerance = RgbeTolerance(clamped);
      for (int i = 0; i < 3; ++i) {
        if (got[i] == expected[i] && std::fabs(got[i] - clamped[i]) <= tolerance) continue;
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << i << ": read " << got[i]
                      << ", wrote " << original[i] << ", RGBE gives " << expected[i];
        ++wrong;
        break;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, RadianceRoundTrip,
    ::testing::Values(RoundTripCase{1, 1, Scanlines::Flat}, RoundTripCase{1, 1, Scanlines::Rle},
                      RoundTripCase{7, 3, Scanlines::Flat}, RoundTripCase{7, 3, Scanlines::Rle},
                      RoundTripCase{8, 2, Scanlines::Rle}, RoundTripCase{91, 27, Scanlines::Flat},
                      RoundTripCase{91, 27, Scanlines::Rle},
                      RoundTripCase{403, 511, Scanlines::Flat},
                      RoundTripCase{403, 511, Scanlines::Rle},
                      RoundTripCase{32767, 2, Scanlines::Rle},
                      RoundTripCase{32768, 2, Scanlines::Rle}));

TEST(RadianceWriter, RunLengthScanlinesOnlyWhereTheFormatAllowsThem) {
  // Every scanline of an RLE file starts with its marker and the width.
  const FloatImage image = RoundTripImage(91, 27);
  const std::string rle = EncodeRadianceScanlines(image, Scanlines::Rle);
  const std::string flat = EncodeRadianceScanlines(image, Scanlines::Flat);
  ASSERT_EQ(flat.size(), 91u * 27 * 4);
  EXPECT_EQ(rle.substr(0, 4), std::string("\x02\x02\x00\x5b", 4));
  EXPECT_LT(rle.size(), flat.size());

  // A flat-coloured image is almost all runs: a few bytes per channel and scanline.
  FloatImage even(1000, 4);
  for (float& v : even.rgb)
    v = 2.5f;
  EXPECT_EQ(EncodeRadianceScanlines(even, Scanlines::Rle).size(), 4u * (4 + 4 * 8 * 2));

  // Too narrow or too wide for runs: the same bytes as flat.
  for (int width : {7, 32768}) {
    const FloatImage line = MakeHdrGradient(width, 1);
    EXPECT_EQ(EncodeRadianceScanlines(line, Scanlines::Rle),
              EncodeRadianceScanlines(line, Scanlines::Flat))
        << width;
  }
}

TEST(RadianceWriter, RgbeEncodingOfSpecialValues) {
  struct Case {
    float rgb[3];
    Rgbe expected;
  };
  const Case cases[] = {
      {{1.0f, 0.5f, 0.25f}, {128, 64, 32, 129}},
      {{0.0f, 0.0f, 0.0f}, {0, 0, 0, 0}},
      {{-3.0f, 1.0f, NAN}, {0, 128, 0, 129}},
      {{1e-35f, 0.0f, 0.0f}, {0, 0, 0, 0}},         // below the smallest exponent
      {{3e38f, 1.0f, 0.0f}, {255, 255, 255, 255}},  // above the largest: saturated
      {{INFINITY, 1.0f, 0.0f}, {255, 255, 255, 255}},
      {{5000.0f, 0.001f, 1.0f}, {156, 0, 0, 141}},
  };
  for (const Case& c : cases) {
    const Rgbe got = FloatToRgbe(c.rgb);
    EXPECT_EQ((std::vector<int>{got.r, got.g, got.b, got.e}),
              (std::vector<int>{c.expected.r, c.expected.g, c.expected.b, c.expected.e}))
        << c.rgb[0] << " " << c.rgb[1] << " " << c.rgb[2];
  }
}

// ---------------------------------------------------------------------------------------
// The orientation pattern survives the program's tone mapping.

TEST(RadianceOrientation, QuadrantsStayInPlaceThroughFattalToneMapping) {
  TempFolder folder;
  for (const RoundTripCase& c :
       {RoundTripCase{32, 32, Scanlines::Flat}, RoundTripCase{91, 64, Scanlines::Rle},
        RoundTripCase{403, 511, Scanlines::Rle}}) {
    SCOPED_TRACE(::testing::PrintToString(c));
    const std::string path = folder / "pattern.hdr";
    ASSERT_TRUE(WriteRadiance(path, MakeOrientationPattern(c.width, c.height), c.scanlines));
    ImagePtr hdr(FreeImage_Load(FIF_HDR, path.c_str(), 0));
    ASSERT_TRUE(hdr);
    ImagePtr mapped(FreeImage_TmoFattal02(hdr.get(), 0.5, 0.85));
    ASSERT_TRUE(mapped);
    ASSERT_EQ(FreeImage_GetBPP(mapped.get()), 24u);
    EXPECT_EQ(CheckOrientation(TopDownPixels(mapped.get()), c.width, c.height), "");

    // The check sees what goes wrong: upside down, or red and blue exchanged.
    FreeImage_FlipVertical(mapped.get());
    EXPECT_EQ(QuadrantLayout(TopDownPixels(mapped.get()), c.width, c.height), "BYRG");
    EXPECT_NE(CheckOrientation(TopDownPixels(mapped.get()), c.width, c.height), "");
    FreeImage_FlipVertical(mapped.get());
    const PixelAt swapped = [&](int x, int y) {
      const Rgb8 p = TopDownPixels(mapped.get())(x, y);
      return Rgb8{p.b, p.g, p.r};
    };
    EXPECT_EQ(QuadrantLayout(swapped, c.width, c.height), "BGR?");
  }
}

// ---------------------------------------------------------------------------------------
// What the header check accepts and refuses.

struct HeaderCase {
  const char* name;
  std::string bytes;
  bool accepted;
  // For accepted files: whether FreeImage then decodes them (some it refuses cleanly).
  bool decodes;
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
  *os << c.name;
}

std::string With(const std::string& head, const std::string& resolution, int width, int height,
                 Scanlines scanlines = Scanlines::Rle) {
  return head + resolution + "\n" +
         EncodeRadianceScanlines(MakeHdrGradient(width, height), scanlines);
}

std::string Valid(int width, int height, Scanlines scanlines = Scanlines::Rle) {
  return EncodeRadiance(MakeHdrGradient(width, height), scanlines);
}

// Signature, comment lines and FORMAT line, blank line included: exactly size bytes.
std::string PaddedHead(size_t size) {
  const std::string tail = "FORMAT=32-bit_rle_rgbe\n\n";
  std::string head = "#?RADIANCE\n";
  while (head.size() + tail.size() + 200 < size)
    head += "# " + std::string(97, 'p') + "\n";
  head += "# " + std::string(size - head.size() - tail.size() - 3, 'p') + "\n";
  return head + tail;
}

std::string Mixed64x4() {
  const std::string rle = EncodeRadianceScanlines(MakeHdrGradient(64, 1), Scanlines::Rle);
  const std::string flat = EncodeRadianceScanlines(MakeHdrGradient(64, 1), Scanlines::Flat);
  return RadianceHeaderText(64, 4) + rle + flat + flat + rle;
}

// A valid 64 x 1 file whose first scanline's red channel is replaced by channel.
std::string RedChannel64(const std::string& channel) {
  std::string bytes = RadianceHeaderText(64, 1) + std::string("\x02\x02\x00\x40", 4) + channel;
  for (int c = 0; c < 3; ++c)
    bytes += std::string("\xc0\x80", 2);  // a run of 64
  return bytes;
}

std::vector<HeaderCase> HeaderCases() {
  std::vector<HeaderCase> cases = {
      {"rle 64x8", Valid(64, 8), true, true},
      {"flat 64x8", Valid(64, 8, Scanlines::Flat), true, true},
      {"flat 5x3, too narrow for runs", Valid(5, 3), true, true},
      {"rle and flat scanlines mixed", Mixed64x4(), true, true},
      {"#?RGBE signature", With("#?RGBE\nFORMAT=32-bit_rle_rgbe\n\n", "-Y 8 +X 64", 64, 8), true,
       true},
      {"usual header lines",
       With("#?RADIANCE\n# Made by a renderer\nSOFTWARE=ra_ppm -r\nEXPOSURE=0\nGAMMA=2.2\n"
            "PRIMARIES=0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329\nFORMAT=32-bit_rle_rgbe\n\n",
            "-Y 8 +X 64", 64, 8),
       true, true},
      {"254 characters in a header line",
       With("#?RADIANCE\n# " + std::string(252, 'c') + "\nFORMAT=32-bit_rle_rgbe\n\n", "-Y 8 +X 64",
            64, 8),
       true, true},
      {"header of 64 KiB", With(PaddedHead(64 * 1024 - 11), "-Y 8 +X 64", 64, 8), true, true},
      {"blanks in the resolution line", With(kHead, "-Y  8 \t+X   64  ", 64, 8), true, true},
      {"bytes after the last scanline", Valid(64, 8) + "trailing bytes", true, true},
      {"no FORMAT line", With("#?RADIANCE\n\n", "-Y 8 +X 64", 64, 8), true, false},
      {"FORMAT xyze", With("#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n", "-Y 8 +X 64", 64, 8), true,
       false},

      {"FORMAT of another kind", With("#?RADIANCE\nFORMAT=ascii\n\n", "-Y 8 +X 64", 64, 8), false,
       false},
      {"NUL byte in a header line",
       With(std::string("#?RADIANCE\nGAMMA=1") + '\0' + "\nFORMAT=32-bit_rle_rgbe\n\n",
            "-Y 8 +X 64", 64, 8),
       false, false},
      {"header over 64 KiB", With(PaddedHead(64 * 1024 - 10), "-Y 8 +X 64", 64, 8), false, false},
      {"+Y: rows from the bottom", With(kHead, "+Y 8 +X 64", 64, 8), false, false},
      {"-X: pixels from the right", With(kHead, "-Y 8 -X 64", 64, 8), false, false},
      {"columns first", With(kHead, "+X 64 -Y 8", 64, 8), false, false},
      {"sign before a size", With(kHead, "-Y +8 +X 64", 64, 8), false, false},
      {"blank before the resolution", With(kHead, " -Y 8 +X 64", 64, 8), false, false},
      {"words after the resolution", With(kHead, "-Y 8 +X 64 extra", 64, 8), false, false},
      {"size beyond 32-bit", With(kHead, "-Y 4294967304 +X 64", 64, 8), false, false},
      {"height above 32767", With(kHead, "-Y 32768 +X 8", 8, 2), false, false},
      {"width above 32767, flat data complete", With(kHead, "-Y 1 +X 32768", 32768, 1), false,
       false},
      {"pixels above the bound (16384 x 8193)",
       kHead + std::string("-Y 8193 +X 16384\n") + MinimalRleScanlines(16384, 8193), false, false},
      {"run past the scanline", RedChannel64(std::string("\xc1\x05", 2)), false, false},
      {"zero-length dump", RedChannel64(std::string("\x00\x01", 2)), false, false},
      {"dump past the scanline", RedChannel64(std::string("\x41", 1) + std::string(65, '\1')),
       false, false},
      {"scanline marker with another width",
       RadianceHeaderText(64, 1) + std::string("\x02\x02\x00\x41", 4) +
           std::string("\xc0\x80\xc0\x80\xc0\x80\xc0\x80", 8),
       false, false},
      {"runs fill the claim exactly",
       kHead + std::string("-Y 3 +X 381\n") + MinimalRleScanlines(381, 3), true, true},
      {"runs one scanline short",
       kHead + std::string("-Y 3 +X 381\n") + MinimalRleScanlines(381, 2), false, false},
  };
  for (BadRadiance kind : AllBadRadiance())
    cases.push_back({BadRadianceName(kind), MakeBadRadiance(kind), false, false});
  return cases;
}

class RadianceHeaderCheck : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(RadianceHeaderCheck, Verdict) {
  const HeaderCase& c = GetParam();
  TempFolder folder;
  const std::string path = folder / "case.hdr";
  ASSERT_TRUE(WriteBytes(path, c.bytes));
  ASSERT_EQ(CheckRadianceHeader(path), c.accepted);
  if (!c.accepted) return;
  // Whatever passes must be safe for the decoder (the sanitizer build runs this too).
  ImagePtr image(FreeImage_Load(FIF_HDR, path.c_str(), 0));
  EXPECT_EQ(image != nullptr, c.decodes);
}

std::string CaseName(const ::testing::TestParamInfo<HeaderCase>& param) {
  std::string name;
  for (const char* p = param.param.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, RadianceHeaderCheck, ::testing::ValuesIn(HeaderCases()), CaseName);

TEST(RadianceHeaderCheckCuts, EveryTruncationIsRefused) {
  // FreeImage reports a file cut within its last pixel or literal dump as loaded, with
  // uninitialised pixels: the check must see the data is incomplete.
  TempFolder folder;
  const std::string path = folder / "cut.hdr";
  for (Scanlines scanlines : {Scanlines::Rle, Scanlines::Flat}) {
    for (int width : {5, 40}) {
      const std::string whole = EncodeRadiance(RoundTripImage(width, 3), scanlines);
      ASSERT_TRUE(WriteBytes(path, whole));
      ASSERT_TRUE(CheckRadianceHeader(path));
      for (size_t length = 0; length < whole.size(); ++length) {
        ASSERT_TRUE(WriteBytes(path, whole.substr(0, length)));
        EXPECT_FALSE(CheckRadianceHeader(path))
            << width << (scanlines == Scanlines::Rle ? " rle" : " flat") << " cut to " << length
            << " of " << whole.size() << " bytes";
      }
    }
  }
}

TEST(RadianceHeaderCheckCuts, MissingFileAndFolderAreRefused) {
  TempFolder folder;
  EXPECT_FALSE(CheckRadianceHeader(folder / "missing.hdr"));
  EXPECT_FALSE(CheckRadianceHeader(folder.path()));
}

// ---------------------------------------------------------------------------------------
// Real files from other programs.

struct RealFile {
  const char* name;
  int width, height;
  bool accepted;
};

TEST(RadianceRealFiles, AcceptedAndDecodedExceptTheBadSignature) {
  if (!IsFolder(LUMAPORT_REAL_HDR))
    GTEST_SKIP() << "no folder of real files at " << LUMAPORT_REAL_HDR;
  const RealFile files[] = {
      {"newport_loft.hdr", 1600, 800, true},  {"rad_vase.hdr", 1024, 1024, true},
      {"rad_flower.hdr", 525, 525, true},     {"mx_goegap_irradiance.hdr", 256, 128, true},
      {"imagers_scale.hdr", 256, 8, true},    {"imagers_rgbr4x4.hdr", 4, 4, true},
      {"kde_rgb-portrait.hdr", 32, 64, true}, {"kde_fake_earth_badmagic.hdr", 32, 32, false},
  };
  for (const RealFile& file : files) {
    SCOPED_TRACE(file.name);
    const std::string path = std::string(LUMAPORT_REAL_HDR) + "/" + file.name;
    ASSERT_EQ(CheckRadianceHeader(path), file.accepted);
    if (!file.accepted) continue;
    ImagePtr image(FreeImage_Load(FIF_HDR, path.c_str(), 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(static_cast<int>(FreeImage_GetWidth(image.get())), file.width);
    EXPECT_EQ(static_cast<int>(FreeImage_GetHeight(image.get())), file.height);
  }
}

}  // namespace

// Every format at every allowed depth, written from a known picture and read back by
// independent readers: size, depth, orientation and red/blue order.
#include "output_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <thread>

#include "context.h"
#include "devil_save.h"
#include "encoding.h"
#include "formats.h"
#include "image_libraries.h"
#include "image_ptr.h"
#include "image_readback.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

// Quadrant colours, top row first: red | green over blue | yellow. Their grey levels differ,
// so greyscale and black-and-white outputs still show which quadrant went where.
const uint8_t kQuadrants[4][3] = {{230, 20, 20}, {20, 200, 20}, {20, 20, 230}, {240, 230, 30}};

int Quadrant(int x, int y, int w, int h) {
  return (y >= h / 2) * 2 + (x >= w / 2);
}

ImagePtr QuadrantPicture(int w, int h) {
  ImagePtr image(FreeImage_Allocate(w, h, 24));
  for (int y = 0; y < h; ++y) {
    BYTE* p = FreeImage_GetScanLine(image.get(), h - 1 - y);  // FreeImage rows are bottom-up
    for (int x = 0; x < w; ++x, p += 3) {
      const uint8_t* c = kQuadrants[Quadrant(x, y, w, h)];
      p[FI_RGBA_RED] = c[0], p[FI_RGBA_GREEN] = c[1], p[FI_RGBA_BLUE] = c[2];
    }
  }
  return image;
}

// FreeImage's grey conversions weigh the channels as Rec. 709 does.
template <typename T>
double Luma(const T* c) {
  return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
}

// sRGB encoding of a linear level, as ImageMagick shows the float formats it takes for linear.
double ToSrgb(double level) {
  double v = level / 255.0;
  v = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
  return 255.0 * v;
}

// Colour: the quadrant colours; Linear: the same read as linear light; Grey: their grey levels;
// BlackWhite: dithered, so only the block's grey level is compared.
enum class Kind { Colour, Linear, Grey, BlackWhite };

struct Case {
  const char* ext;
  int depth;
  Kind kind;
  int tolerance;  // per channel on the average of a block around each quadrant centre
  // What ImageMagick's identify says of the file's sample depth and channels ("%z %[channels]"),
  // or nullptr where it cannot read the file (16-bit icons; JPEG XR, decoded by JxrDecApp).
  const char* identify;
};

std::string Name(const Case& c) {
  return std::string(c.ext) + "_" + std::to_string(c.depth);
}
void PrintTo(const Case& c, std::ostream* out) {
  *out << Name(c);
}

// Average colour of the 9 x 9 block around the centre of quadrant q.
void BlockAverage(const RgbImage& image, int q, double out[3]) {
  const int cx = (q % 2) * image.width / 2 + image.width / 4;
  const int cy = (q / 2) * image.height / 2 + image.height / 4;
  int sum[3] = {0, 0, 0};
  for (int y = cy - 4; y <= cy + 4; ++y)
    for (int x = cx - 4; x <= cx + 4; ++x)
      for (int i = 0; i < 3; ++i)
        sum[i] += image.At(x, y)[i];
  for (int i = 0; i < 3; ++i)
    out[i] = sum[i] / 81.0;
}

class OutputWriter : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    InitialiseImageLibraries();
    ResetSettings(true);
    gContext = ConversionContext{};
  }
};

TEST_P(OutputWriter, WritesAFileIndependentReadersSeeUpright) {
  const Case& c = GetParam();
  TempFolder dir;
  const int w = std::string(c.ext) == "ico" ? 48 : 91, h = std::string(c.ext) == "ico" ? 48 : 67;
  PrepareOutputFormat(c.ext);
  gContext.outputFormat.bitsPerPixel = c.depth;
  gContext.outputFormat.automaticDepth = false;
  ImagePtr image(ConvertToOutputDepth(QuadrantPicture(w, h).release()));
  ASSERT_TRUE(image);
  const std::string path = dir / ("out." + std::string(c.ext));
  ASSERT_TRUE(WriteOutputFile(image.get(), path)) << LastImageLibraryMessage();

  RgbImage back = ReadBack(path);
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_EQ(back.width, w);
  EXPECT_EQ(back.height, h);
  if (c.identify) {
    EXPECT_EQ(Identify(path, "%z %[channels]"), c.identify);
  }
  for (int q = 0; q < 4; ++q) {
    SCOPED_TRACE("quadrant " + std::to_string(q));
    double got[3];
    BlockAverage(back, q, got);
    const uint8_t* want = kQuadrants[q];
    switch (c.kind) {
      case Kind::Colour:
        for (int i = 0; i < 3; ++i)
          EXPECT_NEAR(got[i], want[i], c.tolerance + 1e-9) << "channel " << i;
        break;
      case Kind::Linear:
        for (int i = 0; i < 3; ++i)
          EXPECT_NEAR(got[i], ToSrgb(want[i]), c.tolerance) << "channel " << i;
        break;
      case Kind::Grey:
        for (int i = 0; i < 3; ++i)
          EXPECT_NEAR(got[i], Luma(want), c.tolerance + 1e-9) << "channel " << i;
        break;
      case Kind::BlackWhite:
        EXPECT_NEAR(Luma(got), Luma(want), c.tolerance);
        break;
    }
  }
}

const Case kCases[] = {
    {"bmp", 1, Kind::BlackWhite, 50, "1 srgb"},  {"bmp", 4, Kind::Grey, 12, "4 srgb"},
    {"bmp", 8, Kind::Colour, 0, "8 srgb"},       {"bmp", 16, Kind::Colour, 8, "8 srgb"},
    {"bmp", 24, Kind::Colour, 0, "8 srgb"},      {"bmp", 32, Kind::Colour, 0, "8 srgba"},
    {"dds", 32, Kind::Colour, 12, "8 srgb"},     {"exr", 96, Kind::Linear, 2, "16 rgba"},
    {"gif", 8, Kind::Colour, 0, "8 srgb"},       {"hdr", 96, Kind::Linear, 3, "16 rgb"},
    {"ico", 1, Kind::BlackWhite, 50, "1 srgba"}, {"ico", 4, Kind::Grey, 12, "4 srgba"},
    {"ico", 8, Kind::Colour, 0, "8 srgba"},      {"ico", 16, Kind::Colour, 8, nullptr},
    {"ico", 24, Kind::Colour, 0, "8 srgba"},     {"ico", 32, Kind::Colour, 0, "8 srgba"},
    {"j2k", 8, Kind::Grey, 3, "8 gray"},         {"j2k", 24, Kind::Colour, 3, "8 srgb"},
    {"j2k", 32, Kind::Colour, 3, "8 srgba"},     {"j2k", 48, Kind::Colour, 3, "16 srgb"},
    {"jng", 24, Kind::Colour, 8, "16 srgb"},     {"jng", 32, Kind::Colour, 8, "16 srgb"},
    {"jp2", 8, Kind::Grey, 3, "8 gray"},         {"jp2", 24, Kind::Colour, 3, "8 srgb"},
    {"jp2", 32, Kind::Colour, 3, "8 srgba"},     {"jp2", 48, Kind::Colour, 3, "16 srgb"},
    {"jpg", 8, Kind::Grey, 4, "8 gray"},         {"jpg", 24, Kind::Colour, 8, "8 srgb"},
    {"jxr", 1, Kind::BlackWhite, 50, nullptr},   {"jxr", 8, Kind::Grey, 1, nullptr},
    {"jxr", 16, Kind::Colour, 8, nullptr},       {"jxr", 24, Kind::Colour, 0, nullptr},
    {"jxr", 32, Kind::Colour, 0, nullptr},       {"jxr", 48, Kind::Colour, 1, nullptr},
    {"jxr", 96, Kind::Colour, 2, nullptr},       {"pbm", 1, Kind::BlackWhite, 50, "1 gray"},
    {"pcx", 24, Kind::Colour, 0, "8 srgb"},      {"pfm", 96, Kind::Colour, 2, "32 srgb"},
    {"pgm", 8, Kind::Grey, 1, "8 gray"},         {"png", 1, Kind::BlackWhite, 50, "8 gray"},
    {"png", 4, Kind::Grey, 12, "8 srgb"},        {"png", 8, Kind::Colour, 0, "8 srgb"},
    {"png", 24, Kind::Colour, 0, "8 srgb"},      {"png", 32, Kind::Colour, 0, "8 srgb"},
    {"png", 48, Kind::Colour, 1, "16 srgb"},     {"ppm", 24, Kind::Colour, 0, "8 srgb"},
    {"ppm", 48, Kind::Colour, 1, "16 srgb"},     {"psd", 32, Kind::Colour, 0, "8 srgb"},
    {"tga", 8, Kind::Colour, 0, "8 srgb"},       {"tga", 16, Kind::Colour, 8, "5 srgb"},
    {"tga", 24, Kind::Colour, 0, "8 srgb"},      {"tga", 32, Kind::Colour, 0, "8 srgba"},
    {"tiff", 1, Kind::BlackWhite, 50, "1 gray"}, {"tiff", 4, Kind::Grey, 12, "4 srgb"},
    {"tiff", 8, Kind::Colour, 0, "8 srgb"},      {"tiff", 24, Kind::Colour, 0, "8 srgb"},
    {"tiff", 32, Kind::Colour, 0, "8 srgba"},    {"tiff", 48, Kind::Colour, 1, "16 srgb"},
    {"tiff", 96, Kind::Colour, 2, "32 srgb"},    {"wbmp", 1, Kind::BlackWhite, 50, "16 srgb"},
    {"webp", 24, Kind::Colour, 0, "8 srgb"},     {"webp", 32, Kind::Colour, 0, "8 srgb"},
    {"xpm", 24, Kind::Colour, 0, "8 srgb"},
};

INSTANTIATE_TEST_SUITE_P(AllDepths, OutputWriter, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           return Name(param.param);
                         });

}  // namespace

namespace {

class SaveFlags : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseImageLibraries();
    ResetSettings(true);
    gContext = ConversionContext{};
  }

  // Writes the quadrant picture (with some texture, so compression has work) as ext at
  // depth with the current settings; returns the path.
  std::string Write(const std::string& ext, int depth, const std::string& name,
                    bool texture = true) {
    PrepareOutputFormat(ext);
    gContext.outputFormat.bitsPerPixel = depth;
    gContext.outputFormat.automaticDepth = false;
    ImagePtr picture = QuadrantPicture(160, 120);
    for (int y = 0; y < 120 && texture; ++y) {
      BYTE* p = FreeImage_GetScanLine(picture.get(), y);
      for (int x = 0; x < 160 * 3; ++x)
        p[x] = static_cast<BYTE>(p[x] ^ ((x * 7 + y * 13) & 31));
    }
    ImagePtr image(ConvertToOutputDepth(picture.release()));
    const std::string path = dir_ / (name + "." + ext);
    EXPECT_TRUE(image && WriteOutputFile(image.get(), path)) << name;
    return path;
  }

  TempFolder dir_;
};

size_t SizeOf(const std::string& path) {
  return ReadFileBytes(path).size();
}

TEST_F(SaveFlags, JpegQualityChromaAndSaveAs) {
  auto& out = gSettings.Output;
  out.JPGQuality = 95;
  const std::string fine = Write("jpg", 24, "q95");
  out.JPGQuality = 20;
  const std::string coarse = Write("jpg", 24, "q20");
  EXPECT_GT(SizeOf(fine), SizeOf(coarse) * 2);

  const std::pair<int, const char*> chroma[] = {
      {0, "1x1,1x1,1x1"}, {1, "2x1,1x1,1x1"}, {2, "2x2,1x1,1x1"}, {3, "4x1,1x1,1x1"}};
  for (const auto& [value, factors] : chroma) {
    out.JPGChroma = value;
    EXPECT_EQ(
        Identify(Write("jpg", 24, "chroma" + std::to_string(value)), "%[jpeg:sampling-factor]"),
        factors);
  }
  out.JPGChroma = 0;
  const std::pair<int, const char*> saveAs[] = {{0, "None"}, {1, "None"}, {2, "None"}, {3, "JPEG"}};
  for (const auto& [value, interlace] : saveAs) {
    out.JPGSaveAs = value;
    EXPECT_EQ(Identify(Write("jpg", 24, "save" + std::to_string(value)), "%[interlace]"),
              interlace);
  }
  // Optimised Huffman tables make a smaller file of the same picture; baseline leaves out
  // the JFIF marker segment.
  EXPECT_LT(SizeOf(dir_ / "save2.jpg"), SizeOf(dir_ / "save0.jpg"));
  EXPECT_EQ(ReadFileBytes(dir_ / "save0.jpg").substr(6, 4), "JFIF");
  EXPECT_NE(ReadFileBytes(dir_ / "save1.jpg").substr(6, 4), "JFIF");
}

TEST_F(SaveFlags, PngCompressionAndInterlacing) {
  auto& out = gSettings.Output;
  size_t sizes[4];
  for (int level = 0; level < 4; ++level) {
    out.PNGCompression = level;
    sizes[level] = SizeOf(Write("png", 24, "z" + std::to_string(level)));
  }
  EXPECT_GT(sizes[0], sizes[1]);
  EXPECT_GE(sizes[1], sizes[3]);
  EXPECT_EQ(Identify(dir_ / "z3.png", "%[interlace]"), "None");
  out.PNGInterlaced = 1;
  EXPECT_EQ(Identify(Write("png", 24, "adam7"), "%[interlace]"), "PNG");
}

TEST_F(SaveFlags, TiffCompressions) {
  // identify names PackBits and LogLuv both "RLE"; the photometric tag tells LogLuv apart.
  const std::tuple<int, int, const char*> cases[] = {
      {0, 24, "None RGB"}, {1, 1, "Fax min-is-black"}, {2, 1, "Group4 min-is-black"},
      {3, 24, "RLE RGB"},  {4, 24, "Zip RGB"},         {5, 24, "Zip RGB"},
      {6, 24, "LZW RGB"},  {7, 24, "JPEG RGB"},        {8, 96, "RLE LOGLUV"},
  };
  for (const auto& [value, depth, name] : cases) {
    gSettings.Output.TIFFCompression = value;
    const std::string path = Write("tiff", depth, "c" + std::to_string(value));
    EXPECT_EQ(Identify(path, "%C %[tiff:photometric]"), name) << "compression " << value;
    EXPECT_TRUE(ReadBack(path).ok()) << "compression " << value;
  }
}

// With the CMYK colour mode a 32-bit TIFF holds real CMYK values: readers convert them back
// to the picture's colours.
TEST_F(SaveFlags, TiffCmykHoldsConvertedPixels) {
  gSettings.Output.TIFFColorMode = 1;
  const std::string path = Write("tiff", 32, "cmyk", false);
  EXPECT_EQ(Identify(path, "%[colorspace]"), "CMYK");
  RgbImage back = ReadBack(path);
  ASSERT_TRUE(back.ok()) << back.error;
  for (int q = 0; q < 4; ++q) {
    double got[3];
    BlockAverage(back, q, got);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(got[i], kQuadrants[q][i], 2) << q << " " << i;
  }
}

// The value of the "compression" attribute in an OpenEXR header.
int ExrCompression(const std::string& bytes) {
  const std::string key("compression\0compression\0", 24);
  size_t at = bytes.find(key);
  return at == std::string::npos ? -1 : static_cast<uint8_t>(bytes[at + key.size() + 4]);
}

TEST_F(SaveFlags, ExrCompressions) {
  const int stored[] = {0, 3, 4, 5, 6};  // none, zip, piz, pxr24, b44 as the file names them
  for (int value = 0; value < 5; ++value) {
    gSettings.Output.EXRCompression = value;
    EXPECT_EQ(ExrCompression(ReadFileBytes(Write("exr", 96, "e" + std::to_string(value)))),
              stored[value])
        << value;
  }
}

TEST_F(SaveFlags, WebpQualityHundredIsLossless) {
  gSettings.Output.WEBPQuality = 100;
  const std::string lossless = ReadFileBytes(Write("webp", 24, "q100"));
  gSettings.Output.WEBPQuality = 99;
  const std::string lossy = ReadFileBytes(Write("webp", 24, "q99"));
  EXPECT_NE(lossless.find("VP8L"), std::string::npos);
  EXPECT_EQ(lossy.find("VP8L"), std::string::npos);
  EXPECT_NE(lossy.find("VP8 "), std::string::npos);
}

TEST_F(SaveFlags, RleCompressedBmpAndTgaOpenInReaders) {
  gSettings.Output.BMPCompression = 1;
  gSettings.Output.TGACompression = 1;
  for (const auto& [ext, depth] :
       {std::pair<const char*, int>{"bmp", 8}, {"tga", 24}, {"tga", 8}}) {
    const std::string path = Write(ext, depth, "rle" + std::to_string(depth));
    EXPECT_EQ(Identify(path, "%C"), "RLE") << ext << depth;
    RgbImage back = ReadBack(path);
    ASSERT_TRUE(back.ok()) << back.error;
    ImagePtr mine(FreeImage_Load(FreeImage_GetFileType(path.c_str()), path.c_str()));
    EXPECT_TRUE(mine) << ext << " " << LastImageLibraryMessage();
  }
}

// A DDS file carries every mipmap level down to 1 x 1.
TEST_F(SaveFlags, DdsHasAFullMipmapChain) {
  const std::string bytes = ReadFileBytes(Write("dds", 32, "mips"));
  ASSERT_GT(bytes.size(), 128u);
  ASSERT_EQ(bytes.substr(0, 4), "DDS ");
  auto u32 = [&](size_t at) {
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
  };
  EXPECT_EQ(u32(12), 120u);  // height
  EXPECT_EQ(u32(16), 160u);  // width
  EXPECT_EQ(u32(28), 8u);    // 160, 80, 40, 20, 10, 5, 2, 1
  EXPECT_EQ(Identify(dir_ / "mips.dds", "%w %h %C"), "160 120 DXT1");
}

}  // namespace

namespace {

// libtiff warns on stderr about the Deflate codec it is asked for; the console shows only the
// program's own lines.
TEST_F(SaveFlags, TiffWritesNothingToTheConsole) {
  gSettings.Output.TIFFCompression = 4;  // Deflate: libtiff warns about its legacy codec id
  EXPECT_EQ(CaptureOutput(2, [this] { Write("tiff", 24, "quiet"); }), "");
}

}  // namespace

namespace {

// DevIL hangs when two threads use it at once; saves from two threads must simply queue.
TEST(DevilSave, TwoThreadsAtOnceBothFinish) {
  InitialiseImageLibraries();
  TempFolder dir;
  auto work = [&dir](const char* name) {
    ImagePtr picture(FreeImage_ConvertTo32Bits(QuadrantPicture(64, 48).get()));
    for (int i = 0; i < 5; ++i)
      EXPECT_TRUE(SaveWithDevil(picture.get(), 0x0439, dir / (name + std::to_string(i) + ".psd")));
  };
  std::thread first(work, "a"), second(work, "b");
  first.join();
  second.join();
  EXPECT_EQ(ListFolder(dir.path()).size(), 10u);
}

}  // namespace

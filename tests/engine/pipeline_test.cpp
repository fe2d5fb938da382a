// One Radiance file through the whole pipeline: every format at its automatic depth, the
// icon limit, failures that must leave nothing behind, and the real files beside the checkout.
#include "pipeline.h"

#include <gtest/gtest.h>

#include <cmath>

#include "context.h"
#include "encoding.h"
#include "files.h"
#include "identity.h"
#include "image_libraries.h"
#include "image_readback.h"
#include "radiance_writer.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

// Red | green over blue | yellow, each quadrant spanning 0.01 to 1000 from left to right, so
// the tone mapper has real range to compress and orientation and channel order still show.
FloatImage HdrQuadrants(int w, int h) {
  static const float base[4][3] = {
      {1, 0.05f, 0.05f}, {0.05f, 1, 0.05f}, {0.05f, 0.05f, 1}, {1, 1, 0.05f}};
  FloatImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int q = (y >= h / 2) * 2 + (x >= w / 2);
      const float level = std::pow(10.0f, -2.0f + 5.0f * float(x % (w / 2 + 1)) / float(w / 2));
      for (int i = 0; i < 3; ++i)
        image.At(x, y)[i] = base[q][i] * level;
    }
  return image;
}

// Which channel leads in the 5 x 5 block at the centre of quadrant q ("r", "g", "b", "rg").
std::string Dominant(const RgbImage& image, int q) {
  const int cx = (q % 2) * image.width / 2 + image.width / 4;
  const int cy = (q / 2) * image.height / 2 + image.height / 4;
  double sum[3] = {0, 0, 0};
  for (int y = cy - 2; y <= cy + 2; ++y)
    for (int x = cx - 2; x <= cx + 2; ++x)
      for (int i = 0; i < 3; ++i)
        sum[i] += image.At(x, y)[i];
  const double top = std::max(sum[0], std::max(sum[1], sum[2]));
  std::string lead;
  for (int i = 0; i < 3; ++i)
    if (sum[i] > 0.8 * top) lead += "rgb"[i];
  return lead;
}

class Pipeline : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseImageLibraries();
    ResetSettings(true);
    gContext = ConversionContext{};
    gContext.outputFolder = out_.path();
  }

  // Converts input to ext with the current settings.
  bool Convert(const std::string& input, const std::string& ext) {
    PrepareOutputFormat(ext);
    gContext.inputPath = input;
    return ConvertFile();
  }

  std::string WriteInput(const std::string& name, const FloatImage& image) {
    const std::string path = in_ / name;
    EXPECT_TRUE(WriteRadiance(path, image));
    return path;
  }

  TempFolder in_, out_;
};

TEST_F(Pipeline, DefaultPngIsSixteenBitsPerChannelNamedAfterTheInput) {
  const std::string input = WriteInput("Sunset.hdr", HdrQuadrants(91, 67));
  ASSERT_TRUE(Convert(input, "png")) << LastImageLibraryMessage();
  EXPECT_EQ(gContext.sourceDepth, 96);
  EXPECT_EQ(gContext.outputPath, out_ / "Sunset.png");
  EXPECT_EQ(ListFolder(out_.path()), std::vector<std::string>{"Sunset.png"});
  EXPECT_EQ(Identify(gContext.outputPath, "%w %h %z %[channels]"), "91 67 16 srgb");
}

// Every format at its automatic depth: a file that an independent reader opens, of the right
// size, upright, with red and blue where they belong.
TEST_F(Pipeline, EveryFormatAtItsAutomaticDepth) {
  const std::string input = WriteInput("pattern.hdr", HdrQuadrants(96, 64));
  const std::string square = WriteInput("square.hdr", HdrQuadrants(64, 64));
  for (const std::string& ext : OutputExtensions()) {
    SCOPED_TRACE(ext);
    const bool icon = ext == "ico";
    ASSERT_TRUE(Convert(icon ? square : input, ext)) << LastImageLibraryMessage();
    EXPECT_EQ(gContext.outputFormat.bitsPerPixel, ResolveAutomaticDepth(ext, 96));
    RgbImage back = ReadBack(gContext.outputPath);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.width, icon ? 64 : 96);
    EXPECT_EQ(back.height, 64);
    if (ext == "pbm" || ext == "wbmp" || ext == "pgm") continue;  // no colour to compare
    EXPECT_EQ(Dominant(back, 0), "r");
    EXPECT_EQ(Dominant(back, 1), "g");
    EXPECT_EQ(Dominant(back, 2), "b");
    EXPECT_EQ(Dominant(back, 3), "rg");
  }
  // Only the outputs are left: no temporary file of any save path.
  EXPECT_EQ(ListFolder(out_.path()).size(), OutputExtensions().size());
}

TEST_F(Pipeline, IconsAreLimitedTo128Pixels) {
  ASSERT_TRUE(Convert(WriteInput("wide.hdr", HdrQuadrants(300, 200)), "ico"));
  EXPECT_EQ(gContext.namingWidth, 128);
  EXPECT_EQ(gContext.namingHeight, 128);
  EXPECT_EQ(Identify(gContext.outputPath, "%w %h"), "128 128");
  // A small icon keeps its size; a small image that is not square cannot be an icon.
  ASSERT_TRUE(Convert(WriteInput("small.hdr", HdrQuadrants(32, 32)), "ico"));
  EXPECT_EQ(Identify(gContext.outputPath, "%w %h"), "32 32");
  EXPECT_FALSE(Convert(WriteInput("strip.hdr", HdrQuadrants(100, 50)), "ico"));
  EXPECT_FALSE(PathExists(out_ / "strip.ico"));
}

TEST_F(Pipeline, AnExistingOutputIsReplacedOnEverySavePath) {
  const std::string input = WriteInput("x.hdr", HdrQuadrants(40, 32));
  gSettings.Output.BMPBPP = 8;
  gSettings.Output.BMPColorTable = 1;
  for (const char* ext : {"png", "psd", "bmp"}) {
    SCOPED_TRACE(ext);
    const std::string path = out_ / ("x." + std::string(ext));
    ASSERT_TRUE(WriteWholeFile(path, "old", 3));
    ASSERT_TRUE(Convert(input, ext));
    EXPECT_GT(FileSize(path), 3);
    EXPECT_TRUE(ReadBack(path).ok());
  }
  EXPECT_EQ(ListFolder(out_.path()).size(), 3u);
}

TEST_F(Pipeline, AFailedSaveKeepsTheOldOutputAndLeavesNoTemporaryFile) {
  const std::string input = WriteInput("strip.hdr", HdrQuadrants(100, 50));
  const std::string old = out_ / "strip.ico";
  ASSERT_TRUE(WriteWholeFile(old, "precious", 8));
  EXPECT_FALSE(Convert(input, "ico"));  // not square: the icon writer refuses it
  EXPECT_EQ(ReadFileBytes(old), "precious");
  EXPECT_EQ(ListFolder(out_.path()), std::vector<std::string>{"strip.ico"});

  // FreeImage's GIF writer fails on a 24-bit image after it has begun the file: the partial
  // temporary file goes too.
  gSettings.Output.GIFBPP = 24;
  EXPECT_FALSE(Convert(input, "gif"));
  EXPECT_EQ(ListFolder(out_.path()), std::vector<std::string>{"strip.ico"});

  // An output folder that does not exist: every save path fails without leaving anything.
  gContext.outputFolder = out_ / "missing/";
  for (const char* ext : {"png", "dds", "jxr", "bmp"})
    EXPECT_FALSE(Convert(input, ext)) << ext;
  EXPECT_FALSE(PathExists(out_ / "missing"));
}

// Broken inputs: false, nothing written, an existing output untouched, no crash.
TEST_F(Pipeline, MalformedInputsWriteNothing) {
  const std::string good = EncodeRadiance(HdrQuadrants(64, 16), Scanlines::Rle);
  const std::pair<const char*, std::string> inputs[] = {
      {"empty", ""},
      {"not radiance", "P6\n2 2\n255\n............"},
      {"header only", RadianceHeaderText(64, 16)},
      {"truncated", good.substr(0, good.size() / 2)},
      {"negative size",
       "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y -5 +X 10\n" + std::string(200, 'x')},
      {"huge claim", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2000000000 +X 2000000000\n" +
                         std::string(64, '\2')},
      {"garbage", std::string(4096, '\xA5')},
  };
  const std::string old = out_ / "broken.png";
  ASSERT_TRUE(WriteWholeFile(old, "old", 3));
  for (const auto& [name, bytes] : inputs) {
    SCOPED_TRACE(name);
    const std::string path = in_ / "broken.hdr";
    ASSERT_TRUE(WriteBytes(path, bytes));
    gContext.outputPath = "previous";
    EXPECT_FALSE(Convert(path, "png"));
    EXPECT_EQ(gContext.outputPath, "previous") << "no name is computed for an unreadable file";
    EXPECT_EQ(ReadFileBytes(old), "old");
    EXPECT_EQ(ListFolder(out_.path()).size(), 1u);
  }
  EXPECT_FALSE(Convert(in_ / "does-not-exist.hdr", "png"));
}

// FreeImage's tone mapper refuses images under 32 pixels on a side; such a file fails cleanly.
TEST_F(Pipeline, ImagesTooSmallToToneMapFail) {
  const std::pair<int, int> sizes[] = {{31, 40}, {40, 31}, {1, 1}, {7, 3}, {2000, 2}};
  for (const auto& [w, h] : sizes) {
    EXPECT_FALSE(Convert(WriteInput("tiny.hdr", HdrQuadrants(w, h)), "png")) << w << "x" << h;
  }
  EXPECT_TRUE(ListFolder(out_.path()).empty());
  ASSERT_TRUE(Convert(WriteInput("least.hdr", HdrQuadrants(32, 32)), "png"));
}

TEST_F(Pipeline, EnsureOutputFolderCreatesEachLevel) {
  gContext.relativeFolder = "a/b/";
  EnsureOutputFolder();
  EXPECT_TRUE(IsFolder(out_ / "a/b/"));
  gSettings.Advanced.KeepSubfolders = 1;
  ASSERT_TRUE(Convert(WriteInput("deep.hdr", HdrQuadrants(32, 32)), "png"));
  EXPECT_EQ(gContext.outputPath, out_ / "a/b/deep.png");
  EXPECT_TRUE(IsFile(gContext.outputPath));
}

// Real pictures from public repositories: all but three convert with the defaults; FreeImage's
// tone mapper refuses two of them and one has no Radiance signature.
TEST_F(Pipeline, RealFiles) {
  const std::string folder = std::string(LUMAPORT_REAL_HDR) + "/";
  if (!IsFolder(folder)) GTEST_SKIP() << "no folder of real files at " << folder;
  const std::pair<const char*, bool> files[] = {
      {"newport_loft.hdr", true},     {"rad_vase.hdr", true},
      {"rad_flower.hdr", true},       {"mx_goegap_irradiance.hdr", true},
      {"kde_rgb-portrait.hdr", true}, {"imagers_scale.hdr", false},
      {"imagers_rgbr4x4.hdr", false}, {"kde_fake_earth_badmagic.hdr", false},
  };
  for (const auto& [name, converts] : files) {
    for (const char* ext : {"png", "jpg"}) {
      SCOPED_TRACE(std::string(name) + " to " + ext);
      const std::string output =
          out_ / (std::string(name).substr(0, std::string(name).rfind('.')) + "." + ext);
      EXPECT_EQ(Convert(folder + name, ext), converts) << LastImageLibraryMessage();
      EXPECT_EQ(PathExists(output), converts);
      if (converts) {
        EXPECT_TRUE(ReadBack(output).ok());
      }
    }
  }
}

}  // namespace

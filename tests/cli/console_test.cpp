// The real lumaport binary on generated inputs: its lines, its exit codes, its files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>

#include "bitmaps.h"
#include "files.h"
#include "identity.h"
#include "image_readback.h"
#include "instance_lock.h"
#include "radiance_writer.h"
#include "temp_folder.h"

namespace {

struct Result {
  std::string out, err;
  int code = -1;
};

FloatImage Scene(int w, int h) {
  FloatImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int i = 0; i < 3; ++i)
        image.At(x, y)[i] =
            std::pow(10.0f, -3.0f + 6.0f * float(x + y) / float(w + h)) * (0.5f + 0.25f * i);
  return image;
}

class Console : public ::testing::Test {
 protected:
  // Runs lumaport with args (a shell fragment) in the folder dir_.
  Result Run(const std::string& args) { return RunAs("", args); }

  // The same behind prefix, a command that runs it as another user.
  Result RunAs(const std::string& prefix, const std::string& args) {
    Result result;
    const std::string err = "/tmp/lumaport-console-" + std::to_string(getpid()) + ".stderr";
    result.out =
        RunCommand("cd " + ShellQuote(dir_.path()) + " && " + prefix + ShellQuote(LUMAPORT_BINARY) +
                       " " + args + " 2>" + ShellQuote(err) + " </dev/null",
                   &result.code);
    result.err = ReadFileBytes(err);
    RemoveFile(err);
    return result;
  }

  void Hdr(const std::string& name, int w = 48, int h = 40) {
    const std::string path = dir_ / name;
    for (size_t slash = path.find('/', dir_.path().size()); slash != std::string::npos;
         slash = path.find('/', slash + 1))
      MakeFolder(path.substr(0, slash));
    ASSERT_TRUE(WriteRadiance(path, Scene(w, h)));
  }

  std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> files;
    for (const std::string& name : ListFolder(dir_ / folder)) {
      if (IsFolder(dir_ / (folder + name)))
        for (const std::string& inner : Tree(folder + name + "/"))
          files.push_back(name + "/" + inner);
      else
        files.push_back(name);
    }
    return files;
  }

  TempFolder dir_;
};

const std::string kHeader =
    "Brivanta HDR to IMAGE 2.6\nCopyright (c) 2026 Brivanta. All rights reserved.\n"
    "http://www.brivanta.example/\n \n";

std::string Summary(int imported, int converted) {
  return "Preparing...\nImporting...\nImport complete, new files added: " +
         std::to_string(imported) +
         "\nConverting...\nConversion complete\nFiles converted: " + std::to_string(converted) +
         " of " + std::to_string(imported) + "\n";
}

TEST_F(Console, FolderTreeKeepsItsSubfolders) {
  Hdr("in/a.hdr"), Hdr("in/sub/b.hdr"), Hdr("in/sub/deep/c.HDRI"), Hdr("in/skip.txt");
  MakeFolder(dir_ / "out");
  Result r = Run("-i in -o out -c png");
  EXPECT_EQ(r.out, kHeader + Summary(3, 3));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(Tree("out/"), (std::vector<std::string>{"a.png", "sub/b.png", "sub/deep/c.png"}));
  EXPECT_EQ(Identify(dir_ / "out/sub/deep/c.png", "%w %h"), "48 40");
}

TEST_F(Console, FolderTreeFlattenedWithoutSubfolders) {
  Hdr("in/a.hdr"), Hdr("in/sub/b.hdr");
  MakeFolder(dir_ / "out");
  Result r = Run("-i ./in/ -o out --no-subfolders -c jpg -q");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(Tree("out/"), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(Console, SingleFileWritesNextToItself) {
  Hdr("shot.hdr");
  Result r = Run("-i shot.hdr");
  EXPECT_EQ(r.out, kHeader + Summary(1, 1));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(Identify(dir_ / "shot.bmp", "%m %w %h"), "BMP3 48 40") << "bmp is the default";
}

TEST_F(Console, ListFile) {
  Hdr("in/a.hdr"), Hdr("in/b.hdr"), Hdr("tree/x/c.hdr");
  const std::string list = "\xEF\xBB\xBF" + dir_.path() + "in/a.hdr  \r\n\r\n  " + dir_.path() +
                           "missing.hdr\r\n" + dir_.path() + "tree\r\nin/b.hdr";
  ASSERT_TRUE(WriteBytes(dir_ / "list.LST", list));
  MakeFolder(dir_ / "out");
  Result r = Run("-i list.LST -o out -c png");
  EXPECT_EQ(r.out, kHeader + Summary(3, 3));
  EXPECT_EQ(Tree("out/"), (std::vector<std::string>{"a.png", "b.png", "c.png"}));
}

TEST_F(Console, ErrorLines) {
  Hdr("in/a.hdr");
  ASSERT_TRUE(WriteBytes(dir_ / "empty.hdr", ""));
  MakeFolder(dir_ / "in.set");
  const std::pair<const char*, const char*> cases[] = {
      {"-i missing.hdr", "Error: Invalid input file"},
      {"-i empty.hdr", "Error: Invalid input file"},
      {"-i in.set", "Error: Invalid input file"},
      {"-i ../x/", "Error: Incorrect input folder"},
      {"-i nowhere", "Error: Invalid input folder"},
      {"-i in -o ../x", "Error: Incorrect output folder"},
      {"-i in -o nowhere", "Error: Invalid output folder"},
      {"-i in -c PNG", "Error: Invalid conversion type"},
      {"-i in -c png --png-bpp=12", "Error: Invalid png-bpp value"},
      {"-i in -c tiff --tiff-bpp=16", "Error: Invalid tiff-bpp value"},
      {"-i in -c jpg --jpg-quality=0", "Error: Invalid jpg-quality value"},
      {"-i in -c webp --webp-quality=101", "Error: Invalid webp-quality value"},
      {"-i in --height=10", "Error: Invalid width value"},
      {"-i in --width=10", "Error: Invalid height value"},
      {"-i in --brightness=101", "Error: Invalid brightness value"},
      {"-i in --contrast=-101", "Error: Invalid contrast value"},
      {"-i in --gamma=10", "Error: Invalid gamma value"},
      {"-i in --gamma=0.001", "Error: Invalid gamma value"},
      {"-i in --gamma=nan", "Error: Invalid gamma value"},
      {"-i in --wm-text=Hi --wm-font=NoSuchFontAnywhere", "Error: Invalid watermark font"},
      {"-i in --wm-image=missing.png", "Error: Invalid watermark image"},
      {"-i", "Error: Incorrect number of parameters"},
      {"--jpg-quality -i in", "Error: Incorrect number of parameters"},
      {"--profile=missing.ini -i in", "Error: Invalid profile file"},
  };
  for (const auto& [args, line] : cases) {
    SCOPED_TRACE(args);
    Result r = Run(std::string(args) + " -q");
    EXPECT_EQ(r.err, std::string(line) + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.code, 1);
  }
  EXPECT_EQ(ListFolder(dir_ / "in"), std::vector<std::string>{"a.hdr"}) << "nothing was written";
}

TEST_F(Console, GammaLimitsPass) {
  Hdr("in/a.hdr");
  for (const char* gamma : {"0.01", "9.99"})
    EXPECT_EQ(Run(std::string("-i in -q --gamma=") + gamma).code, 0);
}

TEST_F(Console, NothingImported) {
  ASSERT_TRUE(WriteBytes(dir_ / "photo.jpg", "not really"));
  Result r = Run("-i photo.jpg");
  EXPECT_EQ(r.out, kHeader + "Preparing...\nImporting...\nImport complete, new files added: 0\n");
  EXPECT_EQ(
      r.err,
      "Conversion stopped\nNo input file(s) found. Please, add valid file(s) and try again!\n");
  EXPECT_EQ(r.code, 1);
}

TEST_F(Console, FailedFilesAreCountedAndReported) {
  Hdr("in/a.hdr"), Hdr("in/c.hdr");
  ASSERT_TRUE(WriteBytes(dir_ / "in/b.hdr", "#?RADIANCE\n\n-Y 5 +X 5\nbroken"));
  Result r = Run("-i in -c png");
  EXPECT_EQ(r.out, kHeader + Summary(3, 2));
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(Run("-i in -c png -q").out, "") << "quiet mode prints nothing at all here";

  Result none = Run("-i in/b.hdr -c png");
  EXPECT_EQ(none.err, "Conversion stopped\n");
  EXPECT_EQ(none.code, 2);
}

TEST_F(Console, DebugEchoesTheSettings) {
  Hdr("in/a.hdr");
  Result r =
      Run("-i in -c png -q -d --png-compression=zlib6 --rotation=90 --width=50 --height=50 "
          "--brightness=5 --fr-solid-left=3 --fr-solid-top-color=FF0000 --file-timestamp=custom "
          "--file-timestamp-custom=1600000000 --wm-text=\"Hi %width%\" --wm-font-style=bold "
          "--wm-text-position=topleft");
  const std::string in = dir_.path() + "in/";
  EXPECT_EQ(
      r.out,
      "Input: in\nOutput: " + in +
          "\nConversion: png\nPNG BPP: 0\nPNG Compression: PIZ\n"
          "PNG Interlaced: 0\nImage Rotation Type: SIMPLE\nImage Rotation: 90\n"
          "Image Rotation Back Color: 000000\nWidth: 50 PIXELS\nHeight: 50 PIXELS\n"
          "Keep Aspect Ratio: 0\nImage Resize Type: ALLIMAGES\nImage Resize Algorithm: BICUBIC\n"
          "Flip Horizontal: 0\nFlip Vertical: 0\nBrightness: 5\nContrast: 0\nGamma: 1.00\nInvert: "
          "0\n"
          "Greyscale: 0\nFrame: SOLID\nFrame left: 3\nFrame right: 0\nFrame top: 0\nFrame bottom: "
          "0\n"
          "Frame left color: 000000\nFrame right color: 000000\nFrame top color: FF0000\n"
          "Frame bottom color: 000000\nFrame opacity: 255\nWatermark: TEXT\n"
          "Watermark text: Hi %width%\nWatermark font: Arial\nWatermark font size: 14\n"
          "Watermark font leading: 0\nWatermark font color: FFFFFF\nWatermark font style: BOLD\n"
          "Watermark font effect: NONE\nWatermark text antialiasing: 0\n"
          "Watermark text alignment: LEFT\nWatermark text padding: 0\nWatermark text opacity: 255\n"
          "Watermark background color: 000000\nWatermark background opacity: 1\n"
          "Watermark boundary: IMAGE\nWatermark position: TOPLEFT\nWatermark offset (x/y): 10/10\n"
          "Watermark rotation: 0\nWatermark size/mode: FIXED\n"
          "Filename Mask: %filename%.%ext%\nFile Timestamp: CUSTOM\nCustom Timestamp: 1600000000\n"
          "Keep Subfolders: 1\nProcessing: " +
          in +
          "a.hdr\nFile Format: [ERROR] UNRECOGNIZED\n"
          "[OK] Saving As: " +
          in + "a.png\n");
  EXPECT_EQ(r.code, 0);
}

TEST_F(Console, DebugEchoOfAnImageWatermark) {
  Hdr("in/a.hdr");
  ASSERT_TRUE(WriteBytes(dir_ / "logo.png", "not empty"));
  Result r = Run(
      "-i in -q -d --wm-image=logo.png --wm-image-opacity=128 --wm-image-position=middlecenter");
  EXPECT_NE(
      r.out.find(
          "Watermark: IMAGE\nWatermark image: logo.png\nWatermark greyscale: 0\n"
          "Watermark opacity: 128\nWatermark boundary: IMAGE\nWatermark position: MIDDLECENTER\n"
          "Watermark offset (x/y): 10/10\nWatermark rotation: 0\nWatermark size/mode: FIXED\n"
          "Filename Mask: "),
      std::string::npos)
      << r.out;
}

// Every stage of the pipeline at once, into the formats people open elsewhere: each file is
// read back by ImageMagick at the size the rotation and resize give, with the frame on top.
TEST_F(Console, EveryStageOnWritesValidFiles) {
  Hdr("in/a.hdr", 90, 61);
  const ImagePtr logo = MakeImage(12, 9, [](int, int) { return Rgb{0, 200, 0}; });
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, logo.get(), (dir_ / "logo.png").c_str(), 0));
  const std::string stages =
      "--rotation=90 --width=80 --height=50 --flip-horizontal --brightness=10 --contrast=5 "
      "--greyscale --threshold=100 --dither=bayer4 --fr-solid-left=4 --fr-solid-right=4 "
      "--fr-solid-top=4 --fr-solid-bottom=4 --fr-solid-left-color=FF0000 "
      "--fr-solid-top-color=0000FF --fr-solid-right-color=FF0000 --fr-solid-bottom-color=0000FF";
  const std::string watermarks[] = {
      "--wm-text=\"%filename%%EOL%%width%\" --wm-back-opacity=255 --wm-back-color=00C800",
      "--wm-image=logo.png --wm-image-position=topleft"};
  for (const std::string ext : {"png", "jpg", "tiff", "bmp", "psd", "dds"})
    for (const std::string& watermark : watermarks) {
      SCOPED_TRACE(ext + " " + watermark);
      RemoveFile(dir_ / ("in/a." + ext));
      Result r = Run("-i in -q -c " + ext + " " + stages + " " + watermark);
      ASSERT_EQ(r.code, 0) << r.err;
      const RgbImage image = ReadBack(dir_ / ("in/a." + ext));
      ASSERT_TRUE(image.ok()) << image.error;
      EXPECT_EQ(image.width, 80);
      EXPECT_EQ(image.height, 50);
      auto near = [](const uint8_t* p, int r0, int g0, int b0) {
        return std::abs(p[0] - r0) < 40 && std::abs(p[1] - g0) < 40 && std::abs(p[2] - b0) < 40;
      };
      EXPECT_TRUE(near(image.At(1, 25), 255, 0, 0)) << "left side";
      EXPECT_TRUE(near(image.At(40, 1), 0, 0, 255)) << "top side";
      int green = 0;
      for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
          green += near(image.At(x, y), 0, 200, 0);
      EXPECT_GT(green, 40) << "the watermark's green is there";
    }
}

// Offsets that leave the watermark no room at all: the file converts without it.
TEST_F(Console, WatermarkWithoutRoomIsLeftOut) {
  Hdr("in/a.hdr");
  Result r = Run("-i in -q -c png --wm-text=Hi --wm-back-opacity=255 --wm-text-x-offset=48");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Identify(dir_ / "in/a.png", "%w %h"), "48 40");
}

TEST_F(Console, HelpAndVersion) {
  Result help = Run("-H");
  size_t lines = 0;
  for (char c : help.out)
    lines += c == '\n';
  EXPECT_EQ(lines, 38u);
  EXPECT_EQ(help.out.substr(0, 42), " \nUsage: lumaport -i <filename> [options]\n");
  EXPECT_NE(help.out.find("  lumaport -i /tmp/ -o /converted -c bmp --jpg-quality=95\n"),
            std::string::npos);
  EXPECT_NE(help.out.find("  lumaport -i example.hdr\n"), std::string::npos);
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(Run("-?").out, help.out);
  Result version = Run("--version -i x");
  EXPECT_EQ(version.out, "2.6\n");
  EXPECT_EQ(version.code, 0);
}

// While another copy holds the lock, a command line is refused with a line and exit code 3;
// a desktop start ends silently.
TEST_F(Console, SecondCopy) {
  ASSERT_TRUE(AcquireInstanceLock(TitleWithVersion()));
  Hdr("a.hdr");
  Result console = Run("-i a.hdr");
  EXPECT_EQ(console.code, 3);
  EXPECT_EQ(console.out, "");
  EXPECT_EQ(console.err,
            "Another copy of Brivanta HDR to IMAGE is running. Please, try again when it has "
            "finished.\n");
  EXPECT_FALSE(PathExists(dir_ / "a.bmp"));
  Result desktop = Run("");
  EXPECT_EQ(desktop.code, 0);
  EXPECT_EQ(desktop.out + desktop.err, "");
  ReleaseInstanceLock();
  EXPECT_EQ(Run("-i a.hdr -q").code, 0);
}

// Folders the user may not read or write. Root ignores permissions, so the run is made as an
// ordinary user when the tests run as root.
TEST_F(Console, UnreadableAndReadOnlyFolders) {
  Hdr("in/a.hdr"), Hdr("in/locked/b.hdr"), Hdr("in/open/c.hdr");
  MakeFolder(dir_ / "out");
  ASSERT_TRUE(WriteBytes(dir_ / "out/a.png", "keep me"));
  const std::string prefix =
      getuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  if (getuid() == 0 &&
      RunCommand(prefix + "test -x " + ShellQuote(LUMAPORT_BINARY) + " && echo yes") != "yes\n")
    GTEST_SKIP() << "an ordinary user cannot run " << LUMAPORT_BINARY;
  chmod(dir_.path().c_str(), 0755);
  for (const char* path : {"in", "in/open", "in/a.hdr", "in/open/c.hdr", "out/a.png"})
    chmod((dir_ / path).c_str(), std::string(path).find(".") != std::string::npos ? 0644 : 0755);
  chmod((dir_ / "in/locked").c_str(), 0);
  chmod((dir_ / "out").c_str(), 0555);

  Result r = RunAs(prefix, "-i in -o out -c png");
  EXPECT_EQ(
      r.out,
      kHeader + "Preparing...\nImporting...\nImport complete, new files added: 2\nConverting...\n")
      << "the locked folder adds nothing";
  EXPECT_EQ(r.err, "Conversion stopped\n");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(ReadFileBytes(dir_ / "out/a.png"), "keep me");
  EXPECT_EQ(ListFolder(dir_ / "out"), std::vector<std::string>{"a.png"});
}

TEST_F(Console, TimeStamps) {
  Hdr("in/a.hdr");
  ASSERT_TRUE(SetFileModifiedTime(dir_ / "in/a.hdr", 1400000000));
  ASSERT_EQ(Run("-i in -c png -q --file-timestamp=original").code, 0);
  struct stat st;
  ASSERT_EQ(stat((dir_ / "in/a.png").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1400000000);
}

}  // namespace

// File type names from leading bytes: the signature table, short files, real images.
#include "signatures.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "files.h"
#include "image_libraries.h"
#include "image_ptr.h"
#include "radiance_writer.h"
#include "temp_folder.h"

namespace {

using namespace std::string_literals;

const char kUnrecognized[] = "[ERROR] UNRECOGNIZED";

struct SignatureCase {
  const char* label;
  std::string bytes;
  const char* expected;
};

void PrintTo(const SignatureCase& c, std::ostream* os) {
  *os << c.label;
}

// Four filler bytes, standing for the size field of a RIFF file or the like.
const std::string kAny4 = "\x12\x34\x56\x78"s;

const SignatureCase kCases[] = {
    // Length limits: a file exactly as long as a signature matches, one byte less does not.
    {"Empty", "", kUnrecognized},
    {"OneByteOfBmp", "\x42"s, kUnrecognized},
    {"BmpInTwoBytes", "\x42\x4D"s, "BMP"},
    {"PngFull", "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A"s, "PNG"},
    {"PngOneByteShort", "\x89\x50\x4E\x47\x0D\x0A\x1A"s, kUnrecognized},
    {"AsfSixteenBytes", "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"s,
     "ASF/WMA/WMV"},
    {"AsfFifteenBytes", "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE"s,
     kUnrecognized},
    {"SqliteWithNulAtEnd", "SQLite format 3\0"s, "SQLITE/DB"},
    {"SqliteWithoutNul", "SQLite format 3 and more"s, kUnrecognized},
    {"PdfFollowedByContent", "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< >>\nendobj\n"s, "PDF"},

    // Overlapping entries: the later, more specific one wins.
    {"TiffLittleEndian", "\x49\x49\x2A\x00\x08\x00\x00\x00"s, "TIFF (LE)"},
    {"TiffCutBeforeItsNul", "\x49\x49\x2A"s, kUnrecognized},
    {"Cr2IsAlsoTiff", "\x49\x49\x2A\x00\x10\x00\x00\x00\x43\x52\x02\x00"s, "CR2"},
    {"Cr2CutShortStaysTiff", "\x49\x49\x2A\x00\x10\x00\x00\x00\x43"s, "TIFF (LE)"},
    {"TiffBigEndian", "\x4D\x4D\x00\x2A\x00\x00\x00\x08"s, "TIFF (BE)"},

    // Runs at an offset, with the bytes between them free.
    {"Djvu", "AT&TFORM"s + kAny4 + "DJVU"s, "DJVU"},
    {"DjvuCutBeforeSecondRun", "AT&TFORM"s + kAny4 + "DJ"s, kUnrecognized},
    {"DjvuWrongSecondRun", "AT&TFORM"s + kAny4 + "XJVU"s, kUnrecognized},
    {"RiffAni", "RIFF"s + kAny4 + "ACON"s, "ANI"},
    {"RiffAvi", "RIFF"s + kAny4 + "AVI LIST"s, "AVI"},
    {"RiffWav", "RIFF"s + kAny4 + "WAVEfmt "s, "WAV"},
    {"RiffWebp", "RIFF"s + kAny4 + "WEBPVP8 "s, "WEBP"},
    {"RiffUnknownForm", "RIFF"s + kAny4 + "CDXA"s, kUnrecognized},
    {"RiffAlone", "RIFF"s, kUnrecognized},
    {"JpegExif", "\xFF\xD8\xFF\xE1\x1C\x45\x45\x78\x69\x66\x00\x00\x4D\x4D\x00\x2A"s, "JPEG/EXIF"},
    {"JpegApp1WithoutExif", "\xFF\xD8\xFF\xE1\x1C\x45http://ns"s, kUnrecognized},
    {"JpegExifCutShort", "\xFF\xD8\xFF\xE1\x1C\x45\x45\x78\x69\x66\x00"s, kUnrecognized},

    // Neighbours that share their first bytes and differ later.
    {"JpegJfif", "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00"s, "JPEG/JFIF"},
    {"JpegApp0NotJfif", "\xFF\xD8\xFF\xE0\x00\x10JFXX\x00\x01\x01\x00"s, kUnrecognized},
    {"JpegQuantTableFirst", "\xFF\xD8\xFF\xDB\x00\x43"s, "JPG"},
    {"JpegAdobe", "\xFF\xD8\xFF\xEE\x00\x0E"s, "JPEG"},
    {"Mp3Frame", "\xFF\xFB\x90\x64"s, "MP3"},
    {"Mp3Id3Tag", "ID3\x04\x00\x00"s, "MP3/ID3V2"},
    {"Ico", "\x00\x00\x01\x00\x01\x00"s, "ICO"},
    {"MpegSequence", "\x00\x00\x01\xB3"s, "MPEG"},
    {"MpegPack", "\x00\x00\x01\xBA"s, "MPG/VOB"},
    {"Flv", "FLV\x01\x05"s, "FLV"},
    {"Flif", "FLIF"s, "FLIF"},
    {"SwfCompressed", "CWS\x0A"s, "SWF"},
    {"SwfPlain", "FWS\x0A"s, "SWF"},
    {"Gif87a", "GIF87a"s, "GIF87A"},
    {"Gif89a", "GIF89a"s, "GIF89A"},
    {"GifOtherVersion", "GIF88a"s, kUnrecognized},
    {"Rar15", "\x52\x61\x72\x21\x1A\x07\x00\xCF"s, "RAR (1.5+)"},
    {"Rar50", "\x52\x61\x72\x21\x1A\x07\x01\x00"s, "RAR (5.0+)"},
    {"BlendNotBmp", "BLENDER-v279"s, "BLEND"},
    {"KnownFirstByteOnly", "\x42\x58\x00\x00"s, kUnrecognized},

    {"RadianceHeader", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n"s, kUnrecognized},
};

class SignatureTable : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureTable, NamesTypeFromLeadingBytes) {
  const SignatureCase& c = GetParam();
  TempFolder dir;
  const std::string path = dir / "sample.bin";
  ASSERT_TRUE(WriteBytes(path, c.bytes));
  EXPECT_EQ(DetectFileType(path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignatureTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SignatureCase>& param) {
                           return std::string(param.param.label);
                         });

// A 24-bit image with a pattern, so encoders have something to compress.
ImagePtr Pattern(int w, int h) {
  ImagePtr image(FreeImage_Allocate(w, h, 24));
  for (int y = 0; y < h; ++y) {
    BYTE* p = FreeImage_GetScanLine(image.get(), y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[FI_RGBA_RED] = static_cast<BYTE>(x * 16);
      p[FI_RGBA_GREEN] = static_cast<BYTE>(y * 16);
      p[FI_RGBA_BLUE] = static_cast<BYTE>(x ^ y);
    }
  }
  return image;
}

class FileTypeOfRealFiles : public ::testing::Test {
 protected:
  void SetUp() override { InitialiseImageLibraries(); }

  // Saves a pattern image in format; GIF needs a palette image.
  std::string Save(FREE_IMAGE_FORMAT format, const std::string& name) {
    ImagePtr image = Pattern(17, 11);
    if (format == FIF_GIF) image.reset(FreeImage_ColorQuantize(image.get(), FIQ_WUQUANT));
    const std::string path = dir_ / name;
    EXPECT_TRUE(image && FreeImage_Save(format, image.get(), path.c_str(), 0)) << name;
    return path;
  }

  // Converts a saved PNG with ImageMagick to the given output (which may carry a prefix
  // such as "GIF87:").
  std::string Convert(const std::string& options, const std::string& output,
                      const std::string& name) {
    const std::string source = Save(FIF_PNG, "source.png");
    int exitCode = -1;
    RunCommand("convert '" + source + "' " + options + " '" + output + dir_.path() + name + "'",
               &exitCode);
    EXPECT_EQ(exitCode, 0) << "convert " << options << " " << name;
    return dir_ / name;
  }

  TempFolder dir_;
};

TEST_F(FileTypeOfRealFiles, ImagesSavedByFreeImage) {
  EXPECT_EQ(DetectFileType(Save(FIF_PNG, "a.png")), "PNG");
  EXPECT_EQ(DetectFileType(Save(FIF_JPEG, "a.jpg")), "JPEG/JFIF");
  EXPECT_EQ(DetectFileType(Save(FIF_TIFF, "a.tif")), "TIFF (LE)");
  EXPECT_EQ(DetectFileType(Save(FIF_BMP, "a.bmp")), "BMP");
  EXPECT_EQ(DetectFileType(Save(FIF_GIF, "a.gif")), "GIF89A");
}

TEST_F(FileTypeOfRealFiles, ImagesMadeByImageMagick) {
  EXPECT_EQ(DetectFileType(Convert("-define tiff:endian=msb", "", "be.tif")), "TIFF (BE)");
  EXPECT_EQ(DetectFileType(Convert("", "GIF87:", "old.gif")), "GIF87A");
}

// A camera-style JPEG: the JFIF segment of a saved file replaced by an EXIF segment, as
// cameras write them. FreeImage must still read it, so it is a real JPEG.
TEST_F(FileTypeOfRealFiles, JpegWithExifFirst) {
  const std::string jfif = ReadFileBytes(Save(FIF_JPEG, "jfif.jpg"));
  ASSERT_GT(jfif.size(), 20u);
  ASSERT_EQ(jfif.substr(0, 4), "\xFF\xD8\xFF\xE0"s);
  const size_t app0End =
      4 + ((static_cast<unsigned char>(jfif[4]) << 8) | static_cast<unsigned char>(jfif[5]));
  // An empty little-endian TIFF block: header, no entries, no next directory.
  const std::string exifBody = "Exif\0\0II\x2A\0\x08\0\0\0\0\0\0\0\0\0"s;
  const std::string app1 = "\xFF\xE1"s + char(0) + char(2 + exifBody.size()) + exifBody;
  const std::string path = dir_ / "exif.jpg";
  ASSERT_TRUE(WriteBytes(path, "\xFF\xD8"s + app1 + jfif.substr(app0End)));

  EXPECT_EQ(DetectFileType(path), "JPEG/EXIF");
  ImagePtr back(FreeImage_Load(FIF_JPEG, path.c_str(), 0));
  ASSERT_TRUE(back);
  EXPECT_EQ(FreeImage_GetWidth(back.get()), 17u);
}

TEST(FileTypeOfRadiance, IsUnrecognized) {
  TempFolder dir;
  FloatImage image(9, 4);
  image.At(3, 2)[0] = 1.5f;
  ASSERT_TRUE(WriteRadiance(dir / "made.hdr", image));
  EXPECT_EQ(DetectFileType(dir / "made.hdr"), kUnrecognized);

  // The real files beside the checkout, the one with a broken first line included.
  for (const std::string& name : ListFolder(LUMAPORT_REAL_HDR)) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".hdr") continue;
    EXPECT_EQ(DetectFileType(std::string(LUMAPORT_REAL_HDR) + "/" + name), kUnrecognized) << name;
  }
}

TEST(FileTypeOfUnreadable, GivesUnrecognized) {
  TempFolder dir;
  EXPECT_EQ(DetectFileType(dir / "missing.png"), kUnrecognized);
  EXPECT_EQ(DetectFileType(""), kUnrecognized);
  // A folder opens on Linux but reads nothing; its name must not make it a PNG.
  ASSERT_TRUE(MakeFolder(dir / "folder.png"));
  EXPECT_EQ(DetectFileType(dir / "folder.png"), kUnrecognized);
  EXPECT_EQ(DetectFileType(dir.path()), kUnrecognized);
}

TEST(FileTypeOfUnreadable, FileLockedAgainstReading) {
  TempFolder dir;
  const std::string path = dir / "locked.png";
  ASSERT_TRUE(WriteBytes(path, "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A"s));
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  if (access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "permissions do not stop this user";
  EXPECT_EQ(DetectFileType(path), kUnrecognized);
}

}  // namespace

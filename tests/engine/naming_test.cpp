// Output names: mask tokens, extension removal, output and temporary paths.
#include "naming.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

#include "clock.h"
#include "context.h"
#include "settings.h"

namespace {

// Saves and restores the process-wide records the naming reads, and sets a typical file.
class NamingFixture {
 protected:
  NamingFixture() : savedContext_(gContext), savedSettings_(gSettings) {
    gSettings.Advanced.FilenameMask = "%filename%.%ext%";
    gSettings.Advanced.KeepSubfolders = 1;
    gContext.inputPath = "/in/Sunset.HDR";
    gContext.relativeFolder = "";
    gContext.outputFolder = "/out/";
    gContext.outputFormat.extension = "png";
    gContext.outputFormat.bitsPerPixel = 24;
    gContext.namingWidth = 640;
    gContext.namingHeight = 480;
    gContext.frameNumber = 1;
    gContext.counter = 1;
    gContext.randomNumber = 42;
  }
  ~NamingFixture() {
    gContext = savedContext_;
    gSettings = savedSettings_;
  }

 private:
  ConversionContext savedContext_;
  Settings savedSettings_;
};

struct MaskCase {
  const char* name;
  const char* mask;
  const char* input;
  const char* extension;
  int counter;
  const char* expected;
};

void PrintTo(const MaskCase& c, std::ostream* out) {
  *out << c.name;
}

const MaskCase kMaskCases[] = {
    {"LiteralLoweredTokensAnyCase", "IMG_%N%_%Filename[U]%.%ext%", "/in/Sunset.HDR", "png", 1,
     "img_00001_SUNSET.png"},
    {"EmptyMaskIsNameDotExt", "", "/in/Sunset.HDR", "png", 1, "Sunset.png"},
    {"MaskWithoutExtension", "%filename%", "/in/Sunset.HDR", "png", 1, "Sunset"},
    {"TitleCaseOfName", "%filename[t]%", "/in/sUNSET.hdr", "png", 1, "Sunset"},
    {"LowerCaseOfName", "%FILENAME[L]%", "/in/sUNSET.hdr", "png", 1, "sunset"},
    {"ExtensionCases", "%ext%-%ext[t]%-%ext[u]%", "/in/Sunset.HDR", "tiff", 1, "tiff-Tiff-TIFF"},
    {"BitsPerPixel", "%filename%_%bpp%.%ext%", "/in/Sunset.HDR", "png", 1, "Sunset_24.png"},
    {"NamingSize", "%width%x%height%", "/in/Sunset.HDR", "png", 1, "640x480"},
    {"FrameNumber", "f%frame%", "/in/Sunset.HDR", "png", 1, "f1"},
    {"CounterPadded", "%n%", "/in/Sunset.HDR", "png", 1, "00001"},
    {"CounterFiveDigits", "%n%", "/in/Sunset.HDR", "png", 99999, "99999"},
    {"CounterKeepsAllDigits", "%n%", "/in/Sunset.HDR", "png", 123456, "123456"},
    {"RandomPadded", "%rnd%", "/in/Sunset.HDR", "png", 1, "00042"},
    {"LaterTokenInFileName", "%filename%.%ext%", "/in/a%n%b.hdr", "png", 7, "a00007b.png"},
    {"UpperTokenInFileName", "%filename%.%ext%", "/in/A%N%B.hdr", "png", 7, "A00007B.png"},
    {"SameTokenInFileNameNotRepeated", "%filename%.%ext%", "/in/x%filename%y.hdr", "png", 1,
     "x%filename%y.png"},
    {"UnknownTokenKeptLowered", "%Foo%_%filename%", "/in/Sunset.HDR", "png", 1, "%foo%_Sunset"},
    {"NonAsciiNameKeptAsIs", "%filename%", "/in/Éclair.hdr", "png", 1, "Éclair"},
    {"NonAsciiUpper", "%filename[u]%", "/in/Éclair.hdr", "png", 1, "ÉCLAIR"},
    {"NonAsciiLower", "%filename[l]%", "/in/Éclair.hdr", "png", 1, "éclair"},
    {"NonAsciiTitle", "%filename[t]%", "/in/éCLAIR.hdr", "png", 1, "Éclair"},
    {"NonAsciiLiteralLowered", "ÜBERSICHT_%filename%", "/in/Éclair.hdr", "png", 1,
     "übersicht_Éclair"},
    {"DotInFolderOnly", "%filename%.%ext%", "/in/photos.v2/Sunset", "png", 1, "Sunset.png"},
    {"BackslashIsPartOfName", "%filename%.%ext%", "/in/a\\b.hdr", "png", 1, "a\\b.png"},
    {"LastExtensionOnly", "%filename%.%ext%", "/in/photo.final.hdr", "png", 1, "photo.final.png"},
};

class NamingMaskTest : public NamingFixture, public ::testing::TestWithParam<MaskCase> {};

TEST_P(NamingMaskTest, Expands) {
  const MaskCase& c = GetParam();
  gSettings.Advanced.FilenameMask = c.mask;
  gContext.inputPath = c.input;
  gContext.outputFormat.extension = c.extension;
  gContext.counter = c.counter;
  EXPECT_EQ(ExpandFilenameMask(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Masks, NamingMaskTest, ::testing::ValuesIn(kMaskCases),
                         [](const ::testing::TestParamInfo<MaskCase>& param) {
                           return std::string(param.param.name);
                         });

TEST(NamingRemoveExtension, DropsOnlyTheLastExtension) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"photo.final.hdr", "photo.final"},
      {"photo", "photo"},
      {".hdr", ""},
      {"photo.", "photo"},
      {"", ""},
      {"a.b.", "a.b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RemoveExtension(c.name), c.expected);
  }
}

class NamingTest : public NamingFixture, public ::testing::Test {};

std::string FormatDate(const std::tm& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

const char kDateMask[] = "%yyyy%-%mm%-%dd%_%hh%-%ii%-%ss%";

TEST_F(NamingTest, DateTokensComeFromTheLocalClock) {
  gSettings.Advanced.FilenameMask = kDateMask;
  // The second may change during the call: retry until the clock reads the same around it.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::string before = FormatDate(LocalNow());
    const std::string name = ExpandFilenameMask();
    if (before != FormatDate(LocalNow())) continue;
    EXPECT_EQ(name, before);
    return;
  }
  FAIL() << "the clock never held still for one expansion";
}

TEST_F(NamingTest, DateTokensOfOneNameShareOneReading) {
  gSettings.Advanced.FilenameMask = kDateMask;
  std::tm march{};
  march.tm_year = 2024 - 1900;
  march.tm_mon = 2;
  march.tm_mday = 5;
  march.tm_hour = 9;
  march.tm_min = 7;
  march.tm_sec = 3;
  EXPECT_EQ(ExpandFilenameMask(march), "2024-03-05_09-07-03");

  std::tm newYearsEve{};
  newYearsEve.tm_year = 2024 - 1900;
  newYearsEve.tm_mon = 11;
  newYearsEve.tm_mday = 31;
  newYearsEve.tm_hour = 23;
  newYearsEve.tm_min = 59;
  newYearsEve.tm_sec = 59;
  EXPECT_EQ(ExpandFilenameMask(newYearsEve), "2024-12-31_23-59-59");
}

TEST_F(NamingTest, RandomNumberIsTheSameInEveryPlace) {
  gSettings.Advanced.FilenameMask = "%rnd%_%RND%_%filename%";
  for (int value : {1, 4711, 99999}) {
    SCOPED_TRACE(value);
    gContext.randomNumber = value;
    const std::string name = ExpandFilenameMask();
    ASSERT_EQ(name.size(), 5u + 1 + 5 + 1 + 6);
    EXPECT_EQ(name.substr(0, 5), name.substr(6, 5));
    EXPECT_EQ(std::stoi(name.substr(0, 5)), value);
  }
}

TEST_F(NamingTest, ReplaceNameTokenKeepsLiteralCase) {
  // The watermark text keeps its own case; only the token is matched ignoring case.
  EXPECT_EQ(ReplaceNameToken("Copy %N% of %n%", "%n%"), "Copy 00001 of 00001");
  EXPECT_EQ(ReplaceNameToken("Copy %N%", "%N%"), "Copy 00001");
  EXPECT_EQ(ReplaceNameToken("No Token Here", "%n%"), "No Token Here");
  EXPECT_EQ(ReplaceNameToken("%Filename%", "%bpp%"), "%Filename%");
  EXPECT_EQ(ReplaceNameToken("%nope%", "%nope%"), "%nope%");
}

TEST_F(NamingTest, OutputPathFollowsKeepSubfolders) {
  gContext.relativeFolder = "sub/";
  const struct {
    int8_t keep;
    const char* folder;
  } cases[] = {{1, "/out/sub/"}, {0, "/out/"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    gSettings.Advanced.KeepSubfolders = c.keep;
    const std::string folder = c.folder;
    EXPECT_EQ(BuildOutputPath(), folder + "Sunset.png");

    // The temporary file lies beside the output so that the rename stays in one folder.
    const std::string temporary = BuildTemporaryPath();
    EXPECT_EQ(temporary.rfind(folder + "lumaport", 0), 0u) << temporary;
    EXPECT_EQ(temporary.substr(temporary.size() - 4), ".png");
    EXPECT_EQ(temporary.find('/', folder.size()), std::string::npos) << temporary;
  }
}

// The local seconds of now written with the letters a..j for the digits 0..9.
std::string SecondsInLetters(int64_t seconds) {
  std::string text = std::to_string(seconds);
  for (char& c : text)
    c = static_cast<char>('a' + (c - '0'));
  return text;
}

TEST_F(NamingTest, TemporaryNameIsTimeInLettersAndFiveRandomLetters) {
  const std::string before = SecondsInLetters(LocalNowSeconds());
  const std::string name = MakeTemporaryName("lumaport", ".tmp");
  const std::string after = SecondsInLetters(LocalNowSeconds());

  ASSERT_EQ(name.substr(0, 8), "lumaport");
  ASSERT_EQ(name.substr(name.size() - 4), ".tmp");
  const std::string letters = name.substr(8, name.size() - 8 - 4);
  const std::string time = letters.substr(0, letters.size() - 5);
  EXPECT_TRUE(time == before || time == after) << letters;
  for (char c : letters)
    EXPECT_TRUE(c >= 'a' && c <= 'z') << letters;

  EXPECT_NE(MakeTemporaryName("lumaport", ""), MakeTemporaryName("lumaport", ""));
}

}  // namespace

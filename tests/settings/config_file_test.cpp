// config.ini: the file defaults produce, loading old and hand-written files, safe saving.
#include "config_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <random>

#include "files.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string CrLfLines(std::initializer_list<std::string> lines) {
  std::string text = "\xEF\xBB\xBF\r\n";
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

class ConfigFile : public testing::Test {
 protected:
  void SetUp() override {
    SetDesktopSize(1920, 1080);
    gSettings.ConfigPath = folder / "config.ini";
  }
  void TearDown() override {
    SetDesktopSize(0, 0);
    gSettings.ConfigPath.clear();
  }
  // Loads a file of the given bytes.
  void Load(const std::string& bytes) {
    WriteFile(gSettings.ConfigPath, bytes);
    LoadSettings();
  }
  std::string Saved() {
    SaveSettings();
    return ReadFileBytes(gSettings.ConfigPath);
  }

  TempFolder folder;
};

TEST_F(ConfigFile, DefaultsSaveAsTheDocumentedFile) {
  ResetSettings(false);
  gSettings.General.UpdateDate = 1700000000;
  gSettings.Advanced.CustomTimestamp = 1700000123;
  const std::string colors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
  const std::string expected = CrLfLines({
      "[General]",
      "CFG = 19",
      "Language = en",
      "Update Range = 2",
      "Update Date = 1700000000",
      "Save Window Position = 1",
      "; ",
      // Centred on a 1920 x 1080 desktop.
      "[Window]",
      "IsMaximized = 0",
      "Width = 510",
      "Height = 330",
      "X = 705",
      "Y = 375",
      "; ",
      "[Interface]",
      "UI Theme = handdrawn",
      "UI Size = 2",
      "; ",
      // "hdr" has no input settings of its own.
      "[Input]",
      "Format = hdr",
      "; ",
      "[Output]",
      "Format = bmp",
      "BMP BPP = 0",
      "BMP Compression = 0",
      "BMP Color Table = 0",
      "DDS BPP = 0",
      "EXR BPP = 0",
      "EXR Compression = 0",
      "GIF BPP = 0",
      "HDR BPP = 0",
      "ICO BPP = 0",
      "J2K BPP = 0",
      "JNG BPP = 0",
      "JP2 BPP = 0",
      "JPG BPP = 0",
      "JPG Quality = 95",
      "JPG Chroma = 0",
      "JPG Save As = 0",
      "JXR BPP = 0",
      "PBM BPP = 0",
      "PCX BPP = 0",
      "PFM BPP = 0",
      "PGM BPP = 0",
      "PNG BPP = 0",
      "PNG Compression = 0",
      "PNG Interlaced = 0",
      "PPM BPP = 0",
      "PSD BPP = 0",
      "TGA BPP = 0",
      "TGA Compression = 0",
      "TIFF BPP = 0",
      "TIFF Compression = 0",
      "TIFF Color Mode = 0",
      "WBMP BPP = 0",
      "WEBP BPP = 0",
      "WEBP Quality = 100",
      "XPM BPP = 0",
      "; ",
      "[Transform]",
      "Do Image Rotation = 0",
      "Image Rotation Type = 0",
      "Image Rotation = 0",
      "Image Rotation Back Color = 000000",
      "Do Image Resize = 0",
      "Image Width = 0",
      "Image Width Unit = 0",
      "Image Height = 0",
      "Image Height Unit = 0",
      "Keep Aspect Ratio = 1",
      "Image Resize Type = 0",
      "Image Resize Algorithm = 3",
      "Do Image Flip Horizontal = 0",
      "Do Image Flip Vertical = 0",
      "; ",
      "[Adjustment]",
      "Do Image Color Correction = 0",
      "Image Brightness = 0",
      "Image Contrast = 0",
      "Image Gamma = 1.000000",
      "Image Invert = 0",
      "Do Image Greyscale = 0",
      "Do Image Threshold = 0",
      "Image Threshold = 0",
      "Do Image Dither = 0",
      "Image Dither Algorithm = 0",
      "; ",
      "[Frame]",
      "Do Frame = 0",
      "Solid Left = 0",
      "Solid Right = 0",
      "Solid Top = 0",
      "Solid Bottom = 0",
      "Solid Left Color = 000000",
      "Solid Right Color = 000000",
      "Solid Top Color = 000000",
      "Solid Bottom Color = 000000",
      "Solid Opacity = 255",
      "; ",
      // The default notice's wording is ours to choose; every other line is fixed.
      "[Watermark]",
      "Do Watermark = 0",
      "Text = " + gSettings.Watermark.Text,
      "Fonts = Arial,Tahoma,Verdana",
      "Font = Arial",
      "Font Size = 14",
      "Font Leading = 0",
      "Font Colors = " + colors,
      "Font Color = FFFFFF",
      "Font Style = 0",
      "Font Effect = 0",
      "Text Antialiasing = 0",
      "Text Alignment = 0",
      "Text Padding = 0",
      "Text Opacity = 255",
      "Back Colors = " + colors,
      "Back Color = 000000",
      "Back Opacity = 1",
      "Text Boundary = 0",
      "Text Position = 8",
      "Text X Offset = 10",
      "Text Y Offset = 10",
      "Text Rotation = 0",
      "Text Size = 0",
      "Text Scale = 10",
      "Image = ",
      "Image Greyscale = 0",
      "Image Opacity = 255",
      "Image Boundary = 0",
      "Image Position = 8",
      "Image X Offset = 10",
      "Image Y Offset = 10",
      "Image Rotation = 0",
      "Image Size = 0",
      "Image Scale = 10",
      "; ",
      "[Advanced]",
      "Filename Mask = %filename%.%ext%",
      "File Timestamp = 0",
      "Custom Timestamp = 1700000123",
      "Out Folders History = 1",
      "Out Folders Number = 5",
      "Keep Subfolders = 1",
      "; ",
      "[File]",
      "Recent Out Folders = ",
      "Recent Files = ",
      "; ",
      "[Privacy]",
      "Clean Recent Files = 0",
      "; ",
  });
  EXPECT_FALSE(gSettings.Watermark.Text.empty());
  EXPECT_EQ(Saved(), expected);
  // Nothing recomputed on a second save: dates are stored, not taken anew.
  EXPECT_EQ(Saved(), expected);
  EXPECT_EQ(ListFolder(folder.path()), std::vector<std::string>{"config.ini"});
}

// Every kind of value, most of them away from their defaults.
void SetUnusualValues() {
  ResetSettings(false);
  gSettings.General.UpdateDate = 1234567890;
  gSettings.General.UpdateRange = 5;
  gSettings.Window = {1, -20, 40, 1024, 768};
  gSettings.Interface.UITheme = "th\xC3\xA8me";
  gSettings.Output.Format = "webp";
  gSettings.Output.JPGQuality = 80;
  gSettings.Output.TIFFColorMode = 1;
  gSettings.Transform.ImageRotation = -90;
  gSettings.Transform.ImageRotationBackColor = "FF8000";
  gSettings.Transform.KeepAspectRatio = 0;
  gSettings.Adjustment.ImageGamma = 1.5f;
  gSettings.Adjustment.ImageBrightness = -100;
  gSettings.Frame.SolidOpacity = 7;
  gSettings.Watermark.Text = "%filename% \xE2\x80\x94 100% = \"quoted\"; [x]";
  gSettings.Watermark.Fonts = "Arial,Tahoma,Verdana,DejaVu Sans";
  gSettings.Watermark.TextPosition = 4;
  gSettings.Advanced.FilenameMask = "%filename%_%n%.%ext%";
  gSettings.Advanced.CustomTimestamp = -5;
  gSettings.Advanced.OutFoldersNumber = 50;
  gSettings.File.RecentOutFolders = "/out/caf\xC3\xA9/\t/tmp/b/\t/c/";
  gSettings.File.RecentFiles = "kept as it is";
  gSettings.Privacy.CleanRecentFiles = 1;
}

TEST_F(ConfigFile, LoadThenSaveGivesTheSameBytes) {
  SetUnusualValues();
  const Settings before = gSettings;
  const std::string first = Saved();
  EXPECT_NE(first.find("\r\nImage Gamma = 1.500000\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\nImage Rotation = -90\r\n"), std::string::npos);

  ResetSettings(true);
  LoadSettings();
  EXPECT_EQ(gSettings.Window.X, -20);
  EXPECT_EQ(gSettings.Adjustment.ImageGamma, 1.5f);
  EXPECT_EQ(gSettings.Watermark.Text, before.Watermark.Text);
  EXPECT_EQ(gSettings.File.RecentOutFolders, before.File.RecentOutFolders);
  EXPECT_EQ(gSettings.Advanced.CustomTimestamp, -5);
  EXPECT_EQ(gSettings.Transform.KeepAspectRatio, 0);
  EXPECT_EQ(gSettings.Advanced.OutFoldersNumber, 50);
  EXPECT_EQ(Saved(), first);
}

TEST_F(ConfigFile, SpecialGammaValuesSurviveTheFile) {
  for (float gamma :
       {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
    ResetSettings(false);
    gSettings.Adjustment.ImageGamma = gamma;
    SaveSettings();
    gSettings.Adjustment.ImageGamma = 1;
    LoadSettings();
    EXPECT_EQ(gSettings.Adjustment.ImageGamma, gamma);
  }
  gSettings.Adjustment.ImageGamma = std::nanf("");
  EXPECT_NE(Saved().find("\r\nImage Gamma = NaN\r\n"), std::string::npos);
  LoadSettings();
  EXPECT_TRUE(std::isnan(gSettings.Adjustment.ImageGamma));
}

TEST_F(ConfigFile, HandWrittenLatin1FileInLowerCase) {
  // No byte-order mark, so the byte E9 is "é"; LF line ends, odd spacing, unknown keys.
  Load(
      "; written by hand\n"
      "[general]\n"
      "cfg=19\n"
      "  language  =   de   \n"
      "unknown key = 5\n"
      "[window]\n"
      "width = 800\n"
      "[output]\n"
      "jpg quality =\n"
      "webp quality = high\n"
      "tiff bpp = 24 bits\n"
      "format=png\n"
      "[adjustment]\n"
      "image gamma = 2,5\n"
      "[watermark]\n"
      "text position 2\n"
      "[file]\n"
      "recent out folders = /home/ren\xE9/out/\t/tmp/\n"
      "[unused]\n"
      "x = 1\n");
  EXPECT_EQ(gSettings.General.CFG, 19);
  EXPECT_EQ(gSettings.General.Language, "de");
  EXPECT_EQ(gSettings.Window.Width, 800);
  EXPECT_EQ(gSettings.Window.Height, 330);  // missing: the default
  EXPECT_EQ(gSettings.Window.X, 100);       // missing X and Y: 100, not the centred place
  EXPECT_EQ(gSettings.Window.Y, 100);
  EXPECT_EQ(gSettings.Output.JPGQuality, 0);   // present but empty
  EXPECT_EQ(gSettings.Output.WEBPQuality, 0);  // present but not a number
  EXPECT_EQ(gSettings.Output.TIFFBPP, 24);
  EXPECT_EQ(gSettings.Output.Format, "png");
  EXPECT_EQ(gSettings.Adjustment.ImageGamma, 2.0f);
  EXPECT_EQ(gSettings.File.RecentOutFolders, "/home/ren\xC3\xA9/out/\t/tmp/");
  EXPECT_EQ(gSettings.Transform.KeepAspectRatio, 1);  // the desktop default
  EXPECT_EQ(gSettings.Watermark.TextPosition, 8);     // a line without "=" sets nothing
  EXPECT_EQ(gSettings.Advanced.FilenameMask, "%filename%.%ext%");

  const std::string saved = Saved();
  EXPECT_EQ(saved.compare(0, 5, "\xEF\xBB\xBF\r\n"), 0);
  EXPECT_NE(saved.find("\r\nRecent Out Folders = /home/ren\xC3\xA9/out/\t/tmp/\r\n"),
            std::string::npos);
  EXPECT_EQ(saved.find("unknown"), std::string::npos);
  // The rewritten file reads back the same.
  LoadSettings();
  EXPECT_EQ(gSettings.File.RecentOutFolders, "/home/ren\xC3\xA9/out/\t/tmp/");
}

TEST_F(ConfigFile, MissingKeysTakeTheirDefaultsAndEmptyValuesZero) {
  Load("\xEF\xBB\xBF\r\n[Output]\r\nWEBP Quality = \r\n");
  EXPECT_EQ(gSettings.Output.JPGQuality, 95);
  EXPECT_EQ(gSettings.Output.WEBPQuality, 0);
  EXPECT_EQ(gSettings.General.CFG, 0);                  // no CFG: a file of before the version key
  EXPECT_GT(gSettings.General.UpdateDate, 1600000000);  // "now"
  EXPECT_NE(Saved().find("[General]\r\nCFG = 19\r\n"), std::string::npos);
}

TEST_F(ConfigFile, MissingFileGivesTheDesktopDefaults) {
  SetUnusualValues();
  LoadSettings();
  EXPECT_EQ(gSettings.General.CFG, 19);
  EXPECT_EQ(gSettings.Window.X, 705);  // centred: the reset, not a file lacking X
  EXPECT_EQ(gSettings.Window.Width, 510);
  EXPECT_EQ(gSettings.Transform.KeepAspectRatio, 1);
  EXPECT_EQ(gSettings.Advanced.FilenameMask, "%filename%.%ext%");
  EXPECT_EQ(gSettings.File.RecentOutFolders, "");
  EXPECT_EQ(gSettings.ConfigPath, folder / "config.ini");
  EXPECT_FALSE(PathExists(gSettings.ConfigPath));
}

struct UpgradeCase {
  const char* name;
  std::string file;  // lines of an old file
  std::function<void()> check;
};

TEST_F(ConfigFile, OlderFilesAreUpgradedByTheirVersion) {
  const UpgradeCase cases[] = {
      {"no_cfg_mask_gets_ext", "[Advanced]\nFilename Mask = %filename%",
       [] { EXPECT_EQ(gSettings.Advanced.FilenameMask, "%filename%.%ext%"); }},
      {"cfg_19_mask_kept", "[General]\nCFG = 19\n[Advanced]\nFilename Mask = %filename%",
       [] { EXPECT_EQ(gSettings.Advanced.FilenameMask, "%filename%"); }},
      {"cfg_11_mask_kept", "[General]\nCFG = 11\n[Advanced]\nFilename Mask = %filename%",
       [] { EXPECT_EQ(gSettings.Advanced.FilenameMask, "%filename%"); }},
      {"cfg_10_mask_with_ext_kept", "[General]\nCFG=10\n[Advanced]\nFilename Mask = a%ext%b",
       [] { EXPECT_EQ(gSettings.Advanced.FilenameMask, "a%ext%b"); }},
      {"cfg_13_raw_load_shifted", "[General]\nCFG = 13\n[Input]\nRAW Load As = 1",
       [] { EXPECT_EQ(gSettings.Input.RAWLoadAs, 3); }},
      {"cfg_13_raw_auto_kept", "[General]\nCFG = 13\n[Input]\nRAW Load As = 0",
       [] { EXPECT_EQ(gSettings.Input.RAWLoadAs, 0); }},
      {"cfg_14_raw_load_kept", "[General]\nCFG = 14\n[Input]\nRAW Load As = 1",
       [] { EXPECT_EQ(gSettings.Input.RAWLoadAs, 1); }},
      {"no_cfg_old_colour_models",
       "[Input]\nPSD Color Model = 2\n[Output]\nTIFF Color Mode = 0\nTIFF Color Model = 1",
       [] {
         EXPECT_EQ(gSettings.Input.PSDColorMode, 2);
         EXPECT_EQ(gSettings.Output.TIFFColorMode, 1);
       }},
      {"cfg_18_zero_model_keeps_mode",
       "[General]\nCFG = 18\n[Output]\nTIFF Color Mode = 1\nTIFF Color Model = 0",
       [] { EXPECT_EQ(gSettings.Output.TIFFColorMode, 1); }},
      {"cfg_19_old_model_ignored", "[General]\nCFG = 19\n[Output]\nTIFF Color Model = 1",
       [] { EXPECT_EQ(gSettings.Output.TIFFColorMode, 0); }},
      {"cfg_value_kept_as_read", "[General]\nCFG = 7", [] { EXPECT_EQ(gSettings.General.CFG, 7); }},
  };
  for (const UpgradeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.file);
    c.check();
  }
}

TEST_F(ConfigFile, WindowGroupLeftEmptyWhenPositionIsNotSaved) {
  ResetSettings(false);
  gSettings.General.SaveWindowPosition = 0;
  gSettings.Window = {1, 3, 4, 900, 700};
  const std::string saved = Saved();
  EXPECT_NE(saved.find("Save Window Position = 0\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"),
            std::string::npos);
  LoadSettings();
  EXPECT_EQ(gSettings.Window.IsMaximized, 0);
  EXPECT_EQ(gSettings.Window.X, 100);
  EXPECT_EQ(gSettings.Window.Y, 100);
  EXPECT_EQ(gSettings.Window.Width, 510);
  EXPECT_EQ(gSettings.Window.Height, 330);

  // Geometry in the file is read whatever the flag says.
  Load("[General]\nSave Window Position = 0\n[Window]\nX = 12\nWidth = 640\n");
  EXPECT_EQ(gSettings.Window.X, 12);
  EXPECT_EQ(gSettings.Window.Width, 640);
}

TEST_F(ConfigFile, InputFormatKeysReadThoughNeverWritten) {
  Load("[Input]\nDDS Load As = 2\nRAW Tone Mapping = 4\nTIFF Frame Loading = 3\n");
  EXPECT_EQ(gSettings.Input.DDSLoadAs, 2);
  EXPECT_EQ(gSettings.Input.RAWToneMapping, 4);
  EXPECT_EQ(gSettings.Input.TIFFFrameLoading, 3);
  EXPECT_NE(Saved().find("[Input]\r\nFormat = hdr\r\n; \r\n"), std::string::npos);
}

// A save that cannot finish leaves the old file whole and no temporary file behind.
class ConfigSaveFailure : public ConfigFile {
 protected:
  void SetUp() override {
    ConfigFile::SetUp();
    ResetSettings(false);
    SaveSettings();
    old = ReadFileBytes(gSettings.ConfigPath);
    ASSERT_FALSE(old.empty());
    SetUnusualValues();
  }
  void ExpectOldFileAlone() {
    EXPECT_EQ(ReadFileBytes(folder / "config.ini"), old);
    EXPECT_EQ(ListFolder(folder.path()), std::vector<std::string>{"config.ini"});
  }
  std::string old;
};

TEST_F(ConfigSaveFailure, FullDiskLeavesTheOldFile) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Writes past 100 bytes fail as on a full disk, with EFBIG instead of a signal.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    SaveSettings();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ExpectOldFileAlone();
  // Without the limit the same save goes through.
  SaveSettings();
  EXPECT_NE(ReadFileBytes(folder / "config.ini"), old);
}

TEST_F(ConfigSaveFailure, RenameThatFailsLeavesNoTemporaryFile) {
  // The place of the file is taken by a folder with something in it: the rename fails.
  const std::string blocked = folder / "blocked";
  ASSERT_EQ(mkdir(blocked.c_str(), 0755), 0);
  WriteFile(blocked + "/keep", "x");
  gSettings.ConfigPath = blocked;
  SaveSettings();
  EXPECT_EQ(ListFolder(folder.path()), (std::vector<std::string>{"blocked", "config.ini"}));
  EXPECT_EQ(ListFolder(blocked + "/"), std::vector<std::string>{"keep"});
  EXPECT_EQ(ReadFileBytes(folder / "config.ini"), old);
}

TEST_F(ConfigSaveFailure, MissingFolderCreatesNothing) {
  gSettings.ConfigPath = folder / "missing/config.ini";
  SaveSettings();
  ExpectOldFileAlone();
}

TEST_F(ConfigFile, SavingKeepsTheFileMode) {
  ResetSettings(false);
  SaveSettings();
  ASSERT_EQ(chmod(gSettings.ConfigPath.c_str(), 0600), 0);
  SaveSettings();
  struct stat st;
  ASSERT_EQ(stat(gSettings.ConfigPath.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// Damaged files load what can be parsed and never crash or hang.
TEST_F(ConfigFile, MalformedFilesLoad) {
  std::mt19937 random(99);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage)
    c = static_cast<char>(random());
  const std::string tenMegabytes(10 * 1024 * 1024, 'Z');
  const struct {
    const char* name;
    std::string file;
    int32_t jpgQuality;
  } cases[] = {
      {"binary_garbage", garbage, 95},
      {"one_10mb_line", tenMegabytes, 95},
      {"one_10mb_line_then_a_key", tenMegabytes + "\r\n[Output]\r\nJPG Quality = 33", 33},
      {"line_without_equals", "[Output]\nJPG Quality 50\n", 95},
      {"unterminated_header", "[Output\nJPG Quality = 50\n", 50},
      {"unterminated_header_at_end", "[Output]\nJPG Quality = 51\n[", 51},
      {"empty_file", "", 95},
      {"nul_bytes", std::string("[Output]\0\nJPG Quality = 52\0\n", 28), 52},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.file);
    EXPECT_EQ(gSettings.Output.JPGQuality, c.jpgQuality);
    EXPECT_EQ(gSettings.Output.Format, "bmp");
  }
}

}  // namespace

// The command line: option names and values, numbers, and what each option does.
#include "options.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "command_line.h"
#include "context.h"
#include "input_table.h"
#include "radiance_writer.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

TEST(CommandLine, OptionNamesAndValues) {
  const Parameters params = {"--jpg-quality=80", " -i ",    "-I=x", "plain",
                             "--INPUT",          "--a=b=c", "--=x"};
  const std::pair<const char*, const char*> expected[] = {
      {"--JPG-QUALITY", "80"}, {"-I", "-i"},   {"-I=X", "-I=x"}, {"", "plain"},
      {"--INPUT", "--INPUT"},  {"--A", "b=c"}, {"--", "x"}};
  for (size_t i = 0; i < params.size(); ++i) {
    EXPECT_EQ(OptionNameAt(params, i), expected[i].first) << params[i];
    EXPECT_EQ(OptionValueAt(params, i), expected[i].second) << params[i];
  }
  EXPECT_EQ(OptionNameAt(params, 99), "");
  EXPECT_EQ(OptionValueAt(params, 99), "");
}

TEST(CommandLine, Numbers) {
  const std::pair<const char*, int32_t> integers[] = {{"12", 12},
                                                      {" \t-7", -7},
                                                      {"$1F", 31},
                                                      {"$1f", 31},
                                                      {"%101", 5},
                                                      {"+5x", 5},
                                                      {"abc", 0},
                                                      {"", 0},
                                                      {"$", 0},
                                                      {"-$10", -16},
                                                      {"%102", 2},
                                                      {"4294967296", 0},
                                                      {"2147483648", INT32_MIN},
                                                      {"1 2", 1}};
  for (const auto& [text, value] : integers)
    EXPECT_EQ(ParseInteger(text), value) << text;
  const std::pair<const char*, float> reals[] = {
      {"1.5", 1.5f}, {"0.01", 0.01f},   {"abc", 0},   {"nan", 0}, {"inf", 0},  {"1e3", 1000},
      {"1e", 1},     {" -2.5z", -2.5f}, {".5", 0.5f}, {"5.", 5},  {"0x10", 0}, {"", 0}};
  for (const auto& [text, value] : reals)
    EXPECT_FLOAT_EQ(ParseReal(text), value) << text;
  EXPECT_TRUE(std::isinf(ParseReal("1e300")));
}

// A command line without an input leaves the desktop to start; the settings it changed show
// what each option did.
class Options : public ::testing::Test {
 protected:
  std::optional<int> Run(Parameters params) { return HandleCommandLine(params); }
};

TEST_F(Options, SettingsOptions) {
  ASSERT_EQ(Run({"--jpg-quality=80", "--BRIGHTNESS=-20", "--ROTATION=$10", "--NO-SUBFOLDERS",
                 "--RESIZE-ALGORITHM=lanczos", "--WIDTH-UNIT= percent ", "--GAMMA=1.5"}),
            std::nullopt);
  EXPECT_EQ(gSettings.Output.JPGQuality, 80);
  EXPECT_EQ(gSettings.Adjustment.ImageBrightness, -20);
  EXPECT_EQ(gSettings.Adjustment.DoImageColorCorrection, 1);
  EXPECT_EQ(gSettings.Transform.ImageRotation, 16);
  EXPECT_EQ(gSettings.Transform.DoImageRotation, 1);
  EXPECT_EQ(gSettings.Advanced.KeepSubfolders, 0);
  EXPECT_EQ(gSettings.Transform.ImageResizeAlgorithm, 5);
  EXPECT_EQ(gSettings.Transform.ImageWidthUnit, 1);
  EXPECT_FLOAT_EQ(gSettings.Adjustment.ImageGamma, 1.5f);
}

TEST_F(Options, FlagsIgnoreTheirValue) {
  ASSERT_EQ(Run({"--INVERT=0", "--png-interlaced"}), std::nullopt);
  EXPECT_EQ(gSettings.Adjustment.ImageInvert, 1);
  EXPECT_EQ(gSettings.Adjustment.DoImageColorCorrection, 1);
  EXPECT_EQ(gSettings.Output.PNGInterlaced, 1);
}

TEST_F(Options, QuotedTextsJoinParameters) {
  ASSERT_EQ(Run({"--WM-TEXT=\"Hello", "World\"", "--FILENAME-MASK=\"a b\""}), std::nullopt);
  EXPECT_EQ(gSettings.Watermark.Text, "Hello World");
  EXPECT_EQ(gSettings.Watermark.DoWatermark, 1);
  EXPECT_EQ(gSettings.Advanced.FilenameMask, "a b");
  ASSERT_EQ(Run({"--WM-TEXT=\"never closed", "more", "words"}), std::nullopt);
  EXPECT_EQ(gSettings.Watermark.Text, "never closed more words");
}

TEST_F(Options, TheLaterOptionWins) {
  ASSERT_EQ(Run({"--JPG-QUALITY=10", "--JPG-QUALITY=20", "--WM-TEXT=a", "--WM-IMAGE=b"}),
            std::nullopt);
  EXPECT_EQ(gSettings.Output.JPGQuality, 20);
  EXPECT_EQ(gSettings.Watermark.DoWatermark, 2);
}

TEST_F(Options, UnknownOptionsAndPlainParametersAreSkipped) {
  EXPECT_EQ(Run({"-X", "plain", "--NOT-AN-OPTION=1", "--FR-SOLID-LEFT=5"}), std::nullopt);
  EXPECT_EQ(gSettings.Frame.SolidLeft, 5);
  EXPECT_EQ(gSettings.Frame.DoFrame, 1);
  // Help only counts in the first position.
  EXPECT_EQ(Run({"--nothing", "-H"}), std::nullopt);
  // An output folder alone is no console action.
  EXPECT_EQ(Run({"-O", "/tmp"}), std::nullopt);
}

TEST_F(Options, MissingValuesAreErrorsThatStopTheLoop) {
  const Parameters cases[] = {{"-I"},
                              {"-I", "-O"},
                              {"--INPUT"},
                              {"--JPG-QUALITY"},
                              {"--JPG-QUALITY=", "--PNG-BPP=8"},
                              {"--WIDTH=--5"},
                              {"-C"},
                              {"--PROFILE=/no/such/profile.ini"}};
  for (const Parameters& params : cases) {
    SCOPED_TRACE(params[0]);
    EXPECT_EQ(Run(params), 1);
    EXPECT_EQ(gSettings.Output.PNGBPP, 0);
  }
}

TEST_F(Options, MainOptions) {
  // -I takes the next parameter even when it is a long option with a value.
  EXPECT_EQ(Run({"--NO-SUBFOLDERS", "-O", "\"/out dir/\"", "-c", "PNG", "-d"}), std::nullopt);
  EXPECT_EQ(gInput.OutputFolder, "/out dir/");
  EXPECT_EQ(gContext.outputFormat.extension, "PNG") << "kept as typed";
  EXPECT_EQ(gContext.consoleMessageMode, "DEBUG");
}

}  // namespace

namespace {

class Profiles : public Options {
 protected:
  std::string Write(const std::string& text) {
    const std::string path = dir_ / "profile.ini";
    EXPECT_TRUE(WriteBytes(path, text));
    return path;
  }
  TempFolder dir_;
};

TEST_F(Profiles, KeysOfTheCliGroupAreOptions) {
  const std::string path = Write(
      "[Other]\n--PNG-BPP = 24\n[cli]\n--jpg-quality = 80\n--INVERT = 0\n--WM-SOLID-OPACITY = 7\n"
      "--FR-SOLID-OPACITY = 9\n--FILENAME-MASK = \" a %filename% \"\n--WM-TEXT = \"quoted\"\n"
      "--RESIZE-ALGORITHM =  lanczos  \n--WIDTH =\n-I = nope\n");
  ASSERT_EQ(Run({"--profile=" + path}), std::nullopt);
  EXPECT_EQ(gSettings.Output.JPGQuality, 80);
  EXPECT_EQ(gSettings.Output.PNGBPP, 0) << "another group";
  EXPECT_EQ(gSettings.Adjustment.ImageInvert, 1) << "flags by presence";
  EXPECT_EQ(gSettings.Adjustment.DoImageColorCorrection, 1);
  EXPECT_EQ(gSettings.Frame.SolidOpacity, 7) << "only the profile's own name for it";
  EXPECT_EQ(gSettings.Advanced.FilenameMask, " a %filename% ");
  EXPECT_EQ(gSettings.Watermark.Text, "\"quoted\"");
  EXPECT_EQ(gSettings.Transform.ImageResizeAlgorithm, 5);
  EXPECT_EQ(gSettings.Transform.ImageWidth, 0);
  EXPECT_EQ(gSettings.Transform.DoImageResize, 1);
  EXPECT_FALSE(gInput.consoleMode) << "main options are not read from a profile";
}

TEST_F(Profiles, AppliedWhereItStandsOnTheCommandLine) {
  const std::string path = Write("[CLI]\n--JPG-QUALITY=80\n--PNG-BPP=8\n");
  ASSERT_EQ(Run({"--JPG-QUALITY=10", "--profile=" + path, "--PNG-BPP=24"}), std::nullopt);
  EXPECT_EQ(gSettings.Output.JPGQuality, 80);
  EXPECT_EQ(gSettings.Output.PNGBPP, 24);
  EXPECT_EQ(Run({"--profile=" + Write("no groups at all")}), std::nullopt)
      << "a file without CLI is fine";
}

}  // namespace

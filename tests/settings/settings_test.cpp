// Settings defaults, the settings table, colour texts and the folder history.
#include "settings.h"

#include <gtest/gtest.h>

#include <set>

#include "settings_table.h"

namespace {

// The address of a row's field, whatever its type.
const void* FieldAddress(const SettingDef& def) {
  return std::visit([](auto* p) -> const void* { return p; }, def.field(gSettings));
}

TEST(SettingsTable, EveryRowHasItsOwnFieldKeyAndOption) {
  std::set<const void*> fields;
  std::set<std::string> keys, options;
  for (const SettingDef& def : SettingsTable()) {
    SCOPED_TRACE(std::string(def.group) + "/" + def.key);
    EXPECT_TRUE(fields.insert(FieldAddress(def)).second) << "field shared with another row";
    EXPECT_TRUE(keys.insert(std::string(def.group) + "/" + def.key).second);
    if (def.option) {
      EXPECT_TRUE(options.insert(def.option).second) << def.option;
    }
    if (def.sideFlag) {
      const void* flag =
          std::visit([](auto* p) -> const void* { return p; }, def.sideFlag(gSettings));
      EXPECT_NE(FieldAddress(def), flag);
    }
  }
  // The same key in two groups stays two settings.
  EXPECT_NE(FindSetting("Transform", "Image Rotation"), FindSetting("Watermark", "Image Rotation"));
  EXPECT_EQ(FindSetting("Output", "JPG Quality")->number, 95);
}

TEST(ResetSettings, ConsoleAndDesktopDifferOnlyInKeepAspectRatio) {
  ResetSettings(true);
  Settings console = gSettings;
  ResetSettings(false);
  EXPECT_EQ(console.Transform.KeepAspectRatio, 0);
  EXPECT_EQ(gSettings.Transform.KeepAspectRatio, 1);
  for (const SettingDef& def : SettingsTable()) {
    if (def.rule == DefaultRule::KeepAspectRatio || def.rule == DefaultRule::Now) continue;
    SCOPED_TRACE(def.key);
    bool same =
        std::visit([&](auto* a) { return *a == *std::get<decltype(a)>(def.field(gSettings)); },
                   def.field(console));
    EXPECT_TRUE(same);
  }
}

TEST(ResetSettings, Defaults) {
  ResetSettings(true);
  EXPECT_EQ(gSettings.General.CFG, 19);
  EXPECT_EQ(gSettings.General.Language, "en");
  EXPECT_EQ(gSettings.Input.Format, "hdr");
  EXPECT_EQ(gSettings.Output.Format, "bmp");
  EXPECT_EQ(gSettings.Output.JPGQuality, 95);
  EXPECT_EQ(gSettings.Output.WEBPQuality, 100);
  EXPECT_EQ(gSettings.Input.RAWToneMapping, 2);
  EXPECT_EQ(gSettings.Transform.ImageResizeAlgorithm, 3);
  EXPECT_FLOAT_EQ(gSettings.Adjustment.ImageGamma, 1.0f);
  EXPECT_EQ(gSettings.Frame.SolidOpacity, 255);
  EXPECT_EQ(gSettings.Watermark.BackOpacity, 1);
  EXPECT_EQ(gSettings.Watermark.TextPosition, 8);
  EXPECT_EQ(gSettings.Watermark.Font, "Arial");
  EXPECT_EQ(gSettings.Watermark.BackColors, gSettings.Watermark.FontColors);
  EXPECT_FALSE(gSettings.Watermark.Text.empty());
  EXPECT_EQ(gSettings.Advanced.FilenameMask, "%filename%.%ext%");
  EXPECT_EQ(gSettings.Advanced.KeepSubfolders, 1);
  EXPECT_EQ(gSettings.Advanced.OutFoldersNumber, 5);
  EXPECT_GT(gSettings.General.UpdateDate, 1600000000);
  EXPECT_EQ(gSettings.Advanced.CustomTimestamp, gSettings.General.UpdateDate);
}

TEST(ResetSettings, LeavesTheConfigurationPathAlone) {
  gSettings.ConfigPath = "/somewhere/config.ini";
  ResetSettings(false);
  EXPECT_EQ(gSettings.ConfigPath, "/somewhere/config.ini");
}

TEST(ResetSettings, CentresTheDefaultWindow) {
  struct Case {
    int width, height, x, y;
  } cases[] = {
      {1920, 1080, 705, 375}, {500, 1080, 100, 375}, {510, 330, 100, 100}, {0, 0, 100, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    SetDesktopSize(c.width, c.height);
    ResetSettings(false);
    EXPECT_EQ(gSettings.Window.X, c.x);
    EXPECT_EQ(gSettings.Window.Y, c.y);
    EXPECT_EQ(gSettings.Window.Width, 510);
    EXPECT_EQ(gSettings.Window.Height, 330);
  }
  SetDesktopSize(0, 0);
}

TEST(Colors, ParseHexColor) {
  struct Case {
    const char* text;
    Color color;
  } cases[] = {
      {"FF8000", {255, 128, 0}}, {"ff8000", {255, 128, 0}}, {"0a0B0c", {10, 11, 12}},
      {"FF800", {0, 0, 0}},      {"FF80000", {0, 0, 0}},    {"", {0, 0, 0}},
      {"1G2H3I", {1, 2, 3}},     {"G1H2I3", {0, 0, 0}},     {"zz00FF", {0, 0, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseHexColor(c.text), c.color);
  }
  EXPECT_EQ(ColorToHex({255, 128, 0}), "FF8000");
  EXPECT_EQ(ColorToHex({0, 10, 171}), "000AAB");
}

TEST(RecentList, EntriesAreTrimmedFields) {
  const std::string list = " /a/ \t/b/\t\t/d/";
  EXPECT_EQ(RecentListAt(list, 0), "/a/");
  EXPECT_EQ(RecentListAt(list, 1), "/b/");
  EXPECT_EQ(RecentListAt(list, 2), "");
  EXPECT_EQ(RecentListAt(list, 3), "/d/");
  EXPECT_EQ(RecentListAt(list, 4), "");
  EXPECT_EQ(RecentListAt(list, -1), "");
}

TEST(RecentList, AddingMovesToTheFrontAndKeepsTheLimit) {
  const std::string history = "/A/\t/B/\t/C/\t/D/\t/E/";
  struct Case {
    const char* folder;
    int limit;
    const char* expected;
  } cases[] = {
      {"/c/", 5, "/c/\t/A/\t/B/\t/D/\t/E/"},
      {"/F/", 5, "/F/\t/A/\t/B/\t/C/\t/D/"},
      {"/F/", 2, "/F/\t/A/"},
      {"/F/", 0, "/F/"},
      {"/É/", 5, "/É/\t/A/\t/B/\t/C/\t/D/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.folder) + " limit " + std::to_string(c.limit));
    EXPECT_EQ(AddToRecentList(history, c.folder, c.limit), c.expected);
  }
  // Letter case of non-ASCII letters counts as the same folder too.
  EXPECT_EQ(AddToRecentList("/é/\t/x/", "/É/", 5), "/É/\t/x/");
  EXPECT_EQ(AddToRecentList("", "/x/", 5), "/x/");
}

}  // namespace

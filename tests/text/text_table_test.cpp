// The text table: built-in data, lookups, placeholders, language replacements, call sites.
#include "text_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "english_texts.h"
#include "unicode.h"

namespace {

const std::string kMissing = kNoStringError;

// Every test starts from the built-in English table.
class TextTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(BuildTextTable("")); }
  void TearDown() override { BuildTextTable(""); }
};

struct GroupEntry {
  std::string group, key, text;
};

std::vector<GroupEntry> BuiltInEntries() {
  std::vector<GroupEntry> entries;
  std::string group;
  const TextPair* data = EnglishTexts();
  for (size_t i = 0; i < EnglishTextCount(); ++i) {
    std::string key = data[i].key;
    if (key == "_END_") break;
    if (key == "_GROUP_")
      group = data[i].text;
    else
      entries.push_back({group, key, data[i].text});
  }
  return entries;
}

TEST(EnglishTexts, GroupsInOrderWithTheirEntryCounts) {
  const std::vector<std::pair<std::string, int>> expected = {
      {"Menu", 28}, {"General", 10},         {"Msg", 42},     {"Dialog", 18}, {"Preferences", 223},
      {"About", 4}, {"Custom-Converter", 4}, {"Uninstall", 3}};
  std::vector<std::pair<std::string, int>> actual;
  const TextPair* data = EnglishTexts();
  const size_t count = EnglishTextCount();
  ASSERT_GT(count, 0u);
  for (size_t i = 0; i + 1 < count; ++i) {
    const std::string key = data[i].key;
    ASSERT_NE(key, "_END_") << "at pair " << i;
    if (key == "_GROUP_") {
      actual.emplace_back(data[i].text, 0);
      continue;
    }
    ASSERT_FALSE(actual.empty()) << "entry before the first group: " << key;
    ++actual.back().second;
  }
  EXPECT_EQ(actual, expected);
  EXPECT_STREQ(data[count - 1].key, "_END_");
  EXPECT_STREQ(data[count - 1].text, "");
}

TEST_F(TextTableTest, EveryBuiltInEntryIsFoundInAnyLetterCase) {
  for (const GroupEntry& e : BuiltInEntries()) {
    SCOPED_TRACE(e.group + " / " + e.key);
    EXPECT_EQ(GetText(e.group, e.key), e.text);
    EXPECT_EQ(GetText(LowerCase(e.group), LowerCase(e.key)), e.text);
    EXPECT_EQ(GetText(UpperCase(e.group), UpperCase(e.key)), e.text);
  }
}

struct LookupCase {
  const char* name;
  const char* group;
  const char* key;
  std::string text;
};

TEST_F(TextTableTest, Lookups) {
  const LookupCase cases[] = {
      {"data's letter case", "Preferences", "Title", "Preferences..."},
      {"lower case", "preferences", "title", "Preferences..."},
      {"mixed case", "pReFeReNcEs", "tItLe", "Preferences..."},
      {"key of another group", "Menu", "Title", kMissing},
      {"unknown group", "Nonexistent", "File", kMissing},
      {"empty group", "", "File", kMissing},
      {"empty key", "Menu", "", kMissing},
      {"both empty", "", "", kMissing},
      {"trailing space", "Menu", "File ", kMissing},
      {"duplicate key", "Preferences", "Medium", "Medium"},
      {"first key of a group", "Menu", "About", "About..."},
      {"last key of a group", "Menu", "Visit Homepage", "Visit the Program's Homepage"},
      {"below the first key of its slot", "Menu", "Aardvark", kMissing},
      {"above the last key of a group", "Menu", "Visit Homepages", kMissing},
      {"no key with that first character", "Menu", "Zoom", kMissing},
      {"key of the next group above the last", "General", "Reset to Defaults", kMissing},
      {"key of the next group above the last 2", "Dialog", "Top", kMissing},
      {"above the last key of the table", "Uninstall", "Uninstall Texts", kMissing},
      {"last key of the table", "Uninstall", "Uninstall Text",
       "Full Uninstall - Visit Uninstall Center"},
      {"prefix of two keys", "Menu", "Select Input", kMissing},
      {"shorter of two keys", "Menu", "Select Input File", "Add Input File..."},
      {"longer of two keys", "Menu", "Select Input Files", "Add Input Files..."},
      {"between two keys", "Menu", "Select Input Filesx", kMissing},
      {"short key before its longer forms", "Preferences", "Csv", "CSV"},
      {"longer form", "Preferences", "Csv Export", "Export to CSV"},
      {"longest form", "Preferences", "Csv Delimiter", "CSV Delimiter:"},
      {"number at the end", "Preferences", "Bayer16", "Bayer ordered dot dithering 16x16"},
      {"key that differs in punctuation", "Preferences", "X Offset", kMissing},
      {"group with a hyphen", "custom-converter", "search", "Search"},
      {"group without the hyphen", "CustomConverter", "Search", kMissing},
      {"line breaks kept", "Msg", "Ask continue to find",
       "No matches of %s1% found!\r\n\r\nDo you want to search from the start of the list?"},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetText(c.group, c.key), c.text);
  }
}

TEST_F(TextTableTest, AlternatingGroupsGiveEachGroupsText) {
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(GetText("About", "Title"), "About...");
    EXPECT_EQ(GetText("Uninstall", "Title"), "Uninstall");
    EXPECT_EQ(GetText("Nonexistent", "Title"), kMissing);
    EXPECT_EQ(GetText("custom-converter", "TITLE"), "Find a File Converter");
    EXPECT_EQ(GetText("", "Title"), kMissing);
  }
}

// Data of our own for what the built-in texts do not hold.
TEST_F(TextTableTest, OtherDataSortsAndFindsEveryKey) {
  const TextPair data[] = {
      {"Stray", "before any group"},
      {"_GROUP_", "empty"},
      {"_GROUP_", "wide"},
      {"\xCE\xA9mega", "omega"},            // U+03A9, beyond the 256 character slots
      {"\xF0\x9F\x98\x80 smile", "smile"},  // U+1F600, a surrogate pair in UTF-16
      {"\xEE\x80\x80 private", "private"},  // U+E000, above the surrogates in UTF-16
      {"\xC3\x9Cnter", "unter"},            // U+00DC, a slot above ASCII
      {"plain", "plain"},
      {"Dup", "second"},
      {"dup", "first"},
      {"_GROUP_", "after"},
      {"Plain", "other group"},
      {"_END_", ""},
      {"Late", "after the end"},
  };
  ASSERT_TRUE(BuildTextTable(data, sizeof(data) / sizeof(data[0]), nullptr));
  const LookupCase cases[] = {
      {"group without entries", "Empty", "Plain", kMissing},
      {"key below 256 after a wide group", "wide", "PLAIN", "plain"},
      {"Latin-1 first character", "Wide", "\xC3\xBCnter", "unter"},           // lower-case u umlaut
      {"first character beyond the slots", "Wide", "\xCF\x89mega", "omega"},  // lower-case omega
      {"surrogate pair", "Wide", "\xF0\x9F\x98\x80 smile", "smile"},
      {"above the surrogates", "Wide", "\xEE\x80\x80 private", "private"},
      {"missing wide key", "Wide", "\xCE\xA9", kMissing},
      {"equal keys: the lower text", "Wide", "DUP", "first"},
      {"next group", "After", "plain", "other group"},
      {"pair before the first group", "", "Stray", kMissing},
      {"pair after the end", "After", "Late", kMissing},
      {"built-in texts are gone", "Menu", "File", kMissing},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetText(c.group, c.key), c.text);
  }
}

TEST_F(TextTableTest, DataWithoutEndStopsAtItsCount) {
  const TextPair data[] = {{"_GROUP_", "Only"}, {"Key", "text"}};
  ASSERT_TRUE(BuildTextTable(data, 2, nullptr));
  EXPECT_EQ(GetText("Only", "Key"), "text");
  EXPECT_EQ(GetText("Only", "Other"), kMissing);
}

TEST_F(TextTableTest, LanguageValuesReplaceTheTextsOfTheirKeys) {
  // As the INI reader would: names matched regardless of letter case.
  const std::map<std::pair<std::string, std::string>, std::string> file = {
      {{"MENU", "FILE"}, "  Datei\t"},      {{"MENU", "EXIT"}, ""},
      {{"MENU", "NOT A KEY"}, "ignored"},   {{"PREFERENCES", "MEDIUM"}, "Mittel"},
      {{"NOT A GROUP", "FILE"}, "ignored"},
  };
  std::set<std::string> askedGroups;
  LanguageLookup lookup = [&](const std::string& group, const std::string& key) {
    askedGroups.insert(group);
    auto it = file.find({AsciiUpper(group), AsciiUpper(key)});
    return it == file.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  ASSERT_TRUE(BuildTextTable(EnglishTexts(), EnglishTextCount(), lookup));
  EXPECT_EQ(GetText("Menu", "File"), "Datei");
  EXPECT_EQ(GetText("Menu", "Exit"), "");
  EXPECT_EQ(GetText("Menu", "New"), "New");
  EXPECT_EQ(GetText("Menu", "Not a key"), kMissing);
  EXPECT_EQ(GetText("Preferences", "Medium"), "Mittel");
  EXPECT_EQ(GetText("General", "File"), kMissing);
  EXPECT_EQ(GetText("Not a group", "File"), kMissing);
  EXPECT_EQ(askedGroups.count("NOT A GROUP"), 0u);
  EXPECT_EQ(askedGroups.count("MENU"), 1u);
}

TEST_F(TextTableTest, LanguageFileThatCannotBeReadChangesNothing) {
  ASSERT_TRUE(BuildTextTable("/nonexistent/folder/language.ini"));
  EXPECT_EQ(GetText("Menu", "File"), "File");
  EXPECT_EQ(GetText("Preferences", "Medium"), "Medium");
}

struct FormatCase {
  const char* name;
  std::string text, s1, s2, s3, s4, result;
};

TEST(FormatText, FillsPlaceholders) {
  const FormatCase cases[] = {
      {"two values", "Files converted: %s1% of %s2%", "3", "7", "", "", "Files converted: 3 of 7"},
      {"empty value keeps its placeholder", "Files converted: %s1% of %s2%", "3", "", "", "",
       "Files converted: 3 of %s2%"},
      {"every occurrence", "%s1%-%s1%-%s1%", "a", "", "", "", "a-a-a"},
      {"upper-case S", "%S1% and %s1%", "x", "", "", "", "x and x"},
      {"all four", "%s4%%s3%%s2%%s1%", "1", "2", "3", "4", "4321"},
      {"earlier value brings a later placeholder", "%s1%", "%s2%", "two", "", "", "two"},
      {"later value brings an earlier placeholder", "%s2%", "one", "%s1%", "", "", "%s1%"},
      {"value holding its own placeholder", "<%s1%>", "%s1%%s1%", "", "", "", "<%s1%%s1%>"},
      {"not placeholders", "%s1 %s5% %t1% s1% %%s1%%", "v", "", "", "", "%s1 %s5% %t1% s1% %v%"},
      {"empty template", "", "a", "b", "c", "d", ""},
      {"no values", "%s1%", "", "", "", "", "%s1%"},
      {"line breaks", "A:\r\n%s1%\r\n", "/in/", "", "", "", "A:\r\n/in/\r\n"},
      {"UTF-8 value", "%s1%", "caf\xC3\xA9", "", "", "", "caf\xC3\xA9"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatText(c.text, c.s1, c.s2, c.s3, c.s4), c.result);
  }
}

TEST_F(TextTableTest, FormatsTextsOfTheTable) {
  EXPECT_EQ(FormatText(GetText("Msg", "Files converted"), "3", "7"), "Files converted: 3 of 7");
  EXPECT_EQ(FormatText(GetText("Msg", "Unable to open file"), "/in/a.hdr"),
            "Unable to open the file: /in/a.hdr!");
  EXPECT_EQ(FormatText(GetText("Msg", "Invalid input folder"), "/in/"),
            "The following input folder is invalid or doesn't exist:\r\n/in/\r\n\r\n"
            "Please, correct the input path and try again!");
}

// Reads a C string literal at text[i] (just past optional blanks); false when there is none.
bool ReadLiteral(const std::string& text, size_t& i, std::string& out) {
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  if (i >= text.size() || text[i] != '"') return false;
  out.clear();
  for (++i; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    out.push_back(text[i]);
  }
  if (i >= text.size()) return false;
  ++i;
  return true;
}

bool SkipTo(const std::string& text, size_t& i, char c) {
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  if (i >= text.size() || text[i] != c) return false;
  ++i;
  return true;
}

struct CallSite {
  std::string where, group, key;
};

// Every GetText("Group", "Key") with two literal arguments in the sources.
std::vector<CallSite> LiteralCallSites(const std::filesystem::path& root) {
  std::vector<CallSite> sites;
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    const std::string ext = item.path().extension().string();
    if (!item.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(item.path(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    const std::string call = "GetText(";
    for (size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
      if (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_'))
        continue;
      size_t i = at + call.size();
      CallSite site;
      if (ReadLiteral(text, i, site.group) && SkipTo(text, i, ',') &&
          ReadLiteral(text, i, site.key) && SkipTo(text, i, ')')) {
        site.where = item.path().string();
        sites.push_back(site);
      }
    }
  }
  return sites;
}

TEST_F(TextTableTest, EveryTextTheProgramAsksForExists) {
  const std::vector<CallSite> sites = LiteralCallSites(LUMAPORT_SOURCE_DIR);
  ASSERT_FALSE(sites.empty()) << "no GetText call found below " << LUMAPORT_SOURCE_DIR;
  for (const CallSite& site : sites)
    EXPECT_NE(GetText(site.group, site.key), kMissing)
        << site.where << ": GetText(\"" << site.group << "\", \"" << site.key << "\")";
}

}  // namespace

// The INI-style reader and writer: reading rules, value conversions, hostile files.
#include "ini_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <random>

#include "temp_folder.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

enum class Read { Text, Int, Float, Missing };

struct ReadCase {
  const char* name;
  std::string file;
  const char* group;
  const char* key;
  Read how;
  std::string expected;  // Text: the value; Int: decimal; Float: as the writer prints it
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

// Defaults that no case reads from a file.
const std::string kTextDefault = "(default)";
constexpr int32_t kIntDefault = 42;
constexpr float kFloatDefault = -1.25f;

const ReadCase kReadCases[] = {
    // Encoding.
    {"bom_means_utf8", kBom + "[G]\r\nk = caf\xC3\xA9\r\n", "G", "k", Read::Text, "caf\xC3\xA9"},
    {"no_bom_means_latin1", "[G]\r\nk = caf\xE9\r\n", "G", "k", Read::Text, "caf\xC3\xA9"},
    {"latin1_high_bytes", "[G]\nk=\xFF\xA0\x80", "G", "k", Read::Text, "\xC3\xBF\xC2\xA0\xC2\x80"},
    {"bom_alone_is_not_text", kBom + "[G]\nk=1", "G", "k", Read::Int, "1"},
    // Line ends.
    {"lf_lines", "[G]\nk=1\nj=2\n", "G", "j", Read::Int, "2"},
    {"cr_lines", "[G]\rk=1\rj=2\r", "G", "j", Read::Int, "2"},
    {"crlf_lines", "[G]\r\nk=1\r\nj=2\r\n", "G", "j", Read::Int, "2"},
    {"mixed_line_ends", "[G]\r\n\r\rk=1\n\r\nj=2", "G", "j", Read::Int, "2"},
    {"last_line_without_end", "[G]\nk = last", "G", "k", Read::Text, "last"},
    // Blanks and comments.
    {"leading_blanks_skipped", " \t [G]\n\t  k=7", "G", "k", Read::Int, "7"},
    {"key_trailing_blanks", "[G]\nmy key \t = v", "G", "my key", Read::Text, "v"},
    {"value_blanks_trimmed", "[G]\nk =  \t v w \t ", "G", "k", Read::Text, "v w"},
    {"empty_value", "[G]\nk =", "G", "k", Read::Text, ""},
    {"value_keeps_later_equals", "[G]\nk = a=b", "G", "k", Read::Text, "a=b"},
    {"comment_line", "[G]\n;k=1\n  ; k=2", "G", "k", Read::Missing, ""},
    {"semicolon_inside_value", "[G]\nk = a;b", "G", "k", Read::Text, "a;b"},
    {"line_without_equals_is_no_key", "[G]\nk\nk 5", "G", "k", Read::Missing, ""},
    // Groups.
    {"text_after_bracket_ignored", "[G] junk ] more\nk=1", "G", "k", Read::Int, "1"},
    {"unterminated_header_runs_to_line_end", "[G\nk=1", "G", "k", Read::Int, "1"},
    {"header_name_untrimmed", "[ G ]\nk=1", " G ", "k", Read::Int, "1"},
    {"empty_group_name", "[]\nk=1", "", "k", Read::Int, "1"},
    {"group_case_ignored", "[gEnErAl]\nk=1", "GENERAL", "k", Read::Int, "1"},
    {"key_case_ignored", "[G]\njpg quality=80", "G", "JPG Quality", Read::Int, "80"},
    {"non_ascii_case_not_folded", "[G]\n\xC3\xA9=1", "G", "\xC3\x89", Read::Missing, ""},
    {"first_header_wins", "[G]\nk=1\n[G]\nk=2", "G", "k", Read::Int, "1"},
    {"later_header_of_same_name_unseen", "[G]\na=1\n[g]\nk=2", "G", "k", Read::Missing, ""},
    {"first_key_wins", "[G]\nk=1\nK=2", "G", "k", Read::Int, "1"},
    {"search_stops_at_next_header", "[G]\n[H]\nk=1", "G", "k", Read::Missing, ""},
    {"key_before_any_header", "k=1\n[G]", "G", "k", Read::Missing, ""},
    {"missing_group", "[G]\nk=1", "H", "k", Read::Missing, ""},
    // Integers as atoi reads them.
    {"int_plain", "[G]\nk=-17", "G", "k", Read::Int, "-17"},
    {"int_plus_sign", "[G]\nk=+3", "G", "k", Read::Int, "3"},
    {"int_stops_at_other_char", "[G]\nk=24px", "G", "k", Read::Int, "24"},
    {"int_decimal_point", "[G]\nk=1.9", "G", "k", Read::Int, "1"},
    {"int_non_numeric_is_zero", "[G]\nk=abc", "G", "k", Read::Int, "0"},
    {"int_empty_is_zero", "[G]\nk=", "G", "k", Read::Int, "0"},
    {"int_sign_only_is_zero", "[G]\nk=-", "G", "k", Read::Int, "0"},
    {"int_no_hex", "[G]\nk=0x10", "G", "k", Read::Int, "0"},
    {"int_too_large_clamped", "[G]\nk=99999999999999999999", "G", "k", Read::Int, "2147483647"},
    {"int_too_small_clamped", "[G]\nk=-99999999999", "G", "k", Read::Int, "-2147483648"},
    {"int_missing_gives_default", "[G]\nj=1", "G", "k", Read::Int, "42"},
    // Floats.
    {"float_plain", "[G]\nk=1.5", "G", "k", Read::Float, "1.500000"},
    {"float_exponent_and_tail", "[G]\nk=2.5e1x", "G", "k", Read::Float, "25.000000"},
    {"float_leading_point", "[G]\nk=-.25", "G", "k", Read::Float, "-0.250000"},
    {"float_plus_infinity", "[G]\nk=+Infinity", "G", "k", Read::Float, "+Infinity"},
    {"float_minus_infinity_any_case", "[G]\nk=-iNFINITY", "G", "k", Read::Float, "-Infinity"},
    {"float_nan_any_case", "[G]\nk=nAn", "G", "k", Read::Float, "NaN"},
    {"float_beyond_range_is_infinite", "[G]\nk=1e999", "G", "k", Read::Float, "+Infinity"},
    {"float_beyond_float_range", "[G]\nk=-1e300", "G", "k", Read::Float, "-Infinity"},
    {"float_non_numeric_is_zero", "[G]\nk=abc", "G", "k", Read::Float, "0.000000"},
    {"float_empty_is_zero", "[G]\nk=", "G", "k", Read::Float, "0.000000"},
    {"float_missing_gives_default", "[G]\n", "G", "k", Read::Float, "-1.250000"},
    // Binary bytes.
    {"nul_byte_in_value", std::string("[G]\nk=a\0b", 9), "G", "k", Read::Text,
     std::string("a\0b", 3)},
};

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FollowsTheReadingRules) {
  const ReadCase& c = GetParam();
  IniReader ini;
  ini.Parse(c.file);
  switch (c.how) {
    case Read::Text:
      EXPECT_TRUE(ini.HasKey(c.group, c.key));
      EXPECT_EQ(ini.ReadText(c.group, c.key, kTextDefault), c.expected);
      break;
    case Read::Int:
      EXPECT_EQ(std::to_string(ini.ReadInt(c.group, c.key, kIntDefault)), c.expected);
      break;
    case Read::Float:
      EXPECT_EQ(IniFloatText(ini.ReadFloat(c.group, c.key, kFloatDefault)), c.expected);
      break;
    case Read::Missing:
      EXPECT_FALSE(ini.HasKey(c.group, c.key));
      EXPECT_EQ(ini.ReadText(c.group, c.key, kTextDefault), kTextDefault);
      EXPECT_EQ(ini.ReadInt(c.group, c.key, kIntDefault), kIntDefault);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, IniRead, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& param) {
                           return std::string(param.param.name);
                         });

TEST(IniReader, FileThatCannotBeOpenedAnswersDefaults) {
  TempFolder folder;
  for (const std::string& path : {folder / "missing.ini", folder.path()}) {
    SCOPED_TRACE(path);
    IniReader ini(path);
    EXPECT_FALSE(ini.IsOpen());
    EXPECT_FALSE(ini.HasGroup("G"));
    EXPECT_EQ(ini.ReadInt("G", "k", 7), 7);
    EXPECT_EQ(ini.ReadText("G", "k", "d"), "d");
    EXPECT_EQ(ini.ReadFloat("G", "k", 2.5f), 2.5f);
  }
}

TEST(IniReader, OpenReadsTheFileAndReopeningForgetsTheOldOne) {
  TempFolder folder;
  std::ofstream(folder / "a.ini") << "[G]\nk=1\n";
  IniReader ini(folder / "a.ini");
  EXPECT_TRUE(ini.IsOpen());
  EXPECT_EQ(ini.ReadInt("g", "K", 0), 1);
  EXPECT_FALSE(ini.Open(folder / "missing.ini"));
  EXPECT_FALSE(ini.IsOpen());
  EXPECT_FALSE(ini.HasKey("G", "k"));
}

TEST(IniReader, GroupEntriesInFileOrderWithDuplicates) {
  IniReader ini;
  ini.Parse("[CLI]\n--B = 2\n; note\n--a=1\n--B=3\n[cli]\n--C=4\n[Other]\n--D=5\n");
  using Entries = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(ini.GroupEntries("cli"), (Entries{{"--B", "2"}, {"--a", "1"}, {"--B", "3"}}));
  EXPECT_TRUE(ini.GroupEntries("none").empty());
  EXPECT_TRUE(ini.HasGroup("CLI"));
  // A group without value lines still exists.
  ini.Parse("[Empty]\n");
  EXPECT_TRUE(ini.HasGroup("empty"));
  EXPECT_TRUE(ini.GroupEntries("Empty").empty());
}

// Each file would take quadratic time (or worse) to a reader that searches past the end of
// a line; all must come back at once and answer sensibly.
TEST(IniReader, HostileFilesStayLinearAndSafe) {
  const size_t tenMegabytes = 10 * 1024 * 1024;
  std::mt19937 random(12345);
  std::string garbage(4 * 1024 * 1024, '\0');
  for (char& c : garbage)
    c = static_cast<char>(random());

  std::string manyOpenHeaders, manyKeylessLines, manyKeys;
  while (manyOpenHeaders.size() < tenMegabytes)
    manyOpenHeaders += "[G\n";
  while (manyKeylessLines.size() < tenMegabytes)
    manyKeylessLines += "k\n";
  manyKeys = "[G]\n";
  while (manyKeys.size() < tenMegabytes)
    manyKeys += "k=1\n";

  struct Hostile {
    const char* name;
    std::string file;
  } files[] = {
      {"one_10mb_line", std::string(tenMegabytes, 'a')},
      {"one_10mb_unterminated_header", "[" + std::string(tenMegabytes, 'x')},
      {"one_10mb_value", "[G]\nk=" + std::string(tenMegabytes, '9')},
      {"binary_garbage", garbage},
      {"many_unterminated_headers", manyOpenHeaders},
      {"many_lines_without_equals", "[G]\n" + manyKeylessLines},
      {"many_equal_keys", manyKeys},
  };
  for (const Hostile& h : files) {
    SCOPED_TRACE(h.name);
    IniReader ini;
    ini.Parse(h.file);
    EXPECT_TRUE(ini.IsOpen());
    EXPECT_EQ(ini.ReadText("Output", "Format", "bmp"), "bmp");
    ini.GroupEntries("G");
  }
  IniReader ini;
  ini.Parse(files[2].file);
  EXPECT_EQ(ini.ReadInt("G", "k", 0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ini.ReadFloat("G", "k", 0), std::numeric_limits<float>::infinity());
  ini.Parse(manyKeys);
  EXPECT_EQ(ini.GroupEntries("G").size(), (manyKeys.size() - 4) / 4);
}

TEST(IniWriter, WritesBomGroupsValuesAndSeparators) {
  IniWriter ini;
  ini.Group("First");
  ini.WriteInt("Number", -5);
  ini.WriteFloat("Real", 1.5f);
  ini.WriteText("Text", "a\tb \xC3\xA9");
  ini.WriteText("Empty", "");
  ini.Group("Second");
  ini.Group("Third");
  ini.WriteInt("Big", std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ini.Text(),
            "\xEF\xBB\xBF\r\n"
            "[First]\r\n"
            "Number = -5\r\n"
            "Real = 1.500000\r\n"
            "Text = a\tb \xC3\xA9\r\n"
            "Empty = \r\n"
            "; \r\n"
            "[Second]\r\n"
            "; \r\n"
            "[Third]\r\n"
            "Big = -2147483648\r\n"
            "; \r\n");
}

TEST(IniWriter, FloatsAsPercentF) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {1.0f, "1.000000"},       {1.5f, "1.500000"},
      {0.1f, "0.100000"},       {-0.25f, "-0.250000"},
      {9.99f, "9.990000"},      {0.0000004f, "0.000000"},
      {0.0000006f, "0.000001"}, {1e10f, "10000000000.000000"},
      {inf, "+Infinity"},       {-inf, "-Infinity"},
      {std::nanf(""), "NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IniFloatText(c.value), c.text);
    char printed[64];
    if (std::isfinite(c.value)) {
      snprintf(printed, sizeof printed, "%f", static_cast<double>(c.value));
      EXPECT_STREQ(printed, c.text);
    }
  }
}

TEST(IniWriter, WhatItWritesReadsBack) {
  IniWriter writer;
  writer.Group("Values");
  const float values[] = {1.5f, -3.25f, std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()};
  for (size_t i = 0; i < 4; ++i)
    writer.WriteFloat("f" + std::to_string(i), values[i]);
  writer.WriteFloat("nan", std::nanf(""));
  writer.WriteText("Folders", "/a/\xC3\xA9t\xC3\xA9/\t/b/");
  writer.WriteInt("Negative", -2147483647);
  IniReader reader;
  reader.Parse(writer.Text());
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(reader.ReadFloat("Values", "f" + std::to_string(i), 0), values[i]);
  EXPECT_TRUE(std::isnan(reader.ReadFloat("Values", "nan", 0)));
  EXPECT_EQ(reader.ReadText("Values", "Folders", ""), "/a/\xC3\xA9t\xC3\xA9/\t/b/");
  EXPECT_EQ(reader.ReadInt("Values", "Negative", 0), -2147483647);
}

}  // namespace

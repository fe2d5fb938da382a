// The option keyword tables, in both directions.
#include "keywords.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "keyword_ids.h"

namespace {

// Every table's canonical words, for the values 0, 1, 2, ... in order.
const struct {
  int table;
  const char* words;
} kNames[] = {
    {KwDdsLoad, "AUTO BGRA RGBA"},
    {KwRawLoad, "AUTO 8 16 24 48HS 48"},
    {KwFrameChoice, "ALL FIRST MIDDLE LAST RANDOM"},
    {KwToneMapping, "NONE LINEAR AL DRR GD"},
    {KwCompression, "NONE RLE PIZ PXR24 B44 ADOBEDEFLATE LZW JPEG LOGLUV"},
    {KwColorTable, "AUTO EXACT"},
    {KwColorMode, "RGB CMYK LAB"},
    {KwChroma, "NONE LOW MEDIUM HIGH"},
    {KwJpegSave, "STANDARD SIMPLE OPTIMIZED PROGRESSIVE"},
    {KwRotationType, "SIMPLE ADVANCED"},
    {KwSizeUnit, "PIXELS PERCENT"},
    {KwResizeType, "ALLIMAGES LARGEIMAGES"},
    {KwResizeFilter, "BOX BILINEAR BSPLINE BICUBIC CATMULLROM LANCZOS"},
    {KwDither, "FS BAYER4 BAYER8 BAYER16 CLUSTER6 CLUSTER8 CLUSTER16"},
    {KwFrameKind, "NONE SOLID"},
    {KwWatermarkKind, "NONE TEXT IMAGE"},
    {KwFontStyle, "REGULAR BOLD ITALIC BOLDITALIC"},
    {KwFontEffect, "NONE UNDERLINE STRIKETHROUGHT"},
    {KwAlignment, "LEFT CENTER RIGHT"},
    {KwBoundary, "IMAGE FRAME"},
    {KwPosition,
     "TOPLEFT TOPCENTER TOPRIGHT MIDDLELEFT MIDDLECENTER MIDDLERIGHT BOTTOMLEFT BOTTOMCENTER "
     "BOTTOMRIGHT"},
    {KwSizeMode, "FIXED"},
    {KwFileTimestamp, "CURRENT ORIGINAL CUSTOM"},
};

std::vector<std::string> Words(const char* text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

TEST(Keywords, EveryTableNamesItsValuesAndReadsItsWords) {
  ASSERT_EQ(std::size(kNames), 23u);
  for (const auto& entry : kNames) {
    std::vector<std::string> words = Words(entry.words);
    for (size_t value = 0; value < words.size(); ++value) {
      SCOPED_TRACE(std::to_string(entry.table) + " " + words[value]);
      EXPECT_EQ(KeywordName(entry.table, static_cast<int>(value)), words[value]);
      // The two kind tables only name values.
      bool answersValue = entry.table != KwFrameKind && entry.table != KwWatermarkKind;
      EXPECT_EQ(KeywordValue(entry.table, words[value]), answersValue ? int(value) : 0);
    }
    EXPECT_EQ(KeywordName(entry.table, static_cast<int>(words.size())), "");
    EXPECT_EQ(KeywordName(entry.table, -1), "");
  }
}

TEST(Keywords, ValuesOfWords) {
  const struct {
    int table;
    std::string word;
    int value;
  } cases[] = {
      {KwResizeFilter, "lanczos", 5},
      {KwResizeFilter, "LaNcZoS", 5},
      {KwResizeFilter, "LANCZOS ", 0},  // nothing is trimmed
      {KwResizeFilter, " LANCZOS", 0},
      {KwResizeFilter, "LANCZO", 0},  // whole words only
      {KwResizeFilter, "", 0},
      {KwResizeFilter, "BOGUS", 0},  // misspelt: the first entry, Box
      {KwCompression, "zlib9", 3},
      {KwCompression, "ZLib9", 3},
      {KwCompression, "PXR24", 3},
      {KwCompression, "PACKBITS", 3},
      {KwCompression, "ZIP", 1},
      {KwCompression, "RLE", 1},
      {KwCompression, "CCITTFAX3", 1},
      {KwCompression, "ZLIB1", 1},
      {KwCompression, "ZLIB6", 2},
      {KwCompression, "CCITTFAX4", 2},
      {KwCompression, "DEFLATE", 4},
      {KwCompression, "adobedeflate", 5},
      {KwRawLoad, "48", 5},
      {KwRawLoad, "48hs", 4},
      {KwRawLoad, "4", 0},
      {KwSizeMode, "FIXED", 0},
      {KwSizeMode, "SCALED", 0},
      {KwFontEffect, "STRIKETHROUGH", 0},
      {KwFontEffect, "strikethrought", 2},
      {KwFrameKind, "SOLID", 0},
      {KwWatermarkKind, "IMAGE", 0},
      {KwPosition, "bottomright", 8},
      {KwPosition, "BOTTOM RIGHT", 0},
      {KwBoundary, "frame", 1},
      {KwFileTimestamp, "custom", 2},
      {-1, "AUTO", 0},
      {23, "AUTO", 0},
      {KwResizeFilter, std::string("BOX\0X", 5), 0},
      {KwResizeFilter, "BICUBIC\xC3\xA9", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.table) + " \"" + c.word + "\"");
    EXPECT_EQ(KeywordValue(c.table, c.word), c.value);
  }
}

TEST(Keywords, NamesOfValues) {
  const struct {
    int table;
    int value;
    const char* name;
  } cases[] = {
      {KwCompression, 4, "B44"},  // not DEFLATE, which comes later in the table
      {KwCompression, 1, "RLE"},
      {KwCompression, 3, "PXR24"},
      {KwSizeMode, 1, ""},
      {KwWatermarkKind, 2, "IMAGE"},
      {KwFrameKind, 1, "SOLID"},
      {KwDither, 7, ""},
      {-1, 0, ""},
      {23, 0, ""},
      {1000, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.table) + " " + std::to_string(c.value));
    EXPECT_EQ(KeywordName(c.table, c.value), c.name);
  }
}

}  // namespace

// The option keyword tables: words of the command line and their setting values.
#include "keywords.h"

#include <cstddef>

#include "keyword_ids.h"

namespace {

struct Keyword {
  const char* word;
  int value;
};

struct KeywordTable {
  const Keyword* pairs;
  size_t count;
  bool answersValue;  // false: the table only names values, for the debug echo
};

// A value's first word is its canonical name; later words for the same value are aliases.
constexpr Keyword kDdsLoad[] = {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}};
constexpr Keyword kRawLoad[] = {{"AUTO", 0}, {"8", 1},    {"16", 2},
                                {"24", 3},   {"48HS", 4}, {"48", 5}};
constexpr Keyword kFrameChoice[] = {
    {"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}};
constexpr Keyword kToneMapping[] = {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}};
// One table for every format's compression: each word gives its number whatever the format.
constexpr Keyword kCompression[] = {
    {"NONE", 0},      {"RLE", 1},      {"ZIP", 1},     {"PIZ", 2},          {"PXR24", 3},
    {"B44", 4},       {"ZLIB1", 1},    {"ZLIB6", 2},   {"ZLIB9", 3},        {"CCITTFAX3", 1},
    {"CCITTFAX4", 2}, {"PACKBITS", 3}, {"DEFLATE", 4}, {"ADOBEDEFLATE", 5}, {"LZW", 6},
    {"JPEG", 7},      {"LOGLUV", 8}};
constexpr Keyword kColorTable[] = {{"AUTO", 0}, {"EXACT", 1}};
constexpr Keyword kColorMode[] = {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}};
constexpr Keyword kChroma[] = {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}};
constexpr Keyword kJpegSave[] = {
    {"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}};
constexpr Keyword kRotationType[] = {{"SIMPLE", 0}, {"ADVANCED", 1}};
constexpr Keyword kSizeUnit[] = {{"PIXELS", 0}, {"PERCENT", 1}};
constexpr Keyword kResizeType[] = {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}};
constexpr Keyword kResizeFilter[] = {{"BOX", 0},     {"BILINEAR", 1},   {"BSPLINE", 2},
                                     {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}};
constexpr Keyword kDither[] = {{"FS", 0},       {"BAYER4", 1},   {"BAYER8", 2},   {"BAYER16", 3},
                               {"CLUSTER6", 4}, {"CLUSTER8", 5}, {"CLUSTER16", 6}};
constexpr Keyword kFrameKind[] = {{"NONE", 0}, {"SOLID", 1}};
constexpr Keyword kWatermarkKind[] = {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}};
constexpr Keyword kFontStyle[] = {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}};
// Profiles carry this spelling; the usual English spelling is not a word of the table.
constexpr Keyword kFontEffect[] = {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}};
constexpr Keyword kAlignment[] = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
constexpr Keyword kBoundary[] = {{"IMAGE", 0}, {"FRAME", 1}};
constexpr Keyword kPosition[] = {{"TOPLEFT", 0},    {"TOPCENTER", 1},    {"TOPRIGHT", 2},
                                 {"MIDDLELEFT", 3}, {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
                                 {"BOTTOMLEFT", 6}, {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}};
constexpr Keyword kSizeMode[] = {{"FIXED", 0}};
constexpr Keyword kFileTimestamp[] = {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}};

template <size_t N>
constexpr KeywordTable Table(const Keyword (&pairs)[N], bool answersValue = true) {
  return KeywordTable{pairs, N, answersValue};
}

// Indexed by KeywordTableId.
constexpr KeywordTable kTables[] = {
    Table(kDdsLoad),          Table(kRawLoad),
    Table(kFrameChoice),      Table(kToneMapping),
    Table(kCompression),      Table(kColorTable),
    Table(kColorMode),        Table(kChroma),
    Table(kJpegSave),         Table(kRotationType),
    Table(kSizeUnit),         Table(kResizeType),
    Table(kResizeFilter),     Table(kDither),
    Table(kFrameKind, false), Table(kWatermarkKind, false),
    Table(kFontStyle),        Table(kFontEffect),
    Table(kAlignment),        Table(kBoundary),
    Table(kPosition),         Table(kSizeMode),
    Table(kFileTimestamp),
};
constexpr int kTableCount = static_cast<int>(sizeof kTables / sizeof kTables[0]);
static_assert(kTableCount == KwFileTimestamp + 1, "one keyword table per id");

const KeywordTable* TableOf(int table) {
  return table >= 0 && table < kTableCount ? &kTables[table] : nullptr;
}

}  // namespace

int KeywordValue(int table, const std::string& word) {
  const KeywordTable* found = TableOf(table);
  if (!found || !found->answersValue) return 0;
  std::string upper = word;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  for (size_t i = 0; i < found->count; ++i)
    if (upper == found->pairs[i].word) return found->pairs[i].value;
  return 0;
}

std::string KeywordName(int table, int value) {
  const KeywordTable* found = TableOf(table);
  if (!found) return std::string();
  for (size_t i = 0; i < found->count; ++i)
    if (found->pairs[i].value == value) return found->pairs[i].word;
  return std::string();
}

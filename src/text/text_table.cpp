// The text table: per group, upper-case keys in sorted order with an index by first character,
// so that a lookup scans only the keys that share the first character.
#include "text_table.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "language_file.h"
#include "unicode.h"

namespace {

struct TextGroup {
  std::string name;  // upper case
  int32_t first = 1;
  int32_t last = 0;  // first - 1 when the group has no entries
  // Index of the first key starting with each character code below 256, 0 when none does.
  std::array<int32_t, 256> firstCharIndex{};
  // Index of the first key starting with a code of 256 or more; such keys sort last. 0 when
  // there is none.
  int32_t firstBeyondIndex = 0;
};

// Slot 0 of each array stands for "nothing": group 0 has no name and no entries, and entry
// indexes start at 1.
struct TextTable {
  std::vector<TextGroup> groups = std::vector<TextGroup>(1);
  std::vector<std::u16string> keys = std::vector<std::u16string>(1);  // compared by code unit
  std::vector<std::string> keyNames = std::vector<std::string>(1);    // the same keys in UTF-8
  std::vector<std::string> texts = std::vector<std::string>(1);
};

TextTable table;
// The group the last lookup found. Atomic, and read once per lookup, so that a lookup from a
// second thread can at worst cost a search, never hand out a text of a group not asked for.
std::atomic<size_t> cachedGroup{0};

// The UTF-16 code units of UTF-8 text. A byte that does not decode becomes a lone low
// surrogate of its own value, so that different texts never give equal units.
std::u16string Utf16Units(const std::string& text) {
  std::u16string units;
  units.reserve(text.size());
  const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t cp;
    utf8proc_ssize_t n = utf8proc_iterate(p, left, &cp);
    if (n <= 0) {
      units.push_back(static_cast<char16_t>(0xDC00 | *p));
      ++p;
      --left;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
    p += n;
    left -= n;
  }
  return units;
}

std::string TrimBlanks(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

struct SortEntry {
  std::u16string combined;  // KEY, U+0001, TEXT: orders by key, then by text
  std::string key;
  std::string text;
};

// Sorts the group's entries and fills its first-character index.
void SortGroup(TextGroup& group, std::vector<SortEntry>& entries, TextTable& built) {
  auto begin = entries.begin() + (group.first - 1);
  auto end = entries.begin() + group.last;
  std::sort(begin, end,
            [](const SortEntry& a, const SortEntry& b) { return a.combined < b.combined; });
  char16_t previous = 0;
  for (int32_t k = group.first; k <= group.last; ++k) {
    SortEntry& entry = entries[static_cast<size_t>(k - 1)];
    built.keys[static_cast<size_t>(k)] = Utf16Units(entry.key);
    built.keyNames[static_cast<size_t>(k)] = std::move(entry.key);
    built.texts[static_cast<size_t>(k)] = std::move(entry.text);
    const std::u16string& key = built.keys[static_cast<size_t>(k)];
    char16_t code = key.empty() ? 0 : key[0];
    if (code == previous) continue;
    previous = code;
    if (code < group.firstCharIndex.size())
      group.firstCharIndex[code] = k;
    else if (group.firstBeyondIndex == 0)
      group.firstBeyondIndex = k;
  }
}

// Replaces the texts of the keys the language lookup knows.
void ApplyLanguage(TextTable& built, const LanguageLookup& language) {
  for (size_t g = 1; g < built.groups.size(); ++g) {
    const TextGroup& group = built.groups[g];
    for (int32_t k = group.first; k <= group.last; ++k) {
      std::optional<std::string> value =
          language(group.name, built.keyNames[static_cast<size_t>(k)]);
      if (value) built.texts[static_cast<size_t>(k)] = TrimBlanks(*value);
    }
  }
}

bool IsKey(const TextPair& pair, const char* key) {
  return pair.key != nullptr && std::string(pair.key) == key;
}

// Fills "%sN%" (either case of the s) with value throughout text. The inserted value is not
// searched again, so a value that holds its own placeholder does not repeat.
std::string FillPlaceholder(const std::string& text, char digit, const std::string& value) {
  std::string out;
  out.reserve(text.size() + value.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '%' && i + 3 < text.size() && (text[i + 1] == 's' || text[i + 1] == 'S') &&
        text[i + 2] == digit && text[i + 3] == '%') {
      out += value;
      i += 4;
    } else {
      out.push_back(text[i]);
      ++i;
    }
  }
  return out;
}

}  // namespace

bool BuildTextTable(const TextPair* data, size_t count, const LanguageLookup& language) {
  TextTable built;

  // Counting first keeps the arrays at their final size while they are filled.
  size_t groupCount = 0;
  size_t entryCount = 0;
  for (size_t p = 0; p < count && !IsKey(data[p], "_END_"); ++p) {
    if (IsKey(data[p], "_GROUP_"))
      ++groupCount;
    else if (groupCount > 0)
      ++entryCount;
  }
  built.groups.reserve(groupCount + 1);
  built.keys.resize(entryCount + 1);
  built.keyNames.resize(entryCount + 1);
  built.texts.resize(entryCount + 1);

  // Pairs before the first group belong to no group and are left out.
  std::vector<SortEntry> entries;
  entries.reserve(entryCount);
  for (size_t p = 0; p < count && !IsKey(data[p], "_END_"); ++p) {
    const char* text = data[p].text != nullptr ? data[p].text : "";
    if (IsKey(data[p], "_GROUP_")) {
      TextGroup group;
      group.name = UpperCase(text);
      group.first = static_cast<int32_t>(entries.size()) + 1;
      group.last = group.first - 1;
      built.groups.push_back(std::move(group));
    } else if (built.groups.size() > 1) {
      SortEntry entry;
      entry.key = UpperCase(data[p].key != nullptr ? data[p].key : "");
      entry.text = text;
      entry.combined = Utf16Units(entry.key);
      entry.combined.push_back(u'\x01');
      entry.combined += Utf16Units(entry.text);
      entries.push_back(std::move(entry));
      built.groups.back().last = static_cast<int32_t>(entries.size());
    }
  }

  for (size_t g = 1; g < built.groups.size(); ++g)
    if (built.groups[g].last >= built.groups[g].first) SortGroup(built.groups[g], entries, built);

  if (language) ApplyLanguage(built, language);

  table = std::move(built);
  cachedGroup.store(0);
  return true;
}

bool BuildTextTable(const std::string& languageFile) {
  std::optional<LanguageLookup> language;
  if (!languageFile.empty()) language = OpenLanguageFile(languageFile);
  return BuildTextTable(EnglishTexts(), EnglishTextCount(), language ? *language : nullptr);
}

std::string GetText(const std::string& group, const std::string& key) {
  const std::string groupName = UpperCase(group);
  size_t index = cachedGroup.load();
  if (index >= table.groups.size() || table.groups[index].name != groupName) {
    index = 0;
    for (size_t g = 1; g < table.groups.size(); ++g) {
      if (table.groups[g].name == groupName) {
        index = g;
        break;
      }
    }
    cachedGroup.store(index);
  }
  if (index == 0) return kNoStringError;

  const TextGroup& found = table.groups[index];
  const std::u16string wanted = Utf16Units(UpperCase(key));
  char16_t code = wanted.empty() ? 0 : wanted[0];
  int32_t start =
      code < found.firstCharIndex.size() ? found.firstCharIndex[code] : found.firstBeyondIndex;
  if (start == 0) return kNoStringError;
  for (int32_t k = start; k <= found.last; ++k) {
    const std::u16string& candidate = table.keys[static_cast<size_t>(k)];
    if (wanted == candidate) return table.texts[static_cast<size_t>(k)];
    // Keys are sorted: once one sorts above the wanted key, it is not in the group.
    if (wanted < candidate) return kNoStringError;
  }
  return kNoStringError;
}

std::string FormatText(const std::string& text, const std::string& s1, const std::string& s2,
                       const std::string& s3, const std::string& s4) {
  if (text.empty()) return text;
  std::string result = text;
  const std::string* values[] = {&s1, &s2, &s3, &s4};
  for (size_t n = 0; n < 4; ++n)
    if (!values[n]->empty())
      result = FillPlaceholder(result, static_cast<char>('1' + n), *values[n]);
  return result;
}

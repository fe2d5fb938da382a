// The INI-style files: config.ini, profiles and language files.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Reads a whole INI-style file once and answers lookups from memory. Group and key names
// compare without regard to ASCII letter case; the first group header of a name and the
// first equal key below it win. A reader whose file could not be opened answers every read
// with its default.
class IniReader {
 public:
  IniReader() = default;
  // Opens and reads path at once; see IsOpen.
  explicit IniReader(const std::string& path);

  // Reads path, replacing whatever was read before; false when it cannot be opened.
  bool Open(const std::string& path);
  // Takes the raw bytes of a file (byte-order mark and all), as Open does after reading.
  void Parse(const std::string& bytes);
  bool IsOpen() const { return open_; }

  bool HasGroup(const std::string& group) const;
  bool HasKey(const std::string& group, const std::string& key) const;

  // The value without surrounding blanks, or fallback when the key is missing.
  std::string ReadText(const std::string& group, const std::string& key,
                       const std::string& fallback) const;
  // atoi-style: a present key without digits reads 0; only a missing key gives fallback.
  int32_t ReadInt(const std::string& group, const std::string& key, int32_t fallback) const;
  // "+Infinity", "-Infinity", "NaN" in any case, else atof-style.
  float ReadFloat(const std::string& group, const std::string& key, float fallback) const;

  // Key and value of every value line of the group, in file order (duplicates included).
  std::vector<std::pair<std::string, std::string>> GroupEntries(const std::string& group) const;

 private:
  // Key and value as places in text_, so that a file of many short lines stays small.
  struct Entry {
    size_t key, keyLength, value, valueLength;
  };
  struct Group {
    std::vector<Entry> entries;                    // in file order
    std::unordered_map<std::string, size_t> keys;  // folded key -> its first entry
  };
  const Group* FindGroup(const std::string& group) const;
  // The first equal key under the first header of group, or nullptr.
  const Entry* Find(const std::string& group, const std::string& key) const;
  std::string ValueOf(const Entry& entry) const {
    return text_.substr(entry.value, entry.valueLength);
  }

  bool open_ = false;
  std::string text_;  // the file as UTF-8
  std::vector<Group> groups_;
  std::unordered_map<std::string, size_t> index_;  // folded name -> first group of that name
};

// Builds an INI-style file in memory: byte-order mark and CR LF first, then groups and value
// lines, every line ending in CR LF.
class IniWriter {
 public:
  IniWriter();
  // "[group]", and "; " after the previous group's keys unless this is the first group.
  void Group(const std::string& group);
  // Closes the last group with its "; " separator; Text() does this itself.
  void EndGroup();
  void WriteText(const std::string& key, const std::string& value);
  void WriteInt(const std::string& key, int32_t value);
  // "%f", or "+Infinity", "-Infinity", "NaN".
  void WriteFloat(const std::string& key, float value);
  // The file's bytes, with the last group closed.
  std::string Text();

 private:
  std::string text_;
  bool groupOpen_ = false;
};

// The float text the writer uses, for callers that echo a value the way the file holds it.
std::string IniFloatText(float value);

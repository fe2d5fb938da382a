// The INI-style files: config.ini, profiles and language files.
#include "ini_file.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

char AsciiLowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string AsciiFold(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    c = AsciiLowerChar(c);
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Files without a byte-order mark are ISO 8859-1: every byte is the code point of its value.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// Position of c in [from, end), or end; never looks past the line, so that a file of many
// lines without "]" or "=" stays linear.
size_t FindInLine(const std::string& text, char c, size_t from, size_t end) {
  for (size_t i = from; i < end; ++i)
    if (text[i] == c) return i;
  return end;
}

bool ReadAll(const std::string& path, std::string& bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return ok;
}

// atoi with the overflow that atoi leaves undefined clamped to the int32 range.
int32_t AtoiValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (IsBlank(text[i]) || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{1} << 32) value = int64_t{1} << 32;  // saturate; no more precision needed
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// The desktop face runs under the user's locale (Qt sets it), where atof and "%f" might use
// a decimal comma; the file always holds a point.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

float AtofValue(const std::string& text) {
  if (text.size() <= 9) {
    std::string folded = AsciiFold(text);
    if (folded == "+infinity") return std::numeric_limits<float>::infinity();
    if (folded == "-infinity") return -std::numeric_limits<float>::infinity();
    if (folded == "nan") return std::numeric_limits<float>::quiet_NaN();
  }
  double value = strtod_l(text.c_str(), nullptr, CLocale());
  // A double beyond the float range has no float value; it reads as the infinity it tends to.
  if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (value < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

}  // namespace

IniReader::IniReader(const std::string& path) {
  Open(path);
}

bool IniReader::Open(const std::string& path) {
  std::string bytes;
  if (!ReadAll(path, bytes)) {
    open_ = false;
    text_.clear();
    groups_.clear();
    index_.clear();
    return false;
  }
  Parse(bytes);
  return true;
}

void IniReader::Parse(const std::string& bytes) {
  open_ = true;
  groups_.clear();
  index_.clear();
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
    text_ = bytes.substr(3);
  else
    text_ = Latin1ToUtf8(bytes);
  const std::string& text = text_;

  // Lines of a group after an earlier header of the same name can never be found; they and
  // lines before the first header are skipped. Every step below is linear in the line.
  long current = -1;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    size_t next = end;
    if (next < text.size())
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    size_t start = pos;
    while (start < end && IsBlank(text[start]))
      ++start;
    pos = next;
    if (start == end || text[start] == ';') continue;

    if (text[start] == '[') {
      size_t close = FindInLine(text, ']', start + 1, end);
      std::string folded = AsciiFold(text.substr(start + 1, close - start - 1));
      if (index_.count(folded)) {
        current = -1;
      } else {
        current = static_cast<long>(groups_.size());
        index_.emplace(std::move(folded), groups_.size());
        groups_.emplace_back();
      }
      continue;
    }

    // A line without "=" holds no value; it is not taken as a key of its own.
    size_t equals = FindInLine(text, '=', start, end);
    if (equals == end || current < 0) continue;
    size_t keyEnd = equals;
    while (keyEnd > start && IsBlank(text[keyEnd - 1]))
      --keyEnd;
    size_t valueStart = equals + 1;
    while (valueStart < end && IsBlank(text[valueStart]))
      ++valueStart;
    size_t valueEnd = end;
    while (valueEnd > valueStart && IsBlank(text[valueEnd - 1]))
      --valueEnd;

    Group& group = groups_[static_cast<size_t>(current)];
    group.keys.emplace(AsciiFold(text.substr(start, keyEnd - start)), group.entries.size());
    group.entries.push_back(Entry{start, keyEnd - start, valueStart, valueEnd - valueStart});
  }
}

const IniReader::Group* IniReader::FindGroup(const std::string& group) const {
  auto it = index_.find(AsciiFold(group));
  return it == index_.end() ? nullptr : &groups_[it->second];
}

const IniReader::Entry* IniReader::Find(const std::string& group, const std::string& key) const {
  const Group* found = FindGroup(group);
  if (!found) return nullptr;
  auto it = found->keys.find(AsciiFold(key));
  return it == found->keys.end() ? nullptr : &found->entries[it->second];
}

bool IniReader::HasGroup(const std::string& group) const {
  return FindGroup(group) != nullptr;
}

bool IniReader::HasKey(const std::string& group, const std::string& key) const {
  return Find(group, key) != nullptr;
}

std::string IniReader::ReadText(const std::string& group, const std::string& key,
                                const std::string& fallback) const {
  const Entry* entry = Find(group, key);
  return entry ? ValueOf(*entry) : fallback;
}

int32_t IniReader::ReadInt(const std::string& group, const std::string& key,
                           int32_t fallback) const {
  const Entry* entry = Find(group, key);
  return entry ? AtoiValue(ValueOf(*entry)) : fallback;
}

float IniReader::ReadFloat(const std::string& group, const std::string& key, float fallback) const {
  const Entry* entry = Find(group, key);
  return entry ? AtofValue(ValueOf(*entry)) : fallback;
}

std::vector<std::pair<std::string, std::string>> IniReader::GroupEntries(
    const std::string& group) const {
  std::vector<std::pair<std::string, std::string>> out;
  const Group* found = FindGroup(group);
  if (!found) return out;
  out.reserve(found->entries.size());
  for (const Entry& entry : found->entries)
    out.emplace_back(text_.substr(entry.key, entry.keyLength), ValueOf(entry));
  return out;
}

std::string IniFloatText(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
  // "%f" of the value, independent of the locale: fixed notation with six decimals.
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                              std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

IniWriter::IniWriter() : text_("\xEF\xBB\xBF\r\n") {}

void IniWriter::Group(const std::string& group) {
  EndGroup();
  text_ += "[" + group + "]\r\n";
  groupOpen_ = true;
}

void IniWriter::EndGroup() {
  if (!groupOpen_) return;
  text_ += "; \r\n";
  groupOpen_ = false;
}

void IniWriter::WriteText(const std::string& key, const std::string& value) {
  text_ += key + " = " + value + "\r\n";
}

void IniWriter::WriteInt(const std::string& key, int32_t value) {
  WriteText(key, std::to_string(value));
}

void IniWriter::WriteFloat(const std::string& key, float value) {
  WriteText(key, IniFloatText(value));
}

std::string IniWriter::Text() {
  EndGroup();
  return text_;
}

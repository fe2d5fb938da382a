// Checks a Radiance file's header before the decoder sees it.
//
// FreeImage trusts the file: a negative size in the resolution line makes it write outside
// its image, a header line of 256 bytes overflows its line buffer, "+X w +Y h" comes out with
// width and height swapped, and pixel data cut short still counts as a loaded image. The
// check mirrors how FreeImage reads the file, so what passes here is read by FreeImage from
// bytes that exist.
#include "radiance_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {

// A header (resolution line included) larger than this is not a picture header; we never
// read more to find its end.
constexpr size_t kMaxHeaderBytes = 64 * 1024;
// FreeImage reads header lines into 256 bytes without room for the terminating NUL once the
// line fills them, so a line (newline included) must stay below that.
constexpr size_t kMaxLineBytes = 255;
// Run-length scanlines exist for these widths only; other widths are always flat.
constexpr int kMinRleWidth = 8;
constexpr int kMaxRleWidth = 0x7fff;
constexpr size_t kReaderBuffer = 256 * 1024;

// Reads a file forward through one buffer, never past the length it had when opened.
class FileReader {
 public:
  explicit FileReader(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)), buffer_(kReaderBuffer) {
    struct stat info;
    if (fd_ >= 0 && fstat(fd_, &info) == 0 && S_ISREG(info.st_mode))
      size_ = static_cast<uint64_t>(info.st_size);
    else
      Close();
  }
  ~FileReader() { Close(); }
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool ok() const { return fd_ >= 0; }
  // Bytes from the current position to the end of the file.
  uint64_t Remaining() const { return size_ - offset_; }

  // Up to n bytes at the current position, without consuming them (fewer at the end).
  size_t Peek(size_t n, const uint8_t** data) {
    if (n > Remaining()) n = static_cast<size_t>(Remaining());
    if (!Fill(n)) n = end_ - begin_;
    *data = buffer_.data() + begin_;
    return n;
  }
  bool Skip(uint64_t n) {
    if (n > Remaining()) return false;
    const uint64_t buffered = end_ - begin_;
    if (n <= buffered) {
      begin_ += static_cast<size_t>(n);
    } else {
      begin_ = end_ = 0;
      if (lseek(fd_, static_cast<off_t>(offset_ + n), SEEK_SET) < 0) return false;
    }
    offset_ += n;
    return true;
  }

 private:
  // Makes n bytes available from begin_, reading more of the file when needed.
  bool Fill(size_t n) {
    if (end_ - begin_ >= n) return true;
    if (n > Remaining() || n > buffer_.size()) return false;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < n) {
      const ssize_t got = read(fd_, buffer_.data() + end_, buffer_.size() - end_);
      if (got <= 0) return false;  // error, or the file shrank after it was opened
      end_ += static_cast<size_t>(got);
    }
    return true;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

  int fd_;
  uint64_t size_ = 0;
  uint64_t offset_ = 0;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
};

// One header line without its newline; false when there is no complete, short, NUL-free line.
bool NextLine(FileReader& file, size_t& headerBytes, std::string& line) {
  const uint8_t* data = nullptr;
  const size_t available = file.Peek(kMaxLineBytes, &data);
  const void* newline = std::memchr(data, '\n', available);
  if (!newline) return false;
  const size_t length = static_cast<const uint8_t*>(newline) - data;
  headerBytes += length + 1;
  // FreeImage takes a line starting with NUL for the blank line that ends the header.
  if (headerBytes > kMaxHeaderBytes || std::memchr(data, 0, length)) return false;
  line.assign(reinterpret_cast<const char*>(data), length);
  return file.Skip(length + 1);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsSignature(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && (IsBlank(line[end - 1]) || line[end - 1] == '\r'))
    --end;
  const std::string name = line.substr(0, end);
  return name == "#?RADIANCE" || name == "#?RGBE";
}

bool IsKnownFormat(const std::string& line) {
  const std::string key = "FORMAT=";
  if (line.compare(0, key.size(), key) != 0) return true;  // not a FORMAT line
  const std::string value = line.substr(key.size());
  return value == "32-bit_rle_rgbe" || value == "32-bit_rle_xyze";
}

// Reads "<blanks><digits>" at pos: a number from 1 to kRadianceMaxSide.
bool ReadSide(const std::string& line, size_t& pos, int& side) {
  const size_t start = pos;
  while (pos < line.size() && IsBlank(line[pos]))
    ++pos;
  if (pos == start || pos == line.size()) return false;
  side = 0;
  const size_t digits = pos;
  while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
    side = side * 10 + (line[pos] - '0');
    if (side > kRadianceMaxSide) return false;
    ++pos;
  }
  return pos > digits && side > 0;
}

bool ReadToken(const std::string& line, size_t& pos, const char* token) {
  const size_t start = pos;
  while (pos < line.size() && IsBlank(line[pos]))
    ++pos;
  if (start != 0 && pos == start) return false;  // tokens are separated by blanks
  const size_t length = std::strlen(token);
  if (line.compare(pos, length, token) != 0) return false;
  pos += length;
  return true;
}

// "-Y height +X width": rows from the top, pixels from the left. FreeImage refuses every
// other orientation except "+X w +Y h", which it reads with the sizes swapped.
bool ParseResolution(const std::string& line, int& width, int& height) {
  if (line.empty() || line[0] != '-') return false;
  size_t pos = 0;
  if (!ReadToken(line, pos, "-Y") || !ReadSide(line, pos, height)) return false;
  if (!ReadToken(line, pos, "+X") || !ReadSide(line, pos, width)) return false;
  while (pos < line.size() && (IsBlank(line[pos]) || line[pos] == '\r'))
    ++pos;
  return pos == line.size();
}

// The fewest bytes a scanline of this width can take: flat pixels are 4 bytes each; a
// run-length scanline is its 4-byte marker plus, for each of its 4 channels, runs of at most
// 127 bytes at 2 bytes each.
uint64_t MinScanlineBytes(int width) {
  const uint64_t flat = uint64_t{4} * width;
  if (width < kMinRleWidth || width > kMaxRleWidth) return flat;
  const uint64_t runs = 4 + uint64_t{8} * ((width + 126) / 127);
  return runs < flat ? runs : flat;
}

// The most bytes a run-length scanline can take: its marker, then runs or dumps of a single
// byte, 2 bytes each, for every byte of its 4 channels.
constexpr size_t MaxRleScanlineBytes(int width) {
  return 4 + size_t{8} * width;
}
static_assert(MaxRleScanlineBytes(kMaxRleWidth) <= kReaderBuffer, "a scanline fits the buffer");

// One channel of a run-length scanline at p: runs (128 + n, value) and dumps (n, n values)
// that together cover exactly width bytes, as FreeImage requires. Advances p; false when the
// channel is malformed or would pass end.
bool WalkChannel(const uint8_t*& p, const uint8_t* end, int width) {
  int left = width;
  while (left > 0) {
    if (end - p < 2) return false;
    const int code = p[0];
    const bool run = code > 128;
    const int count = run ? code - 128 : code;
    const int bytes = run ? 2 : 1 + code;
    if (count == 0 || count > left || end - p < bytes) return false;
    left -= count;
    p += bytes;
  }
  return true;
}

// Walks every scanline the way FreeImage decodes them: a scanline of a width that allows
// runs is run-length encoded when it starts with 2, 2 and a 15-bit width, and flat otherwise.
bool WalkScanlines(FileReader& file, int width, int height) {
  const uint64_t flatBytes = uint64_t{4} * width;
  if (width < kMinRleWidth || width > kMaxRleWidth) return file.Remaining() >= flatBytes * height;
  for (int y = 0; y < height; ++y) {
    // The whole scanline is in the buffer, unless the file ends first.
    const uint8_t* begin = nullptr;
    const size_t available = file.Peek(MaxRleScanlineBytes(width), &begin);
    if (available < 4) return false;
    if (begin[0] != 2 || begin[1] != 2 || (begin[2] & 0x80)) {
      if (!file.Skip(flatBytes)) return false;
      continue;
    }
    if (((begin[2] << 8) | begin[3]) != width) return false;
    const uint8_t* p = begin + 4;
    const uint8_t* end = begin + available;
    for (int channel = 0; channel < 4; ++channel)
      if (!WalkChannel(p, end, width)) return false;
    file.Skip(static_cast<uint64_t>(p - begin));
  }
  return true;
}

}  // namespace

bool CheckRadianceHeader(const std::string& path) {
  FileReader file(path);
  if (!file.ok()) return false;

  size_t headerBytes = 0;
  std::string line;
  if (!NextLine(file, headerBytes, line) || !IsSignature(line)) return false;
  for (;;) {
    if (!NextLine(file, headerBytes, line)) return false;
    if (line.empty()) break;
    if (!IsKnownFormat(line)) return false;
  }

  int width = 0, height = 0;
  if (!NextLine(file, headerBytes, line) || !ParseResolution(line, width, height)) return false;
  if (int64_t{width} * height > kRadianceMaxPixels) return false;
  // An impossible claim fails here without reading the pixels.
  if (file.Remaining() / MinScanlineBytes(width) < static_cast<uint64_t>(height)) return false;
  return WalkScanlines(file, width, height);
}

// Lines of a text file read one at a time, decoded to UTF-8 by the file's byte-order mark.
#include "text_decoding.h"

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

LineReader::LineReader(std::istream& in) : in_(in) {
  unsigned char mark[4] = {0, 0, 0, 0};
  in_.read(reinterpret_cast<char*>(mark), 4);
  const std::streamsize got = in_.gcount();
  auto is = [&](std::initializer_list<unsigned char> bytes) {
    if (got < static_cast<std::streamsize>(bytes.size())) return false;
    size_t i = 0;
    for (unsigned char b : bytes)
      if (mark[i++] != b) return false;
    return true;
  };
  size_t skip = 0;
  if (is({0xFF, 0xFE, 0x00, 0x00}))
    encoding_ = Encoding::Utf32LE, skip = 4;
  else if (is({0x00, 0x00, 0xFE, 0xFF}))
    encoding_ = Encoding::Utf32BE, skip = 4;
  else if (is({0xEF, 0xBB, 0xBF}))
    skip = 3;
  else if (is({0xFF, 0xFE}))
    encoding_ = Encoding::Utf16LE, skip = 2;
  else if (is({0xFE, 0xFF}))
    encoding_ = Encoding::Utf16BE, skip = 2;
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(skip));
}

int LineReader::NextByte() {
  const int c = in_.get();
  return c == std::char_traits<char>::eof() ? -1 : c;
}

bool LineReader::NextCodePoint(char32_t& cp) {
  auto unit16 = [this](bool little) -> int {
    const int a = NextByte(), b = a < 0 ? -1 : NextByte();
    if (b < 0) return -1;
    return little ? a | b << 8 : a << 8 | b;
  };
  switch (encoding_) {
    case Encoding::Utf8: {
      // UTF-8 passes through byte by byte; Next() copies bytes, not code points.
      const int c = NextByte();
      if (c < 0) return false;
      cp = static_cast<char32_t>(c);
      return true;
    }
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      const bool little = encoding_ == Encoding::Utf16LE;
      const int unit = pendingUnit_ >= 0 ? pendingUnit_ : unit16(little);
      pendingUnit_ = -1;
      if (unit < 0) return false;
      cp = static_cast<char32_t>(unit);
      if (unit >= 0xD800 && unit < 0xDC00) {
        const int low = unit16(little);
        if (low >= 0xDC00 && low < 0xE000)
          cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
               (static_cast<char32_t>(low) - 0xDC00);
        else
          cp = kReplacement, pendingUnit_ = low;  // an unpaired surrogate; keep what followed
      } else if (unit >= 0xDC00 && unit < 0xE000) {
        cp = kReplacement;
      }
      return true;
    }
    default: {
      const bool little = encoding_ == Encoding::Utf32LE;
      char32_t value = 0;
      for (int i = 0; i < 4; ++i) {
        const int b = NextByte();
        if (b < 0) return false;
        value = little ? value | static_cast<char32_t>(b) << (8 * i)
                       : value << 8 | static_cast<char32_t>(b);
      }
      cp = value > 0x10FFFF || (value >= 0xD800 && value < 0xE000) ? kReplacement : value;
      return true;
    }
  }
}

bool LineReader::Next(std::string& line) {
  line.clear();
  char32_t cp;
  bool any = false;
  while (NextCodePoint(cp)) {
    if (pendingCr_) {
      pendingCr_ = false;
      if (cp == '\n') continue;  // the LF of a CR LF
    }
    any = true;
    if (cp == '\n') return true;
    if (cp == '\r') {
      pendingCr_ = true;
      return true;
    }
    if (encoding_ == Encoding::Utf8)
      line.push_back(static_cast<char>(cp));
    else
      AppendUtf8(line, cp);
  }
  return any;
}

// Lines of a text file read one at a time, decoded to UTF-8 by the file's byte-order mark.
#pragma once

#include <istream>
#include <string>

// Files with a UTF-16 or UTF-32 mark (either byte order) are decoded as such; a UTF-8 mark is
// skipped; without a mark the bytes are UTF-8. Lines end at LF, CR LF or a lone CR.
class LineReader {
 public:
  explicit LineReader(std::istream& in);
  // The next line without its ending; false at the end of the file.
  bool Next(std::string& line);

 private:
  enum class Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };
  bool NextCodePoint(char32_t& cp);
  int NextByte();

  std::istream& in_;
  Encoding encoding_ = Encoding::Utf8;
  int pendingUnit_ = -1;
  bool pendingCr_ = false;
};

// Names the kind of a file from its first bytes.
#include "signatures.h"

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace {

using namespace std::string_view_literals;

// Bytes that must stand at offset in the file. An empty run is an unused slot.
struct ByteRun {
  size_t offset;
  std::string_view bytes;
};

struct Signature {
  const char* name;
  ByteRun runs[2];
};

// Tested in this order and the last match wins, so a more specific entry follows the more
// general one it shares bytes with (a CR2 file is also a little-endian TIFF).
constexpr Signature kSignatures[] = {
    {"ICO", {{0, "\x00\x00\x01\x00"sv}}},
    {"MPEG", {{0, "\x00\x00\x01\xB3"sv}}},
    {"MPG/VOB", {{0, "\x00\x00\x01\xBA"sv}}},
    {"MKV/MKA/WEBM", {{0, "\x1A\x45\xDF\xA3"sv}}},
    {"LUAC", {{0, "\x1B\x4C\x75\x61"sv}}},
    {"GZ", {{0, "\x1F\x8B"sv}}},
    {"PS", {{0, "\x25\x21\x50\x53"sv}}},
    {"PDF", {{0, "\x25\x50\x44\x46\x2D"sv}}},
    {"ACE", {{0, "\x2A\x2A\x41\x43\x45\x2A\x2A"sv}}},
    {"XPM", {{0, "\x2F\x2A\x20\x58\x50\x4D\x20\x2A\x2F"sv}}},
    {"ASF/WMA/WMV", {{0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"sv}}},
    {"SRT", {{0, "\x31\x0A\x30\x30"sv}}},
    {"7Z", {{0, "\x37\x7A\xBC\xAF\x27\x1C"sv}}},
    {"PSD", {{0, "\x38\x42\x50\x53"sv}}},
    {"FH8", {{0, "\x41\x47\x44\x33"sv}}},
    {"DJVU", {{0, "\x41\x54\x26\x54\x46\x4F\x52\x4D"sv}, {12, "\x44\x4A\x56"sv}}},
    {"BLEND", {{0, "\x42\x4C\x45\x4E\x44\x45\x52"sv}}},
    {"BMP", {{0, "\x42\x4D"sv}}},
    {"BPG", {{0, "\x42\x50\x47\xFB"sv}}},
    {"BZ2", {{0, "\x42\x5A\x68"sv}}},
    {"SWF", {{0, "\x43\x57\x53"sv}}},
    {"DRC", {{0, "\x44\x52\x41\x43\x4F"sv}}},
    {"FLIF", {{0, "\x46\x4C\x49\x46"sv}}},
    {"SWF", {{0, "\x46\x57\x53"sv}}},
    {"FLV", {{0, "\x46\x4C\x56"sv}}},
    {"GIF87A", {{0, "\x47\x49\x46\x38\x37\x61"sv}}},
    {"GIF89A", {{0, "\x47\x49\x46\x38\x39\x61"sv}}},
    {"TIFF (LE)", {{0, "\x49\x49\x2A\x00"sv}}},
    {"CR2", {{0, "\x49\x49\x2A\x00\x10\x00\x00\x00\x43\x52"sv}}},
    {"CHM", {{0, "\x49\x54\x53\x46\x03\x00\x00\x00\x60\x00\x00\x00"sv}}},
    {"MP3/ID3V2", {{0, "\x49\x44\x33"sv}}},
    {"CAB (IS)", {{0, "\x49\x53\x63\x28"sv}}},
    {"LZ", {{0, "\x4C\x5A\x49\x50"sv}}},
    {"MLV", {{0, "\x4D\x4C\x56\x49"sv}}},
    {"TIFF (BE)", {{0, "\x4D\x4D\x00\x2A"sv}}},
    {"CAB", {{0, "\x4D\x53\x43\x46"sv}}},
    {"MID/MIDI", {{0, "\x4D\x54\x68\x64"sv}}},
    {"EXE/DLL (MZ/PE/NE)", {{0, "\x4D\x5A"sv}}},
    {"NUI", {{0, "\x4E\x55\x52\x55\x49\x4D\x47"sv}}},
    {"NUP", {{0, "\x4E\x55\x52\x55\x50\x41\x4C"sv}}},
    {"OGG/OGA/OGV", {{0, "\x4F\x67\x67\x53"sv}}},
    {"PBM", {{0, "\x50\x31\x0A"sv}}},
    {"PGM", {{0, "\x50\x32\x0A"sv}}},
    {"PPM", {{0, "\x50\x33\x0A"sv}}},
    {"ZIP", {{0, "\x50\x4B\x03\x04"sv}}},
    {"ZIP (E)", {{0, "\x50\x4B\x05\x06"sv}}},
    {"ZIP (S)", {{0, "\x50\x4B\x07\x08"sv}}},
    {"ANI", {{0, "\x52\x49\x46\x46"sv}, {8, "\x41\x43\x4F\x4E"sv}}},
    {"AVI", {{0, "\x52\x49\x46\x46"sv}, {8, "\x41\x56\x49\x20"sv}}},
    {"WAV", {{0, "\x52\x49\x46\x46"sv}, {8, "\x57\x41\x56\x45"sv}}},
    {"WEBP", {{0, "\x52\x49\x46\x46"sv}, {8, "\x57\x45\x42\x50"sv}}},
    {"RAR (1.5+)", {{0, "\x52\x61\x72\x21\x1A\x07\x00"sv}}},
    {"RAR (5.0+)", {{0, "\x52\x61\x72\x21\x1A\x07\x01\x00"sv}}},
    {"DPX (BE)", {{0, "\x53\x44\x50\x58"sv}}},
    {"SQLITE/DB", {{0, "\x53\x51\x4C\x69\x74\x65\x20\x66\x6F\x72\x6D\x61\x74\x20\x33\x00"sv}}},
    {"DPX (LE)", {{0, "\x58\x50\x44\x53"sv}}},
    {"EXE (ZM)", {{0, "\x5A\x4D"sv}}},
    {"ARJ", {{0, "\x60\xEA"sv}}},
    {"FLAC", {{0, "\x66\x4C\x61\x43"sv}}},
    {"3GP", {{0, "\x66\x74\x79\x70\x33\x67"sv}}},
    {"XCF", {{0, "\x67\x69\x6D\x70\x20\x78\x63\x66"sv}}},
    {"TOX", {{0, "\x74\x6F\x78\x33"sv}}},
    {"EXR", {{0, "\x76\x2F\x31\x01"sv}}},
    {"XAR", {{0, "\x78\x61\x72\x21"sv}}},
    {"RTF", {{0, "\x7B\x5C\x72\x74\x66\x31"sv}}},
    {"CIN", {{0, "\x80\x2A\x5F\xD7"sv}}},
    {"PNG", {{0, "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A"sv}}},
    {"CLASS", {{0, "\xCA\xFE\xBA\xBE"sv}}},
    {"LEP", {{0, "\xCF\x84\x01"sv}}},
    {"DOC/XLS/PPT", {{0, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv}}},
    {"WMF", {{0, "\xD7\xCD\xC6\x9A"sv}}},
    {"XZ", {{0, "\xFD\x37\x7A\x58\x5A\x00"sv}}},
    {"JPG", {{0, "\xFF\xD8\xFF\xDB"sv}}},
    {"JPEG/JFIF", {{0, "\xFF\xD8\xFF\xE0\x00\x10\x4A\x46\x49\x46\x00\x01"sv}}},
    {"JPEG", {{0, "\xFF\xD8\xFF\xEE"sv}}},
    {"JPEG/EXIF", {{0, "\xFF\xD8\xFF\xE1"sv}, {6, "\x45\x78\x69\x66\x00\x00"sv}}},
    {"MP3", {{0, "\xFF\xF2"sv}}},
    {"MP3", {{0, "\xFF\xF3"sv}}},
    {"MP3", {{0, "\xFF\xFB"sv}}},
};

// Every run lies within the first 16 bytes; reading a few more costs nothing.
constexpr size_t kHeaderSize = 20;

bool Matches(const Signature& signature, const char* header, size_t size) {
  for (const ByteRun& run : signature.runs) {
    if (run.bytes.empty()) continue;
    // A file too short for a run cannot carry the signature.
    if (run.offset + run.bytes.size() > size) return false;
    if (std::string_view(header + run.offset, run.bytes.size()) != run.bytes) return false;
  }
  return true;
}

}  // namespace

std::string DetectFileType(const std::string& path) {
  std::string result = "[ERROR] UNRECOGNIZED";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return result;
  char header[kHeaderSize] = {};
  // Only the bytes actually read take part: a short or empty file, or a folder (which opens
  // but reads nothing), never lets a signature match against unset buffer bytes.
  const size_t size = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  for (const Signature& signature : kSignatures) {
    if (Matches(signature, header, size)) result = signature.name;
  }
  return result;
}

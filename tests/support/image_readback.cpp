// Reads output files back with independent readers: ImageMagick, and JxrDecApp for JPEG XR.
#include "image_readback.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "temp_folder.h"

std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Parses a binary PPM (P6, maxval 255) as convert writes it.
RgbImage ParsePpm(const std::string& data) {
  RgbImage image;
  std::istringstream in(data);
  // Header tokens, skipping "#" comment lines (convert copies a source's comment there).
  auto token = [&in]() {
    std::string word;
    while (in >> word && word[0] == '#')
      std::getline(in, word);
    return word;
  };
  const std::string magic = token();
  image.width = std::atoi(token().c_str());
  image.height = std::atoi(token().c_str());
  const int maxval = std::atoi(token().c_str());
  in.get();
  if (magic != "P6" || maxval != 255 || image.width <= 0 || image.height <= 0) {
    image.error = "convert gave no PPM: " + data.substr(0, 200);
    return image;
  }
  size_t bytes = static_cast<size_t>(image.width) * image.height * 3;
  size_t start = static_cast<size_t>(in.tellg());
  if (data.size() < start + bytes) {
    image.error = "short PPM from convert";
    return image;
  }
  image.rgb.assign(data.begin() + static_cast<long>(start),
                   data.begin() + static_cast<long>(start + bytes));
  return image;
}

}  // namespace

namespace {

// convert's reading of source as an 8-bit PPM, upright; false when it could not read it.
bool ConvertToPpm(const std::string& source, std::string& ppm) {
  int code = 0;
  ppm = RunCommand("convert " + ShellQuote(source + "[0]") +
                       " -auto-orient -alpha off -colorspace sRGB -depth 8 ppm:- 2>/dev/null",
                   &code);
  return code == 0;
}

// JPEG XR goes through JxrDecApp: to TIFF, which holds every depth but whose 5-6-5 files
// ImageMagick refuses, else to BMP.
bool DecodeJxr(const std::string& path, std::string& ppm) {
  for (const char* ext : {".tif", ".bmp"}) {
    const std::string decoded = path + ".decoded" + ext;
    int code = 0;
    RunCommand(
        "JxrDecApp -i " + ShellQuote(path) + " -o " + ShellQuote(decoded) + " >/dev/null 2>&1",
        &code);
    const bool ok = code == 0 && ConvertToPpm(decoded, ppm);
    std::remove(decoded.c_str());
    if (ok) return true;
  }
  return false;
}

}  // namespace

RgbImage ReadBack(const std::string& path) {
  std::string ppm;
  bool ok = EndsWith(path, ".jxr") ? DecodeJxr(path, ppm) : ConvertToPpm(path, ppm);
  // ImageMagick 6 takes a 16-bit icon bitmap for a 65536-entry palette and refuses every such
  // file; Python's imaging library reads them.
  if (!ok && EndsWith(path, ".ico")) {
    int code = 0;
    ppm = RunCommand(
        "/usr/bin/python3 -c \"import sys; from PIL import Image; "
        "Image.open(sys.argv[1]).convert('RGB').save(sys.stdout.buffer, 'PPM')\" " +
            ShellQuote(path) + " 2>/dev/null",
        &code);
    ok = code == 0;
  }
  RgbImage image = ParsePpm(ppm);
  if (!ok && image.error.empty()) image.error = "no reader could decode " + path;
  return image;
}

std::string Identify(const std::string& path, const std::string& format) {
  std::string out = RunCommand("identify -format " + ShellQuote(format) + " " +
                               ShellQuote(path + "[0]") + " 2>&1");
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
    out.pop_back();
  return out;
}

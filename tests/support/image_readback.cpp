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

RgbImage ReadBack(const std::string& path) {
  std::string source = path;
  std::string decoded;
  if (EndsWith(path, ".jxr")) {
    decoded = path + ".decoded.tif";
    int code = 0;
    RunCommand(
        "JxrDecApp -i " + ShellQuote(path) + " -o " + ShellQuote(decoded) + " >/dev/null 2>&1",
        &code);
    if (code != 0) {
      RgbImage failed;
      failed.error = "JxrDecApp could not decode " + path;
      return failed;
    }
    source = decoded;
  }
  int code = 0;
  std::string ppm =
      RunCommand("convert " + ShellQuote(source + "[0]") +
                     " -auto-orient -alpha off -colorspace sRGB -depth 8 ppm:- 2>/dev/null",
                 &code);
  // ImageMagick 6 takes a 16-bit icon bitmap for a 65536-entry palette and refuses every such
  // file; Python's imaging library reads them.
  if (code != 0 && EndsWith(path, ".ico"))
    ppm = RunCommand(
        "/usr/bin/python3 -c \"import sys; from PIL import Image; "
        "Image.open(sys.argv[1]).convert('RGB').save(sys.stdout.buffer, 'PPM')\" " +
            ShellQuote(path) + " 2>/dev/null",
        &code);
  if (!decoded.empty()) std::remove(decoded.c_str());
  RgbImage image = ParsePpm(ppm);
  if (code != 0 && image.error.empty()) image.error = "no reader could decode " + path;
  return image;
}

std::string Identify(const std::string& path, const std::string& format) {
  std::string out = RunCommand("identify -format " + ShellQuote(format) + " " +
                               ShellQuote(path + "[0]") + " 2>&1");
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
    out.pop_back();
  return out;
}

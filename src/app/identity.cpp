// Program identity: title, version, the extension lists.
#include "identity.h"

std::string VersionText(int version) {
  std::string text = std::to_string(version);
  if (text.size() > 1) text.insert(1, ".");
  if (text.size() > 3) text.insert(3, ".");
  if (!text.empty() && text.back() == '0') text = text.substr(0, 3);
  return text;
}

std::string TitleWithVersion() {
  return std::string(ProgramTitle) + " " + VersionText(ProgramVersion);
}

std::string VendorAddress(const std::string& path) {
  return std::string("http://") + VendorHost + "/" + path;
}

std::string VendorName() {
  std::string title = ProgramTitle;
  return title.substr(0, title.find(' '));
}

const std::vector<std::string>& InputExtensions() {
  static const std::vector<std::string> list = {"hdr"};
  return list;
}

const std::vector<std::string>& OutputExtensions() {
  static const std::vector<std::string> list = {
      "bmp", "dds", "exr", "gif", "hdr", "ico", "j2k", "jng",  "jp2",  "jpg",  "jxr", "pbm",
      "pcx", "pfm", "pgm", "png", "ppm", "psd", "tga", "tiff", "wbmp", "webp", "xpm"};
  return list;
}

int OutputExtensionIndex(const std::string& ext) {
  const auto& list = OutputExtensions();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == ext) return static_cast<int>(i);
  return -1;
}

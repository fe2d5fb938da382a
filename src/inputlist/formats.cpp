// The output-format and input-format tables.
#include "formats.h"

#include <FreeImage.h>

#include <cstdlib>

#include "unicode.h"

const std::vector<FormatEntry>& OutputFormatTable() {
  static const std::vector<FormatEntry> table = {
      {FIF_BMP, "bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
      {IL_TYPE_DDS, "dds", "DirectDraw Surface", "32"},
      {FIF_EXR, "exr", "ILM OpenEXR", "96"},
      {FIF_GIF, "gif", "Graphics Interchange Format", "8"},
      {FIF_HDR, "hdr", "High Dynamic Range Image", "96"},
      {FIF_ICO, "ico", "Windows Icon", "1,4,8,16,24,32"},
      {FIF_J2K, "j2k", "JPEG-2000 Codestream", "8,24,32,48"},
      {FIF_JNG, "jng", "JPEG Network Graphics", "24,32"},
      {FIF_JP2, "jp2", "JPEG-2000 File Format", "8,24,32,48"},
      {FIF_JPEG, "jpg", "JPEG File Format", "8,24"},
      {FIF_JXR, "jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
      {FIF_PBM, "pbm", "Portable Bitmap", "1"},
      {IL_TYPE_PCX, "pcx", "ZSoft Paintbrush", "24"},
      {FIF_PFM, "pfm", "Portable Floatmap", "96"},
      {FIF_PGM, "pgm", "Portable Greymap", "8"},
      {FIF_PNG, "png", "Portable Network Graphics", "1,4,8,24,32,48"},
      {FIF_PPM, "ppm", "Portable Pixelmap", "24,48"},
      {IL_TYPE_PSD, "psd", "Adobe Photoshop", "32"},
      {FIF_TARGA, "tga", "Truevision Targa", "8,16,24,32"},
      {FIF_TIFF, "tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
      {FIF_WBMP, "wbmp", "Wireless Bitmap", "1"},
      {FIF_WEBP, "webp", "Google WebP Image Format", "24,32"},
      {FIF_XPM, "xpm", "X11 Pixmap Format", "24"},
  };
  return table;
}

const std::vector<InputFormatEntry>& InputFormatTable() {
  static const std::vector<InputFormatEntry> table = {
      {"hdr", "hdr", "High Dynamic Range File"},
      {"hdri", "hdr", "High Dynamic Range File"},
  };
  return table;
}

const FormatEntry* FindOutputFormat(const std::string& ext) {
  for (const FormatEntry& entry : OutputFormatTable())
    if (ext == entry.extension) return &entry;
  return nullptr;
}

const InputFormatEntry* FindInputFormat(const std::string& ext) {
  for (const InputFormatEntry& entry : InputFormatTable())
    if (ext == entry.extension) return &entry;
  return nullptr;
}

std::vector<int> AllowedDepths(const std::string& ext) {
  std::vector<int> depths;
  const FormatEntry* entry = FindOutputFormat(ext);
  if (!entry) return depths;
  for (const char* p = entry->allowedDepths; *p;) {
    char* end;
    depths.push_back(static_cast<int>(std::strtol(p, &end, 10)));
    p = *end == ',' ? end + 1 : end;
  }
  return depths;
}

bool IsAllowedDepth(const std::string& ext, int depth) {
  if (depth == 0) return true;
  for (int allowed : AllowedDepths(ext))
    if (allowed == depth) return true;
  return false;
}

std::string OutputFormatLabel(const std::string& ext) {
  const FormatEntry* entry = FindOutputFormat(ext);
  return AsciiUpper(ext) + " (" + (entry ? entry->description : "") + ")";
}

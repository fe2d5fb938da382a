// The output-format and input-format tables.
#pragma once

#include <string>
#include <vector>

// DevIL image types of the three formats written through DevIL.
inline constexpr int IL_TYPE_PCX = 0x0428;
inline constexpr int IL_TYPE_DDS = 0x0437;
inline constexpr int IL_TYPE_PSD = 0x0439;

struct FormatEntry {
  int formatId;           // FREE_IMAGE_FORMAT, or a DevIL type for psd, dds and pcx
  const char* extension;  // lower case, the key
  const char* description;
  const char* allowedDepths;  // comma-separated bits per pixel, ascending
};

struct InputFormatEntry {
  const char* extension;
  const char* family;
  const char* description;
};

// All 23 rows, in the order of OutputExtensions.
const std::vector<FormatEntry>& OutputFormatTable();
const std::vector<InputFormatEntry>& InputFormatTable();
// nullptr when ext is not an output (input) extension; ext must be lower case.
const FormatEntry* FindOutputFormat(const std::string& ext);
const InputFormatEntry* FindInputFormat(const std::string& ext);
// The allowed depths of ext as numbers; empty for an unknown extension.
std::vector<int> AllowedDepths(const std::string& ext);
// True when depth is 0 (automatic) or one of the allowed depths of ext.
bool IsAllowedDepth(const std::string& ext, int depth);
// "PNG (Portable Network Graphics)".
std::string OutputFormatLabel(const std::string& ext);

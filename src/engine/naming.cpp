// Output file names: the filename mask with its %-tokens, and temporary names.
#include "naming.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "clock.h"
#include "context.h"
#include "settings.h"
#include "unicode.h"

namespace {

const char kDefaultMask[] = "%filename%.%ext%";
const char kTemporaryPrefix[] = "lumaport";

// The input file's name without its folder and its last extension.
std::string InputName() {
  const std::string& path = gContext.inputPath;
  return RemoveExtension(path.substr(path.find_last_of('/') + 1));
}

// At least digits characters, padded with "0" on the left; longer numbers keep every digit
// (cutting a counter past 99999 would give two files the same name).
std::string Padded(long long value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*lld", digits, value);
  return text;
}

std::string Decimal(long long value) {
  return std::to_string(value);
}

struct NameToken {
  const char* token;  // lower case
  std::string (*value)(const std::tm& now);
};

// In the order of replacement: a value inserted by an earlier token may hold a later one.
const NameToken kNameTokens[] = {
    {"%filename%", [](const std::tm&) { return InputName(); }},
    {"%filename[u]%", [](const std::tm&) { return UpperCase(InputName()); }},
    {"%filename[l]%", [](const std::tm&) { return LowerCase(InputName()); }},
    {"%filename[t]%", [](const std::tm&) { return TitleCase(InputName()); }},
    {"%ext%", [](const std::tm&) { return gContext.outputFormat.extension; }},
    {"%ext[u]%", [](const std::tm&) { return UpperCase(gContext.outputFormat.extension); }},
    {"%ext[t]%", [](const std::tm&) { return TitleCase(gContext.outputFormat.extension); }},
    {"%yyyy%", [](const std::tm& now) { return Padded(now.tm_year + 1900LL, 4); }},
    {"%mm%", [](const std::tm& now) { return Padded(now.tm_mon + 1, 2); }},
    {"%dd%", [](const std::tm& now) { return Padded(now.tm_mday, 2); }},
    {"%hh%", [](const std::tm& now) { return Padded(now.tm_hour, 2); }},
    {"%ii%", [](const std::tm& now) { return Padded(now.tm_min, 2); }},
    {"%ss%", [](const std::tm& now) { return Padded(now.tm_sec, 2); }},
    {"%bpp%", [](const std::tm&) { return Decimal(gContext.outputFormat.bitsPerPixel); }},
    {"%width%", [](const std::tm&) { return Decimal(gContext.namingWidth); }},
    {"%height%", [](const std::tm&) { return Decimal(gContext.namingHeight); }},
    {"%frame%", [](const std::tm&) { return Decimal(gContext.frameNumber); }},
    {"%rnd%", [](const std::tm&) { return Padded(gContext.randomNumber, 5); }},
    {"%n%", [](const std::tm&) { return Padded(gContext.counter, 5); }},
};

std::string OutputFolderOfFile() {
  return gContext.outputFolder +
         (gSettings.Advanced.KeepSubfolders ? gContext.relativeFolder : std::string());
}

}  // namespace

std::string ReplaceNameToken(const std::string& text, const std::string& token,
                             const std::tm& now) {
  const std::string wanted = AsciiLower(token);
  const NameToken* entry = nullptr;
  for (const NameToken& candidate : kNameTokens)
    if (wanted == candidate.token) entry = &candidate;
  if (!entry) return text;

  // Tokens are ASCII, so an ASCII-lowered copy matches ignoring case at the same byte offsets.
  const std::string lowered = AsciiLower(text);
  size_t found = lowered.find(wanted);
  if (found == std::string::npos) return text;

  // One pass from left to right: a value that holds the token itself is not expanded again.
  const std::string value = entry->value(now);
  std::string result;
  size_t start = 0;
  for (; found != std::string::npos; found = lowered.find(wanted, start)) {
    result.append(text, start, found - start).append(value);
    start = found + wanted.size();
  }
  return result.append(text, start, std::string::npos);
}

std::string ReplaceNameToken(const std::string& text, const std::string& token) {
  return ReplaceNameToken(text, token, LocalNow());
}

std::string ExpandFilenameMask(const std::tm& now) {
  std::string mask = LowerCase(gSettings.Advanced.FilenameMask);
  if (mask.empty()) mask = kDefaultMask;
  for (const NameToken& entry : kNameTokens)
    mask = ReplaceNameToken(mask, entry.token, now);
  return mask;
}

std::string ExpandFilenameMask() {
  return ExpandFilenameMask(LocalNow());
}

std::string ExpandWatermarkText(const std::tm& now) {
  const std::string& text = gSettings.Watermark.Text;
  if (std::count(text.begin(), text.end(), '%') < 2) return text;
  // Tokens are looked for in the text as written; each one found is then replaced in the
  // result so far.
  const std::string lowered = AsciiLower(text);
  std::string result = text;
  for (const NameToken& entry : kNameTokens)
    if (lowered.find(entry.token) != std::string::npos)
      result = ReplaceNameToken(result, entry.token, now);
  return result;
}

std::string ExpandWatermarkText() {
  return ExpandWatermarkText(LocalNow());
}

std::string RemoveExtension(const std::string& name) {
  return name.substr(0, name.rfind('.'));
}

std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix) {
  std::string letters = Decimal(LocalNowSeconds());
  for (char& c : letters)
    if (c >= '0' && c <= '9') c = static_cast<char>('a' + (c - '0'));
  for (int i = 0; i < 5; ++i)
    letters.push_back(static_cast<char>('a' + RandomInt(0, 25)));
  return prefix + letters + suffix;
}

std::string BuildOutputPath() {
  return OutputFolderOfFile() + ExpandFilenameMask();
}

std::string BuildTemporaryPath() {
  return OutputFolderOfFile() + MakeTemporaryName(kTemporaryPrefix, "") + "." +
         gContext.outputFormat.extension;
}

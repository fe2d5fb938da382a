// Output file names: the filename mask with its %-tokens, and temporary names.
#pragma once

#include <ctime>
#include <string>

// text with every occurrence of token (matched ignoring case) replaced by its value for the
// current file. Shared with the watermark text.
std::string ReplaceNameToken(const std::string& text, const std::string& token);
// The same with the date and time tokens taken from now instead of the clock: a caller that
// replaces several tokens reads the clock once, so a name never mixes two different minutes.
std::string ReplaceNameToken(const std::string& text, const std::string& token, const std::tm& now);
// The watermark Text with the tokens it holds (in any case) replaced; the rest keeps its case.
// A text with fewer than two "%" is returned as it is.
std::string ExpandWatermarkText();
std::string ExpandWatermarkText(const std::tm& now);
// The Filename Mask expanded for the current file: a file name without folder.
std::string ExpandFilenameMask();
// The same with every date and time token taken from now.
std::string ExpandFilenameMask(const std::tm& now);
// Drops the last "." and what follows it; a name without "." stays as it is.
std::string RemoveExtension(const std::string& name);
// prefix + the local time in letters + five random letters + suffix.
std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix);
// Output folder (+ relative folder with Keep Subfolders) + expanded mask.
std::string BuildOutputPath();
// Output folder (+ relative folder with Keep Subfolders) + temporary name + "." + extension.
std::string BuildTemporaryPath();

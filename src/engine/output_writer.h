// Writes the finished image in the run's output format, mending what the libraries write
// wrongly for a few formats.
#pragma once

#include <FreeImage.h>

#include <string>

// Writes image to path with the OutputFormat of the context. May change the image's pixels
// (the caller releases it afterwards). False when the file could not be written; a partial
// file may then be left at path for the caller to remove.
bool WriteOutputFile(FIBITMAP* image, const std::string& path);

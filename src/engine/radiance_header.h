// Checks a Radiance file's header before the decoder sees it: some headers crash FreeImage.
#pragma once

#include <string>

// True when path starts like a Radiance picture FreeImage can decode safely: a signature or
// known header lines, a 32-bit RLE RGBE (or XYZE) FORMAT, a standard resolution line with
// positive sizes within bounds, and a pixel count the file's length can hold.
bool CheckRadianceHeader(const std::string& path);

// Checks a Radiance file's header before the decoder sees it: some headers crash FreeImage.
#pragma once

#include <cstdint>
#include <string>

// Largest width or height accepted. Run-length scanlines store the width in 15 bits, and the
// rotation stage turns a height into a width, so both sides share the bound.
constexpr int kRadianceMaxSide = 32767;
// Largest pixel count accepted: 16384 x 8192, the largest panoramas in common use. It keeps
// the decoded float image (12 bytes a pixel) at 1.5 GiB, below the 2 GiB where byte counts
// held in 32-bit ints would overflow.
constexpr int64_t kRadianceMaxPixels = int64_t{1} << 27;

// True when path is a Radiance picture FreeImage can decode safely: the signature, a 32-bit
// RLE RGBE (or XYZE) FORMAT, a standard resolution line with positive sizes within bounds,
// and pixel data the file really holds.
//
// In detail: the first line is "#?RADIANCE" or "#?RGBE"; header lines up to the blank line,
// each shorter than 256 bytes and free of NUL bytes, within the first 64 KiB; every FORMAT=
// line names 32-bit_rle_rgbe or 32-bit_rle_xyze; the resolution line is "-Y height +X width"
// (the only orientation FreeImage decodes as written); and the scanlines that follow are
// complete: every run-length scanline is walked (without decoding) exactly as FreeImage reads
// it, because FreeImage reports success on data cut short and hands back uninitialised pixels.
bool CheckRadianceHeader(const std::string& path);

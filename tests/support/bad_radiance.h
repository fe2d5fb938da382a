// Tiny hand-made Radiance files that are broken in one way each, for tests of refusal.
#pragma once

#include <string>
#include <vector>

enum class BadRadiance {
  Empty,               // no bytes at all
  Garbage,             // 4 KiB of pseudo-random bytes
  NotRadiance,         // a PNG signature and chunk bytes under a .hdr name
  NoSignature,         // a valid picture whose first line is ten spaces, not "#?RADIANCE"
  EndlessHeader,       // header lines that never reach the blank line
  LongHeaderLine,      // a 256-byte comment line (overflows FreeImage's line buffer: abort)
  NoResolution,        // the blank line, then the end of the file
  NegativeHeight,      // "-Y -5 +X 10" over 1000 scanlines (FreeImage writes outside its image)
  NegativeWidth,       // "-Y 5 +X -10" (FreeImage corrupts its heap)
  ZeroSize,            // "-Y 0 +X 0"
  HugeSize,            // "-Y 2000000000 +X 2000000000" over a few bytes
  SwappedOrientation,  // "+X 10 +Y 5" (FreeImage reads it with the sizes swapped)
  ClaimsMorePixels,    // "-Y 64 +X 64" over the scanlines of 64 x 8 pixels
  TruncatedPixels,     // a run-length file missing its last 3 bytes (FreeImage calls it loaded)
};

// Every kind, in the order above.
const std::vector<BadRadiance>& AllBadRadiance();
// A short name for test output, e.g. "NegativeHeight".
const char* BadRadianceName(BadRadiance kind);
// The file's bytes.
std::string MakeBadRadiance(BadRadiance kind);
bool WriteBadRadiance(const std::string& path, BadRadiance kind);

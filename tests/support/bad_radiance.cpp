// Tiny hand-made Radiance files that are broken in one way each.
#include "bad_radiance.h"

#include <cstdint>

#include "radiance_patterns.h"
#include "radiance_writer.h"

namespace {

const char kHead[] = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n";

std::string Scanlines64x8() {
  return EncodeRadianceScanlines(MakeHdrGradient(64, 8), Scanlines::Rle);
}

std::string PseudoRandomBytes(size_t count, uint32_t seed) {
  std::string bytes(count, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

}  // namespace

const std::vector<BadRadiance>& AllBadRadiance() {
  static const std::vector<BadRadiance> kinds = {BadRadiance::Empty,
                                                 BadRadiance::Garbage,
                                                 BadRadiance::NotRadiance,
                                                 BadRadiance::NoSignature,
                                                 BadRadiance::EndlessHeader,
                                                 BadRadiance::LongHeaderLine,
                                                 BadRadiance::NoResolution,
                                                 BadRadiance::NegativeHeight,
                                                 BadRadiance::NegativeWidth,
                                                 BadRadiance::ZeroSize,
                                                 BadRadiance::HugeSize,
                                                 BadRadiance::SwappedOrientation,
                                                 BadRadiance::ClaimsMorePixels,
                                                 BadRadiance::TruncatedPixels};
  return kinds;
}

const char* BadRadianceName(BadRadiance kind) {
  switch (kind) {
    case BadRadiance::Empty:
      return "Empty";
    case BadRadiance::Garbage:
      return "Garbage";
    case BadRadiance::NotRadiance:
      return "NotRadiance";
    case BadRadiance::NoSignature:
      return "NoSignature";
    case BadRadiance::EndlessHeader:
      return "EndlessHeader";
    case BadRadiance::LongHeaderLine:
      return "LongHeaderLine";
    case BadRadiance::NoResolution:
      return "NoResolution";
    case BadRadiance::NegativeHeight:
      return "NegativeHeight";
    case BadRadiance::NegativeWidth:
      return "NegativeWidth";
    case BadRadiance::ZeroSize:
      return "ZeroSize";
    case BadRadiance::HugeSize:
      return "HugeSize";
    case BadRadiance::SwappedOrientation:
      return "SwappedOrientation";
    case BadRadiance::ClaimsMorePixels:
      return "ClaimsMorePixels";
    case BadRadiance::TruncatedPixels:
      return "TruncatedPixels";
  }
  return "?";
}

std::string MakeBadRadiance(BadRadiance kind) {
  const std::string pixels10x5 = EncodeRadianceScanlines(MakeHdrGradient(10, 5), Scanlines::Rle);
  switch (kind) {
    case BadRadiance::Empty:
      return std::string();
    case BadRadiance::Garbage:
      return PseudoRandomBytes(4096, 7);
    case BadRadiance::NotRadiance:
      return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + PseudoRandomBytes(200, 3);
    case BadRadiance::NoSignature:
      return "          \nFORMAT=32-bit_rle_rgbe\n\n-Y 8 +X 64\n" + Scanlines64x8();
    case BadRadiance::EndlessHeader: {
      std::string bytes = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n";
      while (bytes.size() < 100 * 1024)
        bytes += "# and the header goes on\n";
      return bytes;
    }
    case BadRadiance::LongHeaderLine:
      return "#?RADIANCE\n# " + std::string(253, 'c') + "\nFORMAT=32-bit_rle_rgbe\n\n-Y 5 +X 10\n" +
             pixels10x5;
    case BadRadiance::NoResolution:
      return kHead;
    case BadRadiance::NegativeHeight:
      // Enough scanlines after the header for FreeImage to write far outside its image.
      return kHead + std::string("-Y -5 +X 10\n") +
             EncodeRadianceScanlines(MakeHdrGradient(10, 1000), Scanlines::Flat);
    case BadRadiance::NegativeWidth:
      return kHead + std::string("-Y 5 +X -10\n") + pixels10x5;
    case BadRadiance::ZeroSize:
      return kHead + std::string("-Y 0 +X 0\n");
    case BadRadiance::HugeSize:
      return kHead + std::string("-Y 2000000000 +X 2000000000\n") + pixels10x5;
    case BadRadiance::SwappedOrientation:
      return kHead + std::string("+X 10 +Y 5\n") + pixels10x5;
    case BadRadiance::ClaimsMorePixels:
      return kHead + std::string("-Y 64 +X 64\n") + Scanlines64x8();
    case BadRadiance::TruncatedPixels: {
      const std::string whole = EncodeRadiance(MakeHdrGradient(64, 8), Scanlines::Rle);
      return whole.substr(0, whole.size() - 3);
    }
  }
  return std::string();
}

bool WriteBadRadiance(const std::string& path, BadRadiance kind) {
  return WriteBytes(path, MakeBadRadiance(kind));
}

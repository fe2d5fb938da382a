// Radiance HDR files made by the tests.
#include "radiance_writer.h"

std::string EncodeRadiance(const FloatImage&, Scanlines) { return std::string(); }
bool WriteRadiance(const std::string&, const FloatImage&, Scanlines) { return false; }

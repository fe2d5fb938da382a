// JPEG XR files written with the codec library itself.
#include "jxr_writer.h"

bool SaveJxr(FIBITMAP*, const std::string&) { return false; }

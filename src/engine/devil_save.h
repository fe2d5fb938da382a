// PSD, DDS and PCX files written through DevIL.
#pragma once

#include <FreeImage.h>

#include <mutex>
#include <string>

// DevIL keeps global state and hangs when two threads use it at once: every call holds this.
std::mutex& DevilLock();

// Writes image (24 or 32 bits; other depths are brought to 24) as ilType at path, with a full
// mipmap chain for DDS. False when anything failed.
bool SaveWithDevil(FIBITMAP* image, int ilType, const std::string& path);

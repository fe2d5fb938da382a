// Start-up of the image libraries, once per process.
#include "image_libraries.h"

#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <tiffio.h>

#include <mutex>

#include "devil_save.h"

namespace {

thread_local std::string lastMessage;

void KeepMessage(FREE_IMAGE_FORMAT, const char* message) {
  lastMessage = message ? message : "";
}

}  // namespace

void InitialiseImageLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    {
      std::lock_guard<std::mutex> guard(DevilLock());
      ilInit();
      iluInit();
    }
    // libtiff prints warnings to stderr past FreeImage's message handler; the console
    // belongs to our own lines.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    FreeImage_SetOutputMessage(KeepMessage);
  });
}

std::string LastImageLibraryMessage() {
  return lastMessage;
}

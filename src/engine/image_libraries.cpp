// Start-up of the image libraries, once per process.
#include "image_libraries.h"

#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <tiffio.h>

#include <malloc.h>

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
    // Every file allocates and frees the same large buffers (images, the tone mapper's
    // pyramids). Left to its defaults malloc hands them back to the system after each file and
    // faults them in again, zeroed, for the next: a fifth of a batch's time. Up to 32 MB a
    // block stays in the heap and freed memory is kept for the next file; one arena, because
    // a worker thread's own arena gives its 64 MB heaps back whenever they empty.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    mallopt(M_ARENA_MAX, 1);
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

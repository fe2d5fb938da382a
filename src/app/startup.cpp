// Start-up: the process-wide tables, the image libraries, the single-instance lock.
#include "startup.h"

#include "files.h"
#include "identity.h"
#include "image_libraries.h"
#include "instance_lock.h"

int RunProgram(int argc, char** argv) {
  (void)argc;
  (void)argv;
  InputExtensions();
  OutputExtensions();
  InitialiseImageLibraries();
  // A second copy ends at once, without a word.
  if (!AcquireInstanceLock(TitleWithVersion())) return 0;
  ProgramFolder();
  return 0;
}

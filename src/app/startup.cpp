// Start-up: the process-wide tables, the image libraries, the single-instance lock, then
// the command line or the desktop program.
#include "startup.h"

#include "command_line.h"
#include "console.h"
#include "files.h"
#include "identity.h"
#include "image_libraries.h"
#include "instance_lock.h"
#include "text_table.h"

namespace {

// Exit code of a console command line refused because another copy runs.
constexpr int kExitAnotherCopyRuns = 3;

}  // namespace

int RunProgram(int argc, char** argv) {
  const Parameters params(argv + 1, argv + argc);
  InputExtensions();
  OutputExtensions();
  InitialiseImageLibraries();
  if (!AcquireInstanceLock(TitleWithVersion())) {
    // A second desktop copy ends without a word; a command line is told why nothing happens.
    if (params.empty()) return 0;
    BuildTextTable("");
    ConsoleErrorLine(GetText("Msg", "Already running"));
    return kExitAnotherCopyRuns;
  }
  ProgramFolder();
  if (std::optional<int> code = HandleCommandLine(params)) return *code;
  return 0;
}

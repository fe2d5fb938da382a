// The help and version texts of the command line.
#include "help.h"

#include "clock.h"
#include "identity.h"
#include "text_table.h"

std::vector<std::string> HelpLines(const std::string& program) {
  const auto& inputs = InputExtensions();
  const std::string input =
      inputs[static_cast<size_t>(RandomInt(0, static_cast<int>(inputs.size()) - 1))];
  const std::string output = OutputExtensions().front();
  return {
      " ",
      FormatText("Usage: %s1% -i <filename> [options]", program),
      " ",
      FormatText("  %s1% -i example.%s2%", program, input),
      FormatText("  %s1% -i /tmp/example.%s2%", program, input),
      FormatText("  %s1% -i /tmp/example.%s2% -o /converted", program, input),
      FormatText("  %s1% -i /tmp/filelist.txt", program),
      FormatText("  %s1% -i /tmp/ -o /converted --jpg-quality=95", program),
      FormatText("  %s1% -i /tmp/ -o /converted -c %s2% --jpg-quality=95", program, output),
      " ",
      "Options:",
      " ",
      "  -h, -?, --help            Display this help and exit",
      "  -i FILE, --input=FILE     Set input file/list/folder",
      "  -o PATH, --output=PATH    Set output folder",
      "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
      " ",
      "Advanced options:",
      " ",
      "  --width=NUM               Set output image width",
      "  --height=NUM              Set output image height",
      "  --filename-mask=STR       Define output filename format",
      "  --flip-horizontal         Flip output image horizontally",
      "  --flip-vertical           Flip output image vertically",
      "  --brightness=NUM          Set output image brightness, NUM = -100..100",
      "  --contrast=NUM            Set output image contrast, NUM = -100..100",
      "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
      "  --invert                  Invert output image",
      "  --greyscale               Greyscale output image",
      "  --profile=FILE            Set configuration file with required settings",
      "    ...                     Refer documentation for all available options",
      " ",
      "Other options:",
      " ",
      "  -q, --quiet               Don't print status messages to stdout",
      "  -d, --debug               Print debug information to stdout",
      "  -p, --pause               Pause at exit",
      "  -v, --version             Display version information and exit",
  };
}

std::vector<std::string> HeaderLines() {
  std::string notice = NoticeOfRights;
  const std::string circledC = "\u00A9";
  for (size_t at; (at = notice.find(circledC)) != std::string::npos;)
    notice.replace(at, circledC.size(), "(c)");
  return {TitleWithVersion(), notice, VendorAddress(), " "};
}

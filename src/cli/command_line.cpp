// The command line: help, version, options and profiles, and the console run they lead to.
#include "command_line.h"

#include "clock.h"
#include "console.h"
#include "console_run.h"
#include "context.h"
#include "help.h"
#include "identity.h"
#include "input_table.h"
#include "settings.h"
#include "text_table.h"

namespace {

constexpr int kExitError = 1;

struct Handler {
  explicit Handler(const Parameters& parameters) : params(parameters) {}

  const Parameters& params;
  std::string error;
  bool quiet = false;
  bool pause = false;

  // Main options: the value may be the next parameter (short form) and must not look like
  // an option. Input and output values may be quoted across several parameters.
  bool MainValue(size_t& i, bool join, std::string& value) {
    if (TrimSpaces(params[i]).rfind("--", 0) != 0) ++i;
    value = OptionValueAt(params, i);
    if (value.empty() || value[0] == '-') return Fail();
    if (join) value = JoinQuoted(value, i);
    value = StripQuotes(value);
    return true;
  }

  // Other options take their value after "=" in the same parameter.
  bool SettingValue(size_t i, std::string& value) {
    value = OptionValueAt(params, i);
    if (value.empty() || value.rfind("--", 0) == 0) return Fail();
    return true;
  }

  // A value that opens a double quote takes the following parameters until one closes it.
  std::string JoinQuoted(std::string value, size_t& i) {
    if (value.empty() || value[0] != '"' || (value.size() > 1 && value.back() == '"')) return value;
    while (i + 1 < params.size()) {
      value += " " + OptionValueAt(params, ++i);
      if (!value.empty() && value.back() == '"') break;
    }
    return value;
  }

  bool Fail(const char* message = "Incorrect number of parameters") {
    error = message;
    return false;
  }

  // One option at i; false stops the loop (an error was found).
  bool Handle(size_t& i) {
    const std::string name = OptionNameAt(params, i);
    std::string value;
    if (name == "-I" || name == "--INPUT") {
      gInput.consoleMode = gContext.consoleMode = true;
      if (!MainValue(i, true, value)) return false;
      gInput.InputRoot = value;
    } else if (name == "-O" || name == "--OUTPUT") {
      if (!MainValue(i, true, value)) return false;
      gInput.OutputFolder = value;
    } else if (name == "-C" || name == "--CONVERSION") {
      if (!MainValue(i, false, value)) return false;
      gContext.outputFormat.extension = value;
    } else if (name == "--PROFILE") {
      if (!SettingValue(i, value)) return false;
      if (!ReadProfile(StripQuotes(JoinQuoted(value, i)))) return Fail("Invalid profile file");
    } else if (name == "-D" || name == "--DEBUG") {
      gContext.consoleMessageMode = "DEBUG";
    } else if (name == "-Q" || name == "--QUIET") {
      quiet = true;
    } else if (name == "-P" || name == "--PAUSE") {
      pause = true;
    } else if (const SettingDef* def = FindOption(name, false)) {
      if (def->optionKind == OptionKind::Flag) {
        ApplyOption(*def, std::string());
      } else {
        if (!SettingValue(i, value)) return false;
        if (def->optionKind == OptionKind::Text) value = StripQuotes(JoinQuoted(value, i));
        ApplyOption(*def, value);
      }
    }
    return true;
  }
};

// The program file's name without folder and extension.
std::string ProgramName() {
  return ProgramShortName;
}

void PrintHeader() {
  for (const std::string& line : HeaderLines())
    ConsoleLine(line);
}

}  // namespace

std::optional<int> HandleCommandLine(const Parameters& params) {
  if (params.empty()) return std::nullopt;

  ResetInputList();
  gContext = ConversionContext{};
  gContext.randomNumber = RandomInt(1, 99999);
  ResetSettings(true);
  BuildTextTable("");

  const std::string first = OptionNameAt(params, 0);
  // The uninstall page and the screenshot mode belong to the window face.
  if (first == "-U" || first == "-T") return 0;
  if (first == "-V" || first == "--VERSION") {
    SetConsoleTitle(TitleWithVersion());
    ConsoleLine(VersionText(ProgramVersion));
    return 0;
  }
  if (first == "-H" || first == "-?" || first == "--HELP") {
    SetConsoleTitle(TitleWithVersion());
    for (const std::string& line : HelpLines(ProgramName()))
      ConsoleLine(line);
    return 0;
  }

  Handler handler(params);
  for (size_t i = 0; i < params.size(); ++i)
    if (!handler.Handle(i)) break;

  if (!handler.error.empty()) {
    SetConsoleTitle(TitleWithVersion());
    ConsoleErrorLine("Error: " + handler.error);
    if (handler.pause) WaitForKey();
    return kExitError;
  }
  if (!gInput.consoleMode) return std::nullopt;
  SetConsoleTitle(TitleWithVersion());
  if (!handler.quiet) PrintHeader();
  const int code = RunConsoleConversion(handler.quiet);
  if (handler.pause) {
    ConsoleLine("Press any key to exit.");
    WaitForKey();
  }
  return code;
}

// The console the console run owns: whole lines, results on stdout, failures on stderr.
#include "console.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex lock;  // the worker thread prints too

void Write(FILE* stream, const std::string& text) {
  std::lock_guard<std::mutex> guard(lock);
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}
}  // namespace

void ConsoleLine(const std::string& text) {
  Write(stdout, text);
}
void ConsoleErrorLine(const std::string& text) {
  Write(stderr, text);
}

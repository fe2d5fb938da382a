// The console the console run owns: whole lines, results on stdout, failures on stderr.
#include "console.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
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

void SetConsoleTitle(const std::string& title) {
  if (!isatty(STDOUT_FILENO)) return;
  std::lock_guard<std::mutex> guard(lock);
  std::fprintf(stdout, "\033]0;%s\007", title.c_str());
  std::fflush(stdout);
}

void WaitForKey() {
  if (!isatty(STDIN_FILENO)) return;
  termios saved;
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  char key;
  while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

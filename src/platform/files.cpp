// File-system helpers on POSIX calls.
#include "files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

int64_t FileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return -1;
  if (S_ISDIR(st.st_mode)) return -2;
  return static_cast<int64_t>(st.st_size);
}

bool IsFolder(const std::string& path) {
  return FileSize(path) == -2;
}
bool IsFile(const std::string& path) {
  return FileSize(path) >= 0;
}
bool PathExists(const std::string& path) {
  return FileSize(path) != -1;
}

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsFolder(path));
}

bool RemoveFile(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const char* p = static_cast<const char*>(data);
  size_t left = size;
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    p += n;
    left -= static_cast<size_t>(n);
  }
  bool ok = left == 0;
  if (close(fd) != 0) ok = false;
  if (!ok) unlink(path.c_str());
  return ok;
}

int64_t FileModifiedTime(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtim.tv_sec) : -1;
}

bool SetFileModifiedTime(const std::string& path, int64_t seconds) {
  const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::string WithTrailingSlash(const std::string& text) {
  if (text.empty() || text.back() == '/') return text;
  return text + "/";
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

const std::string& ProgramFolder() {
  static const std::string folder = [] {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string("./");
    return FolderOf(std::string(buffer, static_cast<size_t>(n)));
  }();
  return folder;
}

namespace {

// $XDG_CONFIG_HOME, else $HOME/.config: where per-user settings live on Linux.
std::string ConfigBaseFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') return WithTrailingSlash(xdg);
  const char* home = std::getenv("HOME");
  return WithTrailingSlash(home && *home ? home : "/tmp") + ".config/";
}

}  // namespace

std::string EnsureUserFolder(const std::string& first, const std::string& second) {
  std::string base = ConfigBaseFolder();
  // The base itself may be missing on a fresh account; make it the way mkdir -p would.
  for (size_t slash = base.find('/', 1); slash != std::string::npos;
       slash = base.find('/', slash + 1))
    if (!PathExists(base.substr(0, slash))) MakeFolder(base.substr(0, slash));
  for (const std::string& name : {first, second}) {
    std::string next = base + name + "/";
    if (!PathExists(next)) MakeFolder(next);
    base = next;
  }
  return base;
}

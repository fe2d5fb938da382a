// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#include "temp_folder.h"

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder() {
  char pattern[] = "/tmp/lumaport-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  path_ = std::string(pattern) + "/";
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests make folders read-only on purpose; give the owner its rights back first.
  for (auto it = std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string CaptureOutput(int fd, const std::function<void()>& work) {
  std::fflush(nullptr);
  char name[] = "/tmp/lumaport-output-XXXXXX";
  const int sink = mkstemp(name);
  if (sink < 0) throw std::runtime_error("mkstemp failed");
  const int saved = dup(fd);
  dup2(sink, fd);
  work();
  std::fflush(nullptr);
  dup2(saved, fd);
  close(saved);
  close(sink);
  std::string output = ReadFileBytes(name);
  unlink(name);
  return output;
}

std::string RunCommand(const std::string& command, int* exitCode) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    if (exitCode) *exitCode = -1;
    return output;
  }
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, n);
  int status = pclose(pipe);
  if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

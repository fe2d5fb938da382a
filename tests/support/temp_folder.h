// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in "/".
  const std::string& path() const { return path_; }
  // path() + name.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Names of the entries of folder (not "." or ".."), sorted.
std::vector<std::string> ListFolder(const std::string& folder);
// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// What work printed on the stream of fd (1 for stdout, 2 for stderr) while it ran.
std::string CaptureOutput(int fd, const std::function<void()>& work);
// Runs a shell command and returns what it printed on stdout; exitCode gets its status.
std::string RunCommand(const std::string& command, int* exitCode = nullptr);

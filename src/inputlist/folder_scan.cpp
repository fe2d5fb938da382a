// Filling the input list from folder trees and list files.
#include "folder_scan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

#include "files.h"
#include "input_table.h"
#include "progress.h"
#include "text_decoding.h"

namespace {

struct FolderEntry {
  std::string name;
  bool isFolder;
};

// The entries of folder sorted by name, so imports and the counters that follow them come
// out the same on every run. A folder that cannot be listed has none.
std::vector<FolderEntry> ListEntries(const std::string& folder) {
  std::vector<FolderEntry> entries;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return entries;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({name, IsFolder(folder + name)});
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

using FolderId = std::pair<dev_t, ino_t>;

bool IdOf(const std::string& folder, FolderId& id) {
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) return false;
  id = {st.st_dev, st.st_ino};
  return true;
}

// Walks folder depth first. walking holds the folders on the current path, so a symbolic
// link back into one of them is not followed again (it would never end).
int Scan(const std::string& folder, std::set<FolderId>& walking) {
  FolderId id;
  if (!IdOf(folder, id) || !walking.insert(id).second) return 0;
  int added = 0;
  for (const FolderEntry& entry : ListEntries(folder))
    added += entry.isFolder ? Scan(folder + entry.name + "/", walking)
                            : AddInputFile(folder + entry.name);
  walking.erase(id);
  return added;
}

void SetProcessed(int32_t count) {
  std::lock_guard<std::mutex> guard(gProgress.mutex);
  gProgress.processedCount = count;
}

void AddToResult(int added) {
  std::lock_guard<std::mutex> guard(gProgress.mutex);
  gProgress.resultCount += added;
}

std::string TrimSpaces(const std::string& line) {
  size_t begin = line.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  return line.substr(begin, line.find_last_not_of(' ') - begin + 1);
}

}  // namespace

int ScanFolder(const std::string& folder) {
  std::set<FolderId> walking;
  return Scan(folder, walking);
}

void ImportFolderWorker() {
  const std::string root = gInput.InputRoot;
  std::set<FolderId> walking;
  FolderId rootId;
  if (IdOf(root, rootId)) walking.insert(rootId);
  int added = 0, handled = 0;
  for (const FolderEntry& entry : ListEntries(root)) {
    if (!gProgress.running) break;
    SetProcessed(++handled);
    added +=
        entry.isFolder ? Scan(root + entry.name + "/", walking) : AddInputFile(root + entry.name);
  }
  AddToResult(added);
}

void ImportListWorker() {
  std::ifstream in(gInput.InputPath, std::ios::binary);
  int added = 0, accepted = 0;
  if (in) {
    LineReader lines(in);
    std::string line;
    while (gProgress.running && lines.Next(line)) {
      const std::string path = TrimSpaces(line);
      if (path.empty() || !PathExists(path)) continue;
      SetProcessed(++accepted);
      added += IsFolder(path) ? ScanFolder(WithTrailingSlash(path)) : AddInputFile(path);
    }
  }
  AddToResult(added);
}

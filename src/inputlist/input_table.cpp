// The input list and the output-folder history.
#include "input_table.h"

#include "files.h"
#include "formats.h"
#include "identity.h"
#include "settings.h"
#include "unicode.h"

InputList gInput;

void InputTable::Add(InputEntry entry) {
  index_.emplace(entry.path, entries_.size());
  entries_.push_back(std::move(entry));
}

bool InputTable::Remove(const std::string& path) {
  auto found = index_.find(path);
  if (found == index_.end()) return false;
  entries_.erase(entries_.begin() + static_cast<long>(found->second));
  index_.clear();
  for (size_t i = 0; i < entries_.size(); ++i)
    index_.emplace(entries_[i].path, i);
  return true;
}

void InputTable::Clear() {
  entries_.clear();
  index_.clear();
}

void ResetInputList() {
  gInput.table.Clear();
  gInput.InputRoot.clear();
  gInput.InputPath.clear();
  gInput.OutputFolder.clear();
  gInput.consoleMode = false;
  BuildAcceptedExtensions();
}

void BuildAcceptedExtensions() {
  gInput.acceptedExtensions.clear();
  for (const std::string& family : InputExtensions())
    for (const InputFormatEntry& entry : InputFormatTable())
      if (family == entry.family) gInput.acceptedExtensions.push_back(entry.extension);
}

bool IsAcceptedExtension(const std::string& ext) {
  for (const std::string& accepted : gInput.acceptedExtensions)
    if (ext == accepted) return true;
  return false;
}

std::string ExtensionOf(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;) {
    const char c = path[i];
    if (c == ' ' || c == '/') return std::string();
    if (c != '.') continue;
    if (i == 0 || path[i - 1] == '/') return std::string();  // a name that begins with a dot
    std::string ext = path.substr(i + 1);
    return LowerCase(ext.substr(0, ext.find('"')));
  }
  return std::string();
}

std::string RelativeFolderOf(const std::string& path, const std::string& root) {
  if (path.empty() || root.empty()) return std::string();
  size_t start = path[0] == '"' ? 1 : 0;
  size_t end = path.find('|', start);
  std::string scanned =
      path.substr(start, end == std::string::npos ? std::string::npos : end - start);
  std::string folder = FolderOf(scanned);
  // Only a leading root is the input root: the same text can recur deeper in a POSIX path.
  if (folder.compare(0, root.size(), root) != 0) return std::string();
  return folder.substr(root.size());
}

bool AddInputFile(const std::string& path) {
  if (FileSize(path) == 0) return false;
  if (!IsAcceptedExtension(ExtensionOf(path))) return false;
  if (gInput.table.Contains(path)) return false;
  gInput.table.Add(InputEntry{path, RelativeFolderOf(path, gInput.InputRoot)});
  if (!gInput.consoleMode) {
    if (gInput.onRowAdded) gInput.onRowAdded(path);
    if (gInput.outputFieldText && gInput.outputFieldText().empty()) {
      std::string folder = gInput.InputRoot.empty() ? FolderOf(path) : gInput.InputRoot;
      AddRecentFolder(folder);
      gInput.OutputFolder = folder;
      if (gInput.refreshOutputFolders) gInput.refreshOutputFolders();
    }
  }
  return true;
}

bool AddRecentFolder(const std::string& folder) {
  if (folder.empty()) return false;
  gSettings.File.RecentOutFolders =
      AddToRecentList(gSettings.File.RecentOutFolders, folder, gSettings.Advanced.OutFoldersNumber);
  return true;
}

std::string RecentFolderAt(int index) {
  return RecentListAt(gSettings.File.RecentOutFolders, index);
}

// The input list: the files of the next run, each with its folder below the input root, and
// the output-folder history that adding the first file feeds.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

struct InputEntry {
  std::string path;            // full path exactly as added; the key
  std::string relativeFolder;  // below InputRoot, ending in "/", or empty
};

// Entries in the order they were added, so runs convert (and count) files in an order users
// can predict; a hashed index answers the duplicate test.
class InputTable {
 public:
  bool Contains(const std::string& path) const { return index_.count(path) != 0; }
  void Add(InputEntry entry);
  bool Remove(const std::string& path);
  void Clear();
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  std::vector<InputEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<InputEntry>::const_iterator end() const { return entries_.end(); }

 private:
  std::vector<InputEntry> entries_;
  std::unordered_map<std::string, size_t> index_;
};

// The input list and the run fields that belong with it.
struct InputList {
  InputTable table;
  std::string InputRoot;     // a folder ending in "/", or empty
  std::string InputPath;     // the remembered input file or list file
  std::string OutputFolder;  // ends in "/", or empty
  bool consoleMode = false;  // the command line named an input: no window is touched
  std::vector<std::string> acceptedExtensions;

  // Set by the window face: a row for each added file, and the text of its output-folder
  // field; unset in console mode.
  std::function<void(const std::string& path)> onRowAdded;
  std::function<std::string()> outputFieldText;
  std::function<void()> refreshOutputFolders;
};

extern InputList gInput;

// Empties the table, the run fields and rebuilds the accepted extensions.
void ResetInputList();
// Every input extension of the input-format families ("hdr", "hdri").
void BuildAcceptedExtensions();
bool IsAcceptedExtension(const std::string& ext);
// The extension of path as the list accepts it: lower case, without the dot, or empty.
std::string ExtensionOf(const std::string& path);
// Adds path after the size, extension and duplicate tests; true when it was added.
bool AddInputFile(const std::string& path);
// The folder of path with root removed from its start, or empty.
std::string RelativeFolderOf(const std::string& path, const std::string& root);
// Puts folder first in Recent Out Folders; false for an empty folder.
bool AddRecentFolder(const std::string& folder);
std::string RecentFolderAt(int index);

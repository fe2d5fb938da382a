// Filling the input list from folder trees and list files; the import workers run on a
// thread of their own and report through gProgress.
#pragma once

#include <string>

// Files added from folder (ending in "/") and every folder below it.
int ScanFolder(const std::string& folder);
// Imports gInput.InputRoot: each top-level entry counts as one processed item.
void ImportFolderWorker();
// Imports the list file gInput.InputPath, one path per line.
void ImportListWorker();

// File-system helpers the rest of the program uses; every folder text ends in "/".
#pragma once

#include <cstdint>
#include <string>

// Size in bytes; -1 when nothing exists at path, -2 when it is a folder.
int64_t FileSize(const std::string& path);
bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
bool PathExists(const std::string& path);
// Creates one folder level; false when it could not be made (an existing one counts as made).
bool MakeFolder(const std::string& path);
bool RemoveFile(const std::string& path);
// Replaces to with from in one step (the old target stays whole until the rename succeeds).
bool RenameFile(const std::string& from, const std::string& to);
// Writes all of data to a new file at path; false (and no file left) when any byte failed.
bool WriteWholeFile(const std::string& path, const void* data, size_t size);
// Adds "/" when text is not empty and does not end in one.
std::string WithTrailingSlash(const std::string& text);
// Everything up to and including the last "/", or empty.
std::string FolderOf(const std::string& path);

// Modification time of path in whole seconds since 1970 (UTC), or -1.
int64_t FileModifiedTime(const std::string& path);
// Sets the modification time of path; false when it could not be set.
bool SetFileModifiedTime(const std::string& path, int64_t seconds);

// Folder of the running program file, ending in "/".
const std::string& ProgramFolder();
// The per-user folder: the configuration base folder + first + "/" + second + "/", with
// missing levels created. A failed creation is not reported.
std::string EnsureUserFolder(const std::string& first, const std::string& second);

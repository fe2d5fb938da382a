// Program identity: title, version, the extension lists and the icon-table keys.
#pragma once

#include <array>
#include <string>
#include <vector>

inline constexpr const char* ProgramTitle = "Brivanta HDR to IMAGE";
inline constexpr const char* ProgramShortName = "lumaport";
inline constexpr int ProgramVersion = 260;

// The maker's addresses all derive from its web host.
inline constexpr const char* VendorHost = "www.brivanta.example";
inline constexpr const char* SupportEmail = "support@brivanta.example";
inline constexpr const char* NoticeOfRights =
    "Copyright \u00A9 2026 Brivanta. All rights reserved.";
// "http://www.brivanta.example/" + path.
std::string VendorAddress(const std::string& path = "");

// 260 -> "2.6", 261 -> "2.6.1".
std::string VersionText(int version);
// ProgramTitle, a space and the version text.
std::string TitleWithVersion();
// The first word of ProgramTitle ("Brivanta"), the maker's folder name.
std::string VendorName();

// Lower-case extensions without a dot, fixed for the life of the process.
const std::vector<std::string>& InputExtensions();
const std::vector<std::string>& OutputExtensions();
// Index of ext in OutputExtensions (exact comparison), or -1.
int OutputExtensionIndex(const std::string& ext);

inline constexpr std::array<const char*, 3> ButtonImageKeys = {"Convert", "InFiles", "InFolder"};
// Keys of the menu icons; the toolbar icon table uses the same keys.
inline constexpr std::array<const char*, 22> MenuIconKeys = {"New",
                                                             "Add",
                                                             "InFiles",
                                                             "InFolder",
                                                             "OutFolder",
                                                             "OutFormat",
                                                             "FavFolder",
                                                             "ImportFiles",
                                                             "ExportFiles",
                                                             "Exit",
                                                             "Copy",
                                                             "Delete",
                                                             "SelectAll",
                                                             "Convert",
                                                             "Error",
                                                             "Preferences",
                                                             "CustomConverter",
                                                             "Help",
                                                             "Email",
                                                             "Web",
                                                             "Updates",
                                                             "About"};

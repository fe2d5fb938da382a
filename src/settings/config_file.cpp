// config.ini: the settings kept between runs of the desktop program.
#include "config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "files.h"
#include "identity.h"
#include "ini_file.h"
#include "settings.h"
#include "settings_table.h"

namespace {

bool IsWindowGroup(const SettingDef& def) {
  return std::strcmp(def.group, "Window") == 0;
}

// A per-format key belongs to the file only while its format is in the list of its group.
bool FormatListed(const SettingDef& def) {
  if (!def.format) return true;
  const std::vector<std::string>& list =
      std::strcmp(def.group, "Input") == 0 ? InputExtensions() : OutputExtensions();
  for (const std::string& ext : list)
    if (ext == def.format) return true;
  return false;
}

void ReadSetting(const IniReader& ini, const SettingDef& def, Settings& settings) {
  std::visit(
      [&](auto* field) {
        using T = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>) {
          *field = ini.ReadText(def.group, def.key, *field);
        } else if constexpr (std::is_same_v<T, float>) {
          *field = ini.ReadFloat(def.group, def.key, *field);
        } else {
          // The field already holds the default of the reset; a few keys read another value
          // when a file lacks them (CFG 0 marks a file older than the version key).
          int32_t fallback = def.hasMissingValue ? def.missingValue : static_cast<int32_t>(*field);
          *field = static_cast<T>(ini.ReadInt(def.group, def.key, fallback));
        }
      },
      def.field(settings));
}

void WriteSetting(IniWriter& ini, const SettingDef& def, Settings& settings) {
  std::visit(
      [&](auto* field) {
        using T = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>)
          ini.WriteText(def.key, *field);
        else if constexpr (std::is_same_v<T, float>)
          ini.WriteFloat(def.key, *field);
        else if (static_cast<const void*>(field) == &settings.General.CFG)
          ini.WriteInt(def.key, ConfigVersion);  // the file is in today's format whatever was read
        else
          ini.WriteInt(def.key, static_cast<int32_t>(*field));
      },
      def.field(settings));
}

// Values that older versions of the file stored differently.
void UpgradeOldFile(const IniReader& ini, Settings& settings) {
  const int32_t version = settings.General.CFG;
  if (version < 11 && settings.Advanced.FilenameMask.find("%ext%") == std::string::npos)
    settings.Advanced.FilenameMask += ".%ext%";
  if (version < 14 && settings.Input.RAWLoadAs != 0) settings.Input.RAWLoadAs += 2;
  if (version < 19) {
    // The colour modes were once stored under other keys.
    int32_t psd = ini.ReadInt("Input", "PSD Color Model", 0);
    if (psd != 0) settings.Input.PSDColorMode = psd;
    int32_t tiff = ini.ReadInt("Output", "TIFF Color Model", 0);
    if (tiff != 0) settings.Output.TIFFColorMode = tiff;
  }
}

bool WriteAll(int fd, const std::string& data) {
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// Creates a file of a name no one else uses, beside path; -1 when none can be made.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  const std::string stem = FolderOf(path) + "." + path.substr(FolderOf(path).size()) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = stem + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Replaces path with data in one step: the old file stays whole unless the new one is
// complete and on disk, and no temporary file outlives a failure.
bool ReplaceFile(const std::string& path, const std::string& data) {
  std::string temporary;
  int fd = CreateTemporaryBeside(path, temporary);
  if (fd < 0) return false;
  // A file the user made private stays private.
  struct stat old;
  if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
  bool ok = WriteAll(fd, data) && fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  if (ok) ok = RenameFile(temporary, path);
  if (!ok) unlink(temporary.c_str());
  return ok;
}

}  // namespace

void LoadSettings() {
  // Every key missing from the file keeps the default the reset gives it.
  ResetSettings(false);
  IniReader ini;
  if (!ini.Open(gSettings.ConfigPath)) return;  // CFG stays 19: nothing to upgrade
  // Every key is read, the per-format ones of formats not in the lists and the window
  // geometry that Save Window Position 0 left out included.
  for (const SettingDef& def : SettingsTable())
    ReadSetting(ini, def, gSettings);
  UpgradeOldFile(ini, gSettings);
}

void SaveSettings() {
  if (gSettings.ConfigPath.empty()) return;
  IniWriter ini;
  const char* group = nullptr;
  for (const SettingDef& def : SettingsTable()) {
    // A group is written even when none of its keys are (Window with Save Window Position 0).
    if (!group || std::strcmp(group, def.group) != 0) {
      group = def.group;
      ini.Group(group);
    }
    if (IsWindowGroup(def) && gSettings.General.SaveWindowPosition != 1) continue;
    if (!FormatListed(def)) continue;
    WriteSetting(ini, def, gSettings);
  }
  // Nothing to report: a file that cannot be written leaves the settings in memory only.
  ReplaceFile(gSettings.ConfigPath, ini.Text());
}

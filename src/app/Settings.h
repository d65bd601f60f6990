// The choices of the Options menu, kept between runs in the user's settings file as
// key=value lines. A missing or damaged file gives the defaults; a failed save is not an error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "job/MergerSystem.h"

namespace app {

struct Settings {
  // Off by default, so that a window nobody configured writes what the original wrote.
  bool checksums = false;  // also write BaseName.sha256
  bool shMerger = false;   // also write BaseName.sh
  // The system that the .EXE merger is made for: by default the one this program runs on.
  job::MergerSystem mergerFor = job::kHostMergerSystem;
  bool operator==(const Settings&) const = default;
};

// Larger files are not ours (or are damaged) and are not read at all.
inline constexpr std::int64_t kMaxSettingsFileSize = 64 * 1024;

// The settings' folder in the user's config folder: each system's custom for its name.
#ifdef _WIN32
inline constexpr char kSettingsFolderName[] = "Fennock";
#else
inline constexpr char kSettingsFolderName[] = "fennock";
#endif

// <user config folder>/<kSettingsFolderName>/settings.ini, or "" when the system names no
// config folder.
std::string settingsFilePath();

// Lines that are not a known key with a valid value are skipped; a later line wins.
Settings parseSettings(std::string_view text);
std::string formatSettings(const Settings& settings);

// Never fails: whatever cannot be read gives the defaults.
Settings loadSettings(const std::string& path);
// Creates the folder when missing and replaces the file in one step; false when nothing could be
// saved (the previous file, if any, is then left as it was).
bool saveSettings(const std::string& path, const Settings& settings) noexcept;

}  // namespace app

// The folder browser component over the desktop's folder chooser.
#include "widgets/BrowseFolder.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "ui/Dialogs.h"
#include "widgets/FileLabel.h"

namespace widgets {

namespace {

std::string joinWith(const std::vector<std::string>& parts, char separator) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// $XDG_CONFIG_HOME or $XDG_DATA_HOME with their documented defaults below $HOME.
std::string baseFolder(const char* variable, const char* underHome) {
  std::string value = environment(variable);
  if (!value.empty() && value.front() == '/') return value;
  std::string home = environment("HOME");
  return home.empty() ? std::string() : platform::joinPath(home, underHome);
}

std::string existingOrEmpty(const std::string& folder) {
  return !folder.empty() && platform::folderExists(folder) ? folder : std::string();
}

// Folders come back without a trailing separator, except the root itself.
std::string withoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::string shortenStatusPath(const std::string& path, std::size_t limit, char separator) {
  if (path.size() <= limit) return path;
  std::vector<std::string> parts = splitPath(path, std::string(1, separator)).parts;
  if (parts.size() < 3) return path;
  parts[1] = "...";
  std::string shortened = joinWith(parts, separator);
  while (shortened.size() > limit && parts.size() > 3) {
    parts.erase(parts.begin() + 2);
    shortened = joinWith(parts, separator);
  }
  return shortened;
}

// The desktop's list of the user's folders; "" when there is none.
std::string userDirsText() {
  // Far longer than the few lines that the desktop writes there.
  constexpr std::size_t kLongest = 1 << 16;
  try {
    return platform::readFileStart(
        platform::joinPath(baseFolder("XDG_CONFIG_HOME", ".config"), "user-dirs.dirs"), kLongest);
  } catch (const platform::EInOutError&) {
    return {};
  }
}

std::string xdgUserFolder(const std::string& name) {
  const std::string home = environment("HOME");
  if (home.empty()) return {};
  const std::string key = "XDG_" + name + "_DIR=";
  const std::string dirs = userDirsText();
  for (std::size_t at = 0, end; at < dirs.size(); at = end + 1) {
    end = std::min(dirs.find('\n', at), dirs.size());
    const std::string line = dirs.substr(at, end - at);
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    // The file holds either "$HOME/..." or an absolute path.
    if (value.compare(0, 5, "$HOME") == 0) return withoutTrailingSeparator(home + value.substr(5));
    if (!value.empty() && value.front() == '/') return withoutTrailingSeparator(value);
  }
  return name == "DESKTOP" ? platform::joinPath(home, "Desktop") : home;
}

std::string rootFolderPath(TSHFolders root) {
  switch (root) {
    case foDesktop:
    case foDesktopDirectory:
      return existingOrEmpty(xdgUserFolder("DESKTOP"));
    case foPersonal:
      return existingOrEmpty(xdgUserFolder("DOCUMENTS"));
    case foTemplates:
      return existingOrEmpty(xdgUserFolder("TEMPLATES"));
    case foMyComputer:
      return "/";
    case foPrograms:
    case foStartMenu:
      return existingOrEmpty(
          platform::joinPath(baseFolder("XDG_DATA_HOME", ".local/share"), "applications"));
    case foStartup:
      return existingOrEmpty(
          platform::joinPath(baseFolder("XDG_CONFIG_HOME", ".config"), "autostart"));
    case foRecycleBin:
      return existingOrEmpty(
          platform::joinPath(baseFolder("XDG_DATA_HOME", ".local/share"), "Trash/files"));
    case foFonts:
      return existingOrEmpty(
          platform::joinPath(baseFolder("XDG_DATA_HOME", ".local/share"), "fonts"));
    default:
      // The whole namespace, and roots that are no file-system folder here (control panel,
      // printers, network, ...): the chooser starts where it likes.
      return {};
  }
}

bool TBrowseFolder::Execute() {
  // A folder chosen earlier that has gone away is simply not preselected; without one the
  // chooser starts in the root folder, if that names one here.
  std::string initial = existingOrEmpty(m_directory);
  if (initial.empty()) initial = rootFolderPath(m_rootFolder);
  ui::FolderRequest request{m_title, initial, m_flags, m_rootFolder, {}, {}, {}};
  if (m_showPathInStatusArea)
    request.statusText = [](const std::string& path) {
      return shortenStatusPath(path, kStatusPathLimit, platform::kPathSeparator);
    };
  request.initialized = [this](void* dialog) {
    m_dialog = dialog;
    if (m_customButtonVisible) createCustomButton(dialog);
    if (OnInitialized) OnInitialized(*this, dialog);
  };
  request.selectionChanged = [this](void* dialog, const void* item, const std::string& path) {
    // The picker itself has enabled OK for file-system folders only.
    if (m_syncCustomButton) setCustomButtonEnabled(!path.empty());
    if (OnSelectionChanged) OnSelectionChanged(*this, dialog, item, path);
  };
  std::optional<std::string> chosen = ui::dialogs().browseFolder(request);
  // The picker's windows are gone.
  m_dialog = nullptr;
  m_customButton = nullptr;
  // Only an existing folder can be confirmed, as OK is enabled only for file-system folders.
  if (!chosen || !platform::folderExists(*chosen)) return false;
  m_directory = withoutTrailingSeparator(*chosen);
  return true;
}

void TBrowseFolder::setCustomButtonEnabled(bool value) {
  m_customButtonEnabled = value;
  applyCustomButtonState();
}

void TBrowseFolder::setCustomButtonCaption(const std::string& value) {
  m_customButtonCaption = value;
  applyCustomButtonState();
}

void TBrowseFolder::EnableOK(void* dialog, bool enable) {
  enableOKButton(dialog, enable);
  if (m_syncCustomButton) setCustomButtonEnabled(enable);
}

}  // namespace widgets

// The folder browser component: a modal folder picker that returns a file-system folder.
#pragma once

#include <string>

namespace widgets {

// Options of the picker; the values are the shell option bits they stand for.
enum TBrowseInfoFlag : unsigned {
  bfFileSysDirsOnly = 0x0001,
  bfDontGoBelowDomain = 0x0002,
  bfStatusText = 0x0004,
  bfFileSysAncestors = 0x0008,
  bfBrowseForComputer = 0x1000,
  bfBrowseForPrinter = 0x2000,
};
using TBrowseInfoFlags = unsigned;  // an OR of TBrowseInfoFlag values

// Roots of the folder tree, numbered as the standard special folders.
enum TSHFolders : int {
  foDesktopExpanded = -1,  // no root: the whole namespace
  foDesktop = 0,
  foPrograms = 2,
  foControlPanel = 3,
  foPrinters = 4,
  foPersonal = 5,
  foFavorites = 6,
  foStartup = 7,
  foRecent = 8,
  foSendto = 9,
  foRecycleBin = 10,
  foStartMenu = 11,
  foDesktopDirectory = 16,
  foMyComputer = 17,
  foNetwork = 18,
  foNetworkNeighborhood = 19,
  foFonts = 20,
  foTemplates = 21,
};

inline constexpr std::size_t kStatusPathLimit = 35;

// Shortens a path for the picker's status line: the second part becomes "..." and then the
// parts after it are dropped until the text fits (or only the first, "..." and the last remain).
std::string shortenStatusPath(const std::string& path, std::size_t limit = kStatusPathLimit,
                              char separator = '/');

// The folder that stands for a root on this platform: the XDG user folder where one exists,
// "/" for the computer, empty when there is none (or it does not exist).
std::string rootFolderPath(TSHFolders root);

// Reads one entry of the XDG user folders ("DESKTOP", "DOCUMENTS", "TEMPLATES", ...), with the
// documented fall-backs; empty when $HOME is unknown.
std::string xdgUserFolder(const std::string& name);

class TBrowseFolder {
 public:
  // Shows the folder chooser of ui::dialogs(); true when an existing folder was confirmed,
  // which is then in Directory. Cancel leaves Directory as it was.
  bool Execute();

  const std::string& Directory() const { return m_directory; }
  void setDirectory(const std::string& value) { m_directory = value; }
  const std::string& Title() const { return m_title; }
  void setTitle(const std::string& value) { m_title = value; }
  // The shell's folder picker (Windows) takes every flag; FLTK's chooser lists file-system
  // folders only, which is what bfFileSysDirsOnly asks, and has no counterpart for the others.
  TBrowseInfoFlags Flags() const { return m_flags; }
  void setFlags(TBrowseInfoFlags value) { m_flags = value; }
  TSHFolders RootFolder() const { return m_rootFolder; }
  void setRootFolder(TSHFolders value) { m_rootFolder = value; }
  // The path of every selection, shortened, in the picker's status line (on Windows; FLTK's
  // chooser has no status line).
  bool ShowPathInStatusArea() const { return m_showPathInStatusArea; }
  void setShowPathInStatusArea(bool value) { m_showPathInStatusArea = value; }

 private:
  std::string m_directory;
  std::string m_title;
  TBrowseInfoFlags m_flags = bfFileSysDirsOnly | bfStatusText;
  TSHFolders m_rootFolder = foDesktopExpanded;
  bool m_showPathInStatusArea = false;
};

}  // namespace widgets

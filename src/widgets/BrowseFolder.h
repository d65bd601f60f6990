// The folder browser component: a modal folder picker that returns a file-system folder.
#pragma once

#include <functional>
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

// The kinds of the picker's extra control.
enum TCustomButtonType { btPushButton, btCheckBox };

inline constexpr std::size_t kStatusPathLimit = 35;
inline constexpr int kCustomButtonDefaultWidth = 75;

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

// On Windows the shell's picker can carry one extra push button or check box and reports its
// initialisation, selection changes and clicks on that control through the events. FLTK's chooser
// has none of these: on Linux the extra control's properties are kept but have no effect, the
// events never fire, and SetSelection and EnableOK do nothing.
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

  // The extra control; enabling it and its caption reach the live control while the picker is
  // open, the others take effect at the next Execute.
  bool CustomButtonVisible() const { return m_customButtonVisible; }
  void setCustomButtonVisible(bool value) { m_customButtonVisible = value; }
  bool CustomButtonEnabled() const { return m_customButtonEnabled; }
  void setCustomButtonEnabled(bool value);
  const std::string& CustomButtonCaption() const { return m_customButtonCaption; }
  void setCustomButtonCaption(const std::string& value);
  int CustomButtonWidth() const { return m_customButtonWidth; }
  void setCustomButtonWidth(int value) {
    m_customButtonWidth = value > 0 ? value : kCustomButtonDefaultWidth;
  }
  TCustomButtonType CustomButtonType() const { return m_customButtonType; }
  void setCustomButtonType(TCustomButtonType value) { m_customButtonType = value; }
  // In: the check box's first state. Out: its state when OK was pressed.
  bool CustomButtonChecked() const { return m_customButtonChecked; }
  void setCustomButtonChecked(bool value) { m_customButtonChecked = value; }
  // The extra control is enabled exactly when OK is.
  bool SyncCustomButton() const { return m_syncCustomButton; }
  void setSyncCustomButton(bool value) { m_syncCustomButton = value; }

  // For the events, while the picker is open; `dialog` is the handle the events pass.
  void SetSelection(void* dialog, const std::string& path);
  void EnableOK(void* dialog, bool enable);

  // Once, when the picker's window exists.
  std::function<void(TBrowseFolder& sender, void* dialog)> OnInitialized;
  // On every selection: the shell's item and its path (empty for no file-system folder).
  std::function<void(TBrowseFolder& sender, void* dialog, const void* item,
                     const std::string& directory)>
      OnSelectionChanged;
  std::function<void(TBrowseFolder& sender, void* dialog)> OnCustomButtonClick;

 private:
  std::string m_directory;
  std::string m_title;
  TBrowseInfoFlags m_flags = bfFileSysDirsOnly | bfStatusText;
  TSHFolders m_rootFolder = foDesktopExpanded;
  bool m_showPathInStatusArea = false;
  bool m_customButtonVisible = false;
  bool m_customButtonEnabled = true;
  std::string m_customButtonCaption;
  int m_customButtonWidth = kCustomButtonDefaultWidth;
  TCustomButtonType m_customButtonType = btPushButton;
  bool m_customButtonChecked = false;
  bool m_syncCustomButton = false;
  // While the picker is open (Windows): its window and the extra control.
  void* m_dialog = nullptr;
  void* m_customButton = nullptr;

  // The native side: the extra control and the picker's window procedure, in win32/ or fltk/.
  void createCustomButton(void* dialog);
  void applyCustomButtonState();
  static void enableOKButton(void* dialog, bool enable);
  friend struct BrowseFolderDialog;
};

}  // namespace widgets

// The Help menu: help index, license, support page and the About box.
#include "app/HelpMenu.h"

#include <filesystem>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

namespace app {

std::string helpDocumentPath(const std::string& document, const std::string& currentFolder,
                             const std::string& programFolder) {
  const std::string inCurrentFolder = platform::joinPath(currentFolder, document);
  if (platform::fileExists(inCurrentFolder) || programFolder.empty()) return inCurrentFolder;
  // The program's path is already resolved (no links), so ".." may be folded away by text.
  const std::string installed =
      std::filesystem::path(platform::joinPath(programFolder, FENNOCK_DOCS_FROM_PROGRAM))
          .lexically_normal()
          .string();
  for (const std::string& folder : {programFolder, installed}) {
    const std::string candidate = platform::joinPath(folder, document);
    if (platform::fileExists(candidate)) return candidate;
  }
  return inCurrentFolder;
}

std::string helpDocumentPath(const std::string& document) {
  // A current folder that was removed, or a process without /proc, leaves that place out:
  // the menu opens documents and shows no error of its own.
  std::string current, program;
  try {
    current = platform::currentFolder();
  } catch (const platform::EInOutError&) {
  }
  try {
    program = platform::parentFolder(platform::executablePath());
  } catch (const platform::EInOutError&) {
  }
  return helpDocumentPath(document, current, program);
}

}  // namespace app

// The documents open with the desktop's associated application; a missing one, or one that
// no application takes, is the desktop's to report.
void TForm1::License1Click() { platform::openDocument(app::helpDocumentPath("index.htm")); }

void TForm1::Help2Click() { platform::openDocument(app::helpDocumentPath("license.txt")); }

void TForm1::Support1Click() { platform::openDocument(app::helpDocumentPath("manual/insup.htm")); }

// No modal loop: the box shows and the main window, with its menu, refuses input until OK.
void TForm1::AbouFennock1Click() {
  if (Form3 == nullptr) return;
  Form3->showAbout();
  setEnabled(false);
}

// What the Help menu and About box tests share: a recorder in place of xdg-open, a current
// folder put back after the test, and the main window with its About box.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "ui/Dialogs.h"

namespace help_testing {

// Records the targets that would have been opened instead of starting xdg-open.
class RecordedOpens {
 public:
  RecordedOpens() {
    m_previous = platform::setDocumentOpener([this](const std::string& t) { opened.push_back(t); });
  }
  ~RecordedOpens() { platform::setDocumentOpener(m_previous); }
  RecordedOpens(const RecordedOpens&) = delete;
  RecordedOpens& operator=(const RecordedOpens&) = delete;

  std::vector<std::string> opened;

 private:
  platform::DocumentOpener m_previous;
};

// Restores the process's current folder when the test ends.
class CurrentFolderGuard {
 public:
  CurrentFolderGuard() : m_saved(platform::currentFolder()) {}
  ~CurrentFolderGuard() { platform::setCurrentFolder(m_saved); }
  CurrentFolderGuard(const CurrentFolderGuard&) = delete;
  CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

 private:
  std::string m_saved;
};

// The forms as start-up creates them, without a display.
struct WindowsFixture : ::testing::Test {
  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  int started = (app::initializeApplication(), 0);
  RecordedOpens opens;
  TForm1 form1;
  TForm3 form3{form1};
};

}  // namespace help_testing

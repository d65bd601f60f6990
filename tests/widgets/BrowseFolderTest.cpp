// The folder browser: status-line shortening, root folders and Execute over scripted dialogs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/ScratchDir.h"
#include "ui/Dialogs.h"
#include "widgets/BrowseFolder.h"

using namespace widgets;
using testing_support::ScratchDir;

namespace {

#ifndef _WIN32
// Points $HOME and $XDG_CONFIG_HOME into a scratch folder for the life of a test.
class ScratchHome {
 public:
  ScratchHome() : m_oldHome(get("HOME")), m_oldConfig(get("XDG_CONFIG_HOME")) {
    ::setenv("HOME", m_dir.path().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
  }
  ~ScratchHome() {
    restore("HOME", m_oldHome);
    restore("XDG_CONFIG_HOME", m_oldConfig);
  }
  const ScratchDir& dir() const { return m_dir; }

 private:
  static std::optional<std::string> get(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  static void restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ScratchDir m_dir;
  std::optional<std::string> m_oldHome, m_oldConfig;
};
#endif

struct BrowseFolderExecute : ::testing::Test {
  ui::ScriptedDialogs dialogs{false};
  ui::ScopedDialogs scope{dialogs};
  TBrowseFolder browse;
};

}  // namespace

TEST(StatusPath, ShortPathsStayAsTheyAre) {
  const std::string exact = "/home/user/some/folder/abcdefghijk";  // 34
  EXPECT_EQ(shortenStatusPath(exact), exact);
  EXPECT_EQ(shortenStatusPath(exact + "l"), exact + "l");  // 35: still unchanged
  // Fewer than three parts cannot be shortened.
  const std::string twoParts = "averyveryverylongfoldername/averyverylongfile";
  EXPECT_EQ(shortenStatusPath(twoParts), twoParts);
}

TEST(StatusPath, DropsFoldersAfterTheDotsUntilItFits) {
  EXPECT_EQ(shortenStatusPath("C:\\Folder1\\Folder2\\Folder3\\Folder4\\Folder5\\Folder6\\file.txt",
                              35, '\\'),
            "C:\\...\\Folder5\\Folder6\\file.txt");
  EXPECT_EQ(shortenStatusPath("/home/someone/work/projects/fennock/build/out.bin"),
            "/.../projects/fennock/build/out.bin");
  // At worst the first part, the dots and the last part, even when that is still too long.
  EXPECT_EQ(shortenStatusPath("/home/averyveryveryveryveryverylongfilename.bin"),
            "/.../averyveryveryveryveryverylongfilename.bin");
  EXPECT_LE(shortenStatusPath("/a/bbbbbbbbbb/cccccccccc/dddddddddd/e").size(), kStatusPathLimit);
}

TEST_F(BrowseFolderExecute, CancelLeavesDirectoryAndReturnsFalse) {
  dialogs.queueFolder(std::nullopt);
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(browse.Directory(), "");
  ASSERT_EQ(dialogs.openedWith().size(), 1u);
  EXPECT_EQ(dialogs.openedWith()[0], "");  // nothing preselected the first time

  ScratchDir chosen;
  dialogs.queueFolder(chosen.path());
  EXPECT_TRUE(browse.Execute());
  dialogs.queueFolder(std::nullopt);
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(browse.Directory(), chosen.path());
}

TEST_F(BrowseFolderExecute, RootKeepsItsSeparatorOtherFoldersLoseIt) {
  dialogs.queueFolder("/");
  EXPECT_TRUE(browse.Execute());
  EXPECT_EQ(browse.Directory(), "/");
  ScratchDir chosen;
  dialogs.queueFolder(chosen.path() + "/");
  EXPECT_TRUE(browse.Execute());
  EXPECT_EQ(browse.Directory(), chosen.path());
}

TEST_F(BrowseFolderExecute, AFolderThatDoesNotExistIsNotConfirmed) {
  browse.setDirectory("/tmp");
  dialogs.queueFolder("/no/such/folder/here");
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(browse.Directory(), "/tmp");
}

TEST_F(BrowseFolderExecute, PreselectsThePreviousChoiceWhileItExists) {
  browse.setTitle("Pick the destination");
  std::string gone;
  {
    ScratchDir first;
    gone = first.path();
    dialogs.queueFolder(first.path());
    ASSERT_TRUE(browse.Execute());
    browse.Execute();  // cancelled
    EXPECT_EQ(dialogs.openedWith().back(), first.path());
  }
  browse.Execute();
  EXPECT_EQ(dialogs.openedWith().back(), "");  // removed meanwhile: ignored
  EXPECT_EQ(browse.Directory(), gone);
}

TEST(BrowseFolderCustomButton, WidthOfZeroOrLessFallsBackToTheDefault) {
  TBrowseFolder browse;
  for (int width : {0, -3}) {
    browse.setCustomButtonWidth(120);
    browse.setCustomButtonWidth(width);
    EXPECT_EQ(browse.CustomButtonWidth(), 75) << width;
  }
}

// The user folders of the Linux desktop; on Windows the shell finds the root folders itself.
#ifndef _WIN32
TEST(BrowseFolderRoot, MapsToTheUserFoldersThatExist) {
  ScratchHome home;
  std::filesystem::create_directories(home.dir().file("Schreibtisch"));
  std::filesystem::create_directories(home.dir().file(".config"));
  home.dir().write(".config/user-dirs.dirs",
                   "# written by xdg-user-dirs-update\n"
                   "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                   "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                   "XDG_TEMPLATES_DIR=\"/nowhere/at/all\"\n");
  EXPECT_EQ(xdgUserFolder("DESKTOP"), home.dir().file("Schreibtisch"));
  EXPECT_EQ(rootFolderPath(foDesktop), home.dir().file("Schreibtisch"));
  EXPECT_EQ(rootFolderPath(foPersonal), "");  // listed but missing
  EXPECT_EQ(rootFolderPath(foTemplates), "");
  EXPECT_EQ(rootFolderPath(foMyComputer), "/");
  EXPECT_EQ(rootFolderPath(foPrinters), "");
  EXPECT_EQ(rootFolderPath(foDesktopExpanded), "");

  ui::ScriptedDialogs dialogs(false);
  ui::ScopedDialogs scope(dialogs);
  TBrowseFolder browse;
  browse.setRootFolder(foDesktopDirectory);
  browse.Execute();
  EXPECT_EQ(dialogs.openedWith().back(), home.dir().file("Schreibtisch"));
}

TEST(BrowseFolderRoot, UnlistedFoldersFallBackAsDocumented) {
  ScratchHome home;
  EXPECT_EQ(xdgUserFolder("DESKTOP"), home.dir().file("Desktop"));
  EXPECT_EQ(xdgUserFolder("DOCUMENTS"), home.dir().path());
  EXPECT_EQ(rootFolderPath(foDesktop), "");  // no Desktop folder in the scratch home
  EXPECT_EQ(rootFolderPath(foPersonal), home.dir().path());
}
#endif

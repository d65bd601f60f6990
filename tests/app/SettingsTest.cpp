// The settings file: saved and read back, the defaults from whatever is missing or damaged, and
// saves that fail without leaving anything behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "app/Settings.h"
#include "platform/Paths.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDir.h"

using namespace std::string_literals;
using testing_support::ScopedEnvironment;
using testing_support::ScratchDir;

namespace {

std::size_t entriesIn(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

}  // namespace

TEST(Settings, SavedSettingsReadBackAndMissingFoldersAreMade) {
  ScratchDir dir;
  const std::string path = dir.file("config/fennock/settings.ini");
  using job::MergerSystem;
  for (MergerSystem system : {MergerSystem::Windows, MergerSystem::Linux})
    for (bool checksums : {false, true})
      for (bool shMerger : {false, true}) {
        const app::Settings saved{checksums, shMerger, system};
        ASSERT_TRUE(app::saveSettings(path, saved));
        EXPECT_EQ(app::loadSettings(path), saved) << checksums << shMerger << int(system);
      }
  // Replaced in one step: no temporary name stays beside it.
  EXPECT_EQ(entriesIn(dir.file("config/fennock")), 1u);
  EXPECT_EQ(ScratchDir::read(path),
            "# Fennock's settings, written by its Options menu.\nchecksums=true\n"
            "sh-merger=true\nmerger-for=linux\n");
}

TEST(Settings, MissingOrDamagedFilesGiveTheDefaultsForWhatTheyCannotSay) {
  const app::Settings none, both{true, true}, checksumsOnly{true, false},
      windows{false, false, job::MergerSystem::Windows};
  struct Case {
    const char* what;
    std::string text;
    app::Settings expected;
  };
  const Case cases[] = {
      {"empty", "", none},
      {"hand-edited", " checksums = TRUE \r\n\tsh-merger=on", both},
      {"a later line wins", "checksums=1\nsh-merger=yes\nsh-merger=0\n", checksumsOnly},
      {"garbage lines", "\x7f\x45LF\0\xff\n[section]\n==\n=true\nchecksums\nchecksums=true\n"s,
       checksumsOnly},
      {"unknown keys and values", "merger=linux\nchecksums=maybe\nsh-merger=\nsh-merger=2\n", none},
      {"a system by any case", "merger-for = Windows \r\n", windows},
      {"an unknown system or a flag", "merger-for=windows\nmerger-for=mac\nmerger-for=true\n",
       windows},
      {"a flag's key with a system", "checksums=windows\n", none},
      {"too large to be ours",
       "checksums=true\nsh-merger=true\n" + std::string(app::kMaxSettingsFileSize, '#'), none},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.write("settings.ini", c.text);
    EXPECT_EQ(app::loadSettings(path), c.expected) << c.what;
  }
  EXPECT_EQ(app::loadSettings(dir.file("absent.ini")), none);
  EXPECT_EQ(app::loadSettings(""), none);
  std::filesystem::create_directory(dir.file("folder.ini"));
  EXPECT_EQ(app::loadSettings(dir.file("folder.ini")), none);
#ifndef _WIN32
  // A pipe in its place would block a read forever.
  ASSERT_EQ(::mkfifo(dir.file("pipe.ini").c_str(), 0600), 0);
  EXPECT_EQ(app::loadSettings(dir.file("pipe.ini")), none);
#endif
}

TEST(Settings, AFailedSaveIsNoErrorAndLeavesNothingBehind) {
  ScratchDir dir;
  dir.write("file", "x");
  EXPECT_FALSE(app::saveSettings(dir.file("file/fennock/settings.ini"), {true, true}));
  EXPECT_FALSE(app::saveSettings("", {true, true}));
  // A folder in the way of the final name: the rename fails, the temporary file goes.
  std::filesystem::create_directories(dir.file("config/settings.ini"));
  EXPECT_FALSE(app::saveSettings(dir.file("config/settings.ini"), {true, true}));
  EXPECT_EQ(entriesIn(dir.file("config")), 1u);
}

#ifdef _WIN32
TEST(Settings, FileLivesInTheRoamingApplicationDataFolder) {
  {
    ScopedEnvironment appData("APPDATA", "D:\\Users\\u\\Roaming");
    EXPECT_EQ(app::settingsFilePath(), "D:\\Users\\u\\Roaming\\Fennock\\settings.ini");
  }
  // Without the variable (or with a relative one), the shell's folder of the same name.
  for (const char* value : {"", "relative"}) {
    ScopedEnvironment appData("APPDATA", value);
    const std::string path = app::settingsFilePath();
    EXPECT_TRUE(path.ends_with("\\AppData\\Roaming\\Fennock\\settings.ini")) << path;
    EXPECT_TRUE(platform::isAbsolutePath(path)) << path;
  }
}
#else
TEST(Settings, FileLivesInTheConfigFolderOfTheBaseDirectoryRules) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/x/config", "/home/u", "/x/config/fennock/settings.ini"},
      {nullptr, "/home/u", "/home/u/.config/fennock/settings.ini"},
      {"", "/home/u", "/home/u/.config/fennock/settings.ini"},
      {"relative/config", "/home/u", "/home/u/.config/fennock/settings.ini"},
      {nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    ScopedEnvironment xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnvironment home("HOME", c.home);
    EXPECT_EQ(app::settingsFilePath(), c.expected) << (c.xdg ? c.xdg : "unset");
  }
}
#endif

// Checked file I/O: each failure carries the code and text of the system's error table.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"
#include "support/ScratchDir.h"

using platform::EInOutError;
using platform::File;
using testing_support::ScratchDir;

namespace {

int codeOf(auto&& operation) {
  try {
    operation();
  } catch (const EInOutError& e) {
    return e.code();
  }
  return 0;
}

}  // namespace

TEST(IoError, TextsFollowTheTable) {
  EXPECT_EQ(platform::ioErrorText(2), "File not found");
  EXPECT_EQ(platform::ioErrorText(3), "Invalid filename");
  EXPECT_EQ(platform::ioErrorText(4), "Too many open files");
  EXPECT_EQ(platform::ioErrorText(5), "File access denied");
  EXPECT_EQ(platform::ioErrorText(100), "Read beyond end of file");
  EXPECT_EQ(platform::ioErrorText(101), "Disk full");
  EXPECT_EQ(platform::ioErrorText(32), "I/O error 32");
#ifdef _WIN32
  EXPECT_EQ(platform::ioErrorText(112), "Disk full");
#endif
}

TEST(File, MissingFileAndMissingFolderGiveDifferentCodes) {
  ScratchDir dir;
  EXPECT_EQ(codeOf([&] { File::openRead(dir.file("absent")); }), 2);
  EXPECT_EQ(codeOf([&] { File::create(dir.file("no-such-folder/x")); }), 3);
}

TEST(File, ReadingPastTheEndIsError100) {
  ScratchDir dir;
  File f = File::openRead(dir.write("three", "abc"));
  char buffer[4];
  EXPECT_EQ(codeOf([&] { f.readExact(buffer, 4); }), 100);
}

TEST(File, ReadFileStartStopsAtTheLimitOrTheEnd) {
  ScratchDir dir;
  const std::string path = dir.write("text", "hello");
  EXPECT_EQ(platform::readFileStart(path, 3), "hel");
  EXPECT_EQ(platform::readFileStart(path, 100), "hello");
  EXPECT_EQ(codeOf([&] { platform::readFileStart(dir.file("absent"), 10); }), 2);
}

TEST(File, FullDeviceIsDiskFull) {
#ifdef _WIN32
  GTEST_SKIP() << "no full device to write to";
#else
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  File f = File::openReadWrite("/dev/full");
  EXPECT_EQ(codeOf([&] { f.write("x", 1); }), 101);
#endif
}

TEST(File, ReadOnlyInputOpensForReadingButNotForWriting) {
  ScratchDir dir;
  std::string path = dir.write("ro", "data");
  platform::setReadOnly(path, true);
  EXPECT_TRUE(platform::isReadOnly(path));
  File f = File::openRead(path);
  EXPECT_EQ(f.size(), 4);
#ifdef _WIN32
  // Wine keeps the attribute in the owner's write bit, which root may ignore.
  const bool mayWriteAnything = std::getenv("WINEPREFIX") != nullptr;
#else
  const bool mayWriteAnything = geteuid() == 0;
#endif
  if (!mayWriteAnything) {
    EXPECT_EQ(codeOf([&] { File::openReadWrite(path); }), 5);
  }
  EXPECT_TRUE(platform::isReadOnly(path)) << "opening must not change the attribute";
}

TEST(File, AFolderIsNotAFile) {
  ScratchDir dir;
  EXPECT_EQ(codeOf([&] { File::openRead(dir.path()); }), 5);
}

TEST(Paths, JoinAndSplit) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX names; the Windows forms have their own test";
#endif
  EXPECT_EQ(platform::joinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(platform::joinPath("/a", "b"), "/a/b");
  EXPECT_EQ(platform::fileNameOf("/x/y.txt"), "y.txt");
  EXPECT_EQ(platform::parentFolder("/y.txt"), "/");
  EXPECT_EQ(platform::parentFolder("y.txt"), "");
}

#ifdef _WIN32
TEST(Paths, WindowsRootsDrivesAndBothSeparators) {
  EXPECT_EQ(platform::joinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(platform::joinPath("C:/a/", "b"), "C:/a/b");
  EXPECT_EQ(platform::fileNameOf("C:\\x/y.txt"), "y.txt");
  EXPECT_EQ(platform::parentFolder("C:\\y.txt"), "C:\\");
  EXPECT_EQ(platform::parentFolder("C:\\x\\y.txt"), "C:\\x");
  EXPECT_EQ(platform::parentFolder("\\\\server\\share\\y"), "\\\\server\\share");
  for (const char* absolute : {"C:\\x", "c:/x", "\\\\server\\share"})
    EXPECT_TRUE(platform::isAbsolutePath(absolute)) << absolute;
  for (const char* relative : {"x", "C:x", "\\x", "/x", ""})
    EXPECT_FALSE(platform::isAbsolutePath(relative)) << relative;
}
#endif

TEST(Paths, RelativePathsAreTakenFromTheCurrentFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX names";
#endif
  ScratchDir dir;
  const std::string before = platform::currentFolder();
  platform::setCurrentFolder(dir.path());
  const std::string here = platform::currentFolder();
  EXPECT_EQ(platform::absolutePath("lib/a.so"), here + "/lib/a.so");
  EXPECT_EQ(platform::absolutePath("/opt/a.so"), "/opt/a.so");
  // Empty stays empty: "no folder" must not turn into the current folder.
  EXPECT_EQ(platform::absolutePath(""), "");
  platform::setCurrentFolder(before);
}

TEST(Paths, FolderEntriesAreTheNamesWithoutTheDots) {
  ScratchDir dir;
  dir.write("piece1.frg", "x");
  platform::createFolders(dir.file("sub"));
  std::vector<std::string> names = platform::folderEntries(dir.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"piece1.frg", "sub"}));
  EXPECT_TRUE(platform::folderEntries(dir.file("absent")).empty());
}

TEST(Paths, FileStatusTellsKindSizeTimeAndWriteBit) {
  ScratchDir dir;
  const std::string file = dir.write("a.bin", "12345");
  std::filesystem::last_write_time(
      file, std::filesystem::last_write_time(file) - std::chrono::hours(24 * 400));
  const auto before = std::chrono::system_clock::now() - std::chrono::hours(24 * 399);
  platform::setReadOnly(file, true);
  auto st = platform::fileStatus(file);
  ASSERT_TRUE(st);
  EXPECT_TRUE(st->isRegular);
  EXPECT_FALSE(st->isFolder);
  EXPECT_EQ(st->size, 5);
  EXPECT_LT(st->modified, std::chrono::system_clock::to_time_t(before));
  EXPECT_GT(st->modified, std::chrono::system_clock::to_time_t(before) - 2 * 86400);
  EXPECT_EQ(st->mode & 0200, 0u);
  platform::setPermissions(file, 0644);
  EXPECT_FALSE(platform::isReadOnly(file));
  st = platform::fileStatus(dir.path());
  ASSERT_TRUE(st);
  EXPECT_TRUE(st->isFolder);
  EXPECT_FALSE(st->isRegular);
  EXPECT_FALSE(platform::fileStatus(dir.file("absent")));
}

TEST(Paths, FileNamePatternsFollowTheSystem) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
#ifdef _WIN32
  // Case does not count; "[" is a character of names like "Holiday [2].avi".
  const Case cases[] = {{"*.TXT", "a.txt", true},
                        {"a?c", "ABC", true},
                        {"[ab].txt", "a.txt", false},
                        {"v[2].avi", "v[2].avi", true},
                        {"*.txt", "a.txt.bak", false}};
#else
  const Case cases[] = {{"*.TXT", "a.txt", false},
                        {"a?c", "abc", true},
                        {"[ab].txt", "a.txt", true},
                        {"v[2].avi", "v[2].avi", false},
                        {"*.txt", "a.txt.bak", false}};
#endif
  for (const Case& c : cases)
    EXPECT_EQ(platform::fileNameMatches(c.pattern, c.name), c.matches)
        << c.pattern << " " << c.name;
  EXPECT_EQ(platform::hasFileNameWildcard("v[2].avi"), platform::kPathSeparator == '/');
}

TEST(PrivateTempDir, IsPrivateAndRemovedWithItsFiles) {
  std::string path;
  {
    platform::PrivateTempDir dir;
    path = dir.path();
    File::create(dir.file("lib.so")).close();
#ifndef _WIN32
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
#endif
  }
  EXPECT_FALSE(platform::folderExists(path));
}

TEST(DynamicLibrary, RefusesRelativePaths) {
  platform::DynamicLibrary lib;
  EXPECT_FALSE(lib.load("libc.so.6"));
  EXPECT_FALSE(lib.isLoaded());
}

TEST(PendingFile, ReplacesTheFinalNameOnlyAtCommitAndNeverWritesThroughALink) {
  ScratchDir dir;
  const std::string victim = dir.write("victim.txt", "keep");
  const std::string target = dir.file("out.bin");
#ifdef _WIN32
  GTEST_SKIP() << "links need a privilege that Windows users do not have by default";
#else
  ASSERT_EQ(::symlink(victim.c_str(), target.c_str()), 0);
#endif
  {
    platform::PendingFile pending(target);
    EXPECT_TRUE(platform::isPendingFileName(platform::fileNameOf(pending.temporaryPath())));
    pending.file().write("new", 3);
    EXPECT_EQ(platform::fileSize(target), 4);  // the link still leads to the victim
    pending.commit();
  }
  EXPECT_EQ(platform::fileSize(target), 3);
  EXPECT_EQ(platform::fileSize(victim), 4);
  {
    platform::PendingFile abandoned(target);
    abandoned.file().write("half", 4);
  }
  EXPECT_EQ(platform::fileSize(target), 3);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(PendingFile, OnlyItsOwnNamesAreRecognised) {
  long pid = 0;
  EXPECT_TRUE(platform::isPendingFileName(".fennock-123-abcdefgh.tmp", &pid));
  EXPECT_EQ(pid, 123);
  for (const char* name :
       {".fennock-123-abc.tmp", ".fennock--abcdefgh.tmp", "fennock-1-abcdefgh.tmp",
        ".fennock-x1-abcdefgh.tmp", ".fennock-1-abcdefgh.tmpx"})
    EXPECT_FALSE(platform::isPendingFileName(name)) << name;
}

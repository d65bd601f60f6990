// The split job driven through a fake main window: step order, piece lengths, the .EXE merger's
// layout, and each failure at its step with its text.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <clocale>
#include <filesystem>

#include "job/FakeJobHost.h"
#include "job/ScriptRecord.h"
#include "platform/IoError.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"
#include "ui/Dialogs.h"

using namespace job;
using testing_support::FakeJobHost;
using testing_support::FakeProgressView;
using testing_support::ScratchDir;

namespace {

std::string pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = char((i * 7 + i / 251) & 0xFF);
  return s;
}

class SplitJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    host.dest = dir.path() + platform::kPathSeparator;  // the default ends with a separator
  }
  std::string input(const std::string& name, std::size_t size) {
    host.input = dir.write(name, pattern(size));
    return host.input;
  }
  std::int64_t sizeOf(const std::string& name) { return platform::fileSize(dir.file(name)); }
  // Runs the job and returns the text of its failure ("" on success).
  std::string run() {
    try {
      runSplitJob(host, view);
      return "";
    } catch (const std::exception& e) {
      return e.what();
    }
  }

  ScratchDir dir;
  FakeJobHost host;
  FakeProgressView view;
};

}  // namespace

TEST_F(SplitJobTest, BatJobOfThreeMegabytePieces) {
  input("data.bin", 3000000);
  ASSERT_EQ(run(), "");
  EXPECT_EQ(sizeOf("data1.frg"), 1048576);
  EXPECT_EQ(sizeOf("data2.frg"), 1048576);
  EXPECT_EQ(sizeOf("data3.frg"), 902848);
  EXPECT_EQ(ScratchDir::read(dir.file("data.bat")),
            "copy /b data1.frg + data2.frg + data3.frg data.bin ");
  std::vector<std::string> expected = {"show", "pos", "ok-off", "bar",   "pos",
                                       "pos",  "pos", "group",  "stats", "ok-on"};
  EXPECT_EQ(view.calls, expected);
  EXPECT_EQ(view.positions, (std::vector<int>{0, 33, 66, 100}));
  EXPECT_FALSE(host.splitButtonEnabled);
  EXPECT_FALSE(host.mainWindowEnabled);  // until the dialog's OK
  EXPECT_EQ(view.stats.pieceCount, 3);
  EXPECT_EQ(view.stats.pieceSize, 1048576);
  EXPECT_EQ(view.stats.inputSize, 3000000);
  EXPECT_FALSE(host.chronoInstance.running());
}

TEST_F(SplitJobTest, CountModeLastPieceTakesTheRemainder) {
  input("ten", 10);
  host.count = true;
  host.countValue = "3";
  host.size = "junk";  // not consulted in count mode
  ASSERT_EQ(run(), "");
  EXPECT_EQ(sizeOf("ten1.frg"), 3);
  EXPECT_EQ(sizeOf("ten2.frg"), 3);
  EXPECT_EQ(sizeOf("ten3.frg"), 4);
  EXPECT_EQ(view.stats.pieceSize, 3);
}

TEST_F(SplitJobTest, MorePiecesThanBytesPutsEverythingInTheLast) {
  input("few.x", 5);
  host.count = true;
  host.countValue = "120";
  ASSERT_EQ(run(), "");
  EXPECT_EQ(sizeOf("few1.frg"), 0);
  EXPECT_EQ(sizeOf("few119.frg"), 0);
  EXPECT_EQ(sizeOf("few120.frg"), 5);
  // Above 100 pieces the bar stays at 0 until the last piece.
  EXPECT_EQ(view.positions.size(), 121u);
  EXPECT_EQ(view.positions[119], 0);
  EXPECT_EQ(view.positions.back(), 100);
}

TEST_F(SplitJobTest, EmptyInputMakesNoPieceAndNoGroup) {
  input("empty.bin", 0);
  ASSERT_EQ(run(), "");
  EXPECT_FALSE(platform::fileExists(dir.file("empty1.frg")));
  EXPECT_EQ(ScratchDir::read(dir.file("empty.bat")), "copy /b empty.bin ");
  EXPECT_FALSE(view.statisticsShown);
  EXPECT_EQ(view.stats.pieceCount, 0);
  EXPECT_TRUE(view.okEnabled);
}

TEST_F(SplitJobTest, ExeMergerHeadCountsAgainstTheFirstPiece) {
  testing_support::FakeExeMerger exe;
  exe.imageBytes = std::string(303616, 'M');
  host.exeSupport = &exe;
  host.exeOn = true;
  std::string data = ScratchDir::read(input("My Report.doc", 3000000));
  ASSERT_EQ(run(), "");
  std::string merger = ScratchDir::read(dir.file("My Report.exe"));
  ASSERT_EQ(merger.size(), 1048576u);
  EXPECT_EQ(merger.substr(0, 303616), exe.imageBytes);
  ScriptRecord::Bytes raw;
  std::copy_n(merger.begin() + 303616, raw.size(), raw.begin());
  ScriptRecord r = ScriptRecord::fromBytes(raw);
  EXPECT_EQ(r.baseName, "My Report");
  EXPECT_EQ(r.fileExtension, ".doc");
  EXPECT_EQ(r.pieceSize, 1048576);
  EXPECT_EQ(r.pieceCount, 4);
  EXPECT_FALSE(r.compressed);
  EXPECT_EQ(merger.substr(304140), data.substr(0, 744436));
  EXPECT_EQ(sizeOf("My Report2.frg"), 1048576);
  EXPECT_EQ(sizeOf("My Report3.frg"), 1048576);
  EXPECT_EQ(sizeOf("My Report4.frg"), 158412);
#ifndef _WIN32
  EXPECT_NE(std::filesystem::status(dir.file("My Report.exe")).permissions() &
                std::filesystem::perms::owner_exec,
            std::filesystem::perms::none);
#endif
  // The working files never appear beside the pieces.
  EXPECT_FALSE(platform::fileExists(dir.file("Sfx.exe")));
  EXPECT_FALSE(platform::fileExists(dir.file("scriptmp")));
}

TEST_F(SplitJobTest, HeadLargerThanThePieceLeavesTheMergerHeadOnly) {
  testing_support::FakeExeMerger exe;
  exe.imageBytes = std::string(5000, 'M');
  host.exeSupport = &exe;
  host.exeOn = true;
  input("a.b", 3000);
  host.size = "4";
  host.unit = 1;  // 4096-byte pieces, head of 5524 bytes
  ASSERT_EQ(run(), "");
  EXPECT_EQ(sizeOf("a.exe"), 5524);
  EXPECT_EQ(sizeOf("a2.frg"), 3000);
}

TEST_F(SplitJobTest, StandInsRefuseBeforeAnythingIsWritten) {
  input("r.txt", 100);
  host.exeOn = true;
  EXPECT_EQ(run(),
            "The .EXE merger is not available in this build; choose \"Create .BAT file merger\"");
  host.exeOn = false;
  host.compressOn = true;
  EXPECT_EQ(run(),
            "Compression is not available in this build; clear \"Compress data\" to split the file "
            "as it is");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_TRUE(view.failed);
  EXPECT_TRUE(host.mainWindowEnabled);
  EXPECT_TRUE(host.splitButtonEnabled);
  EXPECT_FALSE(host.chronoInstance.running());
}

TEST_F(SplitJobTest, BadSettingsFailWithTheirTexts) {
  input("s.txt", 100);
  host.size = "1-";
  EXPECT_EQ(run(), "Invalid variant type conversion");
  host.size = "2048";
  EXPECT_EQ(run(), "Invalid floating point operation");
  host.size = "0";
  EXPECT_EQ(run(), "The piece size must be at least 1 byte");
  host.count = true;
  host.countValue = "2x";
  EXPECT_EQ(run(), "'2x' is not a valid integer value");
  host.countValue = "0";
  EXPECT_EQ(run(), "The number of pieces must be at least 1");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(SplitJobTest, FileFailuresCarryTheSystemTexts) {
  host.input = dir.file("missing.bin");
  EXPECT_EQ(run(), "File not found: \"" + host.input + "\"");
  EXPECT_TRUE(host.mainWindowEnabled);

  host.input = dir.path();  // a folder is no file to split
  EXPECT_EQ(run(), "\"" + dir.path() + "\" is not a regular file; only files can be split");

  input("d.bin", 10);
  host.dest = dir.file("no/such/folder");
  EXPECT_EQ(run(), "Invalid filename: \"" + platform::joinPath(host.dest, "d.bat") + "\"");
}

#ifndef _WIN32
TEST_F(SplitJobTest, UnreadableInputIsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  std::string path = input("locked.bin", 10);
  std::filesystem::permissions(path, std::filesystem::perms::none);
  EXPECT_EQ(run(), "File access denied: \"" + path + "\"");
}
#endif

TEST_F(SplitJobTest, ReadOnlyInputSplits) {
  std::string path = input("ro.bin", 1000);
  platform::setReadOnly(path, true);
  host.size = "300";
  host.unit = 0;
  ASSERT_EQ(run(), "");
  EXPECT_EQ(sizeOf("ro4.frg"), 100);
  EXPECT_TRUE(platform::isReadOnly(path));
}

#ifndef _WIN32
// Symbolic links to devices and file systems mounted for a test are POSIX things.
TEST_F(SplitJobTest, FullDiskIsDiskFull) {
  input("big.bin", 200000);
  host.size = "64";
  host.unit = 1;
  // A piece's name that leads to a device that is always full is never written through: the
  // job is refused before anything is written (the real full disk is the next test's).
  ASSERT_EQ(::symlink("/dev/full", dir.file("big2.frg").c_str()), 0);
  EXPECT_EQ(run(), "\"" + dir.file("big2.frg") +
                       "\" is a symbolic link; remove it or choose another destination folder");
  EXPECT_EQ(sizeOf("big1.frg"), -1);
  EXPECT_TRUE(view.failed);
}

TEST_F(SplitJobTest, FullDiskOnARealSmallFileSystem) {
  ScratchDir mountPoint;
  if (::mount("tmpfs", mountPoint.path().c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here";
  input("fill.bin", 300000);
  host.dest = mountPoint.path();
  std::string text = run();
  ::umount(mountPoint.path().c_str());
  EXPECT_EQ(text.substr(0, 11), "Disk full: ");
}
#endif

TEST_F(SplitJobTest, MergerNeverReplacesTheInput) {
  std::string path = input("tool.bat", 5000);
  host.size = "1";
  host.unit = 1;
  EXPECT_EQ(
      run(),
      "The merger \"tool.bat\" would replace the input file; choose another destination folder");
  EXPECT_EQ(platform::fileSize(path), 5000);
}

TEST_F(SplitJobTest, DeleteInputAfterSuccessOnly) {
  std::string path = input("gone.bin", 10);
  host.deleteOn = true;
  host.size = "x";
  EXPECT_NE(run(), "");
  EXPECT_TRUE(platform::fileExists(path));
  host.size = "1";
  ASSERT_EQ(run(), "");
  EXPECT_FALSE(platform::fileExists(path));
}

TEST_F(SplitJobTest, TheWindowAsksBeforeReplacingTheSetOfAnotherFile) {
  input("report.doc", 100);
  host.size = "40";
  host.unit = 0;
  ASSERT_EQ(run(), "");
  const std::string first = ScratchDir::read(dir.file("report1.frg"));
  input("report.pdf", 90);
  ui::ScriptedDialogs answers(/*echo=*/false);
  ui::ScopedDialogs scoped(answers);
  EXPECT_EQ(run(), "\"" + dir.file("report.bat") +
                       "\" is the merger of another file (report.doc) and was not replaced");
  EXPECT_EQ(ScratchDir::read(dir.file("report1.frg")), first);
  answers.setConfirmAnswer(true);
  EXPECT_EQ(run(), "");
  EXPECT_EQ(ScratchDir::read(dir.file("report.bat")),
            "copy /b report1.frg + report2.frg + report3.frg report.pdf ");
}

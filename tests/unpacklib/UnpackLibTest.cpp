// UnpackLib on good archives: selection, folders, overwrite rules, callbacks, cancel, passwords.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/ScratchDir.h"
#include "unpacklib/UnpackLibHarness.h"
#include "unpacklib/ZipBuilder.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class UnpackLibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dest());
    ASSERT_EQ(lib.version(), 160);
  }
  std::string dest() const { return scratch.file("dest"); }
  std::string archive(const std::vector<TestEntry>& entries, const ArchiveOptions& o = {}) {
    return scratch.write("a.zip", buildZip(entries, o));
  }
  std::string read(const std::string& name) const {
    return ScratchDir::read(scratch.file("dest/" + name));
  }

  ScratchDir scratch;
  UnpackLib lib;
};

std::vector<TestEntry> threeFiles() {
  std::string big;
  for (int i = 0; i < 300000; ++i) big += std::to_string(i * 7919LL % 1000) + ",";
  return {{.name = "readme.txt", .content = "hello\n"},
          {.name = "docs/big.csv", .content = big},
          {.name = "docs/raw.bin", .content = std::string("\0\1\2\3", 4), .deflated = false}};
}

TEST_F(UnpackLibTest, ExtractsEveryEntryWithoutFolderNamesByDefault) {
  EXPECT_EQ(lib.run(archive(threeFiles()), dest()), 3);
  EXPECT_EQ(listTree(dest()), (std::vector<std::string>{"big.csv", "raw.bin", "readme.txt"}));
  EXPECT_EQ(read("big.csv"), threeFiles()[1].content);
  EXPECT_EQ(read("raw.bin"), std::string("\0\1\2\3", 4));
  EXPECT_EQ(lib.messages(), "");
}

TEST_F(UnpackLibTest, KeepsFolderNamesWhenAsked) {
  EXPECT_EQ(lib.run(archive(threeFiles()), dest(), {.dirNames = true}), 3);
  EXPECT_EQ(listTree(dest()),
            (std::vector<std::string>{"docs/", "docs/big.csv", "docs/raw.bin", "readme.txt"}));
}

TEST_F(UnpackLibTest, ReportsTotalsFilesProgressAndEndOfBatch) {
  std::vector<TestEntry> entries = threeFiles();
  lib.run(archive(entries), dest());
  ASSERT_GE(lib.calls.size(), 6u);
  EXPECT_EQ(lib.calls[0].action, kActionTotalFiles);
  EXPECT_EQ(lib.calls[0].arg2, 3);
  EXPECT_EQ(lib.calls[1].action, kActionTotalSize);
  const long long total = 6 + entries[1].content.size() + 4;
  EXPECT_EQ(lib.calls[1].arg2, total);
  EXPECT_EQ(lib.calls[1].size64, total);
  auto begins = lib.of(kActionNewFile);
  ASSERT_EQ(begins.size(), 3u);
  EXPECT_EQ(begins[1].text, "docs/big.csv");
  EXPECT_EQ(begins[1].arg2, static_cast<int>(entries[1].content.size()));
  long long progressed = 0;
  for (const Callback& c : lib.of(kActionProgress)) progressed += c.arg2;
  EXPECT_EQ(progressed, total);
  EXPECT_EQ(lib.calls.back().action, kActionEndOfBatch);
}

TEST_F(UnpackLibTest, GivesFilesTheirStoredTimeAndPermissions) {
  std::vector<TestEntry> entries = {
      {.name = "run.sh", .content = "#!/bin/sh\n", .externalAttributes = 0104755u << 16}};
  ASSERT_EQ(lib.run(archive(entries), dest()), 1);
  struct stat st;
  ASSERT_EQ(::stat(scratch.file("dest/run.sh").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07000, 0u) << "set-id bits are never restored";
#ifndef _WIN32
  EXPECT_NE(st.st_mode & 0100, 0u);  // Windows keeps no execute bit
#endif
  std::tm tm{};
  localtime_r(&st.st_mtime, &tm);
  EXPECT_EQ(tm.tm_year + 1900, 2025);
  EXPECT_EQ(tm.tm_hour, 12);
}

TEST_F(UnpackLibTest, SelectsEntriesBySpec) {
  std::string path = archive(threeFiles());
  EXPECT_EQ(lib.run(path, dest(), {.specs = {"*.csv", "docs/raw.bin"}}), 2);
  EXPECT_EQ(listTree(dest()), (std::vector<std::string>{"big.csv", "raw.bin"}));
  EXPECT_EQ(lib.run(path, dest(), {.specs = {"nothing*"}}), 0);
}

TEST_F(UnpackLibTest, LeavesExistingFilesUnlessOverwriteIsAskedOrAnswered) {
  std::string path = archive({{.name = "a.txt", .content = "new"}});
  scratch.write("dest/a.txt", "old");
  EXPECT_EQ(lib.run(path, dest()), 0);
  EXPECT_EQ(read("a.txt"), "old");
  ASSERT_EQ(lib.of(kActionOverwrite).size(), 1u);
  auto skipped = lib.of(kActionSkipped);
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0].arg2, 1);  // exists

  lib.answer = [](PackLibCallbackInfo& info) {
    if (info.ActionCode == kActionOverwrite) info.Arg2 = 1;
    return 0;
  };
  EXPECT_EQ(lib.run(path, dest()), 1);
  EXPECT_EQ(read("a.txt"), "new");

  scratch.write("dest/a.txt", "old");
  lib.answer = [](PackLibCallbackInfo&) { return 0; };
  EXPECT_EQ(lib.run(path, dest(), {.overwrite = true}), 1);
  EXPECT_EQ(read("a.txt"), "new");
  EXPECT_TRUE(lib.of(kActionOverwrite).empty());
}

TEST_F(UnpackLibTest, FreshenAndUpdateCompareTimes) {
  std::string path =
      archive({{.name = "a.txt", .content = "2025"}, {.name = "b.txt", .content = "b"}});
  scratch.write("dest/a.txt", "1990");
  fs::last_write_time(scratch.file("dest/a.txt"),
                      fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 30));
  EXPECT_EQ(lib.run(path, dest(), {.freshen = true}), 1);
  EXPECT_EQ(listTree(dest()), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(read("a.txt"), "2025");
  EXPECT_EQ(lib.run(path, dest(), {.update = true}), 1) << "only the missing b.txt is newer";
  EXPECT_EQ(read("b.txt"), "b");
}

TEST_F(UnpackLibTest, TestModeChecksWithoutWriting) {
  EXPECT_EQ(lib.run(archive(threeFiles()), dest(), {.test = true}), 3);
  EXPECT_TRUE(listTree(dest()).empty());
}

TEST_F(UnpackLibTest, CancelStopsAndLeavesNoPartialFile) {
  lib.answer = [](PackLibCallbackInfo& info) { return info.ActionCode == kActionProgress ? 1 : 0; };
  EXPECT_EQ(lib.run(archive(threeFiles()), dest(), {.specs = {"big.csv"}}), 0);
  EXPECT_TRUE(listTree(dest()).empty());
  EXPECT_NE(lib.messages().find("cancelled"), std::string::npos);
}

TEST_F(UnpackLibTest, AcceptsTheLegacyCommandLayout) {
  EXPECT_EQ(lib.run(archive(threeFiles()), dest(), {.specs = {"readme.txt"}, .legacyLayout = true}),
            1);
  EXPECT_EQ(listTree(dest()), (std::vector<std::string>{"readme.txt"}));
}

TEST_F(UnpackLibTest, ReadsZip64RecordsAndAStubBeforeTheArchive) {
  std::vector<TestEntry> entries = threeFiles();
  for (TestEntry& e : entries) e.zip64 = true;
  EXPECT_EQ(lib.run(archive(entries, {.zip64End = true, .stub = std::string(1000, 'S')}), dest()),
            3);
  EXPECT_EQ(read("big.csv"), entries[1].content);
}

TEST_F(UnpackLibTest, EmptyArchiveExtractsNothingQuietly) {
  EXPECT_EQ(lib.run(archive({}), dest()), 0);
  EXPECT_EQ(lib.messages(), "");
}

TEST_F(UnpackLibTest, MissingArchiveIsReportedNotThrown) {
  EXPECT_EQ(lib.run(scratch.file("none.zip"), dest()), 0);
  auto messages = lib.of(kActionMessage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].arg1, 0);
  EXPECT_NE(messages[0].text.find("File not found"), std::string::npos);
}

TEST_F(UnpackLibTest, AnEmptyArchivePathIsReported) {
  EXPECT_EQ(lib.run("", dest()), 0);
  EXPECT_NE(lib.messages().find("No archive"), std::string::npos);
}

}  // namespace

// Archives built to attack the extractor: nothing may land outside the destination, no damaged
// entry may leave a file that looks complete, and no lie in the headers may cause an overrun.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "support/ScratchDir.h"
#include "unpacklib/UnpackLibHarness.h"
#include "unpacklib/ZipBuilder.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

class HostileArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dest());
    fs::create_directory(scratch.file("outside"));
  }
  void TearDown() override {
    EXPECT_TRUE(listTree(scratch.file("outside")).empty() ||
                listTree(scratch.file("outside")) == m_outsideBefore)
        << "something was written outside the destination";
  }
  std::string dest() const { return scratch.file("dest"); }
  int run(const std::vector<TestEntry>& entries, RunOptions o = {}, const ArchiveOptions& a = {}) {
    return lib.run(scratch.write("a.zip", buildZip(entries, a)), dest(), o);
  }
  std::vector<int> skipTypes() const {
    std::vector<int> types;
    for (const Callback& c : lib.of(kActionSkipped)) types.push_back(c.arg2);
    return types;
  }

  ScratchDir scratch;
  UnpackLib lib;
  Names m_outsideBefore;
};

constexpr int kSkipUnsafeName = 2;
constexpr int kSkipLink = 3;
constexpr int kSkipUnsupported = 4;
constexpr int kSkipDamaged = 6;
constexpr int kSkipWriteFailed = 7;

TEST_F(HostileArchive, TraversalNamesAreRefusedWithOrWithoutFolderNames) {
  std::vector<TestEntry> entries = {
      {.name = "../outside/evil1.txt", .content = "x"},
      {.name = "docs/../../outside/evil2.txt", .content = "x"},
      {.name = "..\\outside\\evil3.txt", .content = "x"},  // Windows separators count too
      {.name = "docs/..", .content = "x"},
      {.name = "good.txt", .content = "kept"}};
  for (bool dirNames : {false, true}) {
    EXPECT_EQ(run(entries, {.dirNames = dirNames}), 1);
    EXPECT_EQ(skipTypes(), (std::vector<int>(4, kSkipUnsafeName)));
    EXPECT_EQ(listTree(dest()), Names{"good.txt"});
    fs::remove(scratch.file("dest/good.txt"));
  }
}

TEST_F(HostileArchive, AbsoluteNamesAndDrivesLandInsideTheDestination) {
  const std::string absolute = scratch.file("outside/abs.txt");  // "/tmp/.../outside/abs.txt"
  std::vector<TestEntry> entries = {{.name = absolute, .content = "a"},
                                    {.name = "C:\\Windows\\win.txt", .content = "w"},
                                    {.name = "D:drive.txt", .content = "d"},
                                    {.name = "//server/share/unc.txt", .content = "u"}};
  EXPECT_EQ(run(entries), 4);
  EXPECT_EQ(listTree(dest()), (Names{"abs.txt", "drive.txt", "unc.txt", "win.txt"}));
  fs::remove_all(dest());
  fs::create_directory(dest());
  EXPECT_EQ(run(entries, {.dirNames = true}), 4);
  EXPECT_TRUE(fs::exists(scratch.file("dest/Windows/win.txt")));
  EXPECT_TRUE(fs::exists(scratch.file("dest/server/share/unc.txt")));
#ifdef _WIN32
  EXPECT_TRUE(fs::exists(dest() + absolute.substr(2))) << "the drive is dropped";
#else
  EXPECT_TRUE(fs::exists(dest() + absolute));
#endif
}

TEST_F(HostileArchive, NamesWithNulAreRefused) {
  // The stored name is "ok.txt", NUL, "../x": a reader that stops at the NUL would accept it.
  EXPECT_EQ(run({{.name = std::string("ok.txt\0../x", 11), .content = "x"}}), 0);
  EXPECT_EQ(skipTypes(), std::vector<int>{kSkipUnsafeName});
  EXPECT_TRUE(listTree(dest()).empty());
}

TEST_F(HostileArchive, SymbolicLinkEntriesNeverBecomeLinks) {
  // A link "up" to the outside folder, then a file through it: the classic two-step escape.
  std::vector<TestEntry> entries = {
      {.name = "up", .content = scratch.file("outside"), .externalAttributes = 0120777u << 16},
      {.name = "up/evil.txt", .content = "x"}};
  EXPECT_EQ(run(entries, {.dirNames = true}), 1);
  EXPECT_EQ(skipTypes(), std::vector<int>{kSkipLink});
  EXPECT_FALSE(fs::is_symlink(scratch.file("dest/up")));
  EXPECT_TRUE(fs::is_regular_file(scratch.file("dest/up/evil.txt")));
}

TEST_F(HostileArchive, LinksAlreadyInTheDestinationAreNotFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "links need a privilege that Windows users do not have by default";
#endif
  fs::create_directory_symlink(scratch.file("outside"), scratch.file("dest/sub"));
  scratch.write("outside/target.txt", "untouched");
  m_outsideBefore = listTree(scratch.file("outside"));
  fs::create_symlink(scratch.file("outside/target.txt"), scratch.file("dest/file.txt"));
  std::vector<TestEntry> entries = {{.name = "sub/x.txt", .content = "x"},
                                    {.name = "file.txt", .content = "replaced the link"}};
  EXPECT_EQ(run(entries, {.dirNames = true, .overwrite = true}), 1);
  EXPECT_EQ(skipTypes(), std::vector<int>{kSkipWriteFailed});
  EXPECT_FALSE(fs::is_symlink(scratch.file("dest/file.txt")));
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/file.txt")), "replaced the link");
  EXPECT_EQ(ScratchDir::read(scratch.file("outside/target.txt")), "untouched");
}

TEST_F(HostileArchive, LyingSizesEndInAnErrorAndLeaveNoFile) {
  std::string content(100000, 'z');
  for (std::size_t i = 0; i < content.size(); i += 7) content[i] = static_cast<char>(i);
  const std::string deflated = deflateRaw(content);
  std::vector<TestEntry> liars = {
      {.name = "short-usize", .content = content, .uncompressedSize = 10},
      {.name = "long-usize", .content = content, .uncompressedSize = content.size() + 100},
      {.name = "huge-csize", .content = content, .compressedSize = 1u << 30},
      {.name = "cut-stream", .content = content, .compressedSize = deflated.size() / 2},
      {.name = "stored-mismatch",
       .content = content,
       .deflated = false,
       .uncompressedSize = content.size() - 1},
      {.name = "zip64-huge",
       .content = content,
       .compressedSize = 1ull << 40,
       .uncompressedSize = 1ull << 41,
       .zip64 = true},
      {.name = "local-offset-in-directory", .content = "x", .localOffset = 0x7FFFFFF0}};
  EXPECT_EQ(run(liars), 0);
  EXPECT_EQ(skipTypes(), (std::vector<int>(liars.size(), kSkipDamaged)));
  EXPECT_TRUE(listTree(dest()).empty()) << "no file, no temporary file";
}

TEST_F(HostileArchive, BadCrcIsReportedAndTheFileDiscardedUnlessKept) {
  std::vector<TestEntry> entries = {{.name = "a.txt", .content = "payload", .crc = 0x12345678}};
  EXPECT_EQ(run(entries), 0);
  auto crc = lib.of(kActionCrcError);
  ASSERT_EQ(crc.size(), 1u);
  EXPECT_EQ(static_cast<std::uint32_t>(crc[0].arg1), crcOf("payload"));
  EXPECT_EQ(static_cast<std::uint32_t>(crc[0].arg2), 0x12345678u);
  EXPECT_EQ(crc[0].text, "a.txt");
  EXPECT_TRUE(listTree(dest()).empty());

  lib.answer = [](PackLibCallbackInfo& info) {
    if (info.ActionCode == kActionCrcError) info.Arg1 = 1;  // the application keeps it
    return 0;
  };
  EXPECT_EQ(run(entries), 0) << "a kept damaged file is still not counted as processed";
  EXPECT_EQ(listTree(dest()), Names{"a.txt"});
}

TEST_F(HostileArchive, EveryTruncationFailsCleanly) {
  std::string content(20000, 'q');
  for (std::size_t i = 0; i < content.size(); i += 3) content[i] = static_cast<char>(i * 31);
  const std::string whole = buildZip({{.name = "one.bin", .content = content},
                                      {.name = "two.txt", .content = "second", .deflated = false}});
  for (std::size_t size = 0; size < whole.size(); size += 37) {
    lib.run(scratch.write("a.zip", whole.substr(0, size)), dest(), {.overwrite = true});
    for (const std::string& name : listTree(dest())) {
      const std::string bytes = ScratchDir::read(scratch.file("dest/" + name));
      EXPECT_TRUE(bytes == content || bytes == "second") << name << " after cut at " << size;
    }
  }
}

TEST_F(HostileArchive, WrongEntryCounts) {
  std::vector<TestEntry> two = {{.name = "a", .content = "a"}, {.name = "b", .content = "b"}};
  EXPECT_EQ(run(two, {}, {.entryCount = 5}), 0) << "more entries than the directory holds";
  EXPECT_NE(lib.messages().find("damaged"), std::string::npos);
  EXPECT_EQ(run(two, {}, {.entryCount = 1}), 1) << "the count bounds what is read";
  EXPECT_EQ(run(two, {}, {.entryCount = 0xFFFF}), 0);
  EXPECT_EQ(run(two, {}, {.entryCount = 1ull << 60, .zip64End = true}), 0);
}

TEST_F(HostileArchive, LastRecordsFieldsReachingPastTheDirectoryAreRefused) {
  const std::string whole =
      buildZip({{.name = "a", .content = "a"}, {.name = "b", .content = "b"}});
  const std::size_t lastRecord = whole.rfind(std::string("PK\x01\x02", 4));
  // The extra field and comment lengths of the last record; every other count stays true.
  for (std::size_t lengthField : {30u, 32u}) {
    std::string damaged = whole;
    damaged[lastRecord + lengthField] = '\x40';
    EXPECT_EQ(lib.run(scratch.write("a.zip", damaged), dest(), {.overwrite = true}), 0)
        << "length at " << lengthField;
    EXPECT_NE(lib.messages().find("damaged"), std::string::npos) << "length at " << lengthField;
  }
}

TEST_F(HostileArchive, GarbageAndUnsupportedMethods) {
  EXPECT_EQ(lib.run(scratch.write("a.zip", std::string(5000, 'P')), dest()), 0);
  EXPECT_NE(lib.messages().find("not a ZIP archive"), std::string::npos);
  std::vector<TestEntry> entries = {{.name = "bz", .content = "x", .method = 12},
                                    {.name = "ok", .content = "y"}};
  EXPECT_EQ(run(entries), 1);
  EXPECT_EQ(skipTypes(), std::vector<int>{kSkipUnsupported});
}

TEST_F(HostileArchive, RandomDamageNeverEscapesNorCrashes) {
  const std::string whole = buildZip({{.name = "d/one.bin", .content = std::string(5000, 'r')},
                                      {.name = "two.txt", .content = "second"}});
  std::mt19937 random(20261208);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = whole;
    for (int k = 0; k < 4; ++k) damaged[random() % damaged.size()] = static_cast<char>(random());
    lib.run(scratch.write("a.zip", damaged), dest(), {.dirNames = true, .overwrite = true});
  }
  SUCCEED() << "seed 20261208";
}

}  // namespace

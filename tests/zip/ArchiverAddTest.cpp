// The Add operation with the real archiver library: early stops, the listing after Add, options.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "ZipTestSupport.h"
#include "support/ScratchDir.h"

using namespace zip;
using ziptest::MessageLog;

namespace {

struct AddFixture : ::testing::Test {
  testing_support::ScratchDir dir;
  TArchiver z;
  MessageLog log;
  AddFixture() {
    z.setUnattended(true);
    z.setDLLDirectory(ziptest::packLibDir());
    log.attach(z);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> n;
    for (const auto& e : z.Entries()) n.push_back(e.FileName);
    return n;
  }
};

}  // namespace

TEST_F(AddFixture, EarlyStopsKeepTheSpecList) {
  z.setArchiveFileName(dir.file("a.zip"));
  z.Add();
  EXPECT_TRUE(log.has(10301));
  EXPECT_EQ(z.AddedCount(), 0);

  z.setArchiveFileName("");
  z.SpecList().push_back(dir.write("in.txt", "data"));
  z.Add();
  EXPECT_TRUE(log.has(10102));
  EXPECT_EQ(z.SpecList().size(), 1u);

  z.setArchiveFileName(dir.file("a.zip"));
  z.setAddOptions({AddOpt::AddEncrypt});
  z.Add();
  EXPECT_TRUE(log.has(10302));
  z.setAddOptions({AddOpt::AddDiskSpan, AddOpt::AddUpdate});
  z.Add();
  EXPECT_TRUE(log.has(10303));
  z.setArchiveFileName(dir.file("a.EXE"));
  z.setAddOptions({AddOpt::AddDiskSpan});
  z.Add();
  EXPECT_TRUE(log.has(11041));
  EXPECT_EQ(z.SpecList().size(), 1u);
  EXPECT_FALSE(platform::fileExists(dir.file("a.zip")));
}

TEST_F(AddFixture, JobSequenceListsTheNewArchive) {
  std::string input = dir.write("report.doc", std::string(100000, 'r'));
  std::string archive = input + "ztmp";
  int updates = 0;
  z.OnDirUpdate = [&](TArchiver&) { ++updates; };
  z.setArchiveFileName(archive);
  z.setAddOptions({});
  z.SpecList().push_back(input);
  z.Add();
  EXPECT_EQ(z.AddedCount(), 1);
  EXPECT_EQ(updates, 2);
  EXPECT_EQ(names(), std::vector<std::string>{"report.doc"});
  EXPECT_EQ(z.Entries()[0].CompressionMethod, 8);
  EXPECT_EQ(z.Entries()[0].UncompressedSize, 100000u);
  EXPECT_LT(z.Entries()[0].CompressedSize, 1000u);
  EXPECT_TRUE(z.SpecList().empty());
  EXPECT_TRUE(log.messages.empty());
  if (ziptest::kPeers) {
    EXPECT_TRUE(ziptest::pythonTestzip(archive));
  }
}

TEST_F(AddFixture, AddingToAnExistingArchiveKeepsItsEntriesAndComment) {
  std::string archive = dir.file("a.zip");
  z.setArchiveFileName(archive);
  z.SpecList() = {dir.write("one.txt", "1111")};
  z.Add();
  ASSERT_EQ(z.AddedCount(), 1);
  // A comment as other archivers give one: its length in the end record's last field, its text
  // after the record.
  std::string bytes = testing_support::ScratchDir::read(archive);
  ASSERT_EQ(bytes.compare(bytes.size() - 22, 4, "PK\5\6"), 0);
  bytes[bytes.size() - 2] = 4;
  dir.write("a.zip", bytes + "kept");
  z.setArchiveFileName(archive);
  ASSERT_EQ(z.ArchiveComment(), "kept");
  z.SpecList() = {dir.write("two.txt", "2222"), dir.write("one.txt", "new one")};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 2);
  EXPECT_EQ(names(), (std::vector<std::string>{"two.txt", "one.txt"}));
  EXPECT_EQ(z.Entries()[1].UncompressedSize, 7u);  // replaced, not duplicated
  EXPECT_EQ(z.ArchiveComment(), "kept");
  if (ziptest::kPeers) {
    EXPECT_TRUE(ziptest::pythonTestzip(archive));
  }
}

TEST_F(AddFixture, SpecsWithPrefixesRecursionRootAndStoreSuffixes) {
  dir.write("a.txt", std::string(5000, 'a'));
  dir.write("pic.GIF", std::string(5000, 'g'));
  std::filesystem::create_directory(dir.file("sub"));
  dir.write("sub/c.txt", std::string(5000, 'c'));
  dir.write(".hidden.txt", "h");
  z.setRootDir(dir.path());
  z.setArchiveFileName(dir.file("out.zip"));
  z.setAddOptions({AddOpt::AddDirNames});
  z.SpecList() = {">*.txt", "|pic.GIF"};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 3);
  auto n = names();
  std::sort(n.begin(), n.end());
  EXPECT_EQ(n, (std::vector<std::string>{"a.txt", "pic.GIF",
                                         platform::withNativeSeparators("sub/c.txt")}));
  for (const auto& e : z.Entries())
    EXPECT_EQ(e.CompressionMethod, e.FileName == "pic.GIF" ? 0 : 8) << e.FileName;
}

TEST_F(AddFixture, EncryptionIsRefusedWithAMessageAndNoArchive) {
  z.setArchiveFileName(dir.file("out.zip"));
  z.SpecList() = {dir.write("a.txt", "a") + "<pw"};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 0);
  EXPECT_TRUE(z.SpecList().empty());  // the library ran
  EXPECT_NE(z.LastErrorCode(), 0);
  EXPECT_FALSE(platform::fileExists(dir.file("out.zip")));
}

TEST_F(AddFixture, NothingToAddLeavesAnExistingArchiveAlone) {
  std::string archive = dir.file("a.zip");
  z.setArchiveFileName(archive);
  z.SpecList() = {dir.write("one.txt", "1")};
  z.Add();
  std::string before = testing_support::ScratchDir::read(archive);
  z.SpecList() = {dir.file("missing.txt")};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 0);
  EXPECT_EQ(testing_support::ScratchDir::read(archive), before);
  EXPECT_EQ(z.Entries().size(), 1u);
}

TEST_F(AddFixture, CancelLeavesNoArchive) {
  std::string input = dir.write("big.txt", std::string(5 << 20, 'b'));
  z.OnProgress = [](TArchiver& self, ProgressType t, const std::string&, int64_t) {
    if (t == ProgressType::ProgressUpdate) self.setCancelRequested(true);
  };
  z.setArchiveFileName(dir.file("out.zip"));
  z.SpecList() = {input};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 0);
  EXPECT_FALSE(platform::fileExists(dir.file("out.zip")));
  EXPECT_FALSE(z.CancelRequested());
  // No temporary file is left beside the archive either.
  EXPECT_EQ(platform::folderEntries(dir.path()), std::vector<std::string>{"big.txt"});
}

TEST_F(AddFixture, ProgressReportsTotalsAndTheFile) {
  std::string input = dir.write("data.bin", std::string(3 << 20, 'd'));
  int64_t total = 0, done = 0;
  std::string file;
  bool ended = false;
  z.OnProgress = [&](TArchiver&, ProgressType t, const std::string& name, int64_t size) {
    if (t == ProgressType::TotalSize2Process) total = size;
    if (t == ProgressType::NewFile) file = name;
    if (t == ProgressType::ProgressUpdate) done += size;
    if (t == ProgressType::EndOfBatch) ended = true;
  };
  z.setArchiveFileName(dir.file("out.zip"));
  z.SpecList() = {input};
  z.Add();
  EXPECT_EQ(total, 3 << 20);
  EXPECT_EQ(done, 3 << 20);
  EXPECT_EQ(file, input);
  EXPECT_TRUE(ended);
}

TEST_F(AddFixture, AThrowingMessageHandlerLeavesTheArchiverUsable) {
  const std::string input = dir.write("data.bin", std::string(100000, 'd'));
  z.OnProgress = [](TArchiver&, ProgressType, const std::string&, int64_t) {
    throw std::runtime_error("progress handler failed");
  };
  z.OnMessage = [](TArchiver&, int32_t, const std::string&) {
    throw std::runtime_error("message handler failed");
  };
  z.setArchiveFileName(dir.file("out.zip"));
  z.SpecList() = {input};
  EXPECT_THROW(z.Add(), std::runtime_error);
  EXPECT_FALSE(z.Busy());
  EXPECT_TRUE(z.SpecList().empty());

  // A spanned add goes through a private folder of its own and leaves nothing there.
  z.OnProgress = nullptr;
  log.attach(z);
  const std::string temp = dir.file("temp");
  std::filesystem::create_directory(temp);
  z.setTempDir(temp);
  z.setAddOptions({AddOpt::AddDiskSpan});
  z.SpecList() = {input};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 1);
  if (ziptest::kPeers) {
    EXPECT_TRUE(ziptest::pythonTestzip(dir.file("out.zip")));
  }
  EXPECT_TRUE(std::filesystem::is_empty(temp));
}

// The listing that runs on every ArchiveFileName assignment, on hand-built archives.
#include <gtest/gtest.h>

#include "ZipTestSupport.h"
#include "support/ScratchDir.h"
#include "zip/ZipFormat.h"

using namespace zip;
using namespace zipformat;
using ziptest::MessageLog;

namespace {

struct Member {
  Member(std::string n, std::string d, uint16_t host = (kHostUnix << 8) | 30, uint16_t f = 0,
         std::string x = {}, std::string c = {})
      : name(std::move(n)),
        data(std::move(d)),
        madeBy(host),
        flags(f),
        extra(std::move(x)),
        comment(std::move(c)) {}
  std::string name;
  std::string data;
  uint16_t madeBy = (kHostUnix << 8) | 30;
  uint16_t flags = 0;
  std::string extra;
  std::string comment;
};

// A stored-only archive; `stub` bytes come first and the recorded offsets ignore them (as a
// stub glued in front of an existing archive leaves them).
std::string buildZip(const std::vector<Member>& members, const std::string& comment = {},
                     const std::string& stub = {}) {
  std::string body, directory;
  for (const auto& m : members) {
    uint8_t local[kLocalHeaderSize] = {};
    writeLE32(local, kLocalHeaderSignature);
    writeLE16(local + 4, 10);
    writeLE32(local + 18, uint32_t(m.data.size()));
    writeLE32(local + 22, uint32_t(m.data.size()));
    writeLE16(local + 26, uint16_t(m.name.size()));
    CentralHeader h;
    h.madeBy = m.madeBy;
    h.versionNeeded = 10;
    h.flags = m.flags;
    h.compressedSize = h.uncompressedSize = uint32_t(m.data.size());
    h.nameLength = uint16_t(m.name.size());
    h.extraLength = uint16_t(m.extra.size());
    h.commentLength = uint16_t(m.comment.size());
    h.localHeaderOffset = uint32_t(body.size());
    body += std::string(reinterpret_cast<char*>(local), sizeof local) + m.name + m.data;
    uint8_t central[kCentralHeaderSize];
    h.write(central);
    directory += std::string(reinterpret_cast<char*>(central), sizeof central) + m.name + m.extra +
                 m.comment;
  }
  EndRecord end;
  end.entriesOnDisk = end.totalEntries = uint16_t(members.size());
  end.directorySize = uint32_t(directory.size());
  end.directoryOffset = uint32_t(body.size());
  end.commentLength = uint16_t(comment.size());
  uint8_t record[kEndRecordSize];
  end.write(record);
  return stub + body + directory + std::string(reinterpret_cast<char*>(record), sizeof record) +
         comment;
}

struct ListingFixture : ::testing::Test {
  testing_support::ScratchDir dir;
  TArchiver z;
  MessageLog log;
  int dirUpdates = 0;
  ListingFixture() {
    z.setUnattended(true);
    log.attach(z);
    z.OnDirUpdate = [this](TArchiver&) { ++dirUpdates; };
  }
  void list(const std::string& bytes) { z.setArchiveFileName(dir.write("a.zip", bytes)); }
};

}  // namespace

TEST_F(ListingFixture, MissingFileEmptiesTheListingWithoutMessage) {
  list(buildZip({{"one.txt", "1"}}));
  ASSERT_EQ(z.Entries().size(), 1u);
  z.setArchiveFileName(dir.file("none.zip"));
  EXPECT_TRUE(z.Entries().empty());
  EXPECT_EQ(z.ArchiveFileName(), dir.file("none.zip"));
  EXPECT_EQ(dirUpdates, 2);
  EXPECT_TRUE(log.messages.empty());
}

TEST_F(ListingFixture, NotAZipReports11036AndEmptiesTheName) {
  list(std::string(3000, 'x'));
  EXPECT_TRUE(log.has(11036));
  EXPECT_EQ(z.ArchiveFileName(), "");
  EXPECT_EQ(z.StubSize(), 0);
  EXPECT_EQ(dirUpdates, 1);
  // The following Add has no archive name.
  z.SpecList() = {"x"};
  z.Add();
  EXPECT_TRUE(log.has(10102));
  EXPECT_EQ(z.SpecList().size(), 1u);
}

TEST_F(ListingFixture, EntriesCommentAndDirectoryOnlyEntries) {
  list(buildZip(
      {{"a.txt", "aaa", (kHostUnix << 8) | 30, 0, std::string("\x55\x54\x01\x00\x07", 5), "note"},
       {"sub/", ""},
       {"sub/b.txt", "bb"}},
      "archive comment"));
  EXPECT_TRUE(log.messages.empty());
  EXPECT_EQ(z.ArchiveComment(), "archive comment");
  ASSERT_EQ(z.Entries().size(), 2u);
  EXPECT_EQ(z.DirOnlyCount(), 1);
  EXPECT_EQ(z.StubSize(), 0);
  const ArchiveDirEntry& a = z.Entries()[0];
  EXPECT_EQ(a.FileName, "a.txt");
  EXPECT_EQ(a.FileComment, "note");
  EXPECT_EQ(a.UncompressedSize, 3u);
  EXPECT_EQ(a.ExtraData, (std::vector<uint8_t>{0x55, 0x54, 0x01, 0x00, 0x07}));
  EXPECT_EQ(z.Entries()[1].FileName, platform::joinPath("sub", "b.txt"));
  EXPECT_TRUE(z.Entries()[1].ExtraData.empty());

  z.setUseDirOnlyEntries(true);
  std::vector<int32_t> seq;
  z.OnNewName = [&](TArchiver&, int32_t n, const ArchiveDirEntry&) { seq.push_back(n); };
  z.setArchiveFileName(z.ArchiveFileName());
  EXPECT_EQ(z.Entries().size(), 3u);
  EXPECT_EQ(seq, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(ListingFixture, StubOf1000BytesReports10203) {
  list(buildZip({{"a.txt", "aaa"}}, "", std::string(1000, 'S')));
  EXPECT_TRUE(log.has(10203));
  EXPECT_EQ(z.StubSize(), 1000);
  EXPECT_EQ(z.Entries().size(), 1u);
  EXPECT_EQ(z.ArchiveFileName(), dir.file("a.zip"));
}

TEST_F(ListingFixture, ZeroPaddingTo512IsQuietOtherTrailingDataIsNot) {
  std::string zip = buildZip({{"a.txt", "aaa"}}, "c");
  std::string padded = zip + std::string(512 - zip.size() % 512, '\0');
  list(padded);
  EXPECT_FALSE(log.has(10204));
  EXPECT_EQ(z.Entries().size(), 1u);
  EXPECT_EQ(z.ArchiveComment(), "c");

  list(zip + "junk");
  EXPECT_TRUE(log.has(10204));
  EXPECT_EQ(z.Entries().size(), 1u);

  // Zero bytes that do not end on a 512-byte boundary are unexpected data too.
  log.messages.clear();
  ASSERT_NE((zip.size() + 3) % 512, 0u);
  list(zip + std::string(3, '\0'));
  EXPECT_TRUE(log.has(10204));
}

TEST_F(ListingFixture, EmptyArchiveHasStubSizeZero) {
  list(buildZip({}));
  EXPECT_TRUE(z.Entries().empty());
  EXPECT_EQ(z.StubSize(), 0);
  EXPECT_TRUE(log.messages.empty());
}

TEST_F(ListingFixture, DamagedDirectoriesEndInTheirMessages) {
  std::string good = buildZip({{"a.txt", "aaa"}, {"b.txt", "bbb"}});
  std::size_t dirStart = good.size() - kEndRecordSize - 2 * (kCentralHeaderSize + 5);

  // The end record counts more entries than the directory holds: the read runs into the
  // 22-byte end record and comes up short.
  std::string more = good;
  writeLE16(reinterpret_cast<uint8_t*>(&more[more.size() - kEndRecordSize + 10]), 3);
  list(more);
  EXPECT_TRUE(log.has(11013));
  EXPECT_EQ(z.ArchiveFileName(), "");

  // A directory whose size claims more than the file: short header read.
  std::string huge = good;
  writeLE16(reinterpret_cast<uint8_t*>(&huge[huge.size() - kEndRecordSize + 10]), 1000);
  writeLE32(reinterpret_cast<uint8_t*>(&huge[huge.size() - kEndRecordSize + 12]), 10);
  list(huge);
  EXPECT_EQ(z.ArchiveFileName(), "");

  // A broken header signature.
  std::string broken = good;
  broken[dirStart] = 'X';
  log.messages.clear();
  list(broken);
  EXPECT_TRUE(log.has(11015));

  // A name length past the end of the file.
  std::string longName = good;
  writeLE16(reinterpret_cast<uint8_t*>(&longName[dirStart + kCentralHeaderSize + 5 + 28]), 60000);
  log.messages.clear();
  list(longName);
  EXPECT_TRUE(log.has(11017));
  EXPECT_EQ(z.StubSize(), 0);
}

TEST_F(ListingFixture, NamesFromDosHostsAreConvertedFromOem) {
  // 0x81 is "ü" in the OEM set; a FAT host means OEM under cpAuto, Unix means as stored, and
  // the UTF-8 flag means as stored whatever the host.
  list(buildZip({{"m\x81sli.txt", "x", uint16_t(kHostFat << 8)},
                 {"m\xc3\xbcsli.txt", "x", uint16_t(kHostUnix << 8)},
                 {"dir\\w\xc3\xbc.txt", "x", uint16_t(kHostFat << 8), kFlagUtf8}}));
  ASSERT_EQ(z.Entries().size(), 3u);
  EXPECT_EQ(z.Entries()[0].FileName, "m\xc3\xbcsli.txt");
  EXPECT_EQ(z.Entries()[1].FileName, "m\xc3\xbcsli.txt");
  EXPECT_EQ(z.Entries()[2].FileName, platform::joinPath("dir", "w\xc3\xbc.txt"));
  z.setCodePage(CodePageOpts::cpNone);
  z.setArchiveFileName(z.ArchiveFileName());
  EXPECT_EQ(z.Entries()[0].FileName, "m\x81sli.txt");
}

// The format library's directory reader on hand-built bytes: where it finds the end records and
// where it stops a walk over damaged records.
#include <gtest/gtest.h>

#include "support/ScratchDir.h"
#include "zip/ZipDirectory.h"

using namespace zipformat;

namespace {

template <typename Record>
std::string bytesOf(const Record& record, std::size_t size) {
  std::string bytes(size, '\0');
  record.write(reinterpret_cast<uint8_t*>(bytes.data()));
  return bytes;
}

std::string endRecord(uint16_t entries, uint16_t commentLength = 0) {
  EndRecord end;
  end.entriesOnDisk = end.totalEntries = entries;
  end.commentLength = commentLength;
  return bytesOf(end, kEndRecordSize);
}

std::string text(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

std::optional<DirectoryLocation> locate(const std::string& bytes, EndSearch search) {
  testing_support::ScratchDir dir;
  platform::File file = platform::File::openRead(dir.write("a.zip", bytes));
  return locateDirectory(file, search);
}

}  // namespace

TEST(CentralRecords, EachPartReachingPastTheDirectoryEndsTheWalkWithItsFault) {
  CentralHeader h;
  h.nameLength = 2;   // "ab"
  h.extraLength = 4;  // one empty field of id 0x7075
  h.commentLength = 1;
  const std::string record =
      bytesOf(h, kCentralHeaderSize) + "ab" + std::string("\x75\x70\0\0", 4) + "c";
  std::string badSignature = record;
  badSignature[0] = 'X';
  const struct {
    std::string directory;
    uint64_t count;
    RecordFault fault;
    int read;
  } cases[] = {
      {record, 1, RecordFault::kNone, 1},
      {record + record, 1, RecordFault::kNone, 1},  // the count bounds the walk
      {record, 2, RecordFault::kHeaderCut, 1},
      {record.substr(0, kCentralHeaderSize - 1), 1, RecordFault::kHeaderCut, 0},
      {badSignature, 1, RecordFault::kSignature, 0},
      {record.substr(0, kCentralHeaderSize + 1), 1, RecordFault::kNameCut, 0},
      {record.substr(0, kCentralHeaderSize + 5), 1, RecordFault::kExtraCut, 0},
      {record.substr(0, kCentralHeaderSize + 6), 1, RecordFault::kCommentCut, 0},
  };
  for (const auto& c : cases) {
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(c.directory.data()),
                                   c.directory.size());
    CentralRecords records(bytes, c.count);
    CentralRecord r;
    int read = 0;
    while (records.next(r)) ++read;
    EXPECT_EQ(records.fault(), c.fault) << "size " << c.directory.size() << " count " << c.count;
    EXPECT_EQ(read, c.read) << "size " << c.directory.size() << " count " << c.count;
  }
}

TEST(LocateDirectory, Zip64EndRecordIsFoundBehindAStubAndWhateverTheEndRecordSays) {
  Zip64EndRecord end64;
  end64.totalEntries = 7;
  Zip64Locator locator;  // states offset 0: where the record lies without the stub
  const std::string archive =
      bytesOf(end64, kZip64EndRecordSize) + bytesOf(locator, kZip64LocatorSize) + endRecord(0);
  for (std::size_t stub : {0, 100}) {
    auto at = locate(std::string(stub, 'S') + archive, EndSearch::kLastSignature);
    ASSERT_TRUE(at) << "stub " << stub;
    EXPECT_TRUE(at->zip64);
    EXPECT_EQ(at->entryCount, 7u) << "the 32-bit record is not saturated, yet ZIP64 counts";
    EXPECT_EQ(at->directoryEnd, stub);
  }
  // A locator whose record is nowhere.
  auto lost = locate(std::string(100, 'S') + archive.substr(kZip64EndRecordSize),
                     EndSearch::kLastSignature);
  ASSERT_TRUE(lost);
  EXPECT_TRUE(lost->zip64Missing);
  EXPECT_FALSE(lost->zip64);
}

TEST(LocateDirectory, ASignatureInTheCommentIsPassedOverOnlyWhenItsCommentCannotFit) {
  // The archive comment holds the bytes of an end record stating a 500-byte comment.
  const std::string comment = endRecord(9, 500) + "12345678";
  const std::string bytes = endRecord(0, uint16_t(comment.size())) + comment;
  auto last = locate(bytes, EndSearch::kLastSignature);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->endRecordPos, kEndRecordSize);
  EXPECT_EQ(text(last->comment()), "12345678") << "the comment is cut to the file";
  auto fitting = locate(bytes, EndSearch::kCommentInFile);
  ASSERT_TRUE(fitting);
  EXPECT_EQ(fitting->endRecordPos, 0u);
  EXPECT_EQ(text(fitting->comment()), comment);
  EXPECT_TRUE(fitting->trailing().empty());
}

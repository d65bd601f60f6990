// The archiver library's writer on entries kept from an existing archive: what their central
// records carry once the archive has grown past 4 GiB.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "packlib/ArchiveWriter.h"
#include "packlib/Reporter.h"
#include "platform/ByteOrder.h"
#include "support/ScratchDir.h"

namespace {

constexpr std::uint64_t kFiveGiB = 5ull << 30;

// The extra field of the first central record, which follows the kept entry's bytes.
std::vector<std::uint8_t> centralExtra(const std::string& path, std::uint64_t at,
                                       std::size_t nameLength) {
  platform::File file = platform::File::openRead(path);
  file.seek(std::int64_t(at));
  std::vector<std::uint8_t> record(zipformat::kCentralHeaderSize + nameLength + 65535);
  record.resize(file.read(record.data(), record.size()));
  zipformat::CentralHeader header;
  EXPECT_TRUE(header.read(record.data()));
  const std::size_t start = zipformat::kCentralHeaderSize + nameLength;
  return {record.begin() + std::ptrdiff_t(start),
          record.begin() + std::ptrdiff_t(start + header.extraLength)};
}

}  // namespace

// An old entry's own fields that leave no room give way to the ZIP64 field, which is kept whole
// (it is 4 + 8n bytes, n the number of values that no longer fit in 32 bits).
TEST(ArchiveWriter, AKeptEntrysLongExtraFieldGivesWayToAWholeZip64Field) {
  for (bool wideSizes : {false, true}) {
    SCOPED_TRACE(wideSizes ? "sizes and offset" : "offset only");
    testing_support::ScratchDir dir;
    const std::string source = dir.write("old.zip", std::string(100, 'k'));
    packlib::ExistingEntry old;
    old.name = "kept.bin";
    old.extent = 100;
    // A field of the old archive's own (id 0x7075) that fills the extra field almost to the end.
    std::vector<std::uint8_t> own(4 + (wideSizes ? 65511 : 65520), 0x55);
    platform::writeLE16(own.data(), 0x7075);
    platform::writeLE16(own.data() + 2, std::uint16_t(own.size() - 4));
    old.extra = own;
    if (wideSizes) {
      old.header.uncompressedSize = old.header.compressedSize = zipformat::kMax32;
      std::vector<std::uint8_t> zip64(20);
      platform::writeLE16(zip64.data(), zipformat::kZip64ExtraId);
      platform::writeLE16(zip64.data() + 2, 16);
      platform::writeLE64(zip64.data() + 4, kFiveGiB + 1);
      platform::writeLE64(zip64.data() + 12, kFiveGiB + 2);
      old.extra.insert(old.extra.end(), zip64.begin(), zip64.end());
    }

    const std::string target = dir.file("new.zip");
    {
      platform::File out = platform::File::create(target);
      out.seek(std::int64_t(kFiveGiB));  // sparse: the kept entry lands past 4 GiB
      platform::File in = platform::File::openRead(source);
      packlib::ArchiveWriter writer(out);
      writer.copyEntry(in, old);
      writer.finish("");
      out.close();
    }

    const auto extra = centralExtra(target, kFiveGiB + 100, old.name.size());
    const std::vector<std::uint64_t> expected =
        wideSizes ? std::vector<std::uint64_t>{kFiveGiB + 1, kFiveGiB + 2, kFiveGiB}
                  : std::vector<std::uint64_t>{kFiveGiB};
    ASSERT_EQ(extra.size(), 4 + 8 * expected.size());
    EXPECT_EQ(platform::readLE16(extra.data()), zipformat::kZip64ExtraId);
    EXPECT_EQ(platform::readLE16(extra.data() + 2), 8 * expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
      EXPECT_EQ(platform::readLE64(extra.data() + 4 + 8 * i), expected[i]) << "value " << i;
  }
}

// The offsets of a multi-disk set point into its other files: nothing may be copied from it.
TEST(ArchiveWriter, AnExistingArchiveOfAMultiDiskSetIsRefused) {
  testing_support::ScratchDir dir;
  for (std::uint16_t disk : {0, 1}) {
    zipformat::EndRecord end;
    end.diskNumber = end.directoryDisk = disk;
    std::string bytes(zipformat::kEndRecordSize, '\0');
    end.write(reinterpret_cast<std::uint8_t*>(bytes.data()));
    platform::File file = platform::File::openRead(dir.write("part.zip", bytes));
    if (disk == 0)
      EXPECT_TRUE(packlib::readExistingArchive(file).entries.empty());
    else
      EXPECT_THROW(packlib::readExistingArchive(file), packlib::PackError);
  }
}

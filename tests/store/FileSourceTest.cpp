// TFileSource: properties, the stored record and the life of its temporary file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IoError.h"
#include "platform/Paths.h"
#include "store/FileSource.h"
#include "store/StoreError.h"
#include "store/TempFolderOverride.h"
#include "store/TempNames.h"
#include "support/ScratchDir.h"

using codec::TMemoryStream;
using store::TFileSource;
using testing_support::ScratchDir;

namespace {

// A record as the description holds it: 32-bit little-endian n, then n bytes.
TMemoryStream recordOf(const std::string& bytes) {
  TMemoryStream record;
  store::writeLE32(record, std::uint32_t(bytes.size()));
  store::writeAll(record, bytes.data(), bytes.size());
  record.Seek(0, codec::soBeginning);
  return record;
}

}  // namespace

TEST(FileSourceProperties, ExtensionComesFromTheLastDotOfTheFileName) {
  TFileSource source("PackLib");
  source.setFileName("/dir/file.tar.gz");
  EXPECT_EQ(source.Extension(), ".gz");
  source.setFileName("/old.dir/file");
  EXPECT_EQ(source.Extension(), "");
  source.setFileName("relative.name/x.dat");
  EXPECT_EQ(source.Extension(), ".dat");
  source.setFileName("noext");
  EXPECT_EQ(source.Extension(), "");
  source.setFileName("/dir/trailing.");
  EXPECT_EQ(source.Extension(), ".");
}

TEST(FileSourceProperties, CompressTurnsStoreOnButNeverOff) {
  TFileSource source("SFX");
  EXPECT_FALSE(source.Compress());
  EXPECT_FALSE(source.Store());
  source.setCompress(true);
  EXPECT_TRUE(source.Store());
  source.setCompress(false);
  EXPECT_TRUE(source.Store());
  source.setStore(false);
  EXPECT_FALSE(source.Compress());
}

TEST(FileSourceProperties, FileNameAnswersOnlyWhileTheFileExists) {
  ScratchDir dir;
  std::string path = dir.write("kept.bin", "abc");
  {
    TFileSource source("Ref");
    source.setFileName(path);
    EXPECT_EQ(source.FileName(), path);
    EXPECT_FALSE(source.isTemporary());
    platform::deleteFile(path);
    EXPECT_EQ(source.FileName(), "");
    EXPECT_EQ(source.storedPath(), path);
    dir.write("kept.bin", "again");
    EXPECT_EQ(source.FileName(), path);
  }
  // A store that only refers to a file never deletes it.
  EXPECT_TRUE(platform::fileExists(path));
}

TEST(FileSourceRecord, ReadCreatesTheTemporaryFileAndDestructionRemovesIt) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  std::string path;
  {
    TFileSource source("PackLib");
    source.setExtension(".dat");
    TMemoryStream record = recordOf("!HZL payload bytes");
    source.ReadFileData(record);
    path = source.FileName();
    EXPECT_TRUE(source.isTemporary());
    EXPECT_EQ(platform::joinPath(platform::parentFolder(path), ""), platform::tempFolder());
    auto name = testing_support::parseTempName(path);
    ASSERT_TRUE(name.has_value()) << path;
    EXPECT_EQ(name->extension, ".dat");
    EXPECT_EQ(name->lastDigit(), '0');
    EXPECT_LE(name->digits.size(), 3u);
    EXPECT_EQ(ScratchDir::read(path), "!HZL payload bytes");
    EXPECT_EQ(record.Position(), record.Size());
  }
  EXPECT_FALSE(platform::fileExists(path));
}

TEST(FileSourceRecord, EmptyRecordGivesEmptyFileAndEmptyExtensionGivesBareName) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  TFileSource source("Empty");
  TMemoryStream record = recordOf("");
  source.ReadFileData(record);
  auto name = testing_support::parseTempName(source.FileName());
  ASSERT_TRUE(name.has_value()) << source.FileName();
  EXPECT_EQ(name->extension, "");
  EXPECT_EQ(platform::fileSize(source.FileName()), 0);
}

TEST(FileSourceRecord, StoresLoadedTogetherTakeConsecutiveNames) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  // Two attempts in case the seconds change between the first and the last store.
  for (int attempt = 0; attempt < 2; ++attempt) {
    TFileSource a("A"), b("B"), c("C");
    for (TFileSource* s : {&a, &b, &c}) {
      s->setExtension(".dat");
      TMemoryStream record = recordOf("x");
      s->ReadFileData(record);
    }
    auto na = testing_support::parseTempName(a.FileName());
    auto nc = testing_support::parseTempName(c.FileName());
    ASSERT_TRUE(na && nc);
    ASSERT_EQ(na->lastDigit(), '0');
    if (nc->lastDigit() != '2' || na->seconds() != nc->seconds()) continue;
    EXPECT_EQ(platform::fileNameOf(b.FileName()),
              testing_support::tempNamePrefix() + na->seconds() + "1.dat");
    return;
  }
  FAIL() << "names were not consecutive";
}

TEST(FileSourceRecord, TakenNamesAreSkipped) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  // Occupy k = 0 and 1 for every possible seconds value, with a file and with a folder.
  for (int s = 0; s <= 60; ++s) {
    const std::string base = testing_support::tempNamePrefix() + std::to_string(s);
    dir.write(base + "0.dat", "someone else's");
    std::filesystem::create_directory(dir.file(base + "1.dat"));
  }
  TFileSource source("PackLib");
  source.setExtension(".dat");
  TMemoryStream record = recordOf("mine");
  source.ReadFileData(record);
  auto name = testing_support::parseTempName(source.FileName());
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(name->lastDigit(), '2');
  EXPECT_EQ(name->extension, ".dat");
  EXPECT_EQ(ScratchDir::read(source.FileName()), "mine");
}

TEST(FileSourceRecord, TemporaryFileDeletedBySomeoneElse) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  TFileSource source("UnpackLib");
  TMemoryStream record = recordOf("data");
  source.ReadFileData(record);
  std::string path = source.FileName();
  platform::deleteFile(path);
  EXPECT_EQ(source.FileName(), "");
  // Destruction ignores the missing file; a stranger's new file of that name is not ours to
  // keep alive, but the store still removes the name it owns.
}

TEST(FileSourceRecord, NewFileNameDeletesTheTemporaryFileAndStopsOwning) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  std::string other = dir.write("other.bin", "other");
  {
    TFileSource source("SFX");
    TMemoryStream record = recordOf("data");
    source.ReadFileData(record);
    std::string temporary = source.FileName();
    source.setFileName(other);
    EXPECT_FALSE(platform::fileExists(temporary));
    EXPECT_FALSE(source.isTemporary());
    EXPECT_EQ(source.Extension(), ".bin");
  }
  EXPECT_TRUE(platform::fileExists(other));
}

TEST(FileSourceRecord, ShortRecordFailsButItsFileIsStillRemoved) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  std::string path;
  {
    TFileSource source("Short");
    TMemoryStream record;
    store::writeLE32(record, 10);
    store::writeAll(record, "abc", 3);
    record.Seek(0, codec::soBeginning);
    try {
      source.ReadFileData(record);
      FAIL() << "a short record was accepted";
    } catch (const platform::EInOutError& e) {
      EXPECT_STREQ(e.what(), "Read beyond end of file");
    }
    path = source.FileName();
    EXPECT_TRUE(source.isTemporary());
    EXPECT_NE(path, "");
  }
  EXPECT_FALSE(platform::fileExists(path));
}

TEST(FileSourceRecord, NegativeLengthIsRefused) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  TFileSource source("Bad");
  TMemoryStream record;
  store::writeLE32(record, 0xFFFFFFF0u);
  record.Seek(0, codec::soBeginning);
  EXPECT_THROW(source.ReadFileData(record), platform::EInOutError);
}

TEST(FileSourceRecord, WriteRoundTripsVerbatimAndCompressed) {
  ScratchDir dir;
  testing_support::TempFolderOverride temp(dir.path());
  std::string bytes(100'000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 7919) >> 5);
  std::string path = dir.write("payload.bin", bytes);
  for (bool compress : {false, true}) {
    TFileSource writer("W");
    writer.setFileName(path);
    writer.setCompress(compress);
    TMemoryStream record;
    writer.WriteFileData(record);
    if (!compress) {
      EXPECT_EQ(record.Size(), std::int64_t(bytes.size() + 4));
      EXPECT_EQ(record.Bytes()[0], std::uint8_t(bytes.size()));
    } else {
      EXPECT_EQ(std::string(record.Bytes().begin(), record.Bytes().begin() + 6), "PMCS10");
    }
    TFileSource reader("R");
    reader.setCompress(compress);
    record.Seek(0, codec::soBeginning);
    reader.ReadFileData(record);
    EXPECT_EQ(ScratchDir::read(reader.FileName()), bytes) << "compress " << compress;
  }
}

TEST(FileSourceRecord, MissingFileCannotBeStored) {
  TFileSource source("PackLib");
  source.setFileName("/nonexistent/PackLib.dat");
  TMemoryStream record;
  try {
    source.WriteFileData(record);
    FAIL() << "a missing file was stored";
  } catch (const store::EFileSource& e) {
    EXPECT_STREQ(e.what(), "PackLib cannot store file: /nonexistent/PackLib.dat (file is missing)");
  }
  EXPECT_EQ(record.Size(), 0);
}

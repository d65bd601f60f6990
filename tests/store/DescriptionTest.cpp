// The window description: several stores round trip, the persistence rule, damaged descriptions.
#include <gtest/gtest.h>

#include "platform/IoError.h"
#include "platform/Paths.h"
#include "store/Description.h"
#include "store/StoreError.h"
#include "store/TempFolderOverride.h"
#include "support/ScratchDir.h"

using codec::TMemoryStream;
using store::TFileSource;
using testing_support::ScratchDir;

namespace {

std::string textOf(const TMemoryStream& s) {
  return std::string(s.Bytes().begin(), s.Bytes().end());
}

std::string readError(std::vector<std::uint8_t> bytes, std::span<TFileSource* const> stores) {
  TMemoryStream in(std::move(bytes));
  try {
    store::readDescription(in, stores);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

struct Fixture {
  ScratchDir build, run;
  std::string packLib = build.write("PackLib.dat", "!HZL packlib");
  std::string unpackLib = build.write("UnpackLib.dat", std::string(70'000, 'u'));
  std::string sfx = build.write("Sfx.dat", "");

  TMemoryStream describe() {
    TFileSource a("PackLib"), b("UnpackLib"), c("SFX"), d("Ref");
    a.setFileName(packLib), a.setStore(true), a.setDisplayLabel("archiver");
    b.setFileName(unpackLib), b.setCompress(true);
    c.setFileName(sfx), c.setStore(true);
    d.setFileName(build.file("elsewhere.txt"));
    const TFileSource* stores[] = {&a, &b, &c, &d};
    TMemoryStream out;
    store::writeDescription(out, "TForm1", "Form1", stores);
    out.Seek(0, codec::soBeginning);
    return out;
  }
};

}  // namespace

TEST(Description, SeveralStoresRoundTrip) {
  Fixture f;
  TMemoryStream description = f.describe();
  testing_support::TempFolderOverride temp(f.run.path());
  std::vector<std::string> created;
  {
    TFileSource a("PackLib"), b("UnpackLib"), c("SFX"), d("Ref");
    TFileSource* stores[] = {&a, &b, &c, &d};
    store::readDescription(description, stores);
    EXPECT_EQ(description.Position(), description.Size());

    EXPECT_EQ(ScratchDir::read(a.FileName()), "!HZL packlib");
    EXPECT_EQ(a.DisplayLabel(), "archiver");
    EXPECT_TRUE(b.Compress());
    EXPECT_EQ(ScratchDir::read(b.FileName()), std::string(70'000, 'u'));
    EXPECT_EQ(platform::fileSize(c.FileName()), 0);
    for (TFileSource* s : {&a, &b, &c}) {
      EXPECT_TRUE(s->isTemporary());
      EXPECT_TRUE(s->Store());
      EXPECT_EQ(s->Extension(), ".dat");
      EXPECT_EQ(platform::joinPath(platform::parentFolder(s->FileName()), ""),
                platform::tempFolder());
      created.push_back(s->FileName());
    }
    // A store without Store keeps only its path, and nothing is written for it.
    EXPECT_FALSE(d.isTemporary());
    EXPECT_FALSE(d.Store());
    EXPECT_EQ(d.storedPath(), f.build.file("elsewhere.txt"));
    EXPECT_EQ(d.FileName(), "");
    EXPECT_EQ(d.Extension(), ".txt");
    f.build.write("elsewhere.txt", "now it exists");
    EXPECT_EQ(d.FileName(), f.build.file("elsewhere.txt"));
  }
  for (const auto& path : created) EXPECT_FALSE(platform::fileExists(path)) << path;
  EXPECT_TRUE(platform::fileExists(f.build.file("elsewhere.txt")));
}

TEST(Description, FileDataIsNameTypeLengthAndRecord) {
  Fixture f;
  std::string text = textOf(f.describe());
  // "FileData" as a short string, value type 0x0A, L = n + 4, then n itself.
  std::string expected = std::string(
                             "\x08"
                             "FileData"
                             "\x0A",
                             10) +
                         std::string("\x10\x00\x00\x00\x0C\x00\x00\x00", 8) + "!HZL packlib";
  EXPECT_NE(text.find(expected), std::string::npos);
  // The persistence rule: a stored file leaves out FileName; a reference leaves out FileData.
  EXPECT_EQ(text.find(f.packLib), std::string::npos);
  EXPECT_NE(text.find(f.build.file("elsewhere.txt")), std::string::npos);
  EXPECT_NE(text.find(std::string("\x05Store\x08", 7)), std::string::npos);
  EXPECT_NE(text.find("PMCS10"), std::string::npos);
}

TEST(Description, MissingStoredFileNamesTheComponent) {
  TFileSource gone("SFX");
  gone.setFileName("/nowhere/Sfx.dat");
  gone.setStore(true);
  const TFileSource* stores[] = {&gone};
  TMemoryStream out;
  EXPECT_THROW(
      {
        try {
          store::writeDescription(out, "TForm1", "Form1", stores);
        } catch (const store::EFileSource& e) {
          EXPECT_STREQ(e.what(), "SFX cannot store file: /nowhere/Sfx.dat (file is missing)");
          throw;
        }
      },
      store::EFileSource);
}

TEST(Description, DamagedDescriptionsAreRefused) {
  Fixture f;
  std::vector<std::uint8_t> good = f.describe().Bytes();
  testing_support::TempFolderOverride temp(f.run.path());
  TFileSource a("PackLib"), b("UnpackLib"), c("SFX"), d("Ref");
  TFileSource* all[] = {&a, &b, &c, &d};
  TFileSource* withoutSfx[] = {&a, &b, &d};

  EXPECT_EQ(readError(good, withoutSfx), "Unknown component SFX: TFileSource");
  EXPECT_EQ(readError({'X', 'N', 'K', '0'}, all), "Invalid window description");
  for (std::size_t cut : {std::size_t(5), good.size() / 2, good.size() - 1}) {
    auto shorter = good;
    shorter.resize(cut);
    EXPECT_EQ(readError(shorter, all), "Read beyond end of file") << "cut at " << cut;
  }
  {
    auto bad = good;  // "Compress" with a string value
    std::string text(bad.begin(), bad.end());
    auto at = text.find("Compress") + 8;
    bad[at] = 0x06;
    EXPECT_EQ(readError(bad, all), "Invalid property value: Compress");
  }
  {
    auto bad = good;  // an unknown property name of the same length
    std::string text(bad.begin(), bad.end());
    std::copy_n("Cmpress!", 8, bad.begin() + std::ptrdiff_t(text.find("Compress")));
    EXPECT_EQ(readError(bad, all), "Property PackLib.Cmpress! does not exist");
  }
  {
    auto bad = good;  // L one larger than the record: the record does not fill its value
    std::string text(bad.begin(), bad.end());
    bad[text.find("FileData") + 9] += 1;
    EXPECT_NE(readError(bad, all), "");
  }
}

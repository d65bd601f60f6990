// Archives written by the archiver library checked by Python's zipfile and 7-Zip, and archives
// written by those peers listed by the component.
#include <gtest/gtest.h>

#include "ZipTestSupport.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using namespace zip;

namespace {

struct InteropFixture : ::testing::Test {
  testing_support::ScratchDir dir;
  TArchiver z;
  ziptest::MessageLog log;
  InteropFixture() {
    z.setUnattended(true);
    z.setDLLDirectory(ziptest::packLibDir());
    log.attach(z);
  }
  void SetUp() override {
    if (!ziptest::kPeers) GTEST_SKIP() << "the peer archivers run on the Linux side";
  }
  std::string add(const std::vector<std::string>& specs, const std::string& name = "out.zip") {
    std::string archive = dir.file(name);
    z.setArchiveFileName(archive);
    z.SpecList() = specs;
    z.Add();
    return archive;
  }
  void expectPeersAccept(const std::string& archive) {
    EXPECT_TRUE(ziptest::pythonTestzip(archive)) << archive;
    EXPECT_TRUE(ziptest::sevenZipTest(archive)) << archive;
  }
};

}  // namespace

TEST_F(InteropFixture, SmallMultiChunkAndStoredArchivesAreValid) {
  std::string small = dir.write("small.txt", "hello, world\n");
  // Several deflate chunks joined into one stream, with random and text parts.
  std::string mixed = dir.write("mixed.bin", testing_support::noiseAndText(5'300'000, 7));
  std::string stored = dir.write("photo.png", testing_support::noiseAndText(100'000, 8));
  std::string archive = add({small, mixed, stored});
  EXPECT_EQ(z.AddedCount(), 3);
  expectPeersAccept(archive);
  ASSERT_EQ(z.Entries().size(), 3u);
  EXPECT_EQ(z.Entries()[2].CompressionMethod, 0);
  // 7-Zip extracts the same bytes.
  ASSERT_EQ(ziptest::run("cd '" + dir.path() + "' && mkdir x && cd x && 7z x ../out.zip"), 0);
  EXPECT_EQ(testing_support::ScratchDir::read(dir.file("x/mixed.bin")),
            testing_support::ScratchDir::read(mixed));
}

TEST_F(InteropFixture, EmptyFileAndIncompressibleData) {
  std::string empty = dir.write("empty.txt", "");
  std::string noise = dir.write("noise.bin", testing_support::noiseAndText(0, 1) + std::string());
  noise = dir.write("noise.bin", testing_support::randomBytes(2'000'000, 3));
  std::string archive = add({empty, noise});
  EXPECT_EQ(z.AddedCount(), 2);
  expectPeersAccept(archive);
  ASSERT_EQ(z.Entries().size(), 2u);
  EXPECT_EQ(z.Entries()[0].UncompressedSize, 0u);
  // Data that does not shrink is stored.
  EXPECT_EQ(z.Entries()[1].CompressionMethod, 0);
  EXPECT_EQ(z.Entries()[1].CompressedSize, 2'000'000u);
}

TEST_F(InteropFixture, PythonArchiveWithCommentAndNonAsciiNamesIsListed) {
  std::string archive = dir.file("py.zip");
  ASSERT_EQ(
      ziptest::run("python3 -c \"import zipfile; z=zipfile.ZipFile('" + archive +
                   "','w',zipfile.ZIP_DEFLATED); z.writestr('dir/', ''); "
                   "z.writestr('dir/m\\u00fcsli.txt', 'x'*1000); z.writestr('plain.txt', 'abc'); "
                   "z.comment=b'py comment'; z.close()\""),
      0);
  z.setArchiveFileName(archive);
  EXPECT_TRUE(log.messages.empty());
  EXPECT_EQ(z.ArchiveComment(), "py comment");
  ASSERT_EQ(z.Entries().size(), 2u);
  EXPECT_EQ(z.DirOnlyCount(), 1);
  EXPECT_EQ(z.Entries()[0].FileName, "dir/m\xc3\xbcsli.txt");
  EXPECT_EQ(z.Entries()[0].UncompressedSize, 1000u);
  EXPECT_EQ(z.Entries()[1].FileName, "plain.txt");
}

TEST_F(InteropFixture, SevenZipArchiveIsListedAndExtendedByTheLibrary) {
  dir.write("a.txt", testing_support::noiseAndText(50'000, 4));
  dir.write("b.txt", "bbb");
  std::string archive = dir.file("7z.zip");
  ASSERT_EQ(ziptest::run("cd '" + dir.path() + "' && 7z a -tzip -mx=9 7z.zip a.txt b.txt"), 0);
  z.setArchiveFileName(archive);
  EXPECT_TRUE(log.messages.empty());
  ASSERT_EQ(z.Entries().size(), 2u);
  EXPECT_EQ(z.Entries()[0].FileName, "a.txt");
  EXPECT_EQ(z.Entries()[0].UncompressedSize, 50'000u);
  // Adding to it keeps 7-Zip's entries, extra fields included.
  z.SpecList() = {dir.write("c.txt", "ccc")};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 1);
  EXPECT_EQ(z.Entries().size(), 3u);
  expectPeersAccept(archive);
}

TEST_F(InteropFixture, ArchiveBehindAStubStaysReadable) {
  std::string archive = add({dir.write("a.txt", "aaaa")});
  std::string bytes = testing_support::ScratchDir::read(archive);
  dir.write("stub.zip", std::string(1000, 'S') + bytes);
  z.setArchiveFileName(dir.file("stub.zip"));
  EXPECT_EQ(z.StubSize(), 1000);
  // The library adds to it, keeping the old entry readable for the peers.
  z.SpecList() = {dir.write("b.txt", "bbbb")};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 1);
  EXPECT_EQ(z.Entries().size(), 2u);
  EXPECT_TRUE(ziptest::pythonTestzip(dir.file("stub.zip")));
}

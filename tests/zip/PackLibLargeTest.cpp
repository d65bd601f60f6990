// Gigabyte archives from the archiver library: 1 GiB of random data and a sparse file over
// 4 GiB that needs ZIP64, both verified by Python's zipfile and 7-Zip.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "ZipTestSupport.h"
#include "platform/File.h"
#include "support/ScratchDir.h"

using namespace zip;

namespace {

bool underSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
  return false;
}

struct LargeFixture : ::testing::Test {
  testing_support::ScratchDir dir;
  TArchiver z;
  void SetUp() override {
    if (underSanitizer()) GTEST_SKIP() << "gigabyte archives are too slow under the sanitizers";
    z.setUnattended(true);
    z.setDLLDirectory(ziptest::packLibDir());
  }
};

}  // namespace

TEST_F(LargeFixture, OneGibibyteOfRandomData) {
  std::string input = dir.file("random.bin");
  {
    platform::File f = platform::File::create(input);
    // Its own generator: eight bytes a draw, as a gibibyte byte by byte would cost seconds.
    std::mt19937_64 rng(11);
    std::vector<uint64_t> block(1 << 17);
    for (int i = 0; i < 1024; ++i) {
      for (auto& v : block) v = rng();
      f.write(block.data(), block.size() * 8);
    }
  }
  std::string archive = dir.file("random.zip");
  // The size is what this test is about; level 1 keeps it quick (level 9 is tested elsewhere).
  z.setAddCompLevel(1);
  z.setArchiveFileName(archive);
  z.SpecList() = {input};
  z.Add();
  ASSERT_EQ(z.AddedCount(), 1);
  ASSERT_EQ(z.Entries().size(), 1u);
  EXPECT_EQ(z.Entries()[0].uncompressedSize64, 1ull << 30);
  platform::deleteFile(input);
  EXPECT_TRUE(ziptest::pythonTestzip(archive));
  EXPECT_TRUE(ziptest::sevenZipTest(archive));
}

TEST_F(LargeFixture, SparseFileOver4GibibytesUsesZip64) {
  std::string input = dir.file("sparse.bin");
  const int64_t size = (4ll << 30) + 12345;
  {
    int fd = ::open(input.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "head", 4, 0), 4);
    ASSERT_EQ(::pwrite(fd, "tail", 4, size - 4), 4);
    ::close(fd);
  }
  std::string archive = dir.file("sparse.zip");
  z.setArchiveFileName(archive);
  z.SpecList() = {input, dir.write("after.txt", "an entry behind the big one")};
  z.Add();
  ASSERT_EQ(z.AddedCount(), 2);
  ASSERT_EQ(z.Entries().size(), 2u);
  EXPECT_EQ(z.Entries()[0].UncompressedSize, 0xFFFFFFFFu);
  EXPECT_EQ(z.Entries()[0].uncompressedSize64, uint64_t(size));
  EXPECT_EQ(z.Entries()[1].FileName, "after.txt");
  EXPECT_TRUE(ziptest::pythonTestzip(archive));
  EXPECT_TRUE(ziptest::sevenZipTest(archive));
}

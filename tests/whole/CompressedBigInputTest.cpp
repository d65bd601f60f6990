// A 3 GiB sparse input compressed, split, carried and merged back by the real programs: the
// archive needs 64-bit sizes, and the merged file must equal the input byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "whole/CompressionPeers.h"

using namespace testing_support;

TEST(CompressedBigInput, ThreeGibibyteSparseInputMergesBackIdentical) {
  const std::string fennock = fennockProgram();
  ScratchDir dir;
  for (const char* sub : {"in", "away", "out"}) std::filesystem::create_directory(dir.file(sub));
  const std::int64_t size = 3LL << 30;
  const std::string input = dir.file("in/disk.img");
  {
    int fd = ::open(input.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    // Marks around the 2 GiB boundary of 32-bit arithmetic and at the very end.
    for (std::int64_t at : {std::int64_t(0), std::int64_t(2LL << 30) - 3, size - 5}) {
      const std::string mark = "mark" + std::to_string(at);
      const std::size_t n = std::min<std::size_t>(mark.size(), std::size_t(size - at));
      ASSERT_EQ(::pwrite(fd, mark.data(), n, at), ssize_t(n));
    }
    ::close(fd);
  }

  const ProgramRun made =
      runProgram(fennock, {"split", input, "--size", "1", "--unit", "Mbytes"}, dir.file("in"));
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(made.out.find("Compressed at "), std::string::npos) << made.out;
  for (const auto& e : std::filesystem::directory_iterator(dir.file("in")))
    if (e.path().filename() != "disk.img")
      std::filesystem::rename(e.path(), dir.file("away/" + e.path().filename().string()));

  const ProgramRun merged =
      runProgram(dir.file("away/disk.exe"), {"--dest", dir.file("out")}, dir.file("away"));
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_NE(merged.out.find("Files merged"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(dir.file("out/disk.img")), std::uintmax_t(size));
  std::string differences;
  EXPECT_EQ(runShell("cmp " + shellQuote(input) + " " + shellQuote(dir.file("out/disk.img")),
                     &differences),
            0)
      << differences;
  EXPECT_EQ(leftoverWorkingFiles({dir.file("in"), dir.file("away"), dir.file("out")}),
            std::vector<std::string>{});
}

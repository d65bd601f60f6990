// A 3 GiB sparse input through the .EXE merger: sizes beyond 32 bits split and merge back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "merger/SplitWithPayloads.h"
#include "support/Programs.h"

using namespace testing_support::payload_split;
using testing_support::ProgramRun;
using testing_support::runProgram;

namespace {

constexpr std::int64_t kInputSize = std::int64_t(3) << 30;
// Marks across the input, the piece boundaries and the 2 GiB and 4 GiB lines among them.
const std::vector<std::int64_t> kMarks = {0, (std::int64_t(1) << 30) - 7, std::int64_t(2) << 30,
                                          (std::int64_t(2) << 30) + 4093, kInputSize - 16};

std::string mark(std::int64_t at) { return "mark@" + std::to_string(at) + "."; }

void writeAt(const std::string& path, std::int64_t at, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), ssize_t(bytes.size()));
  ::close(fd);
}

// Compares two files by blocks; the first differing offset, or -1.
std::int64_t firstDifference(const std::string& a, const std::string& b) {
  const int fa = ::open(a.c_str(), O_RDONLY), fb = ::open(b.c_str(), O_RDONLY);
  std::vector<char> ba(1 << 20), bb(1 << 20);
  std::int64_t at = 0;
  for (;;) {
    const ssize_t na = ::read(fa, ba.data(), ba.size()), nb = ::read(fb, bb.data(), bb.size());
    if (na != nb) return at;
    if (na <= 0) break;
    for (ssize_t i = 0; i < na; ++i)
      if (ba[std::size_t(i)] != bb[std::size_t(i)]) return at + i;
    at += na;
  }
  ::close(fa);
  ::close(fb);
  return -1;
}

}  // namespace

TEST(MergerBigInput, ThreeGibibytesMergeBackInAnotherFolder) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made, away, out, keep;
  const std::string input = made.write("big.img", "");
  std::filesystem::resize_file(input, std::uintmax_t(kInputSize));
  for (std::int64_t at : kMarks) writeAt(input, std::min(at, kInputSize - 32), mark(at));
  // The split deletes nothing; a hard link keeps the original for the comparison.
  const std::string original = keep.file("original");
  std::filesystem::create_hard_link(input, original);

  PayloadHost host;
  FakeProgressView view;
  host.input = input;
  host.dest = made.path();
  host.size = "1024";
  host.unit = 2;
  job::runSplitJob(host, view);
  ASSERT_EQ(view.stats.pieceCount, 4);
  std::vector<std::string> files = {made.file("big.exe")};
  for (int i = 2; i <= 4; ++i) files.push_back(made.file("big" + std::to_string(i) + ".frg"));
  // Carried by hard links: the same bytes in another folder without copying gigabytes.
  for (const auto& f : files)
    std::filesystem::create_hard_link(f, away.file(platform::fileNameOf(f)));

  ProgramRun run = runProgram(away.file("big.exe"), {"--dest", out.path()}, away.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Files merged"), std::string::npos);
  const std::string merged = out.file("big.img");
  EXPECT_EQ(platform::fileSize(merged), kInputSize);
  EXPECT_EQ(firstDifference(merged, original), -1);
}

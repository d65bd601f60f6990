// A 3 GiB sparse input: sizes beyond 32 bits split into pieces that join back identical.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <cstring>
#include <vector>

#include "job/FakeJobHost.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"

using testing_support::FakeJobHost;
using testing_support::FakeProgressView;
using testing_support::ScratchDir;

namespace {

// A streaming hash of a run of files, read in 1 MiB blocks.
class StreamHash {
 public:
  void add(const std::string& path) {
    platform::File f = platform::File::openRead(path);
    std::vector<std::uint64_t> block(1 << 17);
    while (std::size_t n = f.read(block.data(), block.size() * 8)) {
      std::size_t words = n / 8;
      for (std::size_t i = 0; i < words; ++i) step(block[i]);
      for (std::size_t i = words * 8; i < n; ++i)
        m_tail.push_back(reinterpret_cast<char*>(block.data())[i]);
      // Files of the run need not end on a word boundary: carry the tail into the next file.
      while (m_tail.size() >= 8) {
        std::uint64_t w;
        std::memcpy(&w, m_tail.data(), 8);
        step(w);
        m_tail.erase(0, 8);
      }
      m_length += n;
    }
  }
  std::pair<std::uint64_t, std::uint64_t> value() const {
    std::uint64_t h = m_hash;
    for (char c : m_tail) h = (h ^ std::uint8_t(c)) * 0x100000001b3ULL;
    return {h, m_length};
  }

 private:
  void step(std::uint64_t w) { m_hash = (m_hash ^ w) * 0x9E3779B97F4A7C15ULL + (m_hash >> 29); }
  std::uint64_t m_hash = 1469598103934665603ULL;
  std::uint64_t m_length = 0;
  std::string m_tail;
};

}  // namespace

TEST(WholeJob, ThreeGibibyteSparseInputSplitsAndJoinsBack) {
  std::setlocale(LC_ALL, "C");
  ScratchDir dir;
  const std::int64_t size = 3LL << 30;
  const std::string input = dir.file("big.img");
  {
    int fd = ::open(input.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    // Marks around the 2 GiB and 4 GiB boundaries of 32-bit arithmetic, and at the end.
    for (std::int64_t at :
         {std::int64_t(0), std::int64_t(2LL << 30) - 3, std::int64_t(2LL << 30), size - 5}) {
      std::string mark = "mark" + std::to_string(at);
      ASSERT_EQ(::pwrite(fd, mark.data(), std::min<std::size_t>(mark.size(), size - at), at),
                ssize_t(std::min<std::size_t>(mark.size(), size - at)));
    }
    ::close(fd);
  }
  FakeJobHost host;
  FakeProgressView view;
  host.input = input;
  host.dest = dir.path();
  host.size = "700";  // 700 MiB: four full pieces and a 272 MiB tail
  host.unit = 2;
  job::runSplitJob(host, view);
  EXPECT_EQ(view.stats.pieceCount, 5);
  EXPECT_EQ(view.stats.inputSize, size);
  StreamHash original, pieces;
  original.add(input);
  for (int i = 1; i <= 5; ++i) {
    const std::string piece = dir.file("big" + std::to_string(i) + ".frg");
    EXPECT_EQ(platform::fileSize(piece), i < 5 ? 700LL << 20 : 272LL << 20);
    pieces.add(piece);
    if (i < 5) platform::deleteFile(piece);  // keep the disk use near one piece at a time
  }
  EXPECT_EQ(original.value(), pieces.value());
}

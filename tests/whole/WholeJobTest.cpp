// Whole jobs: split files of many sizes and modes, join the pieces as the merger would, and
// compare with the input; a 3 GiB sparse input checks the sizes beyond 32 bits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>

#include "job/FakeJobHost.h"
#include "job/Names.h"
#include "job/ScriptRecord.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using testing_support::FakeJobHost;
using testing_support::FakeProgressView;
using testing_support::randomBytes;
using testing_support::ScratchDir;

namespace {

// Runs a .BAT merger line ("copy /b a + b + c target ") in its folder. A short 8.3 reference
// ("holida~1.frg") stands for the one long name with that prefix, index and extension, as the
// system would resolve it.
std::string runBatScript(const std::string& folder, const std::string& batPath) {
  std::string line = ScratchDir::read(batPath);
  EXPECT_EQ(line.rfind("copy /b ", 0), 0u) << line;
  EXPECT_EQ(line.find('\n'), std::string::npos);
  std::vector<std::string> words;
  std::string rest = line.substr(8);
  for (std::size_t at; (at = rest.find(' ')) != std::string::npos; rest.erase(0, at + 1))
    if (at > 0) words.push_back(rest.substr(0, at));
  std::map<std::string, std::string> shortNames;  // "holida~1.frg" -> "holidayvideo1.frg"
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    std::string n = e.path().filename().string();
    if (n.size() < 5 || n.compare(n.size() - 4, 4, ".frg") != 0) continue;
    std::size_t digits = n.find_last_not_of("0123456789", n.size() - 5) + 1;
    std::string index = n.substr(digits, n.size() - 4 - digits);
    std::size_t keep = index.size() < 7 ? 7 - index.size() : 0;
    shortNames[n.substr(0, std::min(keep, digits)) + "~" + index + ".frg"] = n;
  }
  const std::string target = platform::joinPath(folder, words.back());
  std::ofstream out(target, std::ios::binary);
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    if (words[i] == "+") continue;
    auto found = shortNames.find(words[i]);
    std::string name = found == shortNames.end() ? words[i] : found->second;
    out << ScratchDir::read(platform::joinPath(folder, name));
  }
  out.close();
  return target;
}

struct Mode {
  bool count;
  const char* value;
  int unit;
};

}  // namespace

TEST(WholeJob, BatMergerJoinsBackEverySizeAndMode) {
  std::setlocale(LC_ALL, "C");
  const std::size_t sizes[] = {1, 1023, 1024, 1025, 65553, 3000000};
  const Mode modes[] = {{false, "1", 2}, {false, "1000", 0}, {false, "2.5", 1},
                        {true, "3", 0},  {true, "7", 0},     {true, "12", 0}};
  std::uint32_t seed = 1;
  for (std::size_t size : sizes) {
    for (const Mode& mode : modes) {
      // Thousands of tiny pieces add file-system time, not coverage.
      if (!mode.count && mode.unit != 2 && size > 65553) continue;
      SCOPED_TRACE("size " + std::to_string(size) + " value " + mode.value + " seed " +
                   std::to_string(seed));
      ScratchDir dir;
      std::string data = randomBytes(size, seed++);
      FakeJobHost host;
      FakeProgressView view;
      host.input = dir.write("holiday video.mpg", data);
      host.dest = dir.path();
      host.count = mode.count;
      (mode.count ? host.countValue : host.size) = mode.value;
      host.unit = mode.unit;
      job::runSplitJob(host, view);
      std::filesystem::rename(host.input, dir.file("original"));
      std::string joined = runBatScript(dir.path(), dir.file("holiday video.bat"));
      EXPECT_EQ(platform::fileNameOf(joined), "holidayv.mpg");
      EXPECT_TRUE(ScratchDir::read(joined) == data);
    }
  }
}

TEST(WholeJob, ExeMergerTailAndPiecesJoinBack) {
  std::setlocale(LC_ALL, "C");
  testing_support::FakeExeMerger exe;
  exe.imageBytes = randomBytes(303616, 99);
  for (std::size_t size : {std::size_t(0), std::size_t(10), std::size_t(3000000)}) {
    ScratchDir dir;
    std::string data = randomBytes(size, std::uint32_t(size));
    FakeJobHost host;
    FakeProgressView view;
    host.exeOn = true;
    host.exeSupport = &exe;
    host.input = dir.write("a b.iso", data);
    host.dest = dir.path();
    host.size = "0.5";
    job::runSplitJob(host, view);
    std::string merger = ScratchDir::read(dir.file("a b.exe"));
    job::ScriptRecord::Bytes raw;
    std::copy_n(merger.begin() + 303616, raw.size(), raw.begin());
    job::ScriptRecord record = job::ScriptRecord::fromBytes(raw);
    std::string joined = merger.substr(304140);
    for (int i = 2; i <= record.pieceCount; ++i)
      joined += ScratchDir::read(dir.file("a b" + std::to_string(i) + ".frg"));
    EXPECT_TRUE(joined == data) << size;
    EXPECT_EQ(record.pieceCount, view.stats.pieceCount);
  }
}

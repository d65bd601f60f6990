// Compressed jobs from end to end with the real programs: `fennock split` in the terminal, the
// merger file and pieces carried to another folder, the merger run there in terminal mode.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Paths.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"
#include "whole/CompressionPeers.h"

using namespace testing_support;

namespace {

std::string sample(std::size_t n, std::uint32_t seed, bool text) {
  return text ? textLike(n, seed) : randomBytes(n, seed);
}

// Folders of one run: where the input is split, where its pieces travel to, where they are
// merged into, the programs' working folder and their temporary folder.
class CompressedEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    for (const char* sub : {"in", "away", "out", "cwd", "tmp"})
      std::filesystem::create_directory(m_dir.file(sub));
    const char* tmp = std::getenv("TMPDIR");
    if (tmp) m_oldTmp = tmp;
    ::setenv("TMPDIR", m_dir.file("tmp").c_str(), 1);
  }
  void TearDown() override {
    if (m_oldTmp.empty())
      ::unsetenv("TMPDIR");
    else
      ::setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }

  std::string folder(const char* name) const { return m_dir.file(name); }

  ProgramRun split(const std::string& name, const std::vector<std::string>& options) {
    std::vector<std::string> args{"split", folder("in") + "/" + name};
    args.insert(args.end(), options.begin(), options.end());
    return runProgram(fennockProgram(), args, folder("cwd"));
  }

  // Moves the merger file and the pieces of `baseName` to "away"; the merger's path there.
  std::string carry(const std::string& baseName) {
    std::string merger;
    for (const auto& e : std::filesystem::directory_iterator(folder("in"))) {
      const std::string n = e.path().filename().string();
      const bool piece = n.starts_with(baseName) && n.ends_with(".frg");
      if (n == baseName + ".exe" || piece) {
        const std::string to = folder("away") + "/" + n;
        std::filesystem::rename(e.path(), to);
        if (!piece) merger = to;
      }
    }
    EXPECT_FALSE(merger.empty());
    return merger;
  }

  ProgramRun merge(const std::string& merger, std::vector<std::string> options = {}) {
    options.insert(options.begin(), {"--dest", folder("out")});
    return runProgram(merger, options, folder("cwd"));
  }

  std::vector<std::string> outFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder("out")))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void expectNoWorkingFilesLeft() {
    EXPECT_EQ(leftoverWorkingFiles({folder("in"), folder("away"), folder("out"), folder("cwd")}),
              std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_empty(folder("cwd")));
    EXPECT_TRUE(std::filesystem::is_empty(folder("tmp")));
  }

  void clear(const char* sub) {
    for (const auto& e : std::filesystem::directory_iterator(folder(sub)))
      std::filesystem::remove(e.path());
  }

  ScratchDir m_dir;
  std::string m_oldTmp;
};

void expectSuccess(const ProgramRun& run) {
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
}

}  // namespace

TEST_F(CompressedEndToEnd, MergedInAnotherFolderGivesTheInputBackAndLeavesNothingBehind) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"letters.txt", sample(3000000, 1, true), {"--size", "300", "--unit", "Kbytes"}},
      {"noise.bin", sample(700000, 2, false), {"--size", "200000", "--unit", "bytes"}},
      {"My Report.doc", sample(50000, 3, true), {}},  // one piece: the window's 1.38 MB
      {"empty.log", "", {}},
      {"counted.dat", sample(400000, 4, true), {"--count", "5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_dir.write(std::string("in/") + c.name, c.bytes);
    const ProgramRun made = split(c.name, c.options);
    expectSuccess(made);
    EXPECT_NE(made.out.find("Compressing data"), std::string::npos) << made.out;
    const std::string baseName = std::string(c.name).substr(0, std::string(c.name).find('.'));
    const ProgramRun merged = merge(carry(baseName));
    expectSuccess(merged);
    EXPECT_NE(merged.out.find("Files merged"), std::string::npos) << merged.out;
    EXPECT_EQ(outFiles(), std::vector<std::string>{c.name});
    EXPECT_TRUE(ScratchDir::read(folder("out") + "/" + c.name) == c.bytes);
    expectNoWorkingFilesLeft();
    clear("in");
    clear("away");
    clear("out");
  }
}

TEST_F(CompressedEndToEnd, WithoutUnzipTheArchiveStaysAndPeersAcceptIt) {
  const std::string input = m_dir.write("in/table.csv", sample(900000, 5, true));
  expectSuccess(split("table.csv", {"--size", "256", "--unit", "Kbytes"}));
  const ProgramRun merged = merge(carry("table"), {"--no-unzip"});
  expectSuccess(merged);
  EXPECT_NE(merged.out.find("Files merged"), std::string::npos);
  EXPECT_EQ(outFiles(), std::vector<std::string>{"table.zip"});
  expectZipfileAgrees(folder("out") + "/table.zip", "table.csv", input);
  expectSevenZipTests(folder("out") + "/table.zip");
  expectNoWorkingFilesLeft();
}

TEST_F(CompressedEndToEnd, DamagedOrTruncatedPieceIsReportedAndNeverMergedAsSuccess) {
  const std::string bytes = sample(2000000, 6, false);
  m_dir.write("in/payload.bin", bytes);
  expectSuccess(split("payload.bin", {"--size", "400", "--unit", "Kbytes"}));
  const std::string merger = carry("payload");
  const std::string piece = folder("away") + "/payload3.frg";
  const std::string original = ScratchDir::read(piece);
  {
    SCOPED_TRACE("one byte changed inside the compressed data");
    std::string damaged = original;
    damaged[damaged.size() / 2] ^= 0x5A;
    m_dir.write("away/payload3.frg", damaged);
    const ProgramRun run = merge(merger);
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out.find("Files merged"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("\"payload.bin\""), std::string::npos) << run.err;
    // No half-extracted file and no joined archive: the pieces are still there to merge.
    EXPECT_EQ(outFiles(), std::vector<std::string>{});
    expectNoWorkingFilesLeft();
    clear("out");
  }
  {
    SCOPED_TRACE("a piece cut short in transfer");
    m_dir.write("away/payload3.frg", original.substr(0, original.size() - 100));
    const ProgramRun run = merge(merger);
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out.find("Files merged"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("payload3.frg"), std::string::npos) << run.err;
    EXPECT_EQ(outFiles(), std::vector<std::string>{});
    expectNoWorkingFilesLeft();
    clear("out");
  }
  {
    SCOPED_TRACE("the piece restored");
    m_dir.write("away/payload3.frg", original);
    expectSuccess(merge(merger));
    EXPECT_TRUE(ScratchDir::read(folder("out") + "/payload.bin") == bytes);
  }
}

// The terminal keeps the window's rule: data named as already compressed is split as it is.
TEST_F(CompressedEndToEnd, CompressionDefaultFollowsTheInputsExtension) {
  struct Case {
    const char* name;
    bool compressed;
  };
  const Case cases[] = {{"photo.jpg", false}, {"song.mp3", false}, {"bundle.zip", false},
                        {"photo.JPG", true},  {"notes", true},     {"backup.jpg.bak", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_dir.write(std::string("in/") + c.name, sample(5000, 7, true));
    const ProgramRun run = split(c.name, {"--merger", "exe"});
    expectSuccess(run);
    EXPECT_EQ(run.out.find("Compressed at ") != std::string::npos, c.compressed) << run.out;
    EXPECT_EQ(run.out.find("No compression performed") != std::string::npos, !c.compressed);
    clear("in");
  }
  m_dir.write("in/plain.txt", "text");
  const ProgramRun forced = split("plain.txt", {"--no-compress"});
  EXPECT_NE(forced.out.find("No compression performed"), std::string::npos) << forced.out;
  expectNoWorkingFilesLeft();
}

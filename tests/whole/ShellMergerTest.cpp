// The shell merger of real `fennock split` sets, run under dash, bash and busybox sh from another
// folder: joins byte-identical, or names the wrong piece and writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct Shell {
  const char* label;
  std::string program;
  std::vector<std::string> before;  // arguments before the script's path
};

const Shell kShells[] = {
    {"dash", "/usr/bin/dash", {}},
    {"bash", "/usr/bin/bash", {}},
    {"busybox", "/usr/bin/busybox", {"sh"}},
};

// Lines of lower-case letters.
std::string noise(std::size_t n, std::uint32_t seed) {
  return drawnFrom("abcdefghijklmnopqrstuvwxyz\n\n\n\n", n, seed);
}

// A name that an unquoted word, a double-quoted one or echo would all mangle.
const std::string kOddBase = "Ünï cödé's \"$HOME\" back\\slash `x`";
const std::string kOddName = kOddBase + ".tar.gz";

struct SetKind {
  const char* label;
  std::vector<std::string> options;
};

// Split in "in"; the set's files are then carried to "away" (the output's name is the input's).
class ShellMergerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    for (const char* sub : {"in", "away", "cwd", "tmp"}) fs::create_directory(m_dir.file(sub));
    ::setenv("TMPDIR", m_dir.file("tmp").c_str(), 1);
  }

  std::string in(const std::string& name) const { return m_dir.file("in/" + name); }
  std::string away(const std::string& name) const { return m_dir.file("away/" + name); }

  void splitAndCarry(const std::string& bytes, const std::vector<std::string>& options) {
    m_dir.write("in/" + kOddName, bytes);
    std::vector<std::string> args{"split", in(kOddName), "--sh-merger"};
    args.insert(args.end(), options.begin(), options.end());
    const ProgramRun made = runProgram(fennockProgram(), args, m_dir.file("cwd"));
    ASSERT_EQ(made.status, 0) << made.err;
    for (const auto& e : fs::directory_iterator(m_dir.file("in")))
      if (e.path().filename() != kOddName) fs::rename(e.path(), away(e.path().filename()));
  }

  // The set's files in "away" (the script's first set of arguments lists them in order).
  std::vector<std::string> pieces() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m_dir.file("away"))) {
      const std::string n = e.path().filename();
      if (n.ends_with(".frg") || n.ends_with(".exe")) names.push_back(n);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      if (a.ends_with(".exe") != b.ends_with(".exe")) return a.ends_with(".exe");
      return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
  }

  // BaseName.sha256 as the system's sha256sum writes it: the pieces, then the joined file (whose
  // name is the input's). The odd names give every line sha256sum's escaped form.
  void writeSums() {
    const ProgramRun sums = runProgram("/usr/bin/sha256sum", pieces(), m_dir.file("away"));
    const ProgramRun whole = runProgram("/usr/bin/sha256sum", {kOddName}, m_dir.file("in"));
    ASSERT_EQ(sums.status + whole.status, 0);
    m_dir.write("away/" + kOddBase + ".sha256", sums.out + whole.out);
  }

  ProgramRun runScript(const Shell& shell) {
    std::vector<std::string> args = shell.before;
    args.push_back(away(kOddBase + ".sh"));
    return runProgram(shell.program, args, m_dir.file("cwd"));
  }

  // What a failed run must leave: no temporary file in the set's folder or in the current one.
  void expectNoLeftovers() {
    for (const char* sub : {"away", "cwd"})
      for (const auto& e : fs::directory_iterator(m_dir.file(sub)))
        EXPECT_FALSE(e.path().filename().string().starts_with(".fennock")) << e.path();
    EXPECT_TRUE(fs::is_empty(m_dir.file("cwd")));
  }

  ScratchDir m_dir;
};

const SetKind kSets[] = {
    {"bat layout", {"--merger", "bat", "--no-compress", "--size", "70000", "--unit", "bytes"}},
    {"exe layout", {"--merger", "exe", "--no-compress", "--size", "500", "--unit", "Kbytes"}},
    {"compressed", {"--compress", "--count", "3"}},
};

}  // namespace

TEST_F(ShellMergerTest, JoinsEverySetByteIdenticalUnderEveryShellWithAndWithoutChecksums) {
  const std::string bytes = noise(1500000, 7);
  for (const SetKind& set : kSets) {
    splitAndCarry(bytes, set.options);
    EXPECT_EQ(fs::status(away(kOddBase + ".sh")).permissions() & fs::perms::all, fs::perms(0755));
    for (bool sums : {false, true}) {
      if (sums) writeSums();
      for (const Shell& shell : kShells) {
        SCOPED_TRACE(std::string(set.label) + ", " + shell.label + (sums ? ", checksums" : ""));
        const ProgramRun run = runScript(shell);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Files merged\n");
        EXPECT_TRUE(ScratchDir::read(away(kOddName)) == bytes);
        expectNoLeftovers();
        fs::remove(away(kOddName));
      }
    }
    for (const auto& e : fs::directory_iterator(m_dir.file("away"))) fs::remove(e.path());
  }
}

TEST_F(ShellMergerTest, NamesTheWrongPieceWritesNothingAndSparesTheUsersFile) {
  struct Damage {
    const char* label;
    bool sums;
    std::function<void(const std::string& piece2)> apply;
    const char* says;  // after the piece's name
  };
  const Damage damages[] = {
      {"missing", false, [](const std::string& p) { fs::remove(p); }, " is missing"},
      {"short", false, [](const std::string& p) { fs::resize_file(p, fs::file_size(p) - 1); },
       " is short"},
      {"long", false, [](const std::string& p) { fs::resize_file(p, fs::file_size(p) + 1); },
       " is too long"},
      {"flipped byte", true,
       [](const std::string& p) {
         std::string b = ScratchDir::read(p);
         b[b.size() / 2] ^= 1;
         std::ofstream(p, std::ios::binary).write(b.data(), std::streamsize(b.size()));
       },
       " is damaged (its checksum differs)"},
  };
  const std::string bytes = noise(300000, 9);
  const std::string usersFile = "the user's own file\n";
  for (const SetKind& set : kSets) {
    for (const Damage& damage : damages) {
      for (const Shell& shell : kShells) {
        SCOPED_TRACE(std::string(set.label) + ", " + damage.label + ", " + shell.label);
        splitAndCarry(bytes, set.options);
        if (damage.sums) writeSums();
        const std::string second = pieces().at(1);
        damage.apply(away(second));
        m_dir.write("away/" + kOddName, usersFile);
        const ProgramRun run = runScript(shell);
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with(second + damage.says)) << run.err;
        EXPECT_TRUE(run.err.ends_with(": send it again. Nothing was merged.\n")) << run.err;
        EXPECT_EQ(ScratchDir::read(away(kOddName)), usersFile);
        expectNoLeftovers();
        for (const auto& e : fs::directory_iterator(m_dir.file("away"))) fs::remove(e.path());
      }
    }
  }
}

// A compressed set where only some extractors are found: the archive is extracted by what is
// there, or left whole under BaseName.zip with a word on what to do.
TEST_F(ShellMergerTest, ExtractsWithPythonAloneAndLeavesTheArchiveWithoutAnyExtractor) {
  const ProgramRun which =
      runProgram("/usr/bin/env", {"python3", "-c", "import sys; print(sys.executable, end='')"},
                 m_dir.file("cwd"));
  ASSERT_EQ(which.status, 0) << which.err;
  const std::string bytes = noise(200000, 11);
  splitAndCarry(bytes, kSets[2].options);
  fs::create_directory(m_dir.file("tools"));
  for (const char* tool : {"cat", "tail", "wc", "mv", "rm", "mkdir"})
    fs::create_symlink(std::string("/usr/bin/") + tool, m_dir.file("tools/") + tool);
  for (bool python : {false, true}) {
    SCOPED_TRACE(python ? "python3" : "no extractor");
    if (python) fs::create_symlink(which.out, m_dir.file("tools/python3"));
    const ProgramRun run = runProgram(
        "/usr/bin/env", {"PATH=" + m_dir.file("tools"), "/usr/bin/dash", away(kOddBase + ".sh")},
        m_dir.file("cwd"));
    EXPECT_EQ(run.status, 0) << run.err;
    if (python) {
      EXPECT_EQ(run.out, "Files merged\n");
      EXPECT_TRUE(ScratchDir::read(away(kOddName)) == bytes);
    } else {
      EXPECT_NE(run.out.find("the pieces were joined into " + kOddBase + ".zip"), std::string::npos)
          << run.out;
      EXPECT_FALSE(fs::exists(away(kOddName)));
      EXPECT_TRUE(fs::is_regular_file(away(kOddBase + ".zip")));
    }
    expectNoLeftovers();
  }
}

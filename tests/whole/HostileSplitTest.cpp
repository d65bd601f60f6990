// `fennock split` in a hostile world: inputs that are no files or that change, names that clash,
// planted links, odd characters, jobs killed halfway and every file operation failing in turn.
// Each set is checked the way the receiving user would: by running its merger.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "platform/Paths.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

using Listing = std::map<std::string, std::string>;  // file name -> bytes

Listing listing(const std::string& folder) {
  Listing files;
  for (const auto& e : fs::directory_iterator(folder))
    files[e.path().filename().string()] =
        e.is_symlink() ? "-> " + fs::read_symlink(e.path()).string() : ScratchDir::read(e.path());
  return files;
}

bool isTemporary(const std::string& name) { return name.starts_with(".fennock-"); }

// Folders of one test: the input's, the destination, where the merger joins, a working folder
// and the programs' temporary folder.
class HostileSplit : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    for (const char* sub : {"in", "dest", "out", "cwd", "tmp"})
      fs::create_directory(m_dir.file(sub));
    const char* tmp = std::getenv("TMPDIR");
    if (tmp) m_oldTmp = tmp;
    ::setenv("TMPDIR", m_dir.file("tmp").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("FENNOCK_TEST_FAIL_AT");
    ::unsetenv("FENNOCK_TEST_WRITE_DELAY_MS");
    if (m_oldTmp.empty())
      ::unsetenv("TMPDIR");
    else
      ::setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }

  std::string folder(const char* name) const { return m_dir.file(name); }
  std::string dest(const std::string& name) const { return folder("dest") + "/" + name; }
  std::string input(const std::string& name, const std::string& bytes) const {
    return m_dir.write("in/" + name, bytes);
  }

  std::vector<std::string> splitArgs(const std::string& path, std::vector<std::string> options) {
    std::vector<std::string> args{"split", "--dest", folder("dest")};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("--");
    args.push_back(path);
    return args;
  }

  ProgramRun split(const std::string& path, std::vector<std::string> options = {}) {
    return runProgram(fennockProgram(), splitArgs(path, std::move(options)), folder("cwd"));
  }

  // A job started without waiting for it, so that a test can stop it halfway.
  StartedProgram start(const std::string& path, std::vector<std::string> options = {}) {
    return startProgram(fennockProgram(), splitArgs(path, std::move(options)), folder("cwd"));
  }

  // Runs `merger` (the destination's "<base>.exe" unless given) into an empty "out".
  ProgramRun merge(const std::string& merger) {
    fs::remove_all(folder("out"));
    fs::create_directory(folder("out"));
    return runProgram(merger, {"--dest", folder("out")}, folder("cwd"));
  }

  // The set of `base` in "dest" joins back to exactly `bytes` under `name`, and nothing else.
  void expectSetJoinsTo(const std::string& base, const std::string& name,
                        const std::string& bytes) {
    ProgramRun run = merge(dest(base + ".exe"));
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    Listing out = listing(folder("out"));
    EXPECT_EQ(out.size(), 1u);
    EXPECT_TRUE(out[name] == bytes) << name << " differs from the input";
  }

  // Waits until `ready` holds or the job ends; false when the job ended first.
  bool waitFor(StartedProgram& job, const std::function<bool()>& ready) {
    for (int i = 0; i < 4000; ++i) {
      if (ready()) return true;
      if (job.waitFor(std::chrono::milliseconds(0))) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  int temporariesInDest() const {
    int n = 0;
    for (const auto& [name, bytes] : listing(folder("dest"))) n += isTemporary(name);
    return n;
  }

  ScratchDir m_dir;
  std::string m_oldTmp;
};

TEST_F(HostileSplit, OnlyRegularFilesOrLinksToThemAreSplit) {
  const std::string fifo = folder("in") + "/pipe.dat";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo, folder("in")}) {
    ProgramRun run = split(path, {"--no-compress"});
    EXPECT_NE(run.status, 0) << path;
    EXPECT_NE(run.err.find("is not a regular file"), std::string::npos) << run.err;
    EXPECT_TRUE(listing(folder("dest")).empty()) << path;
  }
  const std::string text = textLike(5000, 1);
  fs::create_symlink(input("real.txt", text), folder("in") + "/link.txt");
  ASSERT_EQ(split(folder("in") + "/link.txt", {"--size", "2", "--unit", "Kbytes"}).status, 0);
  expectSetJoinsTo("link", "link.txt", text);
}

TEST_F(HostileSplit, AnInputThatChangesMeanwhileFailsTheJobAndLeavesNothing) {
  for (bool grow : {false, true}) {
    SCOPED_TRACE(grow ? "grown" : "truncated");
    const std::string text = textLike(400000, 2);
    const std::string path = input("moving.txt", text);
    ::setenv("FENNOCK_TEST_WRITE_DELAY_MS", "20", 1);
    StartedProgram job = start(path, {"--no-compress", "--size", "20", "--unit", "Kbytes"});
    ::unsetenv("FENNOCK_TEST_WRITE_DELAY_MS");
    ASSERT_TRUE(waitFor(job, [&] { return temporariesInDest() >= 3; }));
    if (grow)
      std::ofstream(path, std::ios::app) << textLike(70000, 3);
    else
      fs::resize_file(path, 100000);
    const ProgramRun run = job.wait();
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("\"" + path + "\" changed while it was split"), std::string::npos);
    EXPECT_TRUE(listing(folder("dest")).empty());
  }
}

TEST_F(HostileSplit, KilledAnywhereTheSetDoesNotMergeAndEarlierFilesStay) {
  const std::string text = textLike(3000000, 4);
  const std::string path = input("video.txt", text);
  // The user's earlier set of this file and a file of their own.
  ASSERT_EQ(
      split(path, {"--no-compress", "--merger", "exe", "--size", "1", "--unit", "Mbytes"}).status,
      0);
  m_dir.write("dest/notes.txt", "mine");
  const Listing before = listing(folder("dest"));
  // Killed while the merger's head is written, halfway, and near the last of 31 pieces.
  const std::vector<std::string> options{"--no-compress", "--merger", "exe",   "--size",
                                         "100",           "--unit",   "Kbytes"};
  for (int pieces : {1, 12, 28}) {
    SCOPED_TRACE(pieces);
    // Slow enough that the job is still writing when the test, which reads the folder's files
    // between its looks, sees the pieces it waits for (sanitizer builds included).
    ::setenv("FENNOCK_TEST_WRITE_DELAY_MS", "40", 1);
    StartedProgram job = start(path, options);
    ::unsetenv("FENNOCK_TEST_WRITE_DELAY_MS");
    ASSERT_TRUE(waitFor(job, [&] { return temporariesInDest() >= pieces; }));
    job.stop(SIGKILL);
    // The merger written so far says the set is incomplete instead of joining part of it.
    for (const auto& [name, bytes] : listing(folder("dest"))) {
      if (!isTemporary(name) || bytes.rfind("\x7f"
                                            "ELF",
                                            0) != 0)
        continue;
      ProgramRun run = merge(dest(name));
      EXPECT_NE(run.status, 0) << run.out;
      EXPECT_EQ(run.out.find("Files merged"), std::string::npos);
      EXPECT_TRUE(listing(folder("out")).empty());
    }
    Listing after = listing(folder("dest"));
    std::erase_if(after, [](const auto& file) { return isTemporary(file.first); });
    EXPECT_TRUE(after == before) << "the user's files changed";
    EXPECT_TRUE(ScratchDir::read(path) == text);
    expectSetJoinsTo("video", "video.txt", text);
    if (pieces == 28) break;  // the last killed job's files are the rerun's to remove
    for (const auto& [name, bytes] : listing(folder("dest")))
      if (isTemporary(name)) fs::remove(dest(name));
  }
  ASSERT_EQ(split(path, options).status, 0);
  expectSetJoinsTo("video", "video.txt", text);
  for (const auto& [name, bytes] : listing(folder("dest"))) EXPECT_FALSE(isTemporary(name)) << name;
}

TEST_F(HostileSplit, ASetMadeForAnotherFileOfTheBaseNameIsReplacedOnlyWhenAsked) {
  const std::string doc = input("report.doc", textLike(9000, 5));
  const std::string pdf = input("report.pdf", textLike(7000, 6));
  for (const std::vector<std::string>& kind :
       {std::vector<std::string>{"--merger", "exe"}, {"--no-compress", "--merger", "bat"}}) {
    SCOPED_TRACE(kind.back());
    const std::string merger = dest(kind.back() == "exe" ? "report.exe" : "report.bat");
    auto options = [&](std::vector<std::string> more) {
      more.insert(more.end(), kind.begin(), kind.end());
      return more;
    };
    ASSERT_EQ(split(doc, options({"--size", "2", "--unit", "Kbytes"})).status, 0);
    const Listing docSet = listing(folder("dest"));
    ProgramRun refused = split(pdf, options({"--delete-input"}));
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("\"" + merger + "\""), std::string::npos) << refused.err;
    EXPECT_TRUE(listing(folder("dest")) == docSet);
    EXPECT_TRUE(platform::fileExists(pdf));
    // The same file again is no clash.
    EXPECT_EQ(split(doc, options({"--size", "3", "--unit", "Kbytes"})).status, 0);
    EXPECT_EQ(split(pdf, options({"--overwrite"})).status, 0);
    fs::remove_all(folder("dest"));
    fs::create_directory(folder("dest"));
  }
  // Two jobs at once on one set: one after the other, and the set is one file's, whole.
  ::setenv("FENNOCK_TEST_WRITE_DELAY_MS", "2", 1);
  StartedProgram a =
      start(doc, {"--overwrite", "--size", "1", "--unit", "Kbytes", "--merger", "exe"});
  StartedProgram b =
      start(pdf, {"--overwrite", "--size", "1", "--unit", "Kbytes", "--merger", "exe"});
  ::unsetenv("FENNOCK_TEST_WRITE_DELAY_MS");
  EXPECT_EQ(a.wait().status, 0);
  EXPECT_EQ(b.wait().status, 0);
  ProgramRun run = merge(dest("report.exe"));
  ASSERT_EQ(run.status, 0) << run.err;
  const Listing out = listing(folder("out"));
  ASSERT_EQ(out.size(), 1u);
  const auto& [name, bytes] = *out.begin();
  EXPECT_TRUE(bytes == ScratchDir::read(folder("in") + "/" + name)) << "a mixture of two inputs";
}

TEST_F(HostileSplit, PlantedLinksAreRefusedAndNeverWrittenThrough) {
  const std::string victim = m_dir.write("victim.txt", "precious");
  const std::string path = input("real.txt", textLike(5000, 7));
  for (std::string planted : {"real3.frg", "real.exe"}) {
    fs::create_symlink(victim, dest(planted));
    ProgramRun run = split(path, {"--size", "1", "--unit", "Kbytes", "--merger", "exe"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("\"" + dest(planted) + "\" is a symbolic link"), std::string::npos)
        << run.err;
    EXPECT_EQ(ScratchDir::read(victim), "precious");
    EXPECT_EQ(listing(folder("dest")).size(), 1u);
    fs::remove(dest(planted));
  }
}

TEST_F(HostileSplit, CompressedInputsKeepTheirOwnNamesAndFolders) {
  // Siblings that a pattern would also match, and names with a password's or recursion's marks.
  input("photo1.txt", "sibling");
  input("abc.txt", "sibling");
  fs::permissions(folder("in"), fs::perms::owner_write, fs::perm_options::remove);
  for (std::string name : {"photo[1].txt", "a*.txt", "x<y.txt", ">z.txt", "|p?.txt"}) {
    SCOPED_TRACE(name);
    fs::permissions(folder("in"), fs::perms::owner_write, fs::perm_options::add);
    const std::string text = textLike(20000, 8);
    const std::string path = input(name, text);
    // The input's folder is read-only: the archive is made elsewhere.
    fs::permissions(folder("in"), fs::perms::owner_write, fs::perm_options::remove);
    ProgramRun run = split(path, {"--compress", "--size", "4", "--unit", "Kbytes"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string base = name.substr(0, name.find('.'));
    expectSetJoinsTo(base, name, text);
    fs::remove_all(folder("dest"));
    fs::create_directory(folder("dest"));
  }
  fs::permissions(folder("in"), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(HostileSplit, ANameTooLongForTheFolderFailsBeforeAnythingIsWritten) {
  // 250 characters: "<name>.exe" and "<name>9.frg" fit in 255 bytes, "<name>12.frg" does not.
  const std::string base(250, 'n');
  const std::string path = input(base + ".txt", textLike(12000, 9));
  ProgramRun run = split(path, {"--no-compress", "--merger", "exe", "--count", "12"});
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("I/O error 36: \"" + dest(base + "12.frg") + "\""), std::string::npos)
      << run.err;
  EXPECT_TRUE(listing(folder("dest")).empty());
}

// Every file operation of a split fails in turn: nothing is reported done, no file of the user
// changes, nothing is left behind, and the same split succeeds afterwards.
TEST_F(HostileSplit, EveryFailingFileOperationLeavesTheUsersFilesAsTheyWere) {
#ifdef __SANITIZE_ADDRESS__
  // Its hundreds of runs each start the sanitized programs (a quarter of an hour); the normal
  // build runs the sweep, and the sanitizers see the same code in the other tests.
  GTEST_SKIP() << "the sweep runs in the normal build";
#endif
  const std::string text = textLike(3000, 10);
  const std::string path = input("tiny.txt", text);
  m_dir.write("dest/notes.txt", "mine");
  m_dir.write("dest/tiny.bak", "also mine");
  const Listing before = listing(folder("dest"));
  int runs = 0;
  for (bool compressed : {false, true}) {
    const std::vector<std::string> options{compressed ? "--compress" : "--no-compress", "--merger",
                                           "exe", "--count", "3"};
    // Stops once a dozen failures in a row were out of the job's reach (or harmless).
    int successes = 0;
    for (int n = 1; n <= 3000 && successes < 12; ++n) {
      SCOPED_TRACE((compressed ? "compressed, N = " : "plain, N = ") + std::to_string(n));
      ::setenv("FENNOCK_TEST_FAIL_AT", std::to_string(n).c_str(), 1);
      ProgramRun run = split(path, options);
      ::unsetenv("FENNOCK_TEST_FAIL_AT");
      ++runs;
      EXPECT_EQ(run.err.find(".fennock-"), std::string::npos) << "a temporary name shown";
      EXPECT_TRUE(ScratchDir::read(path) == text);
      if (run.status == 0) {
        // Only a failed clean-up can have been harmless: the set is whole all the same.
        ++successes;
        expectSetJoinsTo("tiny", "tiny.txt", text);
        for (const auto& [name, bytes] : listing(folder("dest"))) EXPECT_FALSE(isTemporary(name));
        fs::remove_all(folder("tmp"));
        fs::create_directory(folder("tmp"));
      } else {
        for (const auto& [name, bytes] : listing(folder("tmp"))) ADD_FAILURE() << "left: " << name;
        successes = 0;
        EXPECT_EQ(run.out.find("files were created"), std::string::npos);
        ASSERT_TRUE(listing(folder("dest")) == before) << run.err;
        ASSERT_EQ(split(path, options).status, 0);
        expectSetJoinsTo("tiny", "tiny.txt", text);
      }
      fs::remove_all(folder("dest"));
      fs::create_directory(folder("dest"));
      m_dir.write("dest/notes.txt", "mine");
      m_dir.write("dest/tiny.bak", "also mine");
    }
    EXPECT_EQ(successes, 12) << "the sweep never reached the end of the job";
  }
  std::printf("fault sweep: %d runs\n", runs);
}

}  // namespace

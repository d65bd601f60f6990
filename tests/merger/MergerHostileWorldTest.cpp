// The merger in a hostile world: names that clash, planted links, damaged and unfinished sets,
// full disks, kills halfway and a failure at every file operation. Whatever happens, every piece
// and every file of the user's stays as it was, and only a whole merge says "Files merged".
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "PayloadSizes.h"
#include "job/ScriptRecord.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"
#include "unpacklib/ZipBuilder.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, std::string>;  // file name -> bytes

std::string sample(std::size_t n, std::uint32_t seed, const std::string& alphabet = {}) {
  return alphabet.empty() ? randomBytes(n, seed) : drawnFrom(alphabet, n, seed);
}

Snapshot snapshot(const std::string& folder) {
  Snapshot files;
  for (const auto& e : fs::directory_iterator(folder))
    files[e.path().filename().string()] =
        e.is_symlink() ? "-> " + fs::read_symlink(e.path()).string() : ScratchDir::read(e.path());
  return files;
}

bool merged(const ProgramRun& run) {
  return run.status == 0 && run.out.find("Files merged") != std::string::npos;
}

// One set split by the real `fennock` into "made", kept pristine; every merge runs on a fresh
// copy in "away" and writes into "out", which may hold files of the user's.
class HostileMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    for (const char* sub : {"in", "made", "away", "out", "cwd", "tmp", "victims"})
      fs::create_directory(m_dir.file(sub));
    if (const char* tmp = std::getenv("TMPDIR")) m_oldTmp = tmp;
    ::setenv("TMPDIR", folder("tmp").c_str(), 1);
  }
  void TearDown() override {
    if (m_oldTmp.empty())
      ::unsetenv("TMPDIR");
    else
      ::setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }

  std::string folder(const std::string& sub) const { return m_dir.file(sub); }
  std::string out(const std::string& name) const { return folder("out") + "/" + name; }

  // Splits `bytes` as `name` into "made" with the .EXE merger, in three pieces unless `count`
  // says otherwise. The merger's head outgrows such pieces: its own file holds no data, piece
  // 2 the most, piece 3 the rest.
  void makeSet(const std::string& name, const std::string& bytes, bool compress,
               const char* count = "3") {
    fs::remove_all(folder("made"));
    fs::create_directory(folder("made"));
    m_dir.write("in/" + name, bytes);
    const ProgramRun made =
        runProgram(fennockProgram(),
                   {"split", folder("in") + "/" + name, "--dest", folder("made"), "--count", count,
                    "--merger", "exe", compress ? "--compress" : "--no-compress"},
                   folder("cwd"));
    ASSERT_EQ(made.status, 0) << made.err;
    m_base = name.substr(0, name.find('.'));
    m_set = snapshot(folder("made"));
  }

  // A fresh copy of the set in "away"; the merger's path there.
  std::string carry() {
    fs::remove_all(folder("away"));
    fs::create_directory(folder("away"));
    for (const auto& [name, bytes] : m_set) m_dir.write("away/" + name, bytes);
    ::chmod((folder("away") + "/" + m_base + ".exe").c_str(), 0755);
    return folder("away") + "/" + m_base + ".exe";
  }

  // Empties "out" and puts the user's own files there.
  void userFiles(const Snapshot& files) {
    fs::remove_all(folder("out"));
    fs::create_directory(folder("out"));
    for (const auto& [name, bytes] : files) m_dir.write("out/" + name, bytes);
  }

  ProgramRun merge(const std::vector<std::string>& options = {},
                   const std::vector<std::string>& env = {}) {
    std::vector<std::string> args{"--dest", folder("out")};
    args.insert(args.end(), options.begin(), options.end());
    return runProgram(folder("away") + "/" + m_base + ".exe", args, folder("cwd"), {}, env);
  }

  // After a merge that failed or was stopped: every piece and every file of the user's as it
  // was, and (unless the merger was killed) no working file of the merger anywhere.
  void expectUntouched(const Snapshot& user, bool killed = false) {
    EXPECT_EQ(snapshot(folder("away")), m_set);
    Snapshot now = snapshot(folder("out"));
    if (killed) std::erase_if(now, [](const auto& f) { return f.first.starts_with(".fennock-"); });
    EXPECT_EQ(now, user);
    if (killed) return;
    EXPECT_TRUE(fs::is_empty(folder("cwd")));
    EXPECT_TRUE(fs::is_empty(folder("tmp")));
  }

  ScratchDir m_dir;
  std::string m_oldTmp;
  std::string m_base;
  Snapshot m_set;
};

// The record's PieceCount in a merger file.
void writePieceCount(const std::string& merger, std::int32_t count) {
  std::string bytes = ScratchDir::read(merger);
  const std::size_t at = std::size_t(payloads::MergerImageSize) + job::kRecordPieceCountOffset;
  for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char(std::uint32_t(count) >> (8 * i));
  std::ofstream(merger, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), std::streamsize(bytes.size()));
}

}  // namespace

TEST_F(HostileMerge, CompressedZipInputComesBackWhole) {
  const std::string bytes = sample(150000, 1);
  makeSet("photos.zip", bytes, true);
  carry();
  userFiles({});
  const ProgramRun run = merge({"--delete-pieces"});
  ASSERT_TRUE(merged(run)) << run.err;
  EXPECT_EQ(snapshot(folder("out")), (Snapshot{{"photos.zip", bytes}}));
}

TEST_F(HostileMerge, UsersOwnArchiveOfTheBaseNameSurvivesACompressedMerge) {
  const std::string bytes = sample(150000, 2, "etaoin shrdlu\n");
  makeSet("report.txt", bytes, true);
  carry();
  userFiles({{"report.zip", "the user's own archive"}});
  ::chmod(out("report.zip").c_str(), 0444);
  const ProgramRun run = merge();
  ASSERT_TRUE(merged(run)) << run.err;
  EXPECT_EQ(snapshot(folder("out")),
            (Snapshot{{"report.txt", bytes}, {"report.zip", "the user's own archive"}}));
}

// A damaged piece fails the extraction, the last step: by then every piece has been read.
TEST_F(HostileMerge, DeleteOptionKeepsEveryPieceUntilTheWholeMergeSucceeded) {
  makeSet("data.bin", sample(200000, 3), true);
  std::string& piece = m_set["data2.frg"];
  piece[piece.size() / 2] ^= 0x5A;
  carry();
  userFiles({});
  const ProgramRun run = merge({"--delete-pieces"});
  EXPECT_FALSE(merged(run));
  expectUntouched({});
}

TEST_F(HostileMerge, DamagedPieceNamesTheEntryAndAsksForThePiecesAgain) {
  makeSet("data.bin", sample(200000, 3), true);
  std::string& piece = m_set["data2.frg"];
  piece[piece.size() / 2] ^= 0x5A;
  carry();
  userFiles({{"data.bin", "mine"}});
  const ProgramRun run = merge();
  EXPECT_FALSE(merged(run));
  EXPECT_NE(run.err.find("\"data.bin\""), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("CRC"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the pieces must be sent again"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("No archive file name"), std::string::npos) << run.err;
  expectUntouched({{"data.bin", "mine"}});
}

TEST_F(HostileMerge, PlantedLinksAtTheResultsNamesAreReplacedNotFollowed) {
  struct Case {
    bool compress;
    std::vector<std::string> options;
    const char* result;
  };
  const Case cases[] = {
      {false, {}, "doc.txt"}, {true, {}, "doc.txt"}, {true, {"--no-unzip"}, "doc.zip"}};
  const std::string bytes = sample(130000, 4, "etaoin shrdlu\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.result) + (c.compress ? " compressed" : ""));
    makeSet("doc.txt", bytes, c.compress);
    carry();
    userFiles({});
    const Snapshot victims{{"a", "victim a"}, {"b", "victim b"}};
    for (const auto& [name, text] : victims) m_dir.write("victims/" + name, text);
    fs::create_symlink(folder("victims") + "/a", out("doc.txt"));
    fs::create_symlink(folder("victims") + "/b", out("doc.zip"));
    const ProgramRun run = merge(c.options);
    ASSERT_TRUE(merged(run)) << run.err;
    EXPECT_EQ(snapshot(folder("victims")), victims);
    EXPECT_FALSE(fs::is_symlink(out(c.result)));
    if (std::string(c.result) == "doc.txt") {
      EXPECT_TRUE(ScratchDir::read(out(c.result)) == bytes);
    }
  }
}

TEST_F(HostileMerge, FolderEntriesDoNotFailACompleteExtraction) {
  // A one-piece compressed set whose joined data is an archive with more folders than files.
  makeSet("doc.txt", "x", true, "1");
  const std::int64_t head =
      payloads::MergerImageSize + std::int64_t(job::kScriptRecordSize) + payloads::UnzipLibrarySize;
  std::string& merger = m_set["doc.exe"];
  ASSERT_EQ(m_set.size(), 1u);
  merger = merger.substr(0, std::size_t(head)) +
           buildZip({{.name = "a/", .content = "", .deflated = false},
                     {.name = "b/", .content = "", .deflated = false},
                     {.name = "doc.txt", .content = "folders around me"}});
  carry();
  userFiles({});
  const ProgramRun run = merge();
  ASSERT_TRUE(merged(run)) << run.err;
  EXPECT_EQ(snapshot(folder("out")), (Snapshot{{"doc.txt", "folders around me"}}));
}

TEST_F(HostileMerge, SetOfAnUnfinishedSplitIsRefusedAsIncomplete) {
  makeSet("half.bin", sample(150000, 5), false);
  carry();
  writePieceCount(folder("away") + "/half.exe", 0);
  m_set = snapshot(folder("away"));
  userFiles({});
  const ProgramRun run = merge();
  EXPECT_FALSE(merged(run));
  EXPECT_NE(run.err.find("The split that made \"half.exe\" did not finish; this set is "
                         "incomplete. Nothing was merged."),
            std::string::npos)
      << run.err;
  expectUntouched({});
}

// Whether a merger file of the folder's is being written: `grown` asks for data in it already.
bool joining(const std::string& folder, bool grown) {
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().starts_with(".fennock-") &&
        (!grown || fs::file_size(e.path()) > 0))
      return true;
  return false;
}

// Whether the extraction has begun: the unarchiver library is on its way into a private folder.
bool extracting(const std::string& tmp) {
  for (const auto& e : fs::directory_iterator(tmp))
    if (e.is_directory() && !fs::is_empty(e.path())) return true;
  return false;
}

// Stopped hard at several points, a merge leaves the pieces and the user's files of the result's
// names as they were, and the next run merges. Every write waits a while first, so each point
// is followed by a write that the kill comes before.
TEST_F(HostileMerge, KilledMergeLeavesEverythingAndARerunMerges) {
  const std::string bytes = sample(300000, 6);
  const Snapshot user{{"big.bin", "mine"}, {"big.zip", "mine too"}};
  enum class Point { JoinStarted, JoinHalfway, ExtractionStarted };
  for (const bool compress : {false, true}) {
    makeSet("big.bin", bytes, compress);
    for (const Point point : {Point::JoinStarted, Point::JoinHalfway, Point::ExtractionStarted}) {
      if (point == Point::ExtractionStarted && !compress) continue;
      SCOPED_TRACE(std::to_string(int(point)) + (compress ? " compressed" : " plain"));
      const std::string merger = carry();
      userFiles(user);
      StartedProgram process = startProgram(merger, {"--dest", folder("out"), "--delete-pieces"},
                                            folder("cwd"), {}, {"FENNOCK_TEST_WRITE_DELAY_MS=300"});
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      bool reached = false;
      while (!reached && std::chrono::steady_clock::now() < deadline) {
        reached = point == Point::ExtractionStarted
                      ? extracting(folder("tmp"))
                      : joining(folder("out"), point == Point::JoinHalfway);
        if (!reached) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      ::kill(process.pid(), SIGKILL);
      const ProgramRun killed = process.wait();
      ASSERT_TRUE(reached) << killed.err;
      EXPECT_EQ(killed.status, 128 + SIGKILL) << killed.out << killed.err;
      expectUntouched(user, /*killed=*/true);
      const ProgramRun rerun = merge();
      ASSERT_TRUE(merged(rerun)) << rerun.err;
      EXPECT_TRUE(ScratchDir::read(out("big.bin")) == bytes);
      EXPECT_EQ(ScratchDir::read(out("big.zip")), "mine too");
      // The rerun removed the joined file that the killed merger had begun here.
      for (const auto& entry : fs::directory_iterator(folder("out")))
        EXPECT_FALSE(platform::isPendingFileName(entry.path().filename())) << entry.path();
      fs::remove_all(folder("tmp"));
      fs::create_directory(folder("tmp"));
    }
  }
}

// The Nth file operation of the merger fails as a full disk or a lost device makes it fail, for
// every N until the merge runs through. A failure never says "Files merged" and leaves
// everything as it was; a success is whole.
TEST_F(HostileMerge, AFailureAtAnyFileOperationLosesNothing) {
  const std::string bytes = sample(40000, 7, "abc");
  const Snapshot user{{"tiny.txt", "mine"}, {"tiny.zip", "mine too"}};
  int runs = 0;
  for (const bool compress : {false, true}) {
    SCOPED_TRACE(compress ? "compressed" : "plain");
    makeSet("tiny.txt", bytes, compress);
    ASSERT_EQ(m_set.size(), 3u);
    // A deletion that fails does not fail the merge: a few successes in a row end the sweep.
    int successesInARow = 0, failures = 0;
    for (int n = 1; n <= 300 && successesInARow < 3; ++n) {
      SCOPED_TRACE("FENNOCK_TEST_FAIL_AT=" + std::to_string(n));
      carry();
      userFiles(user);
      const ProgramRun run =
          merge({"--delete-pieces"}, {"FENNOCK_TEST_FAIL_AT=" + std::to_string(n)});
      ++runs;
      if (run.status == 0) {
        ++successesInARow;
        EXPECT_TRUE(merged(run)) << run.out;
        EXPECT_TRUE(ScratchDir::read(out("tiny.txt")) == bytes);
        EXPECT_EQ(ScratchDir::read(out("tiny.zip")), "mine too");
        continue;
      }
      successesInARow = 0;
      ++failures;
      EXPECT_EQ(run.out.find("Files merged"), std::string::npos) << run.out;
      expectUntouched(user);
      const ProgramRun rerun = merge();
      ++runs;
      ASSERT_TRUE(merged(rerun)) << rerun.err;
      EXPECT_TRUE(ScratchDir::read(out("tiny.txt")) == bytes);
    }
    EXPECT_EQ(successesInARow, 3);
    EXPECT_GT(failures, 5);
  }
  std::printf("The sweep ran the merger %d times.\n", runs);
}

// A destination too small for the result, as a full USB stick is.
TEST_F(HostileMerge, DiskFullLeavesEveryPieceAndTheUsersFile) {
  const std::string full = folder("full");
  fs::create_directory(full);
  if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=512k") != 0)
    GTEST_SKIP() << "No small file system can be mounted here (" << std::strerror(errno)
                 << "); the disk-full runs need root.";
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{full};
  struct Case {
    const char* what;
    std::string bytes;
    bool compress;
  };
  const Case cases[] = {
      {"plain", sample(700000, 8), false},
      {"the joined archive does not fit", sample(700000, 9), true},
      {"the archive fits, its file does not", sample(600000, 10, "etaoin shrdlu\n"), true},
  };
  const Snapshot user{{"full.bin", "mine"}, {"full.zip", "mine too"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    makeSet("full.bin", c.bytes, c.compress);
    carry();
    for (const auto& e : fs::directory_iterator(full)) fs::remove(e.path());
    for (const auto& [name, text] : user) m_dir.write("full/" + name, text);
    const ProgramRun run =
        runProgram(folder("away") + "/full.exe", {"--dest", full}, folder("cwd"));
    EXPECT_FALSE(merged(run));
    EXPECT_NE(run.err.find("Disk full: \"" + full + "/full.bin\"."), std::string::npos) << run.err;
    EXPECT_EQ(snapshot(folder("away")), m_set);
    EXPECT_EQ(snapshot(full), user);
  }
}

namespace {

// Splits `bytes` as `name` into "made" with --checksums: pieces of 1000000 bytes, so that the
// merger file holds data after its head, pieces 2 and 3 are whole and piece 4 holds the rest.
std::vector<std::string> checksumSplit(const std::string& input, const std::string& dest,
                                       const std::string& merger, bool compress) {
  return {"split",
          input,
          "--dest",
          dest,
          "--size",
          "1000000",
          "--unit",
          "bytes",
          "--merger",
          merger,
          compress ? "--compress" : "--no-compress",
          "--checksums"};
}

ProgramRun sha256sumCheck(const std::string& folder, const std::string& file) {
  return runProgram("/usr/bin/sha256sum", {"-c", "--ignore-missing", file}, folder);
}

}  // namespace

TEST_F(HostileMerge, ChecksumFileIsAcceptedBySha256sumBeforeAndAfterJoining) {
  const std::int64_t head = payloads::MergerImageSize + job::kScriptRecordSize;
  if (head > 1000000) GTEST_SKIP() << "the pieces are laid out for a merger image under 1 MB";
  const std::string bytes = sample(std::size_t(3500000 - head), 11);
  m_dir.write("in/My Vid\xC3\xA9o.bin", bytes);
  struct Case {
    const char* merger;
    bool compress;
    std::vector<std::string> names;  // the lines' names in order
  };
  const Case cases[] = {
      {"exe",
       false,
       {"My Vid\xC3\xA9o.exe", "My Vid\xC3\xA9o2.frg", "My Vid\xC3\xA9o3.frg",
        "My Vid\xC3\xA9o4.frg", "My Vid\xC3\xA9o.bin"}},
      {"exe",
       true,  // random bytes do not shrink: as many pieces as without compression
       {"My Vid\xC3\xA9o.exe", "My Vid\xC3\xA9o2.frg", "My Vid\xC3\xA9o3.frg",
        "My Vid\xC3\xA9o4.frg", "My Vid\xC3\xA9o.zip"}},
      {"bat",
       false,
       {"MyVid\xC3\xA9o1.frg", "MyVid\xC3\xA9o2.frg", "MyVid\xC3\xA9o3.frg", "MyVid\xC3\xA9o.bin"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.merger) + (c.compress ? " compressed" : ""));
    fs::remove_all(folder("made"));
    fs::create_directory(folder("made"));
    const ProgramRun split = runProgram(
        fennockProgram(),
        checksumSplit(folder("in") + "/My Vid\xC3\xA9o.bin", folder("made"), c.merger, c.compress),
        folder("cwd"));
    ASSERT_EQ(split.status, 0) << split.err;
    // The pieces (the merger file is one) and the checksum file; a .BAT script is no piece.
    EXPECT_NE(split.out.find(std::to_string(c.names.size()) + " files were created"),
              std::string::npos)
        << split.out;
    const std::string sums = ScratchDir::read(folder("made") + "/My Vid\xC3\xA9o.sha256");
    std::string names;
    for (std::size_t at = 0; at < sums.size(); at = sums.find('\n', at) + 1)
      names += sums.substr(at + 66, sums.find('\n', at) - at - 66) + "|";
    std::string expected;
    for (const std::string& name : c.names) expected += name + "|";
    EXPECT_EQ(names, expected);
    const ProgramRun before = sha256sumCheck(folder("made"), "My Vid\xC3\xA9o.sha256");
    EXPECT_EQ(before.status, 0) << before.out << before.err;

    // Joined as the merger does (the .BAT script's copy /b is a concatenation), beside its
    // checksum file only: the last line checks the result.
    fs::remove_all(folder("out"));
    fs::create_directory(folder("out"));
    fs::copy_file(folder("made") + "/My Vid\xC3\xA9o.sha256", out("My Vid\xC3\xA9o.sha256"));
    if (c.merger == std::string("exe")) {
      m_base = "My Vid\xC3\xA9o";
      m_set = snapshot(folder("made"));
      carry();
      const ProgramRun run = merge({"--no-unzip"});
      ASSERT_TRUE(merged(run)) << run.err;
      EXPECT_NE(run.out.find("Merging... 100%"), std::string::npos) << run.out;
    } else {
      std::string joined;
      for (int p = 1; p <= 3; ++p)
        joined += ScratchDir::read(folder("made") + "/MyVid\xC3\xA9o" + std::to_string(p) + ".frg");
      m_dir.write("out/" + c.names.back(), joined);
    }
    const ProgramRun after = sha256sumCheck(folder("out"), "My Vid\xC3\xA9o.sha256");
    EXPECT_EQ(after.status, 0) << after.out << after.err;
    EXPECT_NE(after.out.find(c.names.back() + ": OK"), std::string::npos) << after.out;
  }

  // A set split again without checksums takes the old checksum file with it: it would refuse
  // the new set.
  std::vector<std::string> again =
      checksumSplit(folder("in") + "/My Vid\xC3\xA9o.bin", folder("made"), "bat", false);
  again.pop_back();
  ASSERT_EQ(runProgram(fennockProgram(), again, folder("cwd")).status, 0);
  EXPECT_FALSE(fs::exists(folder("made") + "/My Vid\xC3\xA9o.sha256"));
}

TEST_F(HostileMerge, ChecksumFileNamesTheDamagedPieceBeforeAnythingIsWritten) {
  const std::int64_t head = payloads::MergerImageSize + job::kScriptRecordSize;
  if (head > 1000000) GTEST_SKIP() << "the pieces are laid out for a merger image under 1 MB";
  const std::string bytes = sample(std::size_t(3500000 - head), 12);
  m_dir.write("in/video.bin", bytes);
  const ProgramRun split = runProgram(
      fennockProgram(), checksumSplit(folder("in") + "/video.bin", folder("made"), "exe", false),
      folder("cwd"));
  ASSERT_EQ(split.status, 0) << split.err;
  m_base = "video";
  const Snapshot pristine = snapshot(folder("made"));
  auto flip = [](std::string& piece) { piece[piece.size() - 7] ^= 0x01; };
  struct Case {
    const char* what;
    std::function<void(Snapshot&)> damage;
    const char* named;
  };
  const Case cases[] = {
      {"flipped byte in the merger's data", [&](Snapshot& s) { flip(s["video.exe"]); },
       "video.exe is damaged (its checksum differs): send it again. Nothing was merged."},
      {"flipped byte in piece 2", [&](Snapshot& s) { flip(s["video2.frg"]); },
       "video2.frg is damaged (its checksum differs): send it again. Nothing was merged."},
      {"flipped byte in piece 3", [&](Snapshot& s) { flip(s["video3.frg"]); },
       "video3.frg is damaged (its checksum differs): send it again. Nothing was merged."},
      {"flipped byte in the last piece", [&](Snapshot& s) { flip(s["video4.frg"]); },
       "video4.frg is damaged"},
      {"truncated last piece", [](Snapshot& s) { s["video4.frg"].pop_back(); },
       "video4.frg is damaged"},
      {"extended last piece", [](Snapshot& s) { s["video4.frg"] += '\0'; },
       "video4.frg is damaged"},
      {"pieces 2 and 3 swapped", [](Snapshot& s) { std::swap(s["video2.frg"], s["video3.frg"]); },
       "video2.frg is damaged"},
      // Pieces 3 and 4 are checked side by side: the first of the two is named.
      {"flipped bytes in pieces 3 and 4",
       [&](Snapshot& s) {
         flip(s["video3.frg"]);
         flip(s["video4.frg"]);
       },
       "video3.frg is damaged (its checksum differs): send it again. Nothing was merged."},
      {"missing piece", [](Snapshot& s) { s.erase("video3.frg"); },
       "File not found: \"video3.frg\""},
      // The joined file's line is not needed: each piece's own line is checked.
      {"joined file's line gone, flipped byte in piece 3",
       [&](Snapshot& s) {
         std::string& sums = s["video.sha256"];
         sums.erase(sums.rfind('\n', sums.size() - 2) + 1);
         flip(s["video3.frg"]);
       },
       "video3.frg is damaged (its checksum differs): send it again. Nothing was merged."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_set = pristine;
    c.damage(m_set);
    carry();
    userFiles({});
    const ProgramRun run = merge();
    EXPECT_FALSE(merged(run));
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    expectUntouched({});
  }

  // Every piece matches its line: the joined data is what the split cut, whatever the joined
  // file's own line says.
  m_set = pristine;
  std::string& sums = m_set["video.sha256"];
  char& digit = sums[sums.rfind('\n', sums.size() - 2) + 1];
  digit = digit == '0' ? '1' : '0';
  carry();
  userFiles({});
  const ProgramRun changedLine = merge();
  ASSERT_TRUE(merged(changedLine)) << changedLine.err;
  EXPECT_TRUE(ScratchDir::read(out("video.bin")) == bytes);

  // Without the checksum file the merger joins as it always did: the flipped byte goes through.
  m_set = pristine;
  m_set.erase("video.sha256");
  flip(m_set["video3.frg"]);
  carry();
  userFiles({});
  const ProgramRun run = merge();
  ASSERT_TRUE(merged(run)) << run.err;
  EXPECT_EQ(run.out.find("Checking"), std::string::npos) << run.out;
  std::string damaged = bytes;
  damaged[std::size_t(1000000 - head + 2 * 1000000 - 7)] ^= 0x01;
  EXPECT_TRUE(ScratchDir::read(out("video.bin")) == damaged);
}

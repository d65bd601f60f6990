// Compressed split jobs with the build's real archiver library: the pieces joined with cat give
// a ZIP archive that Python's zipfile and 7-Zip accept, holding the input; no working file of
// the stage outlives the job, whether it ends well or not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "codec/Packer.h"
#include "job/CompressionStage.h"
#include "job/FakeJobHost.h"
#include "job/ScriptRecord.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"
#include "whole/CompressionPeers.h"

using namespace testing_support;

namespace {

const std::string kPayloads = FENNOCK_PAYLOAD_DIR;

// The archiver's host as the window binds it: messages are kept, message pumping is counted.
class RecordingArchiverHost : public zip::ArchiverHost {
 public:
  std::vector<std::string>* messages;
  int* pumps;
  RecordingArchiverHost(std::vector<std::string>* m, int* p) : messages(m), pumps(p) {}
  void showMessage(const std::string& text) override { messages->push_back(text); }
  void processMessages() override { ++*pumps; }
};

class CompressingHost : public FakeJobHost {
 public:
  std::string packLibStore;
  std::string packLibStorePath() const override { return packLibStore; }
};

// One compressed job in a scratch folder, with the current folder and the temporary folder of
// the process moved into it, so that anything the job leaves behind is found.
class CompressedSplit : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    for (const char* sub : {"in", "out", "cwd", "tmp"})
      std::filesystem::create_directory(m_dir.file(sub));
    m_oldCwd = platform::currentFolder();
    platform::setCurrentFolder(m_dir.file("cwd"));
    const char* tmp = std::getenv("TMPDIR");
    if (tmp) m_oldTmp = tmp;
    ::setenv("TMPDIR", m_dir.file("tmp").c_str(), 1);

    m_stage = std::make_unique<job::ZipCompressionStage>(
        std::make_unique<RecordingArchiverHost>(&m_messages, &m_pumps));
    m_merger.imageBytes = std::string(4096, 'M');
    m_merger.unzipSize = std::int64_t(std::filesystem::file_size(kPayloads + "/UnpackLib.dat"));
    m_host.packLibStore = kPayloads + "/PackLib.dat";
    m_host.unpackLibStore = kPayloads + "/UnpackLib.dat";
    m_host.compressOn = true;
    m_host.exeOn = true;
    m_host.exeSupport = &m_merger;
    m_host.compression = m_stage.get();
    m_host.dest = m_dir.file("out");
  }
  void TearDown() override {
    platform::setCurrentFolder(m_oldCwd);
    if (m_oldTmp.empty())
      ::unsetenv("TMPDIR");
    else
      ::setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }

  std::string input(const std::string& name, const std::string& bytes) {
    m_host.input = m_dir.write("in/" + name, bytes);
    return m_host.input;
  }

  std::int64_t headSize() const {
    return std::int64_t(m_merger.imageBytes.size()) + job::kScriptRecordSize + m_merger.unzipSize;
  }

  // The archive that the pieces carry: the merger file after its head, then pieces 2 to N.
  std::string joinWithCat(const std::string& baseName, std::int64_t pieceCount) {
    std::string command = "{ tail -c +" + std::to_string(headSize() + 1) + " " +
                          shellQuote(m_dir.file("out/" + baseName + ".exe")) + "; ";
    for (std::int64_t i = 2; i <= pieceCount; ++i)
      command +=
          "cat " + shellQuote(m_dir.file("out/" + baseName + std::to_string(i) + ".frg")) + "; ";
    const std::string archive = m_dir.file(baseName + ".joined.zip");
    command += "} > " + shellQuote(archive);
    EXPECT_EQ(runShell(command), 0);
    return archive;
  }

  void expectNothingLeftBehind() {
    EXPECT_EQ(leftoverWorkingFiles({m_dir.file("in"), m_dir.file("out"), m_dir.file("cwd")}),
              std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.file("tmp")));
  }

  ScratchDir m_dir;
  std::string m_oldCwd, m_oldTmp;
  std::vector<std::string> m_messages;
  int m_pumps = 0;
  std::unique_ptr<job::ZipCompressionStage> m_stage;
  FakeExeMerger m_merger;
  CompressingHost m_host;
  FakeProgressView m_view;
};

std::string text(std::size_t n) {
  std::string s;
  for (int line = 0; s.size() < n; ++line)
    s += "Line " + std::to_string(line) + " of a report that compresses well.\n";
  s.resize(n);
  return s;
}

struct Case {
  const char* name;
  std::string bytes;
  bool countMode;
  const char* value;
  int unit;
};

}  // namespace

TEST_F(CompressedSplit, PiecesJoinIntoAnArchiveThatPeersAcceptAndThatHoldsTheInput) {
  const Case cases[] = {
      {"report.txt", text(300000), false, "10", 2},              // one piece
      {"noise.bin", randomBytes(200000, 7), false, "40000", 0},  // many pieces, stored data
      {"empty.dat", "", false, "1", 2},
      {"My Notes.tar.gz", text(90000), true, "9", 0},  // count mode, spaces in the name
      {"tiny", "x", true, "2", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeProgressView view;
    const std::string path = input(c.name, c.bytes);
    m_host.count = c.countMode;
    m_host.size = c.value;
    m_host.countValue = c.value;
    m_host.unit = c.unit;
    job::runSplitJob(m_host, view);

    const std::string baseName = std::string(c.name).substr(0, std::string(c.name).find('.'));
    const std::string merger = ScratchDir::read(m_dir.file("out/" + baseName + ".exe"));
    ASSERT_GE(std::int64_t(merger.size()),
              std::min<std::int64_t>(headSize(), view.stats.pieceSize));
    const std::size_t recordAt = m_merger.imageBytes.size();
    EXPECT_EQ(merger[recordAt + 520], 1) << "the record marks the job compressed";
    EXPECT_EQ(merger.substr(recordAt + job::kScriptRecordSize, m_merger.unzipSize),
              ScratchDir::read(m_host.unpackLibStore));

    const std::string archive = joinWithCat(baseName, view.stats.pieceCount);
    EXPECT_TRUE(view.stats.compressed);
    EXPECT_EQ(std::int64_t(std::filesystem::file_size(archive)), view.stats.compressedSize);
    EXPECT_EQ(view.stats.inputSize, std::int64_t(c.bytes.size()));
    expectZipfileAgrees(archive, c.name, path);
    expectSevenZipTests(archive);
    EXPECT_EQ(ScratchDir::read(path), c.bytes) << "the input is left as it was";

    // The indicator comes and goes before the progress bar moves.
    auto at = [&](const char* call) {
      return std::find(view.calls.begin(), view.calls.end(), call) - view.calls.begin();
    };
    EXPECT_LT(at("compress-start"), at("compress-end"));
    EXPECT_LT(at("compress-end"), at("stats"));
    EXPECT_FALSE(view.failed);
    expectNothingLeftBehind();
    for (const auto& e : std::filesystem::directory_iterator(m_dir.file("out")))
      std::filesystem::remove(e.path());
  }
  EXPECT_EQ(m_messages, std::vector<std::string>{});
}

TEST_F(CompressedSplit, ArchiverProcessesPendingMessagesWhileItWorks) {
  input("big.txt", text(6 << 20));
  job::runSplitJob(m_host, m_view);
  EXPECT_GT(m_pumps, 2) << "the LED blinks only if window messages are processed meanwhile";
}

TEST_F(CompressedSplit, StaleArchiveOfAnEarlierFailedJobNeverReachesTheOutput) {
  const std::string path = input("data.txt", text(50000));
  // A former job's archive, holding another file under another name.
  const std::string other = m_dir.write("in/other.txt", "stale entry");
  ASSERT_EQ(runShell("cd " + shellQuote(m_dir.file("in")) +
                     " && python3 -c \"import zipfile; z=zipfile.ZipFile('data.txtztmp','w'); "
                     "z.write('other.txt'); z.close()\""),
            0);
  std::filesystem::remove(other);
  m_host.size = "10";
  const std::string stale = ScratchDir::read(m_dir.file("in/data.txtztmp"));
  job::runSplitJob(m_host, m_view);
  expectZipfileAgrees(joinWithCat("data", m_view.stats.pieceCount), "data.txt", path);
  // The archive is made in a folder of its own: a file of the old name beside the input may be
  // the user's and is left as it was.
  EXPECT_EQ(ScratchDir::read(m_dir.file("in/data.txtztmp")), stale);
  std::filesystem::remove(m_dir.file("in/data.txtztmp"));
  expectNothingLeftBehind();
}

TEST_F(CompressedSplit, InputDeletedAfterTheSplitWhenAsked) {
  const std::string path = input("gone.txt", text(1000));
  m_host.deleteOn = true;
  job::runSplitJob(m_host, m_view);
  EXPECT_FALSE(platform::fileExists(path));
  expectNothingLeftBehind();
}

TEST_F(CompressedSplit, MissingArchiverStoreEndsTheJobWithTheCompressorsErrorAndLeavesNothing) {
  input("a.txt", text(1000));
  m_host.packLibStore = m_dir.file("no-such-store.dat");
  EXPECT_ANY_THROW(job::runSplitJob(m_host, m_view));
  EXPECT_TRUE(m_view.failed);
  EXPECT_FALSE(platform::fileExists(m_dir.file("out/a.exe")));
  expectNothingLeftBehind();
}

TEST_F(CompressedSplit, LibraryThatCannotBeLoadedIsReportedAndNoArchiveIsCut) {
  input("a.txt", text(1000));
  // A well-formed packed file whose content is no library.
  const std::string junk = m_dir.write("junk.so", "this is not a shared object");
  codec::TPacker packer;
  packer.InputFile = junk;
  packer.OutputFile = m_dir.file("junk.dat");
  packer.Compress();
  m_host.packLibStore = packer.OutputFile;
  try {
    job::runSplitJob(m_host, m_view);
    FAIL() << "the job went on without an archive";
  } catch (const job::EJobRefused& e) {
    EXPECT_EQ(std::string(e.what()),
              "The file \"" + m_dir.file("in/a.txt") + "\" could not be compressed");
  }
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_TRUE(m_view.failed);
  EXPECT_FALSE(platform::fileExists(m_dir.file("out/a.exe")));
  expectNothingLeftBehind();
}

TEST_F(CompressedSplit, TwoJobsInARowEachCompressTheirOwnInput) {
  const std::string first = input("one.txt", text(20000));
  m_host.size = "10";
  job::runSplitJob(m_host, m_view);
  expectZipfileAgrees(joinWithCat("one", 1), "one.txt", first);
  FakeProgressView second;
  const std::string path = input("two.bin", randomBytes(30000, 3));
  job::runSplitJob(m_host, second);
  expectZipfileAgrees(joinWithCat("two", 1), "two.bin", path);
  expectNothingLeftBehind();
}

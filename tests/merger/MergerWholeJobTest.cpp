// Whole .EXE jobs: split with the build's real merger image, carry the merger file and pieces
// to another folder, run the merger there in the terminal and compare with the input.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdint>
#include <filesystem>
#include <random>

#include "PayloadSizes.h"
#include "job/ScriptRecord.h"
#include "merger/SplitWithPayloads.h"
#include "platform/Paths.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"

using testing_support::FakeProgressView;
using testing_support::ProgramRun;
using testing_support::runProgram;
using testing_support::ScratchDir;
using namespace testing_support::payload_split;

namespace {

void expectMerged(const ProgramRun& run) {
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Files merged"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "");
}

void expectFailed(const ProgramRun& run, const std::string& text) {
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.out.find("Files merged"), std::string::npos) << run.out;
  EXPECT_EQ(run.err.rfind("Fennock! M\xC3\xB3"
                          "dulo SFX: ",
                          0),
            0u)
      << run.err;
  EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
  EXPECT_EQ(run.err.back(), '\n');
  EXPECT_EQ(run.err[run.err.size() - 2], '.') << run.err;
}

}  // namespace

TEST(MergerWholeJob, MergesBackEverySizeAndModeInAnotherFolder) {
  std::setlocale(LC_ALL, "C");
  struct Case {
    std::size_t size;
    const char* value;
    int unit;
    const char* count;
  };
  const std::string headMinus = std::to_string(kHead - 1000);
  const Case cases[] = {
      {3000000, "1", 2, ""},               // size mode, several pieces
      {3000000, "1", 0, "3"},              // count mode, remainder in the last piece
      {1000, "1", 0, "7"},                 // count mode, more pieces than data
      {123456, "10", 2, ""},               // one piece: all data in the merger file
      {0, "10", 2, ""},                    // empty input
      {200000, headMinus.c_str(), 0, ""},  // head larger than the piece size
      {65536, "16", 1, ""},                // data of whole kilobyte blocks
  };
  std::uint32_t seed = 7;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " " + c.value + " count " + c.count);
    ScratchDir made, away, out;
    const std::string data = randomBytes(c.size, seed++);
    Split split = splitExe(made, "My Report.doc", data, c.value, c.unit, c.count);
    auto carried = carry(split.files, away.path());
    ProgramRun run = runProgram(carried[0], {"--dest", out.path()}, away.path());
    expectMerged(run);
    EXPECT_TRUE(ScratchDir::read(out.file("My Report.doc")) == data);
    // Nothing but the output: no working files in the destination or beside the pieces.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1);
    EXPECT_EQ(std::size_t(std::distance(std::filesystem::directory_iterator(away.path()), {})),
              carried.size());
  }
}

TEST(MergerWholeJob, RenamedMergerLooksForPiecesUnderItsOwnName) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made, away;
  const std::string data = randomBytes(900000, 3);
  Split split = splitExe(made, "My Report.doc", data, "300000", 0);
  ASSERT_GE(split.files.size(), 3u);
  auto carried = carry(split.files, away.path(), "My Report", "X");
  EXPECT_EQ(platform::fileNameOf(carried[1]), "X2.frg");
  // Without arguments and without a display the merger runs in the terminal, into its folder.
  ProgramRun run = runProgram(carried[0], {}, away.path());
  expectMerged(run);
  EXPECT_TRUE(ScratchDir::read(away.file("My Report.doc")) == data);
}

TEST(MergerWholeJob, DeleteOptionRemovesOnlyPiecesTwoOnward) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made, away;
  const std::string data = randomBytes(700000, 4);
  Split split = splitExe(made, "data.bin", data, "250000", 0);
  auto carried = carry(split.files, away.path());
  // A file that merely looks like a first piece is not the merger's to delete.
  const std::string lookalike = away.write("data1.frg", "keep me");
  ProgramRun run = runProgram(carried[0], {"--delete-pieces"}, away.path());
  expectMerged(run);
  EXPECT_TRUE(ScratchDir::read(away.file("data.bin")) == data);
  EXPECT_TRUE(platform::fileExists(carried[0]));
  EXPECT_TRUE(platform::fileExists(lookalike));
  for (std::size_t i = 1; i < carried.size(); ++i) EXPECT_FALSE(platform::fileExists(carried[i]));
}

TEST(MergerWholeJob, ReadOnlyPiecesMergeAndStayUnchanged) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made, away, out;
  const std::string data = randomBytes(800000, 5);
  Split split = splitExe(made, "ro.dat", data, "300000", 0);
  auto carried = carry(split.files, away.path());
  for (const auto& file : carried) ::chmod(file.c_str(), file == carried[0] ? 0555 : 0444);
  ProgramRun run = runProgram(carried[0], {"--dest", out.path()}, away.path());
  expectMerged(run);
  EXPECT_TRUE(ScratchDir::read(out.file("ro.dat")) == data);
}

TEST(MergerWholeJob, MissingPieceFailsWithFileNotFoundAndWritesNothing) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made, away, out;
  Split split = splitExe(made, "gap.bin", randomBytes(900000, 6), "300000", 0);
  auto carried = carry(split.files, away.path());
  platform::deleteFile(carried[2]);
  ProgramRun run = runProgram(carried[0], {"--dest", out.path()}, away.path());
  expectFailed(run, "File not found");
  EXPECT_NE(run.err.find("gap3.frg"), std::string::npos) << run.err;
  EXPECT_FALSE(platform::fileExists(out.file("gap.bin")));
}

TEST(MergerWholeJob, TruncatedPieceIsNamedAndNeverReportedAsMerged) {
  std::setlocale(LC_ALL, "C");
  // The merger file holds data too, and piece 2 is not the last.
  const std::int64_t pieceSize = kHead + 1000000;
  const std::string data = randomBytes(std::size_t(2 * pieceSize + 500000), 8);
  for (std::size_t cut : {std::size_t(0), std::size_t(1)}) {  // the merger file, then a piece
    SCOPED_TRACE(cut);
    ScratchDir made, away, out;
    Split split = splitExe(made, "cut.bin", data, std::to_string(pieceSize), 0);
    ASSERT_EQ(split.files.size(), 3u);
    auto carried = carry(split.files, away.path());
    std::filesystem::resize_file(carried[cut], std::filesystem::file_size(carried[cut]) - 1);
    ProgramRun run = runProgram(carried[0], {"--dest", out.path()}, away.path());
    expectFailed(run, platform::fileNameOf(carried[cut]));
    EXPECT_NE(run.err.find("cut short"), std::string::npos) << run.err;
    EXPECT_FALSE(platform::fileExists(out.file("cut.bin")));
  }
}

TEST(MergerWholeJob, RecordAndHeadOfAKnownJob) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made;
  const std::string data = randomBytes(3000000, 9);
  // As with a 1 MiB piece and the 304,140-byte head of the original: 744,436 data bytes behind it.
  const std::int64_t pieceSize = kHead + 744436;
  Split split = splitExe(made, "My Report.doc", data, std::to_string(pieceSize), 0);
  const std::string merger = ScratchDir::read(split.files[0]);
  const std::int64_t pieceCount = (3000000 + kHead + pieceSize - 1) / pieceSize;
  ASSERT_EQ(split.stats.pieceCount, pieceCount);
  EXPECT_EQ(std::int64_t(merger.size()), pieceSize);
  // The image, exactly as the build stamped it.
  EXPECT_TRUE(merger.substr(0, payloads::MergerImageSize) ==
              ScratchDir::read(platform::joinPath(kPayloads, "merger.img")));
  const std::string record = merger.substr(payloads::MergerImageSize, 524);
  EXPECT_EQ(record[0], 9);
  EXPECT_EQ(record.substr(1, 9), "My Report");
  EXPECT_EQ(record.substr(10, 246), std::string(246, '\0'));
  EXPECT_EQ(record[256], 4);
  EXPECT_EQ(record.substr(257, 4), ".doc");
  EXPECT_EQ(record.substr(261, 251), std::string(251, '\0'));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(std::uint8_t(record[std::size_t(512 + i)]), std::uint8_t(pieceSize >> (8 * i)));
    EXPECT_EQ(std::uint8_t(record[std::size_t(516 + i)]), std::uint8_t(pieceCount >> (8 * i)));
  }
  EXPECT_EQ(record.substr(520, 4), std::string(4, '\0'));  // uncompressed, reserved zero
  EXPECT_TRUE(merger.substr(std::size_t(kHead)) == data.substr(0, 744436));
  // The merger is a program: whoever may read it may run it.
  struct stat st {};
  ASSERT_EQ(::stat(split.files[0].c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IXUSR, 0u);
  // Its working files went with the head.
  EXPECT_FALSE(platform::fileExists(made.file("scriptmp")));
  EXPECT_FALSE(platform::fileExists(made.file("Sfx.exe")));
}

// A stand-in compression stage: the "archive" is the input itself, which is all the head needs.
class CopyingCompression : public job::CompressionStage {
 public:
  void checkAvailable() const override {}
  void compress(job::SplitJobHost&, job::ProgressView&, const std::string& input,
                const std::string& archive) override {
    std::filesystem::copy_file(input, archive);
  }
};

TEST(MergerWholeJob, CompressedHeadCarriesThePackedLibraryBeforeTheData) {
  std::setlocale(LC_ALL, "C");
  ScratchDir made;
  const std::string data = randomBytes(50000, 10);
  PayloadHost host;
  CopyingCompression compression;
  FakeProgressView view;
  host.compressOn = true;
  host.compression = &compression;
  host.input = made.write("c.txt", data);
  host.dest = made.path();
  host.size = "10";
  job::runSplitJob(host, view);
  const std::string merger = ScratchDir::read(made.file("c.exe"));
  const std::size_t library = std::size_t(kHead);
  EXPECT_EQ(merger[payloads::MergerImageSize + 520], 1);
  EXPECT_EQ(merger.substr(library, 4), "!HZL");
  EXPECT_TRUE(merger.substr(library, payloads::UnzipLibrarySize) ==
              ScratchDir::read(platform::joinPath(kPayloads, "UnpackLib.dat")));
  EXPECT_TRUE(merger.substr(library + payloads::UnzipLibrarySize) == data);
}

// The merger's record checks and its merge, in-process on hand-built merger files whose image
// is a small stand-in of a few bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "job/ScriptRecord.h"
#include "merger/Merge.h"
#include "merger/MergePlan.h"
#include "support/ScratchDir.h"

using merger::EMergeError;
using merger::MergerLayout;
using testing_support::ScratchDir;

namespace {

constexpr MergerLayout kLayout{100, 0};
constexpr std::size_t kHead = 100 + job::kScriptRecordSize;

class NoProgress : public merger::MergeProgress {
 public:
  std::vector<int> positions;
  void setPosition(int position) override { positions.push_back(position); }
};

// A merger file: an image of 100 'I' bytes, the record, then `data`.
std::string writeMerger(const ScratchDir& dir, const std::string& name,
                        const job::ScriptRecord& record, const std::string& data) {
  auto bytes = record.toBytes();
  return dir.write(name, std::string(100, 'I') + std::string(bytes.begin(), bytes.end()) + data);
}

job::ScriptRecord record(const std::string& base, const std::string& ext, std::int32_t size,
                         std::int32_t count) {
  job::ScriptRecord r;
  r.baseName = base;
  r.fileExtension = ext;
  r.pieceSize = size;
  r.pieceCount = count;
  return r;
}

std::string mergeText(const ScratchDir& dir, const std::string& merger, bool deletePieces = false) {
  NoProgress progress;
  merger::MergeSettings settings{merger, dir.path() + "/", deletePieces, true};
  return ScratchDir::read(merger::runMerge(settings, kLayout, progress));
}

}  // namespace

TEST(MergePlan, RecordNamesMustBePlainFileNames) {
  ScratchDir dir;
  for (auto [base, ext] : {std::pair<std::string, std::string>{"../evil", ".txt"},
                           {"a/b", ".txt"},
                           {"a", ".t/x"},
                           {"..", ""},
                           {"", ""},
                           {std::string("a\0b", 3), ".txt"}}) {
    SCOPED_TRACE(base + "|" + ext);
    const std::string m = writeMerger(dir, "m.exe", record(base, ext, 0, 1), "data");
    EXPECT_THROW(merger::planMerge(m, kLayout), EMergeError);
  }
}

TEST(MergePlan, TrailingBlanksAndControlsLeaveTheNames) {
  ScratchDir dir;
  const std::string m = writeMerger(dir, "m.exe", record("a b \t", ".txt \x01", 0, 1), "xy");
  auto plan = merger::planMerge(m, kLayout);
  EXPECT_EQ(plan.outputName, "a b.txt");
  EXPECT_EQ(merger::trimTrailingControls(" \x1f"), "");
  EXPECT_EQ(mergeText(dir, m), "xy");
}

TEST(MergePlan, DamagedOrMissingRecordIsRefused) {
  ScratchDir dir;
  // Shorter than image and record: the bare merger program, or a cut file.
  EXPECT_THROW(merger::planMerge(dir.write("bare.exe", std::string(300, 'I')), kLayout),
               EMergeError);
  auto bytes = record("a", ".b", 10, 1).toBytes();
  bytes[job::kRecordCompressedOffset] = 7;  // neither compressed nor plain
  std::string head = std::string(100, 'I') + std::string(bytes.begin(), bytes.end());
  EXPECT_THROW(merger::planMerge(dir.write("c.exe", head), kLayout), EMergeError);
  EXPECT_THROW(merger::planMerge(writeMerger(dir, "z.exe", record("a", ".b", 10, 0), ""), kLayout),
               EMergeError);
  EXPECT_THROW(merger::planMerge(writeMerger(dir, "n.exe", record("a", ".b", -1, 2), ""), kLayout),
               EMergeError);
}

TEST(MergePlan, PiecesAreFoundByTheMergersOwnName) {
  EXPECT_EQ(merger::piecePath("/d/My Report.exe", 2), "/d/My Report2.frg");
  EXPECT_EQ(merger::piecePath("/d/X.EXE", 12), "/d/X12.frg");
  // A merger renamed without ".exe" keeps its whole name as the stem.
  EXPECT_EQ(merger::piecePath("/d/merge-me", 3), "/d/merge-me3.frg");
}

TEST(MergePlan, EveryPieceButTheLastMustHaveItsLength) {
  ScratchDir dir;
  const std::int32_t pieceSize = std::int32_t(kHead) + 4;
  const std::string m = writeMerger(dir, "j.exe", record("j", ".bin", pieceSize, 3), "0123");
  dir.write("j2.frg", std::string(std::size_t(pieceSize), 'b'));
  dir.write("j3.frg", "tail");
  EXPECT_EQ(mergeText(dir, m), "0123" + std::string(std::size_t(pieceSize), 'b') + "tail");
  dir.write("j2.frg", std::string(std::size_t(pieceSize) + 1, 'b'));  // longer is wrong too
  EXPECT_THROW(merger::planMerge(m, kLayout), EMergeError);
  dir.write("j2.frg", std::string(std::size_t(pieceSize), 'b'));
  platform::deleteFile(dir.file("j3.frg"));
  try {
    merger::planMerge(m, kLayout);
    ADD_FAILURE() << "a missing last piece was accepted";
  } catch (const EMergeError& e) {
    EXPECT_EQ(std::string(e.what()), "File not found: \"j3.frg\"");
  }
}

TEST(MergePlan, HeadLargerThanThePieceSizeLeavesTheMergerWithoutData) {
  ScratchDir dir;
  const std::string m = writeMerger(dir, "h.exe", record("h", "", 10, 3), "");
  dir.write("h2.frg", "0123456789");
  dir.write("h3.frg", "end");
  EXPECT_EQ(mergeText(dir, m), "0123456789end");
  // Data behind a head that is already too long means the pieces do not fit together.
  writeMerger(dir, "h.exe", record("h", "", 10, 3), "x");
  EXPECT_THROW(merger::planMerge(m, kLayout), EMergeError);
}

TEST(Merge, ZeroPieceSizeStillCopiesEverySource) {
  // Count mode with more pieces than bytes: every piece but the last is empty.
  ScratchDir dir;
  const std::string m = writeMerger(dir, "z.exe", record("z", ".q", 0, 3), "");
  dir.write("z2.frg", "");
  dir.write("z3.frg", "all the data");
  EXPECT_EQ(mergeText(dir, m), "all the data");
}

TEST(Merge, ProgressStepsAndDeletionSparesTheMerger) {
  ScratchDir dir;
  const std::string m = writeMerger(dir, "p.exe", record("p", ".o", 0, 3), "");
  dir.write("p1.frg", "not a piece");
  dir.write("p2.frg", "");
  dir.write("p3.frg", "x");
  NoProgress progress;
  merger::MergeSettings settings{m, dir.path(), true, true};
  merger::runMerge(settings, kLayout, progress);
  EXPECT_EQ(progress.positions, (std::vector<int>{33, 66, 100}));
  EXPECT_TRUE(platform::fileExists(m));
  EXPECT_TRUE(platform::fileExists(dir.file("p1.frg")));
  EXPECT_FALSE(platform::fileExists(dir.file("p2.frg")));
  EXPECT_FALSE(platform::fileExists(dir.file("p3.frg")));
}

TEST(Merge, OutputNeverReplacesTheMergerOrAPiece) {
  // A split "setup.exe" has the merger "setup.exe": merging into its own folder would overwrite
  // the merger while it is read.
  ScratchDir dir;
  const std::string m = writeMerger(dir, "setup.exe", record("setup", ".exe", 0, 1), "data");
  NoProgress progress;
  merger::MergeSettings settings{m, dir.path(), false, true};
  EXPECT_THROW(merger::runMerge(settings, kLayout, progress), EMergeError);
  EXPECT_EQ(ScratchDir::read(m).substr(kHead), "data");
  settings.destFolder = dir.file("missing");
  EXPECT_THROW(merger::runMerge(settings, kLayout, progress), EMergeError);
}

TEST(MergePlan, DataMayEndEarlyOnlyWhenTheHeadOutgrowsThePieces) {
  ScratchDir dir;
  // A head longer than PieceSize: the split counted pieces that the data never reached.
  const std::string m = writeMerger(dir, "e.exe", record("e", "", 10, 4), "");
  dir.write("e2.frg", "0123");
  dir.write("e3.frg", "");
  dir.write("e4.frg", "");
  EXPECT_EQ(mergeText(dir, m), "0123");
  dir.write("e4.frg", "x");  // a short piece followed by data was cut
  EXPECT_THROW(merger::planMerge(m, kLayout), EMergeError);
  // With a head that fits in a piece, every piece but the last is whole.
  const std::string big(10, 'd');
  const std::string f =
      writeMerger(dir, "f.exe", record("f", "", std::int32_t(kHead) + 10, 3), big);
  dir.write("f2.frg", "0123");
  dir.write("f3.frg", "");
  EXPECT_THROW(merger::planMerge(f, kLayout), EMergeError);
}

TEST(Merge, NameTooLongForTheFolderFailsBeforeAnythingIsWritten) {
  ScratchDir dir;
  const std::string m = writeMerger(
      dir, "l.exe", record(std::string(200, 'l'), "." + std::string(100, 'x'), 0, 1), "data");
  NoProgress progress;
  merger::MergeSettings settings{m, dir.path(), false, true};
  try {
    merger::runMerge(settings, kLayout, progress);
    FAIL() << "merged under a name that the folder cannot hold";
  } catch (const EMergeError& e) {
    EXPECT_NE(std::string(e.what()).find("is longer than the folder"), std::string::npos);
  }
  EXPECT_TRUE(progress.positions.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

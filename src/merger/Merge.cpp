// The merge in its order: record, joined data under a private name, pieces by the merger's own
// name, the archive of a compressed job, and only then the result's real name and deletions.
#include "merger/Merge.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "job/BlockCascade.h"
#include "merger/Extraction.h"
#include "merger/SetCheck.h"
#include "platform/File.h"
#include "platform/HashThread.h"
#include "platform/IoError.h"
#include "platform/OwnSha256.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"
#include "platform/SignalCleanup.h"

namespace merger {

namespace {

// Whether replacing the directory entry `output` would take the place of `piece`. A link at the
// output's name is replaced, not followed, so only the entry itself (or a hard link) counts.
bool replacingTakes(const std::string& output, const std::string& piece) {
  return platform::sameFile(output, piece, /*firstByItsOwnEntry=*/true);
}

// The result replaces an existing file: never the merger itself or one of its pieces.
void checkOutputSparesSources(const std::string& output, const MergePlan& plan) {
  for (const PieceSource& piece : plan.pieces)
    if (replacingTakes(output, piece.path))
      throw EMergeError("Merging into \"" + output + "\" would overwrite \"" +
                        platform::fileNameOf(piece.path) +
                        "\", which is still needed; choose another destination folder");
}

// The joined data lives under a private name that the user never chose: a failure there is
// reported with the name that the user knows, the file that was being made.
template <typename Step>
void asMaking(const std::string& result, Step&& step) {
  try {
    step();
  } catch (const platform::EInOutError& e) {
    if (!platform::isPendingFileName(platform::fileNameOf(e.path()))) throw;
    throw platform::EInOutError(e.code(), result);
  }
}

// A name that the destination's file system cannot hold would fail only at the very end, after
// the whole join was written.
void checkNameFits(const std::string& folder, const std::string& name) {
  const long longest = platform::longestNameIn(folder);
  if (longest > 0 && name.size() > static_cast<std::size_t>(longest))
    throw EMergeError("The name \"" + name + "\" is longer than the folder \"" + folder +
                      "\" allows. Nothing was merged");
}

// With a checksum file, every byte is hashed on a thread beside the copy into the joined data's
// digest, whose line covers every piece's data at once. The digests take the bytes read back
// from the joined file, so the copy itself stays inside the kernel (here a copy inside the
// kernel plus a read-back costs less system time than reading and writing through a buffer). A
// piece that holds more than its data (the merger file: its program, its record and a compressed
// job's unarchiver library) is hashed whole into its own digest too, side by side with the joined
// one, so that its own line is checked. Without a line for the joined data, each piece is hashed
// into its own digest instead.
class JoinDigests {
 public:
  explicit JoinDigests(bool joinedLine) : m_thread(m_digests) { m_digests.wholeOn = joinedLine; }

  // Whether the piece's own line is checked while it is joined.
  bool ownDigest(const PieceSource& piece) const { return !m_digests.wholeOn || piece.offset > 0; }
  // The digests for the piece about to be joined.
  job::CopyHashers hashers(const PieceSource& piece, platform::File& joinedReadBack) {
    m_thread.drain();  // the last piece's bytes went where that piece's switches said
    m_digests.pieceOn = ownDigest(piece);
    return {&m_thread, nullptr, &joinedReadBack};
  }
  // The head belongs to the piece's digest only, and leaves `source` where the piece's data
  // starts.
  void hashHead(platform::File& source, std::int64_t length) {
    // The thread is idle between pieces: the engine is ours meanwhile.
    m_thread.drain();
    std::vector<char> buffer(kHeadBlock);
    for (std::int64_t left = length; left > 0;) {
      const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, kHeadBlock));
      source.readExact(buffer.data(), n);
      m_digests.piece.update(buffer.data(), n);
      left -= static_cast<std::int64_t>(n);
    }
  }
  platform::Sha256Digest finishPiece() {
    m_thread.drain();
    return m_digests.piece.finish();
  }
  platform::Sha256Digest finishJoined() { return m_thread.finish(); }

 private:
  static constexpr std::int64_t kHeadBlock = 1 << 20;
  platform::Sha256Pair m_digests;
  platform::HashThread m_thread;
};

// Joins the pieces into `joined`. With a check, a piece checked on its own that differs from its
// line ends the join at once; returns the joined data's digest when its line is to be checked.
std::optional<platform::Sha256Digest> joinPieces(const MergePlan& plan,
                                                 platform::PendingFile& pending,
                                                 MergeProgress& progress, const SetCheck* check,
                                                 const std::string& joinedName) {
  job::BlockCascade& cascade = job::BlockCascade::shared();
  platform::File& joined = pending.file();
  std::optional<JoinDigests> digests;
  platform::File readBack;
  if (check) {
    digests.emplace(check->hasLine(joinedName));
    readBack = platform::File::openRead(pending.temporaryPath());
  }
  const std::int64_t count = plan.record.pieceCount;
  std::int64_t expected = 0;
  int position = 0;
  for (std::int64_t p = 1; p <= count; ++p) {
    const PieceSource& piece = plan.pieces[static_cast<std::size_t>(p - 1)];
    const bool ownDigest = digests && digests->ownDigest(piece);
    // Only read: pieces from read-only media merge as they are.
    platform::File source = platform::File::openRead(piece.path);
    if (ownDigest)
      digests->hashHead(source, piece.offset);
    else
      source.seek(piece.offset);
    // The pieces were measured before: each is copied to its end. The bound only keeps the
    // cascade's largest blocks away from the next piece's share, as the split job's did.
    const std::int64_t bound = (p + 1) * std::int64_t(plan.record.pieceSize);
    cascade.copyPiece(source, joined, bound, /*last=*/true,
                      digests ? digests->hashers(piece, readBack) : job::CopyHashers{});
    source.close();
    expected += piece.size;
    if (joined.size() != expected)
      throw EMergeError("The piece \"" + platform::fileNameOf(piece.path) +
                        "\" changed while it was merged. Nothing was merged");
    if (ownDigest) check->checkPiece(piece.path, digests->finishPiece());
    position += static_cast<int>(100 / count);
    progress.setPosition(p == count ? 100 : position);
  }
  if (!digests || !check->hasLine(joinedName)) return std::nullopt;
  return digests->finishJoined();
}

}  // namespace

std::string runMerge(const MergeSettings& settings, const MergerLayout& layout,
                     MergeProgress& progress, const MergePlanner& planner) {
  const MergePlan plan = planner ? planner() : planMerge(settings.ownPath, layout);
  if (!platform::folderExists(settings.destFolder))
    throw EMergeError("The destination folder \"" + settings.destFolder +
                      "\" does not exist; choose another one");
  const job::ScriptRecord& record = plan.record;
  const std::string outputPath = platform::joinPath(settings.destFolder, plan.outputName);
  checkOutputSparesSources(outputPath, plan);
  const bool extract = record.compressed && settings.unzip;
  // A compressed job's joined archive keeps its private name while it is extracted, so that
  // neither the result (which may itself be a BaseName.zip) nor a user's file can be it.
  const std::string joinedPath =
      record.compressed ? platform::joinPath(settings.destFolder, plan.archiveName) : outputPath;
  if (!extract) checkOutputSparesSources(joinedPath, plan);

  const std::string resultPath = extract ? outputPath : joinedPath;
  checkNameFits(settings.destFolder, platform::fileNameOf(resultPath));
  // With a checksum file beside the set, the set is checked as it is joined; a checksum file of
  // another set is refused before anything is written.
  const std::optional<SetCheck> check = SetCheck::load(plan.checksumFile);
  if (check) check->checkLines(plan);
  // What a merge killed outright (SIGKILL, a power cut) left here is of no use to anyone.
  platform::removeLeftovers({{false, platform::isPendingFileName}}, settings.destFolder);
  const std::string joinedName = record.compressed ? plan.archiveName : plan.outputName;
  std::optional<platform::PendingFile> joined;
  asMaking(resultPath, [&] {
    joined.emplace(joinedPath);
    const std::optional<platform::Sha256Digest> digest =
        joinPieces(plan, *joined, progress, check ? &*check : nullptr, joinedName);
    if (digest && !check->matchesLine(joinedName, *digest)) {
      // Some piece is damaged: it is found with the joined data gone, whose space it may need.
      joined->discard();
      check->nameDamagedPiece(plan, joinedName);
    }
    if (extract)
      joined->file().close();
    else
      joined->commit();
  });
  if (extract) {
    if (layout.ownUnpackLib.empty())
      extractArchive(plan.pieces.front().path, plan.libraryOffset, layout.unzipLibrarySize,
                     joined->temporaryPath(), settings.destFolder, settings.archiverHost);
    else
      extractArchive(layout.ownUnpackLib, 0, platform::fileSize(layout.ownUnpackLib),
                     joined->temporaryPath(), settings.destFolder, settings.archiverHost);
    joined->discard();
  }

  // Only a whole merge lets the pieces go, and never the merger file itself.
  if (settings.deletePieces)
    for (std::size_t p = plan.keptPieces; p < plan.pieces.size(); ++p)
      platform::deleteFile(plan.pieces[p].path);
  return resultPath;
}

}  // namespace merger

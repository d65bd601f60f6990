// The merge in its order: record, joined data under a private name, pieces by the merger's own
// name, the archive of a compressed job, and only then the result's real name and deletions.
#include "merger/Merge.h"

#include <optional>

#include "job/BlockCascade.h"
#include "merger/Extraction.h"
#include "merger/SetCheck.h"
#include "platform/File.h"
#include "platform/IoError.h"
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

// Joins the pieces into `joined`, the copy inside the kernel. With a check, the regions of the
// joined data are checked against the pieces' lines on a thread that follows the copy; a damaged
// piece that it finds ends the join early, and the join is only done once every region is
// checked.
void joinPieces(const MergePlan& plan, platform::PendingFile& pending, MergeProgress& progress,
                const SetCheck* check) {
  job::BlockCascade& cascade = job::BlockCascade::shared();
  platform::File& joined = pending.file();
  // Its thread reads the joined file: it ends before the file is renamed or removed.
  std::optional<RegionCheck> regions;
  if (check) regions.emplace(*check, plan, pending.temporaryPath());
  const std::int64_t count = plan.record.pieceCount;
  std::int64_t expected = 0;
  int position = 0;
  for (std::int64_t p = 1; p <= count; ++p) {
    const PieceSource& piece = plan.pieces[static_cast<std::size_t>(p - 1)];
    // Only read: pieces from read-only media merge as they are.
    platform::File source = platform::File::openRead(piece.path);
    source.seek(piece.offset);
    // The pieces were measured before: each is copied to its end. The bound only keeps the
    // cascade's largest blocks away from the next piece's share, as the split job's did.
    const std::int64_t bound = (p + 1) * std::int64_t(plan.record.pieceSize);
    cascade.copyPiece(source, joined, bound, /*last=*/true);
    source.close();
    expected += piece.size;
    if (joined.size() != expected)
      throw EMergeError("The piece \"" + platform::fileNameOf(piece.path) +
                        "\" changed while it was merged. Nothing was merged");
    if (regions) {
      regions->joined(static_cast<std::size_t>(p));
      regions->throwFound();
    }
    position += static_cast<int>(100 / count);
    progress.setPosition(p == count ? 100 : position);
  }
  if (regions) regions->finish();
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
  std::optional<platform::PendingFile> joined;
  asMaking(resultPath, [&] {
    joined.emplace(joinedPath);
    joinPieces(plan, *joined, progress, check ? &*check : nullptr);
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

// The merge in its order: record, output, pieces by the merger's own name, deletions, and the
// archive of a compressed job.
#include "merger/Merge.h"

#include <sys/stat.h>

#include <limits>

#include "job/BlockCascade.h"
#include "merger/Extraction.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace merger {

namespace {

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// Creating the output replaces an existing file: never the merger itself or one of its pieces.
void checkOutputSparesSources(const std::string& output, const MergePlan& plan) {
  for (const PieceSource& piece : plan.pieces)
    if (sameFile(output, piece.path))
      throw EMergeError("Merging into \"" + output + "\" would overwrite \"" +
                        platform::fileNameOf(piece.path) +
                        "\", which is still needed; choose another destination folder");
}

}  // namespace

std::string runMerge(const MergeSettings& settings, const MergerLayout& layout,
                     MergeProgress& progress) {
  const MergePlan plan = planMerge(settings.ownPath, layout);
  if (!platform::folderExists(settings.destFolder))
    throw EMergeError("The destination folder \"" + settings.destFolder +
                      "\" does not exist; choose another one");
  const job::ScriptRecord& record = plan.record;
  const std::string outputPath = platform::joinPath(settings.destFolder, plan.outputName);
  checkOutputSparesSources(outputPath, plan);
  std::string archivePath;
  if (record.compressed) {
    archivePath = platform::joinPath(settings.destFolder, plan.archiveName);
    checkOutputSparesSources(archivePath, plan);
  }

  platform::File output = platform::File::create(outputPath);
  job::BlockCascade& cascade = job::BlockCascade::shared();
  const std::int64_t count = record.pieceCount;
  int position = 0;
  for (std::int64_t p = 1; p <= count; ++p) {
    const PieceSource& piece = plan.pieces[static_cast<std::size_t>(p - 1)];
    // Only read: pieces from read-only media merge as they are.
    platform::File source = platform::File::openRead(piece.path);
    source.seek(piece.offset);
    // The pieces were measured before: each is copied to its end. The bound only keeps the
    // cascade's largest blocks away from the next piece's share, as the split job's did.
    const std::int64_t bound = (p + 1) * std::int64_t(record.pieceSize);
    cascade.copyPiece(source, output, bound, /*last=*/true);
    position += static_cast<int>(100 / count);
    progress.setPosition(p == count ? 100 : position);
    source.close();
    // Piece 1 is the merger file itself: it is never deleted.
    if (settings.deletePieces && p >= 2) platform::deleteFile(piece.path);
  }
  output.close();

  if (!record.compressed) return outputPath;
  platform::renameFile(outputPath, archivePath);
  if (!settings.unzip) return archivePath;
  extractArchive(settings.ownPath, plan.libraryOffset, layout.unzipLibrarySize, archivePath,
                 settings.destFolder, settings.archiverHost);
  platform::deleteFile(archivePath);
  return platform::joinPath(settings.destFolder, plan.outputName);
}

}  // namespace merger

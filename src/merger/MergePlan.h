// What one merge will read and write, taken from the merger file's record and checked once,
// before anything is written: plain output names, and every piece present and of its length.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "job/Names.h"
#include "job/ScriptRecord.h"

namespace merger {

// A merge that cannot go on; the text says why and what to do.
class EMergeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The lengths that this merger program carries in its stamp.
struct MergerLayout {
  std::int64_t imageSize = 0;         // MergerImageSize
  std::int64_t unzipLibrarySize = 0;  // UnzipLibrarySize
  // When not empty, the packed unarchiver library (the whole file) that a compressed set is
  // extracted with, in place of the one in the merger file: a program that joins a set whose
  // merger was made for another system cannot load that system's library.
  std::string ownUnpackLib{};
};

struct PieceSource {
  std::string path;
  std::int64_t offset = 0;  // where the piece's data starts in that file
  std::int64_t size = 0;    // the bytes of data it holds, measured when the merge was planned
};

struct MergePlan {
  job::ScriptRecord record;
  std::string outputName;          // BaseName + FileExtension, trailing blanks and controls removed
  std::string archiveName;         // BaseName + ".zip", compressed jobs only
  std::int64_t libraryOffset = 0;  // the packed unarchiver library in the merger file
  std::vector<PieceSource> pieces;  // piece 1 is the merger file itself
  std::string checksumFile;         // the set's BaseName.sha256, whether it is there or not
  // The leading pieces that "Delete partial files when merged" leaves: the merger file is one.
  std::size_t keptPieces = 1;
};

using job::trimTrailingControls;

// Piece p's path: the merger's own path without its ".exe" + p + ".frg".
std::string piecePath(const std::string& ownPath, std::int64_t index);
// The set's checksum file: the merger's own path without its ".exe" + ".sha256".
std::string checksumPath(const std::string& ownPath);

// Reads the record at layout.imageSize of the merger file `ownPath` and checks the merge it
// describes. Throws EMergeError for a file without a sound record, for names that are not plain
// file names, for a missing piece ("File not found" and its name) and for a piece of the wrong
// length.
MergePlan planMerge(const std::string& ownPath, const MergerLayout& layout);

// The merge of a set that a script joins: the pieces `spacelessName` + 1.frg to + `count`.frg in
// `folder`, into `outputName`. Throws EMergeError for a missing piece ("File not found" and its
// name) and for a piece before the last whose length differs from the first's.
MergePlan planPieceMerge(const std::string& folder, const std::string& spacelessName,
                         std::int64_t count, const std::string& outputName,
                         const std::string& checksumFile);

}  // namespace merger

// Reading the merger's record and checking every piece before the merge writes anything.
#include "merger/MergePlan.h"

#include <algorithm>

#include "job/ChecksumFile.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace merger {

namespace {

const std::string kPieceExtension = ".frg";
const std::string kMergerExtension = ".exe";

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                    [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

// A record comes with a file from elsewhere: its names may only ever name a file inside the
// destination folder.
void checkPlainName(const std::string& name) {
  const bool plain = name.find('/') == std::string::npos && name.find('\0') == std::string::npos &&
                     name != "." && name != ".." && !name.empty();
  if (!plain)
    throw EMergeError("The merger's record names the file \"" + name +
                      "\", which is not a plain file name; this merger file is damaged or was "
                      "not made by Fennock");
}

job::ScriptRecord readRecord(platform::File& own, const MergerLayout& layout) {
  const std::string name = platform::fileNameOf(own.path());
  if (own.size() < layout.imageSize + std::int64_t(job::kScriptRecordSize))
    throw EMergeError("\"" + name + "\" holds no merge data; run the .exe file that Fennock " +
                      "wrote beside the .frg pieces");
  job::ScriptRecord::Bytes bytes{};
  own.seek(layout.imageSize);
  own.readExact(bytes.data(), bytes.size());
  const auto record = job::ScriptRecord::fromBytes(bytes);
  const bool sound = bytes[job::kRecordBaseNameOffset] <= job::kRecordNameCapacity &&
                     bytes[job::kRecordCompressedOffset] <= 1 && record.pieceCount >= 0 &&
                     record.pieceSize >= 0;
  if (!sound)
    throw EMergeError("The merge data of \"" + name + "\" is damaged; the file cannot be merged");
  // The split writes a count of 0 until its last piece is closed: a split that was stopped
  // halfway leaves a set that looks whole but is not.
  if (record.pieceCount == 0)
    throw EMergeError("The split that made \"" + name +
                      "\" did not finish; this set is incomplete. Nothing was merged");
  return record;
}

[[noreturn]] void reportLength(const std::string& path, std::int64_t actual,
                               std::int64_t expected) {
  throw EMergeError("The piece \"" + platform::fileNameOf(path) + "\" holds " +
                    std::to_string(actual) + " bytes of data where " + std::to_string(expected) +
                    " were expected; it may have been cut short in transfer. Nothing was merged");
}

// A piece's length; "File not found" and its name when it is not there.
std::int64_t measurePiece(const std::string& path) {
  const std::int64_t size = platform::fileSize(path);
  if (size < 0 || !platform::fileExists(path))
    throw EMergeError(platform::ioErrorText(platform::kIoFileNotFound) + ": \"" +
                      platform::fileNameOf(path) + "\"");
  return size;
}

std::string setStem(const std::string& ownPath) {
  std::string stem = ownPath;
  if (endsWithNoCase(stem, kMergerExtension)) stem.resize(stem.size() - kMergerExtension.size());
  return stem;
}

}  // namespace

std::string piecePath(const std::string& ownPath, std::int64_t index) {
  return setStem(ownPath) + std::to_string(index) + kPieceExtension;
}

std::string checksumPath(const std::string& ownPath) {
  return setStem(ownPath) + job::kChecksumExtension;
}

MergePlan planMerge(const std::string& ownPath, const MergerLayout& layout) {
  MergePlan plan;
  platform::File own = platform::File::openRead(ownPath);
  plan.record = readRecord(own, layout);
  const job::ScriptRecord& record = plan.record;
  const std::string base = trimTrailingControls(record.baseName);
  checkPlainName(base.empty() ? "x" : base);
  plan.outputName = base + trimTrailingControls(record.fileExtension);
  checkPlainName(plan.outputName);
  if (record.compressed) plan.archiveName = base + ".zip";

  const std::int64_t head = layout.imageSize + std::int64_t(job::kScriptRecordSize) +
                            (record.compressed ? layout.unzipLibrarySize : 0);
  plan.libraryOffset = layout.imageSize + std::int64_t(job::kScriptRecordSize);
  const std::int64_t ownSize = own.size();
  own.close();
  if (ownSize < head) reportLength(ownPath, ownSize, head);

  // Every piece but the last is PieceSize long, the merger file with its head included; the
  // last holds whatever remains, so only its presence can be checked. One exception: a head
  // longer than PieceSize makes the split count pieces that the data never reaches, so there
  // the data may end early in a piece, and every piece after it is empty.
  const std::int64_t count = record.pieceCount;
  const std::int64_t ownData = ownSize - head;
  const std::int64_t firstShare = std::max<std::int64_t>(0, record.pieceSize - head);
  if (count > 1 && ownData != firstShare) reportLength(ownPath, ownData, firstShare);
  plan.pieces.push_back({ownPath, head, ownData});
  plan.checksumFile = checksumPath(ownPath);
  std::vector<std::int64_t> sizes;
  for (std::int64_t p = 2; p <= count; ++p) {
    const std::string path = piecePath(ownPath, p);
    const std::int64_t size = measurePiece(path);
    plan.pieces.push_back({path, 0, size});
    sizes.push_back(size);
  }
  const bool headOutgrowsPieces = head > record.pieceSize;
  for (std::size_t i = 0; i + 1 < sizes.size(); ++i) {
    if (sizes[i] == record.pieceSize) continue;
    const bool dataEndsHere = headOutgrowsPieces && sizes[i] < record.pieceSize &&
                              std::all_of(sizes.begin() + std::ptrdiff_t(i) + 1, sizes.end(),
                                          [](std::int64_t size) { return size == 0; });
    if (!dataEndsHere) reportLength(plan.pieces[i + 1].path, sizes[i], record.pieceSize);
    break;
  }
  return plan;
}

MergePlan planPieceMerge(const std::string& folder, const std::string& spacelessName,
                         std::int64_t count, const std::string& outputName,
                         const std::string& checksumFile) {
  if (count <= 0)
    throw EMergeError("The set of \"" + spacelessName +
                      "1.frg\" holds no pieces. Nothing was merged");
  MergePlan plan;
  plan.outputName = trimTrailingControls(outputName);
  checkPlainName(plan.outputName);
  plan.checksumFile = checksumFile;
  plan.keptPieces = 0;
  for (std::int64_t p = 1; p <= count; ++p) {
    const std::string path =
        platform::joinPath(folder, spacelessName + std::to_string(p) + kPieceExtension);
    plan.pieces.push_back({path, 0, measurePiece(path)});
  }
  // Every piece but the last is PieceSize long and the last holds whatever remains. No record
  // gives the size here: a piece cut short in transfer is the one shorter than the longest.
  std::int64_t pieceSize = 0;
  for (std::size_t i = 0; i + 1 < plan.pieces.size(); ++i)
    pieceSize = std::max(pieceSize, plan.pieces[i].size);
  for (std::size_t i = 0; i + 1 < plan.pieces.size(); ++i)
    if (plan.pieces[i].size != pieceSize)
      reportLength(plan.pieces[i].path, plan.pieces[i].size, pieceSize);
  if (pieceSize > INT32_MAX)
    throw EMergeError("The piece \"" + platform::fileNameOf(plan.pieces.front().path) +
                      "\" is longer than Fennock's pieces can be. Nothing was merged");
  plan.record.baseName = spacelessName;
  plan.record.pieceSize = static_cast<std::int32_t>(pieceSize);
  plan.record.pieceCount = static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
  return plan;
}

}  // namespace merger

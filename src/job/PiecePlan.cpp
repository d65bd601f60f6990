// Piece size and count of a job, refusing what the job or the merger's record cannot hold.
#include "job/PiecePlan.h"

#include "job/SplitJob.h"
#include "platform/Numbers.h"

namespace job {

namespace {

bool isBlankText(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

const std::string kMaxText = "2147483647";

}  // namespace

std::int64_t pieceSizeFromText(const std::string& text, int unitIndex) {
  if (isBlankText(text)) throw EJobRefused("No piece size is given; enter the size of each piece");
  std::int64_t size;
  if (unitIndex == kUnitBytes) {
    size = platform::variantToInt64(text);
  } else {
    const double factor = unitIndex == kUnitKbytes ? 1024.0 : 1048576.0;
    size = platform::roundToInt32(platform::variantToDouble(text) * factor);
  }
  if (size < 1) throw EJobRefused("The piece size must be at least 1 byte");
  if (size > kMaxPieceValue)
    throw EJobRefused("The piece size must not exceed " + kMaxText + " bytes");
  return size;
}

std::int64_t pieceCountFromText(const std::string& text) {
  if (isBlankText(text))
    throw EJobRefused("No number of pieces is given; enter how many pieces to make");
  std::int64_t count = platform::strToInt(text);
  if (count < 1) throw EJobRefused("The number of pieces must be at least 1");
  return count;
}

PiecePlan planBySize(std::int64_t totalSize, std::int64_t pieceSize) {
  PiecePlan plan{pieceSize, totalSize / pieceSize + (totalSize % pieceSize != 0 ? 1 : 0)};
  if (plan.pieceCount > kMaxPieceValue)
    throw EJobRefused("The job would make more than " + kMaxText +
                      " pieces; choose a larger piece size");
  return plan;
}

PiecePlan planByCount(std::int64_t totalSize, std::int64_t pieceCount) {
  PiecePlan plan{static_cast<std::int64_t>(double(totalSize) / double(pieceCount)), pieceCount};
  if (plan.pieceSize > kMaxPieceValue)
    throw EJobRefused("Each piece would hold more than " + kMaxText + " bytes; choose more pieces");
  return plan;
}

}  // namespace job

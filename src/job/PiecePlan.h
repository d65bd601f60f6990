// The arithmetic that turns the size, unit and count settings into a piece size and count.
#pragma once

#include <cstdint>
#include <string>

namespace job {

// The record that the merger reads keeps both values in signed 32 bits.
inline constexpr std::int64_t kMaxPieceValue = 2147483647;

inline constexpr int kUnitBytes = 0;
inline constexpr int kUnitKbytes = 1;  // any other index, none included, is megabytes

struct PiecePlan {
  std::int64_t pieceSize = 0;
  std::int64_t pieceCount = 0;
};

// The size value in bytes: bytes by the variant conversion (rounding the fraction), Kbytes and
// Mbytes through a double rounded half to even. Refuses (EJobRefused) an empty text and a result
// below 1 byte or above kMaxPieceValue; conversion failures keep the system's texts.
std::int64_t pieceSizeFromText(const std::string& text, int unitIndex);

// The count text as a whole number; refuses an empty text and a count below 1.
std::int64_t pieceCountFromText(const std::string& text);

// Size mode: as many pieces as the size fits in the total, one more for a remainder.
PiecePlan planBySize(std::int64_t totalSize, std::int64_t pieceSize);
// Count mode: total / count truncated, the last piece taking the remainder.
PiecePlan planByCount(std::int64_t totalSize, std::int64_t pieceCount);

}  // namespace job

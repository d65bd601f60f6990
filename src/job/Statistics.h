// The values a finished job hands to its progress view, and the five statistics lines they make.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace job {

struct JobStatistics {
  std::int64_t pieceCount = 0;
  std::int64_t extraFiles = 0;  // written beside the pieces: the checksum file
  std::int64_t pieceSize = 0;   // after the count-mode adjustment
  std::int64_t inputSize = 0;
  std::int64_t compressedSize = 0;  // meaningful for compressed jobs only
  bool compressed = false;
  std::int32_t elapsedMs = 0;
};

// Label1 to Label5 of the dialog's "Statistics" group, in the current locale.
std::array<std::string, 5> statisticsTexts(const JobStatistics& stats);

}  // namespace job

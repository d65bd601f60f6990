// The statistics lines of a finished job.
#include "job/Statistics.h"

#include "platform/Numbers.h"

namespace job {

namespace {

std::string megabytes(std::int64_t bytes) {
  return platform::formatFixed2(double(bytes) / 1048576.0);
}

}  // namespace

std::array<std::string, 5> statisticsTexts(const JobStatistics& stats) {
  std::array<std::string, 5> lines;
  const std::int64_t files = stats.pieceCount + stats.extraFiles;
  lines[0] = files == 1 ? "1 file was created" : std::to_string(files) + " files were created";
  lines[1] = "Output files size: " + megabytes(stats.pieceSize) + " MegaBytes";
  lines[2] = "Total size of output files: " +
             megabytes(stats.compressed ? stats.compressedSize : stats.inputSize) + " MegaBytes";
  if (!stats.compressed) {
    lines[3] = "No compression performed";
  } else if (stats.inputSize == 0) {
    // An empty input has no ratio; say what happened instead of showing a division by zero.
    lines[3] = "No compression ratio: the input file is empty";
  } else {
    double ratio = double(stats.inputSize - stats.compressedSize) * 100.0 / double(stats.inputSize);
    lines[3] = "Compressed at " + platform::formatFixed2(ratio) + "%";
  }
  lines[4] = "Time elapsed: " + platform::formatGeneral(stats.elapsedMs * 0.001) + " Seconds";
  return lines;
}

}  // namespace job

// The names of a job's output files, derived from the input's file name.
#pragma once

#include <cstdint>
#include <string>

namespace job {

struct JobNames {
  std::string baseName;       // the file name up to its first "."
  std::string fileExtension;  // from that "." on, dot included; empty without a "."
  std::string spacelessName;  // baseName with every space removed
};

// S with every occurrence of Sub removed, scanning left to right after each removal.
std::string RemoveSubstring(const std::string& s, const std::string& sub);

JobNames deriveNames(const std::string& inputPath);

// Piece i's file name (i >= 2 for the .EXE merger, whose piece 1 is the merger file).
std::string pieceFileName(const JobNames& names, bool exeMerger, std::int64_t index);
// BaseName + ".exe" or BaseName + ".bat".
std::string mergerFileName(const JobNames& names, bool exeMerger);

// The characters of code 32 or below at the end of a record name are dropped.
std::string trimTrailingControls(const std::string& name);

}  // namespace job

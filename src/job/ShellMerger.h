// The shell merger: a POSIX sh script that checks and joins a set on any Unix system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace job {

struct ShellMergerPiece {
  std::string name;  // a bare file name in the script's folder
  std::int64_t size = 0;
};

struct ShellMergerSet {
  std::string outputName;     // the joined (and, when compressed, extracted) file
  std::string sumsName;       // the checksum file, used when it is there
  std::string archiveName;    // compressed sets: where the joined archive is left without unzip
  std::int64_t headSize = 0;  // bytes of the first piece that are not data (the .EXE merger's head)
  std::vector<ShellMergerPiece> pieces;
};

// `text` as one word of sh, whatever bytes it holds.
std::string shellQuoted(const std::string& text);

// The whole script for `set`.
std::string shellMergerScript(const ShellMergerSet& set);

}  // namespace job

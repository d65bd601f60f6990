// Finding a whole set from any one of its files, so that a set can be joined without running
// the merger that came with it.
#pragma once

#include <optional>
#include <string>

#include "merger/MergePlan.h"

namespace merger {

struct SetLocation {
  // An .EXE merger file starts the set and carries its record; else the .frg pieces 1..n stand
  // alone beside their .BAT script.
  bool exeMerger = false;
  std::string folder;
  std::string mergerPath;     // BaseName.exe (with an .EXE merger)
  std::string baseName;       // the split file's name up to its first "."
  std::string spacelessName;  // the pieces' name before their number, without an .EXE merger
};

// The set that `member` belongs to: its .exe merger, any NAME<i>.frg piece, its .bat or .sh
// script or its checksum file. Nothing when the file's name is none of these.
std::optional<SetLocation> findSet(const std::string& member);

// The plan of a set without an .EXE merger: n from the .bat script, else from the checksum
// file, else the highest piece present; the joined name as the script names it.
MergePlan planScriptSet(const SetLocation& set);

}  // namespace merger

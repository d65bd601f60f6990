// What one PackLibExec call asks for, decoded from either command layout into owned values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zip/LibraryRecords.h"

namespace packlib {

struct SpecRequest {
  std::string text;  // path or wildcard pattern
  bool recurse = false;
  std::string rootDir;  // base of a relative spec; empty = the current folder
  bool encrypt = false;
};

struct AddRequest {
  std::string archivePath;
  std::vector<SpecRequest> specs;
  std::vector<std::string> excludes;
  std::vector<std::string> storeSuffixes;  // lower-case, each with its dot
  std::string comment;
  int level = 9;
  bool stripPaths = true;
  bool hiddenFiles = false;
  bool move = false;
  bool update = false;
  bool freshen = false;
  bool verbose = false;
  bool encrypt = false;
};

// Reads the command at `command`: the 216-byte layout when its Seven field is 7 there, else the
// legacy layout. Throws PackError when neither layout is recognised.
AddRequest decodeCommand(const void* command);

// The callback fields, which sit at the same place in both layouts.
inline PackLibCallbackProc commandCallback(const void* command) {
  return static_cast<const PackLibCommand*>(command)->CallbackProc;
}
inline void* commandCaller(const void* command) {
  return static_cast<const PackLibCommand*>(command)->Caller;
}

}  // namespace packlib

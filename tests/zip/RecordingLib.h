// The state of the recording stand-in library that the archiver component tests load as PackLib.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "zip/LibraryRecords.h"

struct ScriptedCallback {
  ScriptedCallback(int32_t a, int32_t one, int32_t two, std::string t)
      : action(a), arg1(one), arg2(two), text(std::move(t)) {}
  int32_t action = 0;
  int32_t arg1 = 0;
  int32_t arg2 = 0;
  std::string text;
  // Filled in after the call: what the component answered and wrote back.
  int32_t answer = 0;
  int32_t arg1After = 0;
  int32_t arg2After = 0;
  std::string textAfter;
};

struct RecordedSpec {
  std::string text, password, rootDir;
  bool hasPassword = false, hasRootDir = false;
  int32_t encrypt = 0;
  uint16_t recurse = 0;
};

struct RecordingLibState {
  int32_t version = 160;  // what GetPackLibVersion answers
  int32_t result = 1;     // what PackLibExec returns
  std::vector<ScriptedCallback> script;
  // The last command, as received.
  int calls = 0;
  std::vector<uint8_t> rawRecord;  // the record's bytes (either layout)
  bool legacy = false;
  std::string archivePath, password, suffixes, tempDir, comment;
  bool hasPassword = false, hasSuffixes = false, hasTempDir = false, hasComment = false;
  std::vector<RecordedSpec> specs;
  std::vector<std::string> excludes;
  bool excludesNull = true;
};

// Exported by the stand-in; the test reaches it with dlsym.
extern "C" RecordingLibState* RecordingLibGetState();

// What the stand-in unarchiver library recorded of the last command record it received.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ExtractRecording {
  int32_t version = 160;
  int32_t result = 2;
  int calls = 0;
  bool legacy = false;
  void* owner = nullptr;
  int32_t interfaceVersion = 0, constantOne = 0, seven = 0, retries = -1;
  int32_t test = 0, update = 0, freshen = 0, dirNames = 0, overwrite = 0, verbose = 0;
  bool passwordNull = true;
  std::string password, archivePath, currentFolder;
  std::vector<std::string> specs;
  // Sent once through the callback when set (ActionCode 1, a new file).
  bool sendNewFile = false;
  int32_t callbackAnswer = -1;
};

// Exported by the stand-in; the test reaches it with dlsym.
extern "C" ExtractRecording* ExtractRecordingState();

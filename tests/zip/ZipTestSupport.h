// Shared helpers of the archiver tests: library folders, message capture and peer programs.
#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "RecordingLib.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "support/Programs.h"
#include "zip/Archiver.h"

namespace ziptest {

// The folders of the build's archiver libraries and of the test stand-ins, as the build names
// them (tests/zip/CMakeLists.txt).
inline std::string packLibDir() { return FENNOCK_PACKLIB_DIR; }
inline std::string recordingLibDir() { return FENNOCK_RECORDING_PACKLIB_DIR; }
inline std::string versionOnlyLibDir() { return FENNOCK_VERSIONONLY_PACKLIB_DIR; }

// Every message the component reports or receives, with the IDs of reported ones.
struct MessageLog {
  std::vector<std::pair<int32_t, std::string>> messages;  // (ErrCode, text)
  void attach(zip::TArchiver& z) {
    z.OnMessage = [this](zip::TArchiver&, int32_t code, const std::string& text) {
      messages.emplace_back(code, text);
    };
  }
  // Whether message `id` was reported (its fallback text ends in the ID).
  bool has(int32_t id) const {
    for (const auto& m : messages)
      if (m.second.find("Missing String ID is: " + std::to_string(id)) != std::string::npos)
        return true;
    return false;
  }
};

// Keeps the recording stand-in loaded for the test's life so that its state outlives the
// component's own load and unload around each operation.
class RecordingLib {
 public:
  RecordingLib() {
    std::string path = platform::joinPath(recordingLibDir(), PACKLIB_FILE_NAME);
    if (!m_library.load(platform::absolutePath(path)))
      throw std::runtime_error(m_library.lastError());
    auto get = reinterpret_cast<RecordingLibState* (*)()>(m_library.symbol("RecordingLibGetState"));
    m_state = get();
    *m_state = RecordingLibState{};
  }
  RecordingLibState& state() { return *m_state; }

 private:
  platform::DynamicLibrary m_library;
  RecordingLibState* m_state = nullptr;
};

// The peer programs (Python's zipfile, 7-Zip, zip) run on the Linux side only: Wine starts
// Windows programs, and the Linux build already checks the same archives with them.
#ifdef _WIN32
inline constexpr bool kPeers = false;
#else
inline constexpr bool kPeers = true;
#endif

// Runs a shell command line built by the test from fixed text and scratch paths; its exit code.
// Never on Windows (kPeers).
inline int run([[maybe_unused]] const std::string& command) {
#ifdef _WIN32
  return -1;
#else
  return testing_support::runShell(command);
#endif
}
inline bool pythonTestzip(const std::string& archive) {
  return run("python3 -c \"import sys,zipfile; z=zipfile.ZipFile(sys.argv[1]); "
             "sys.exit(1 if z.testzip() is not None else 0)\" '" +
             archive + "'") == 0;
}
inline bool sevenZipTest(const std::string& archive) { return run("7z t '" + archive + "'") == 0; }

}  // namespace ziptest

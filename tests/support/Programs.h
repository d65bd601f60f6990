// Where the tests find the programs of the build under test (ctest sets FENNOCK_BUILD_DIR).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

inline std::string buildFolder() {
  const char* build = std::getenv("FENNOCK_BUILD_DIR");
  return std::filesystem::absolute(build ? build : ".").string();
}

// The splitter, by an absolute path: tests start it from folders of their own.
inline std::string fennockProgram() { return buildFolder() + "/src/app/fennock"; }

}  // namespace testing_support

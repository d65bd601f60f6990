// Stand-in for the archiver and unarchiver libraries until they exist: real shared objects
// that export the entry points by name and process nothing. LIBRARY_PREFIX is PackLib or
// UnpackLib.
#include <cstdint>

#define FENNOCK_JOIN2(a, b) a##b
#define FENNOCK_JOIN(a, b) FENNOCK_JOIN2(a, b)

// 1.60, the version whose command record the archiver component expects.
constexpr std::int32_t kStandInVersion = 160;

extern "C" {
__attribute__((visibility("default"))) std::int32_t FENNOCK_JOIN(LIBRARY_PREFIX, Exec)(void*) {
  return 0;  // no files processed
}
__attribute__((visibility("default"))) std::int32_t FENNOCK_JOIN(FENNOCK_JOIN(Get, LIBRARY_PREFIX),
                                                                 Version)() {
  return kStandInVersion;
}
}

// A stand-in archiver library that lacks PackLibExec: the component must never call it.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t GetPackLibVersion(void) { return 160; }

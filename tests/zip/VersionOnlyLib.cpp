// A stand-in archiver library that lacks PackLibExec: the component must never call it.
#include <cstdint>

#include "zip/LibraryRecords.h"

extern "C" FENNOCK_LIBRARY_EXPORT int32_t GetPackLibVersion(void) { return 160; }

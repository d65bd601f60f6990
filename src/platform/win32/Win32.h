// What the Win32 side of the platform layer shares: the system headers and the error mapping.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/Utf16.h"

namespace platform {

// The code that EInOutError carries for a Windows error: the system's own number, with the few
// that mean the same as a table entry folded onto it.
int ioCodeFromWindowsError(DWORD error);

// File times (100-nanosecond ticks since 1601) and seconds since 1970, UTC.
std::int64_t unixSeconds(const FILETIME& time);
FILETIME fileTime(std::int64_t seconds);

[[noreturn]] void throwWindowsError(DWORD error, const std::string& path = {});

}  // namespace platform

// Text at the Windows interface: the program keeps UTF-8 inside and speaks UTF-16 to the system.
// Defined on Windows only.
#pragma once

#include <string>

namespace platform {

// Invalid UTF-8 becomes U+FFFD, as the system's own conversion makes it.
std::wstring toUtf16(const std::string& text);
std::string fromUtf16(const std::wstring& text);
std::string fromUtf16(const wchar_t* text, std::size_t length);

}  // namespace platform

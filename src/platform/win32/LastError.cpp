// Windows errors as input/output errors, and the UTF-8/UTF-16 conversions at the interface.
#include "platform/IoError.h"
#include "platform/win32/Win32.h"

namespace platform {

int ioCodeFromWindowsError(DWORD error) {
  switch (error) {
    case ERROR_HANDLE_DISK_FULL:
      return kIoWindowsDiskFull;
    case ERROR_WRITE_PROTECT:  // a read-only medium refuses access like a read-only file
      return kIoAccessDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return kIoInvalidFilename;
    default:
      return static_cast<int>(error);
  }
}

void throwWindowsError(DWORD error, const std::string& path) {
  throw EInOutError(ioCodeFromWindowsError(error), path);
}

void throwLastSystemError(const std::string& path) { throwWindowsError(::GetLastError(), path); }

std::wstring toUtf16(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string fromUtf16(const wchar_t* text, std::size_t length) {
  if (length == 0) return {};
  const int size = static_cast<int>(length);
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, size, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

std::string fromUtf16(const std::wstring& text) { return fromUtf16(text.data(), text.size()); }

}  // namespace platform

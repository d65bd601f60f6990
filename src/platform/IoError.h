// The input/output error that every failed file operation raises, with the system's texts.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Codes of the system's error table (not errno values).
inline constexpr int kIoFileNotFound = 2;
inline constexpr int kIoInvalidFilename = 3;
inline constexpr int kIoTooManyOpenFiles = 4;
inline constexpr int kIoAccessDenied = 5;
inline constexpr int kIoSharingViolation = 32;
inline constexpr int kIoReadBeyondEnd = 100;
inline constexpr int kIoDiskFull = 101;
// Windows reports a full disk with its own code, which keeps its number but reads as the table's.
inline constexpr int kIoWindowsDiskFull = 112;

// "File not found", "Disk full", ... or "I/O error %d" for codes outside the table.
std::string ioErrorText(int code);

// Maps an errno value to the table's code. `path` lets ENOENT tell a missing folder (3)
// from a missing file (2); pass an empty path when the distinction does not apply.
int ioCodeFromErrno(int err, const std::string& path = {});

// The table's text, followed by the file it concerns when one is known, so that the user learns
// which file to act on: `Disk full: "/media/usb/video3.frg"`.
std::string ioErrorMessage(int code, const std::string& path);

class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code, const std::string& path = {})
      : std::runtime_error(ioErrorMessage(code, path)), m_code(code), m_path(path) {}
  int code() const { return m_code; }
  const std::string& path() const { return m_path; }

 private:
  int m_code;
  std::string m_path;
};

// Throws EInOutError for the errno value of a failed call on `path`.
[[noreturn]] void throwIoError(int err, const std::string& path = {});

// Throws EInOutError for the last failed system call on `path`: errno on POSIX, the thread's
// last error on Windows, whose codes the program shows as they are.
[[noreturn]] void throwLastSystemError(const std::string& path = {});

}  // namespace platform

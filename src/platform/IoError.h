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

// "File not found", "Disk full", ... or "I/O error %d" for codes outside the table.
std::string ioErrorText(int code);

// Maps an errno value to the table's code. `path` lets ENOENT tell a missing folder (3)
// from a missing file (2); pass an empty path when the distinction does not apply.
int ioCodeFromErrno(int err, const std::string& path = {});

class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code) : std::runtime_error(ioErrorText(code)), m_code(code) {}
  int code() const { return m_code; }

 private:
  int m_code;
};

// Throws EInOutError for the errno value of a failed call on `path`.
[[noreturn]] void throwIoError(int err, const std::string& path = {});

}  // namespace platform

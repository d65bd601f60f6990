// The library's side of the callback: fills the callback record and honours a cancel answer.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "zip/LibraryRecords.h"

namespace packlib {

// Thrown inside the library when the caller answered nonzero; never leaves the library.
struct Cancelled {};

// A failure with the library's own error code, reported as one message.
class PackError : public std::runtime_error {
 public:
  PackError(int32_t code, const std::string& text) : std::runtime_error(text), m_code(code) {}
  int32_t code() const { return m_code; }

 private:
  int32_t m_code;
};

// The library's own error codes, sent in Arg1 of a message.
inline constexpr int32_t kErrNoFiles = 1;      // nothing matched the specs
inline constexpr int32_t kErrRead = 2;         // an input could not be read
inline constexpr int32_t kErrWrite = 3;        // the archive could not be written
inline constexpr int32_t kErrNotZip = 4;       // the existing archive is not a ZIP file
inline constexpr int32_t kErrEncryption = 5;   // encryption is not offered by this library
inline constexpr int32_t kErrBadCommand = 6;   // the command record is not understood
inline constexpr int32_t kErrCompression = 7;  // zlib reported a failure
inline constexpr int32_t kErrInternal = 8;     // anything else
inline constexpr int32_t kWarnSkipped = 9;     // a named file was not found or not readable

class Reporter {
 public:
  Reporter(PackLibCallbackProc proc, void* caller) : m_proc(proc), m_caller(caller) {}

  void newFile(const std::string& name, int64_t size) { call(kActionNewFile, 0, size, name); }
  void progress(int64_t bytes) { call(kActionProgress, 0, bytes, {}); }
  void endOfBatch() { call(kActionEndOfBatch, 0, 0, {}); }
  void totalFiles(int64_t count) { call(kActionTotalFiles, 0, count, {}); }
  void totalSize(int64_t bytes) { call(kActionTotalSize, 0, bytes, {}); }
  void message(int32_t code, const std::string& text) { call(kActionMessage, code, 0, text); }

 private:
  // Throws Cancelled when the caller answers nonzero.
  void call(int32_t action, int32_t arg1, int64_t arg2, const std::string& text);

  PackLibCallbackProc m_proc;
  void* m_caller;
};

}  // namespace packlib

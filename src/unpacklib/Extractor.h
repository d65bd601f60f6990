// One extraction run: selects entries, applies the overwrite rules and writes them safely.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace unpack {

// Why an entry was left out, sent with the "file skipped" report.
enum class SkipReason : int {
  kExists = 1,       // the file exists and may not be replaced
  kUnsafeName = 2,   // the name would leave the destination or is empty
  kLink = 3,         // a symbolic link; links are never created
  kUnsupported = 4,  // a method or encryption that this library cannot decode
  kNoPassword = 5,   // encrypted and no fitting password
  kDamaged = 6,      // CRC, sizes or data wrong
  kWriteFailed = 7,  // the file could not be written
  kNotNewer = 8,     // freshen/update: the file on disk is as new or newer
};

// Error codes of the messages (the low byte is what the caller keeps).
enum class ErrorCode : int {
  kNone = 0,      // not an error (freshen/update left a newer file alone)
  kArchive = 1,   // the archive cannot be opened or read
  kName = 2,      // an unsafe name
  kCrc = 3,       // CRC mismatch
  kData = 4,      // damaged data, lying sizes
  kMethod = 5,    // unsupported method or encryption
  kWrite = 6,     // writing failed
  kPassword = 7,  // no fitting password
  kCancel = 8,    // stopped on request
  kExists = 9,    // left alone: the file exists
};

// The answers the caller gives to the questions of a run.
enum class CrcAnswer { kDiscard, kKeep };

// Everything the run tells its caller; each call returns true when the caller asks to stop.
class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual bool totals(std::uint64_t fileCount, std::uint64_t byteCount) = 0;
  virtual bool fileBegins(const std::string& name, std::uint64_t size) = 0;
  virtual bool progress(std::uint64_t bytes) = 0;
  virtual bool batchEnds() = 0;
  virtual bool message(ErrorCode code, const std::string& text) = 0;
  virtual bool skipped(const std::string& name, SkipReason reason, ErrorCode code) = 0;
  // A CRC mismatch; the default answer is to discard the file.
  virtual bool crcMismatch(const std::string& name, std::uint32_t found, std::uint32_t expected,
                           CrcAnswer& answer) = 0;
  // The file exists and overwriting was not asked for; `overwrite` starts false.
  virtual bool askOverwrite(const std::string& name, bool existingIsOlder, bool& overwrite) = 0;
  // An encrypted entry needs a password; an empty answer gives up. `retries` may be changed.
  virtual bool askPassword(const std::string& name, std::uint32_t& retries,
                           std::string& password) = 0;
};

struct ExtractOptions {
  bool keepFolders = false;
  bool overwrite = false;
  bool freshen = false;            // only files that exist and are older
  bool update = false;             // files that are missing or older
  bool test = false;               // decode and check, write nothing
  std::vector<std::string> specs;  // empty: every entry
  std::string password;
  std::uint32_t passwordRetries = 0;
};

// Extracts from `archivePath` into `destination` (the current folder by default) and returns
// the number of files written (or tested). Throws nothing: failures are reported.
std::int32_t extractArchive(const std::string& archivePath, const ExtractOptions& options,
                            Reporter& reporter, const std::string& destination = ".");

// Whether an entry name matches a spec with "*" and "?" wildcards; a spec without a separator
// is matched against the last component only. Both separators are accepted on both sides.
bool specMatches(const std::string& spec, const std::string& entryName);

}  // namespace unpack

// A file written under a private temporary name in the folder of its final name, and moved onto
// that name in one step once it is complete: a user's file of that name is replaced only then,
// a planted link is replaced rather than followed, and a job that fails or is killed never
// leaves a half-written file that looks complete.
#pragma once

#include <string>

#include "platform/File.h"
#include "platform/SignalCleanup.h"

namespace platform {

class PendingFile {
 public:
  // Creates the temporary file exclusively beside `finalPath` (never through a link). Its name is
  // short whatever the final name, and recognisable as ours: ".fennock-<pid>-<random>.tmp".
  explicit PendingFile(const std::string& finalPath);
  ~PendingFile();  // removes the temporary file unless it was committed
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  File& file() { return m_file; }
  const std::string& finalPath() const { return m_finalPath; }
  const std::string& temporaryPath() const { return m_temporaryPath; }
  bool committed() const { return m_committed; }

  // Closes the file (a failed close is reported) and renames it onto the final name.
  void commit();
  // Closes and removes the temporary file now; nothing else is touched.
  void discard() noexcept;

 private:
  File m_file;
  std::string m_finalPath;
  std::string m_temporaryPath;
  bool m_committed = false;
  CleanupOnSignal m_cleanup;
};

// Whether `name` (a bare file name) has the form of PendingFile's temporary names; `pid` receives
// the process that made it.
bool isPendingFileName(const std::string& name, long* pid = nullptr);

}  // namespace platform

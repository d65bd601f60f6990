// The destination folder, walked one folder at a time so that no link (planted or old) is
// followed and no folder on the way can be swapped for another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SignalCleanup.h"

namespace unpack {

// What stands at a name in a folder, the entry itself rather than what a link there points to.
struct EntryInfo {
  bool isFolder = false;
  std::int64_t modified = 0;  // seconds since the epoch, UTC
};

// A folder opened below the destination: a descriptor on POSIX; on Windows a handle that keeps
// the folder from being renamed or removed while it is open, and the folder's path.
class OpenFolder {
 public:
  OpenFolder() = default;
  ~OpenFolder();
  OpenFolder(OpenFolder&& other) noexcept;
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  // What is at `name` in this folder, without following a link.
  std::optional<EntryInfo> entry(const std::string& name) const;

 private:
  friend class Destination;
  friend class PendingFile;
  using Handle = std::intptr_t;
  static constexpr Handle kClosed = -1;
  OpenFolder(Handle handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}
  static void closeHandle(Handle handle) noexcept;

  Handle m_handle = kClosed;
  std::string m_path;
};

class Destination {
 public:
  // Opens `root` (the current folder by default); throws EInOutError when it cannot.
  explicit Destination(const std::string& root = ".");

  // Opens the folders below the root one by one, creating missing ones when `create` is set.
  // A component that is a link or no folder throws EInOutError (access denied).
  OpenFolder openFolder(const std::vector<std::string>& folders, bool create) const;

 private:
  OpenFolder m_root;
};

// A file written under a temporary name in its folder and renamed onto its real name only by
// commit(); dropped without commit (failure, cancel) it is removed, so no damaged file ever
// stands under an entry's name.
class PendingFile {
 public:
  // `shownPath` is the name that failures report: the file's path as the user knows it. The
  // folder must stay open while this lives.
  PendingFile(const OpenFolder& folder, std::string finalName, std::string shownPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  void write(const std::uint8_t* data, std::size_t size);
  // Sets the modification time (seconds since the epoch, UTC) and the permission bits (on
  // Windows only the owner's write bit counts: the read-only attribute), then moves the file
  // onto its name, replacing what stood there (a link is replaced, not followed).
  void commit(std::optional<std::int64_t> modified, std::optional<unsigned> permissions);

 private:
  // A fresh hidden name for the file while it is written.
  static std::string temporaryName();

  const OpenFolder& m_folder;
  std::string m_finalName;
  std::string m_shownPath;
  std::string m_tempName;
  OpenFolder::Handle m_file = OpenFolder::kClosed;
  bool m_committed = false;
  platform::CleanupOnSignal m_cleanup;
};

}  // namespace unpack

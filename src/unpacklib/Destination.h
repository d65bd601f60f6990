// The destination folder, walked with descriptors so that no link (planted or old) is followed.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SignalCleanup.h"

namespace unpack {

// An open descriptor, closed when destroyed.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : m_fd(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return m_fd; }
  int release() {
    int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

class Destination {
 public:
  // Opens `root` (the current folder by default); throws EInOutError when it cannot.
  explicit Destination(const std::string& root = ".");

  // Opens the folders below the root one by one, creating missing ones when `create` is set.
  // A component that is a link or no folder throws EInOutError (access denied).
  UniqueFd openFolder(const std::vector<std::string>& folders, bool create) const;

 private:
  UniqueFd m_root;
};

// What is at `name` in a folder, without following a link.
std::optional<struct stat> statEntry(int folder, const std::string& name);

// A file written under a temporary name in its folder and renamed onto its real name only by
// commit(); dropped without commit (failure, cancel) it is removed, so no damaged file ever
// stands under an entry's name.
class PendingFile {
 public:
  // `shownPath` is the name that failures report: the file's path as the user knows it.
  PendingFile(int folder, std::string finalName, std::string shownPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  void write(const std::uint8_t* data, std::size_t size);
  // Sets the modification time (seconds since the epoch, UTC) and the permission bits, then
  // moves the file onto its name, replacing what stood there (a link is replaced, not followed).
  void commit(std::optional<std::int64_t> modified, std::optional<mode_t> permissions);

 private:
  int m_folder;
  std::string m_finalName;
  std::string m_shownPath;
  std::string m_tempName;
  UniqueFd m_fd;
  bool m_committed = false;
  platform::CleanupOnSignal m_cleanup;
};

}  // namespace unpack

// Descriptor-relative folder walking and temporary-then-rename file creation on POSIX.
#include "unpacklib/Destination.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/IoError.h"

namespace unpack {

namespace {

// The process's umask without changing it (umask() would, for a moment, for every thread).
mode_t currentUmask() {
  static const mode_t mask = [] {
    mode_t value = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
      char line[128];
      unsigned int parsed;
      while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "Umask: %o", &parsed) == 1) value = static_cast<mode_t>(parsed);
      std::fclose(status);
    }
    return value;
  }();
  return mask;
}

int fdOf(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

void OpenFolder::closeHandle(Handle handle) noexcept { ::close(fdOf(handle)); }

std::optional<EntryInfo> OpenFolder::entry(const std::string& name) const {
  struct stat st;
  if (::fstatat(fdOf(m_handle), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return EntryInfo{S_ISDIR(st.st_mode), static_cast<std::int64_t>(st.st_mtime)};
}

Destination::Destination(const std::string& root) {
  const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) platform::throwIoError(errno, root);
  m_root = OpenFolder(fd, root);
}

OpenFolder Destination::openFolder(const std::vector<std::string>& folders, bool create) const {
  OpenFolder current(::dup(fdOf(m_root.m_handle)), m_root.m_path);
  if (current.m_handle < 0) platform::throwIoError(errno);
  for (const std::string& name : folders) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const int parent = fdOf(current.m_handle);
    int fd = ::openat(parent, name.c_str(), flags);
    if (fd < 0 && errno == ENOENT && create) {
      if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST)
        platform::throwIoError(errno, name);
      fd = ::openat(parent, name.c_str(), flags);
    }
    if (fd < 0) {
      // A link in place of a folder (ELOOP) or a file there (ENOTDIR) blocks the way.
      int err = errno == ELOOP || errno == ENOTDIR ? EACCES : errno;
      platform::throwIoError(err, name);
    }
    current = OpenFolder(fd, current.m_path + "/" + name);
  }
  return current;
}

PendingFile::PendingFile(const OpenFolder& folder, std::string finalName, std::string shownPath)
    : m_folder(folder), m_finalName(std::move(finalName)), m_shownPath(std::move(shownPath)) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = temporaryName();
    platform::TemporaryCreation creating;
    int fd = ::openat(fdOf(m_folder.m_handle), name.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      m_tempName = name;
      m_file = fd;
      m_cleanup = platform::CleanupOnSignal::fileIn(fdOf(m_folder.m_handle), m_tempName);
      return;
    }
    if (errno != EEXIST) platform::throwIoError(errno, m_shownPath);
  }
  platform::throwIoError(EEXIST, m_shownPath);
}

PendingFile::~PendingFile() {
  if (m_file != OpenFolder::kClosed) ::close(fdOf(m_file));
  if (!m_committed && !m_tempName.empty())
    ::unlinkat(fdOf(m_folder.m_handle), m_tempName.c_str(), 0);
  m_cleanup.forget();
}

void PendingFile::write(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fdOf(m_file), data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      platform::throwIoError(errno, m_shownPath);
    }
    if (written == 0) platform::throwIoError(ENOSPC, m_shownPath);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void PendingFile::commit(std::optional<std::int64_t> modified,
                         std::optional<unsigned> permissions) {
  const int fd = fdOf(m_file);
  if (::fchmod(fd, static_cast<mode_t>(permissions.value_or(0666)) & ~currentUmask()) != 0)
    platform::throwIoError(errno, m_shownPath);
  if (modified) {
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(*modified);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ::futimens(fd, times);  // a time that cannot be set is no reason to lose the file
  }
  m_file = OpenFolder::kClosed;
  if (::close(fd) != 0) platform::throwIoError(errno, m_shownPath);
  const int folder = fdOf(m_folder.m_handle);
  if (::renameat(folder, m_tempName.c_str(), folder, m_finalName.c_str()) != 0)
    platform::throwIoError(errno, m_shownPath);
  m_committed = true;
  m_cleanup.forget();
}

}  // namespace unpack

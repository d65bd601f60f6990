// Descriptor-relative folder walking and temporary-then-rename file creation.
#include "unpacklib/Destination.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

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

}  // namespace

UniqueFd::~UniqueFd() {
  if (m_fd >= 0) ::close(m_fd);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = other.release();
  }
  return *this;
}

Destination::Destination(const std::string& root)
    : m_root(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (m_root.get() < 0) platform::throwIoError(errno, root);
}

UniqueFd Destination::openFolder(const std::vector<std::string>& folders, bool create) const {
  UniqueFd current(::dup(m_root.get()));
  if (current.get() < 0) platform::throwIoError(errno);
  for (const std::string& name : folders) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(current.get(), name.c_str(), flags);
    if (fd < 0 && errno == ENOENT && create) {
      if (::mkdirat(current.get(), name.c_str(), 0777) != 0 && errno != EEXIST)
        platform::throwIoError(errno, name);
      fd = ::openat(current.get(), name.c_str(), flags);
    }
    if (fd < 0) {
      // A link in place of a folder (ELOOP) or a file there (ENOTDIR) blocks the way.
      int err = errno == ELOOP || errno == ENOTDIR ? EACCES : errno;
      platform::throwIoError(err, name);
    }
    current = UniqueFd(fd);
  }
  return current;
}

std::optional<struct stat> statEntry(int folder, const std::string& name) {
  struct stat st;
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return st;
}

PendingFile::PendingFile(int folder, std::string finalName, std::string shownPath)
    : m_folder(folder), m_finalName(std::move(finalName)), m_shownPath(std::move(shownPath)) {
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[40];
    std::snprintf(name, sizeof name, ".unpack-%016llx.tmp",
                  static_cast<unsigned long long>(random()));
    platform::TemporaryCreation creating;
    int fd = ::openat(m_folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      m_tempName = name;
      m_fd = UniqueFd(fd);
      m_cleanup = platform::CleanupOnSignal::fileIn(m_folder, m_tempName);
      return;
    }
    if (errno != EEXIST) platform::throwIoError(errno, m_shownPath);
  }
  platform::throwIoError(EEXIST, m_shownPath);
}

PendingFile::~PendingFile() {
  if (!m_committed && !m_tempName.empty()) ::unlinkat(m_folder, m_tempName.c_str(), 0);
  m_cleanup.forget();
}

void PendingFile::write(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t written = ::write(m_fd.get(), data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      platform::throwIoError(errno, m_shownPath);
    }
    if (written == 0) platform::throwIoError(ENOSPC, m_shownPath);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void PendingFile::commit(std::optional<std::int64_t> modified, std::optional<mode_t> permissions) {
  if (::fchmod(m_fd.get(), permissions.value_or(0666) & ~currentUmask()) != 0)
    platform::throwIoError(errno, m_shownPath);
  if (modified) {
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(*modified);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ::futimens(m_fd.get(), times);  // a time that cannot be set is no reason to lose the file
  }
  if (::close(m_fd.release()) != 0) platform::throwIoError(errno, m_shownPath);
  if (::renameat(m_folder, m_tempName.c_str(), m_folder, m_finalName.c_str()) != 0)
    platform::throwIoError(errno, m_shownPath);
  m_committed = true;
  m_cleanup.forget();
}

}  // namespace unpack

// Checked file operations on POSIX descriptors.
#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"

namespace platform {

namespace {

int fdOf(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

File File::open(const std::string& path, int flags) {
  const bool creates = (flags & O_CREAT) != 0;
  if (creates && injectedFault(FileOperation::Create)) throwIoError(errno, path);
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) throwIoError(errno, path);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    throwIoError(EISDIR, path);
  }
  return File(fd, path);
}

File File::openRead(const std::string& path) { return open(path, O_RDONLY); }
File File::openReadWrite(const std::string& path) { return open(path, O_RDWR); }
File File::create(const std::string& path) { return open(path, O_RDWR | O_CREAT | O_TRUNC); }

std::optional<File> File::createNew(const std::string& path, unsigned mode) {
  if (injectedFault(FileOperation::Create)) throwIoError(errno, path);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
  if (fd < 0) {
    if (errno == EEXIST) return std::nullopt;
    throwIoError(errno, path);
  }
  return File(fd, path);
}

void File::closeHandle(Handle handle) noexcept { ::close(static_cast<int>(handle)); }

std::size_t File::readSome(char* out, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fdOf(m_handle), out, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throwIoError(errno, m_path);
  }
}

std::size_t File::writeSome(const char* in, std::size_t size) {
  for (;;) {
    const ssize_t n = ::write(fdOf(m_handle), in, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throwIoError(errno, m_path);
  }
}

std::size_t File::appendFrom(File& source, std::size_t size, void* buffer) {
  std::size_t done = 0;
  while (done < size) {
    if (injectedFault(FileOperation::Write)) throwIoError(errno, m_path);
    ssize_t n =
        ::copy_file_range(fdOf(source.m_handle), nullptr, fdOf(m_handle), nullptr, size - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      // Devices, pipes, mixed or older file systems: copy through the caller's buffer instead.
      if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
          errno == EBADF) {
        std::size_t got = source.read(buffer, size - done);
        write(buffer, got);
        return done + got;
      }
      throwIoError(errno, m_path);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::int64_t File::size() const {
  struct stat st {};
  if (::fstat(fdOf(m_handle), &st) != 0) throwIoError(errno, m_path);
  return st.st_size;
}

std::int64_t File::position() const {
  off_t pos = ::lseek(fdOf(m_handle), 0, SEEK_CUR);
  if (pos < 0) throwIoError(errno, m_path);
  return pos;
}

void File::seek(std::int64_t offset) {
  if (::lseek(fdOf(m_handle), offset, SEEK_SET) < 0) throwIoError(errno, m_path);
}

void File::truncate(std::int64_t length) {
  if (injectedFault(FileOperation::Truncate) || ::ftruncate(fdOf(m_handle), length) != 0)
    throwIoError(errno, m_path);
}

void File::close() {
  if (m_handle == kClosed) return;
  const int fd = fdOf(std::exchange(m_handle, kClosed));
  if (injectedFault(FileOperation::Close)) {
    const int injected = errno;
    ::close(fd);
    throwIoError(injected, m_path);
  }
  // A failed close can be the first report of a full disk on network or quota file systems.
  if (::close(fd) != 0 && errno != EINTR) throwIoError(errno, m_path);
}

}  // namespace platform

// Checked file operations on Windows handles.
#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

enum OpenMode : int { kRead, kReadWrite, kCreate };

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kLargestTransfer = 1u << 30;

}  // namespace

File File::open(const std::string& path, int mode) {
  if (mode == kCreate && injectedFault(FileOperation::Create)) throwIoError(errno, path);
  // Inputs may be read while others read or write them, as on POSIX; what we write, others may
  // only read. Deleting and renaming stay allowed so that a finished file can be moved into place.
  const DWORD access = mode == kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  const DWORD share = mode == kRead ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                    : FILE_SHARE_READ | FILE_SHARE_DELETE;
  const DWORD disposition = mode == kCreate ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE handle = ::CreateFileW(toUtf16(path).c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throwLastSystemError(path);
  return File(reinterpret_cast<Handle>(handle), path);
}

File File::openRead(const std::string& path) { return open(path, kRead); }
File File::openReadWrite(const std::string& path) { return open(path, kReadWrite); }
File File::create(const std::string& path) { return open(path, kCreate); }

std::optional<File> File::createNew(const std::string& path, unsigned mode) {
  if (injectedFault(FileOperation::Create)) throwIoError(errno, path);
  // The owner's write bit is the only permission Windows keeps: its read-only attribute.
  const DWORD attributes = (mode & 0200) != 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
  // CREATE_NEW fails on any existing entry, a link included, so nothing is followed.
  HANDLE handle =
      ::CreateFileW(toUtf16(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, attributes, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return std::nullopt;
    throwWindowsError(error, path);
  }
  return File(reinterpret_cast<Handle>(handle), path);
}

void File::closeHandle(Handle handle) noexcept { ::CloseHandle(handleOf(handle)); }

std::size_t File::readSome(char* out, std::size_t size) {
  DWORD got = 0;
  const auto wanted = static_cast<DWORD>(std::min(size, kLargestTransfer));
  if (!::ReadFile(handleOf(m_handle), out, wanted, &got, nullptr)) {
    if (::GetLastError() == ERROR_HANDLE_EOF) return 0;
    throwLastSystemError(m_path);
  }
  return got;
}

std::size_t File::writeSome(const char* in, std::size_t size) {
  DWORD written = 0;
  const auto wanted = static_cast<DWORD>(std::min(size, kLargestTransfer));
  if (!::WriteFile(handleOf(m_handle), in, wanted, &written, nullptr)) throwLastSystemError(m_path);
  return written;
}

std::size_t File::appendFrom(File& source, std::size_t size, void* buffer) {
  const std::size_t got = source.read(buffer, size);
  write(buffer, got);
  return got;
}

std::int64_t File::size() const {
  LARGE_INTEGER value{};
  if (!::GetFileSizeEx(handleOf(m_handle), &value)) throwLastSystemError(m_path);
  return value.QuadPart;
}

std::int64_t File::position() const {
  LARGE_INTEGER zero{}, value{};
  if (!::SetFilePointerEx(handleOf(m_handle), zero, &value, FILE_CURRENT))
    throwLastSystemError(m_path);
  return value.QuadPart;
}

void File::seek(std::int64_t offset) {
  LARGE_INTEGER target{};
  target.QuadPart = offset;
  if (!::SetFilePointerEx(handleOf(m_handle), target, nullptr, FILE_BEGIN))
    throwLastSystemError(m_path);
}

void File::truncate(std::int64_t length) {
  if (injectedFault(FileOperation::Truncate)) throwIoError(errno, m_path);
  // SetEndOfFile cuts at the position; the position itself stays where it was, as with ftruncate.
  const std::int64_t previous = position();
  seek(length);
  if (!::SetEndOfFile(handleOf(m_handle))) throwLastSystemError(m_path);
  seek(previous);
}

void File::close() {
  if (m_handle == kClosed) return;
  HANDLE handle = handleOf(std::exchange(m_handle, kClosed));
  if (injectedFault(FileOperation::Close)) {
    const int injected = errno;
    ::CloseHandle(handle);
    throwIoError(injected, m_path);
  }
  if (!::CloseHandle(handle)) throwLastSystemError(m_path);
}

}  // namespace platform

// The parts of the file class that do not depend on the system.
#include "platform/File.h"

#include <cerrno>
#include <utility>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"

namespace platform {

File::File(File&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kClosed)), m_path(std::move(other.m_path)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (m_handle != kClosed) closeHandle(m_handle);
    m_handle = std::exchange(other.m_handle, kClosed);
    m_path = std::move(other.m_path);
  }
  return *this;
}

File::~File() {
  if (m_handle != kClosed) closeHandle(m_handle);
}

std::size_t File::read(void* buffer, std::size_t size) {
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    if (injectedFault(FileOperation::Read)) throwIoError(errno, m_path);
    const std::size_t got = readSome(out + done, size - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

void File::write(const void* data, std::size_t size) {
  const auto* in = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    if (injectedFault(FileOperation::Write)) throwIoError(errno, m_path);
    const std::size_t written = writeSome(in + done, size - done);
    if (written == 0) throw EInOutError(kIoDiskFull, m_path);
    done += written;
  }
}

void File::readExact(void* buffer, std::size_t size) {
  if (read(buffer, size) != size) throw EInOutError(kIoReadBeyondEnd, m_path);
}

std::string readFileStart(const std::string& path, std::size_t limit) {
  File file = File::openRead(path);
  std::string text(limit, '\0');
  text.resize(file.read(text.data(), text.size()));
  return text;
}

}  // namespace platform

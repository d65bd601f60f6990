// The parts of the file class that do not depend on the system.
#include "platform/File.h"

#include <utility>

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

void File::readExact(void* buffer, std::size_t size) {
  if (read(buffer, size) != size) throw EInOutError(kIoReadBeyondEnd, m_path);
}

}  // namespace platform

// Byte streams for the compressor's stream mode: the interface, one in memory, one on a file.
#include "codec/Stream.h"

#include <algorithm>
#include <cstring>

#include "platform/IoError.h"

namespace codec {

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = origin == soBeginning ? 0
                      : origin == soCurrent ? std::int64_t(m_position)
                                            : std::int64_t(m_bytes.size());
  std::int64_t target = base + offset;
  if (target < 0) return -1;
  m_position = std::size_t(target);
  return target;
}

std::int32_t TMemoryStream::Read(void* buffer, std::int32_t count) {
  if (count < 0) return -1;
  std::size_t available = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
  std::size_t n = std::min(available, std::size_t(count));
  if (n > 0) std::memcpy(buffer, m_bytes.data() + m_position, n);
  m_position += n;
  return std::int32_t(n);
}

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  std::size_t end = m_position + std::size_t(count);
  if (end > m_bytes.size()) m_bytes.resize(end);
  std::memcpy(m_bytes.data() + m_position, buffer, std::size_t(count));
  m_position = end;
  return count;
}

std::int64_t TFileStream::Size() {
  try {
    return m_file.size();
  } catch (const platform::EInOutError&) {
    return -1;
  }
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  try {
    std::int64_t base = origin == soBeginning ? 0
                        : origin == soCurrent ? m_file.position()
                                              : m_file.size();
    if (base + offset < 0) return -1;
    if (origin != soCurrent || offset != 0) m_file.seek(base + offset);
    return base + offset;
  } catch (const platform::EInOutError&) {
    return -1;
  }
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count) {
  if (count < 0) return -1;
  try {
    return std::int32_t(m_file.read(buffer, std::size_t(count)));
  } catch (const platform::EInOutError&) {
    return -1;
  }
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  try {
    m_file.write(buffer, std::size_t(count));
    return count;
  } catch (const platform::EInOutError&) {
    return 0;
  }
}

}  // namespace codec

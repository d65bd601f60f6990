// Byte streams in memory, over files and over a window of another stream.
#include "store/Stream.h"

#include <algorithm>
#include <cstring>

#include "platform/IoError.h"

namespace store {

using platform::EInOutError;

namespace {

std::size_t readFrom(std::span<const std::uint8_t> bytes, std::size_t& position, void* buffer,
                     std::size_t size) {
  std::size_t available = position < bytes.size() ? bytes.size() - position : 0;
  std::size_t n = std::min(size, available);
  if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
  position += n;
  return n;
}

}  // namespace

void Stream::readExact(void* buffer, std::size_t size) {
  if (read(buffer, size) != size) throw EInOutError(platform::kIoReadBeyondEnd);
}

std::uint8_t Stream::readByte() {
  std::uint8_t value = 0;
  readExact(&value, 1);
  return value;
}

std::uint32_t Stream::readLE32() {
  std::uint8_t b[4];
  readExact(b, 4);
  return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
         std::uint32_t(b[3]) << 24;
}

void Stream::writeLE32(std::uint32_t value) {
  const std::uint8_t b[4] = {std::uint8_t(value), std::uint8_t(value >> 8),
                             std::uint8_t(value >> 16), std::uint8_t(value >> 24)};
  write(b, 4);
}

void Stream::copyTo(Stream& target, std::int64_t count) {
  std::vector<std::uint8_t> buffer(std::size_t(std::min<std::int64_t>(count, 1 << 16)));
  while (count > 0) {
    auto chunk = std::size_t(std::min<std::int64_t>(count, std::int64_t(buffer.size())));
    readExact(buffer.data(), chunk);
    target.write(buffer.data(), chunk);
    count -= std::int64_t(chunk);
  }
}

std::size_t MemoryStream::read(void* buffer, std::size_t size) {
  return readFrom(m_bytes, m_position, buffer, size);
}

void MemoryStream::write(const void* data, std::size_t size) {
  if (size == 0) return;
  if (m_position + size > m_bytes.size()) m_bytes.resize(m_position + size);
  std::memcpy(m_bytes.data() + m_position, data, size);
  m_position += size;
}

void MemoryStream::seek(std::int64_t position) {
  if (position < 0) throw EInOutError(platform::kIoReadBeyondEnd);
  m_position = std::size_t(position);
}

std::size_t ReadOnlyMemoryStream::read(void* buffer, std::size_t size) {
  return readFrom(m_bytes, m_position, buffer, size);
}

void ReadOnlyMemoryStream::write(const void*, std::size_t) {
  throw EInOutError(platform::kIoAccessDenied);
}

void ReadOnlyMemoryStream::seek(std::int64_t position) {
  if (position < 0) throw EInOutError(platform::kIoReadBeyondEnd);
  m_position = std::size_t(position);
}

BoundedStream::BoundedStream(Stream& inner, std::int64_t length)
    : m_inner(inner), m_start(inner.position()), m_length(length) {}

std::size_t BoundedStream::read(void* buffer, std::size_t size) {
  auto left = std::max<std::int64_t>(remaining(), 0);
  return m_inner.read(buffer, std::size_t(std::min<std::int64_t>(std::int64_t(size), left)));
}

void BoundedStream::write(const void*, std::size_t) {
  throw EInOutError(platform::kIoAccessDenied);
}

void BoundedStream::seek(std::int64_t position) {
  if (position < 0 || position > m_length) throw EInOutError(platform::kIoReadBeyondEnd);
  m_inner.seek(m_start + position);
}

}  // namespace store

// Checked transfers on byte streams, and the bounded stream.
#include "store/StreamIo.h"

#include <algorithm>
#include <vector>

#include "platform/ByteOrder.h"
#include "platform/IoError.h"

namespace store {

using platform::EInOutError;

namespace {

// Transfers go in pieces that the streams' 32-bit counts can carry.
constexpr std::size_t kMaxTransfer = std::size_t(1) << 30;

std::int64_t seekTarget(std::int64_t offset, codec::TSeekOrigin origin, std::int64_t current,
                        std::int64_t size) {
  if (origin == codec::soCurrent) return current + offset;
  if (origin == codec::soEnd) return size + offset;
  return offset;
}

}  // namespace

void readExact(TStream& stream, void* buffer, std::size_t size) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    std::size_t piece = std::min(size, kMaxTransfer);
    if (stream.Read(out, std::int32_t(piece)) != std::int32_t(piece))
      throw EInOutError(platform::kIoReadBeyondEnd);
    out += piece;
    size -= piece;
  }
}

void writeAll(TStream& stream, const void* data, std::size_t size) {
  const auto* in = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    std::size_t piece = std::min(size, kMaxTransfer);
    if (stream.Write(in, std::int32_t(piece)) != std::int32_t(piece))
      throw EInOutError(platform::kIoDiskFull);
    in += piece;
    size -= piece;
  }
}

std::uint8_t readByte(TStream& stream) {
  std::uint8_t value = 0;
  readExact(stream, &value, 1);
  return value;
}

std::uint32_t readLE32(TStream& stream) {
  std::uint8_t b[4];
  readExact(stream, b, 4);
  return platform::readLE32(b);
}

void writeByte(TStream& stream, std::uint8_t value) { writeAll(stream, &value, 1); }

void writeLE32(TStream& stream, std::uint32_t value) {
  std::uint8_t b[4];
  platform::writeLE32(b, value);
  writeAll(stream, b, 4);
}

std::int64_t positionOf(TStream& stream) {
  std::int64_t position = stream.Position();
  if (position < 0) throw EInOutError(platform::kIoReadBeyondEnd);
  return position;
}

void seekTo(TStream& stream, std::int64_t position) {
  if (stream.Seek(position, codec::soBeginning) != position)
    throw EInOutError(platform::kIoReadBeyondEnd);
}

void copyBytes(TStream& from, TStream& to, std::int64_t count) {
  std::vector<std::uint8_t> buffer(std::size_t(std::clamp<std::int64_t>(count, 0, 1 << 16)));
  while (count > 0) {
    auto piece = std::size_t(std::min<std::int64_t>(count, std::int64_t(buffer.size())));
    readExact(from, buffer.data(), piece);
    writeAll(to, buffer.data(), piece);
    count -= std::int64_t(piece);
  }
}

TBoundedStream::TBoundedStream(TStream& inner, std::int64_t length)
    : m_inner(inner), m_start(positionOf(inner)), m_length(length) {}

std::int64_t TBoundedStream::Seek(std::int64_t offset, codec::TSeekOrigin origin) {
  std::int64_t current = m_inner.Position() - m_start;
  std::int64_t target = seekTarget(offset, origin, current, m_length);
  if (target < 0 || target > m_length) return -1;
  return m_inner.Seek(m_start + target, codec::soBeginning) - m_start;
}

std::int32_t TBoundedStream::Read(void* buffer, std::int32_t count) {
  if (count < 0) return -1;
  std::int64_t left = std::max<std::int64_t>(remaining(), 0);
  return m_inner.Read(buffer, std::int32_t(std::min<std::int64_t>(count, left)));
}

}  // namespace store

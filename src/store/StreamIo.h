// Checked transfers on the program's byte streams, and the bounded stream that a record is read
// from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/Stream.h"

namespace store {

using codec::TStream;

// Each throws platform::EInOutError: a read that comes up short is "Read beyond end of file",
// a write that comes up short is "Disk full", a seek that fails "Read beyond end of file".
void readExact(TStream& stream, void* buffer, std::size_t size);
void writeAll(TStream& stream, const void* data, std::size_t size);
std::uint8_t readByte(TStream& stream);
std::uint32_t readLE32(TStream& stream);
void writeByte(TStream& stream, std::uint8_t value);
void writeLE32(TStream& stream, std::uint32_t value);
std::int64_t positionOf(TStream& stream);
void seekTo(TStream& stream, std::int64_t position);
// Copies exactly `count` bytes.
void copyBytes(TStream& from, TStream& to, std::int64_t count);

// A window of `length` bytes of another stream, from its current position on: a record can
// never read past the length that its container gives it.
class TBoundedStream : public TStream {
 public:
  TBoundedStream(TStream& inner, std::int64_t length);

  std::int64_t Size() override { return m_length; }
  std::int64_t Seek(std::int64_t offset, codec::TSeekOrigin origin) override;
  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void*, std::int32_t) override { return 0; }
  std::int64_t remaining() { return m_length - Position(); }

 private:
  TStream& m_inner;
  std::int64_t m_start;
  std::int64_t m_length;
};

}  // namespace store

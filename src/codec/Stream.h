// Byte streams for the compressor's stream mode: the interface, one in memory, one on a file.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/File.h"

namespace codec {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Reads and writes report the count moved, so that callers check every transfer themselves.
class TStream {
 public:
  virtual ~TStream() = default;
  // The whole stream's length, whatever the position; negative when unknown.
  virtual std::int64_t Size() = 0;
  // The new position, or a negative value when the stream cannot go there.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  // Up to `count` bytes; fewer only at the end; negative on failure.
  virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
  // The count written; fewer than asked means the stream failed.
  virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

  std::int64_t Size() override { return std::int64_t(m_bytes.size()); }
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;

  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
  std::vector<std::uint8_t> TakeBytes() { return std::move(m_bytes); }

 private:
  std::vector<std::uint8_t> m_bytes;
  std::size_t m_position = 0;
};

// A stream on an open file; input/output errors become the counts that signal failure.
class TFileStream : public TStream {
 public:
  explicit TFileStream(platform::File file) : m_file(std::move(file)) {}

  std::int64_t Size() override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;

  platform::File& file() { return m_file; }

 private:
  platform::File m_file;
};

}  // namespace codec

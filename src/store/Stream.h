// Byte streams that the stores and the window description are read from and written to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/File.h"

namespace store {

// A seekable sequence of bytes. Failures throw platform::EInOutError like file operations do.
class Stream {
 public:
  virtual ~Stream() = default;

  // Reads up to `size` bytes; fewer only at the end of the stream.
  virtual std::size_t read(void* buffer, std::size_t size) = 0;
  virtual void write(const void* data, std::size_t size) = 0;
  virtual std::int64_t position() const = 0;
  virtual void seek(std::int64_t position) = 0;
  virtual std::int64_t size() const = 0;

  // Reads exactly `size` bytes or throws "Read beyond end of file".
  void readExact(void* buffer, std::size_t size);
  std::uint8_t readByte();
  std::uint32_t readLE32();
  void writeByte(std::uint8_t value) { write(&value, 1); }
  void writeLE32(std::uint32_t value);
  // Copies exactly `count` bytes from this stream to `target`.
  void copyTo(Stream& target, std::int64_t count);
};

// A growable stream in memory.
class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

  std::size_t read(void* buffer, std::size_t size) override;
  void write(const void* data, std::size_t size) override;
  std::int64_t position() const override { return static_cast<std::int64_t>(m_position); }
  void seek(std::int64_t position) override;
  std::int64_t size() const override { return static_cast<std::int64_t>(m_bytes.size()); }

  const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

 private:
  std::vector<std::uint8_t> m_bytes;
  std::size_t m_position = 0;
};

// Reads bytes that someone else owns, such as data compiled into the program.
class ReadOnlyMemoryStream : public Stream {
 public:
  explicit ReadOnlyMemoryStream(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  std::size_t read(void* buffer, std::size_t size) override;
  void write(const void* data, std::size_t size) override;  // always "File access denied"
  std::int64_t position() const override { return static_cast<std::int64_t>(m_position); }
  void seek(std::int64_t position) override;
  std::int64_t size() const override { return static_cast<std::int64_t>(m_bytes.size()); }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_position = 0;
};

// A window of `length` bytes of another stream, starting at its current position: a record
// can never read past the length that its container gives it.
class BoundedStream : public Stream {
 public:
  BoundedStream(Stream& inner, std::int64_t length);

  std::size_t read(void* buffer, std::size_t size) override;
  void write(const void* data, std::size_t size) override;  // always "File access denied"
  std::int64_t position() const override { return m_inner.position() - m_start; }
  void seek(std::int64_t position) override;
  std::int64_t size() const override { return m_length; }
  std::int64_t remaining() const { return m_length - position(); }

 private:
  Stream& m_inner;
  std::int64_t m_start;
  std::int64_t m_length;
};

// A stream over an open file; the file stays owned by the caller.
class FileStream : public Stream {
 public:
  explicit FileStream(platform::File& file) : m_file(file) {}

  std::size_t read(void* buffer, std::size_t size) override { return m_file.read(buffer, size); }
  void write(const void* data, std::size_t size) override { m_file.write(data, size); }
  std::int64_t position() const override { return m_file.position(); }
  void seek(std::int64_t position) override { m_file.seek(position); }
  std::int64_t size() const override { return m_file.size(); }

 private:
  platform::File& m_file;
};

}  // namespace store

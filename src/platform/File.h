// One open file: every operation is checked and a failure throws EInOutError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class File {
 public:
  // Opens an existing file for reading only; inputs are never opened for writing.
  static File openRead(const std::string& path);
  // Opens an existing file for reading and writing, positioned at its start.
  static File openReadWrite(const std::string& path);
  // Creates the file (replacing an existing one) for reading and writing.
  static File create(const std::string& path);
  // Creates a new file only if the name is free (never through an existing link); nullopt
  // when the name is taken, so that callers racing for a name move on to the next one.
  static std::optional<File> createNew(const std::string& path, unsigned mode = 0666);

  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();  // closes silently; call close() where a failure must be seen

  bool isOpen() const { return m_handle != kClosed; }
  const std::string& path() const { return m_path; }

  // Reads up to `size` bytes; fewer only at the end of the file.
  std::size_t read(void* buffer, std::size_t size);
  // Reads exactly `size` bytes or throws "Read beyond end of file".
  void readExact(void* buffer, std::size_t size);
  // Writes all bytes; a short write is "Disk full".
  void write(const void* data, std::size_t size);
  // Appends up to `size` bytes read from `source` at its position: copied inside the kernel
  // where the file systems allow it, else through `buffer` (at least `size` bytes). Returns the
  // bytes copied, fewer only at the source's end. Both positions advance.
  std::size_t appendFrom(File& source, std::size_t size, void* buffer);

  std::int64_t size() const;
  std::int64_t position() const;
  void seek(std::int64_t offset);
  bool atEnd() const { return position() >= size(); }
  void truncate(std::int64_t length);
  void close();

 private:
  // A descriptor on POSIX, a handle on Windows; -1 is neither.
  using Handle = std::intptr_t;
  static constexpr Handle kClosed = -1;

  File(Handle handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}
  static File open(const std::string& path, int flags);
  static void closeHandle(Handle handle) noexcept;
  // One system call's worth (retried when interrupted): the bytes moved, 0 at the end of the
  // file or when nothing could be written. A failure throws.
  std::size_t readSome(char* out, std::size_t size);
  std::size_t writeSome(const char* in, std::size_t size);

  Handle m_handle = kClosed;
  std::string m_path;
};

// The first `limit` bytes of a file (all of a shorter one): for the small text files that the
// programs read whole. Throws EInOutError.
std::string readFileStart(const std::string& path, std::size_t limit);

}  // namespace platform

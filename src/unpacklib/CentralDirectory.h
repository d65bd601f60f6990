// The central directory of a ZIP archive, read and validated once so that extraction trusts it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/File.h"

namespace unpack {

// A damaged or unsupported archive structure; the text is shown to the user.
class EBadArchive : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ZipEntry {
  std::string rawName;  // as stored, bytes
  std::string name;     // UTF-8
  std::uint16_t versionMadeBy = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc = 0;
  std::uint32_t externalAttributes = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::uint64_t localHeaderOffset = 0;       // from the start of the file (stub included)
  std::optional<std::int64_t> unixModified;  // from the extended timestamp, seconds UTC

  std::uint8_t host() const { return static_cast<std::uint8_t>(versionMadeBy >> 8); }
  // The Unix mode when the entry was made on Unix and carries one, else 0.
  std::uint32_t unixMode() const;
  bool isDirectory() const;
  bool isSymlink() const;
  bool isEncrypted() const { return (flags & 0x0001) != 0; }
};

class CentralDirectory {
 public:
  // Reads the directory of the open archive; throws EBadArchive for damage.
  explicit CentralDirectory(platform::File& archive);

  const std::vector<ZipEntry>& entries() const { return m_entries; }
  // Where the entry's data begins, after its local header; throws EBadArchive when the
  // local header is missing or the data would reach into the directory.
  std::uint64_t dataOffset(const ZipEntry& entry) const;

 private:
  platform::File& m_file;
  std::uint64_t m_directoryStart = 0;  // actual position in the file
  std::vector<ZipEntry> m_entries;
};

// Decodes a stored name: UTF-8 when flagged or valid, else the DOS code page 437.
std::string decodeEntryName(const std::string& raw, std::uint16_t flags);

}  // namespace unpack

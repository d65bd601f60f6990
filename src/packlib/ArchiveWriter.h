// Writes a ZIP archive: entries kept from an existing archive, new entries, central directory.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "packlib/FileCollector.h"
#include "platform/File.h"
#include "zip/ZipFormat.h"

namespace packlib {

// One entry of an existing archive, with where its bytes lie.
struct ExistingEntry {
  zipformat::CentralHeader header;
  std::string name;
  std::vector<uint8_t> extra;
  std::string comment;
  uint64_t localOffset = 0;  // real offset of the local header
  uint64_t extent = 0;       // bytes from the local header up to the next entry or directory
};

struct ExistingArchive {
  std::vector<ExistingEntry> entries;
  std::string comment;
};

// Reads the directory of the archive in `file`. Throws PackError(kErrNotZip) when the file is
// not a ZIP archive, its directory is damaged or it is one part of a multi-disk set.
ExistingArchive readExistingArchive(platform::File& file);

struct EntryWritten {
  std::string name;
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint64_t localOffset = 0;
  uint16_t method = 0;
  uint16_t flags = 0;
  uint16_t date = 0;
  uint16_t time = 0;
  uint32_t externalAttributes = 0;
};

class ArchiveWriter {
 public:
  explicit ArchiveWriter(platform::File& output) : m_out(output) {}

  // Copies an existing entry's bytes from `source` unchanged.
  void copyEntry(platform::File& source, const ExistingEntry& entry);
  // Adds a file; `deflate` false stores it. `progress` gets the bytes done.
  void addFile(const SourceFile& file, int level, bool deflate,
               const std::function<void(uint64_t)>& progress);
  // Writes the central directory and the end records.
  void finish(const std::string& comment);

  std::size_t count() const { return m_entries.size(); }
  const EntryWritten& last() const { return m_entries.back().written; }

 private:
  struct Entry {
    EntryWritten written;
    uint16_t madeBy = 0;
    uint16_t versionNeeded = 0;  // 0: from the method
    std::vector<uint8_t> extra;  // central extra without a ZIP64 field
    std::string comment;
    uint16_t internalAttributes = 0;
  };
  void writeCentral(const Entry& entry);

  platform::File& m_out;
  std::vector<Entry> m_entries;
};

}  // namespace packlib

// Reading the end record (ZIP64 included) and the central directory of an archive.
#include "unpacklib/CentralDirectory.h"

#include <span>

#include "unpacklib/ZipFormat.h"
#include "zip/CodePage437.h"
#include "zip/ZipDirectory.h"

namespace unpack {

namespace {

const char kNotZip[] = "The file is not a ZIP archive";
const char kDamagedDirectory[] = "The archive's directory is damaged";

// The Unix modification time of the extended timestamp field, when it carries one.
void readTimestamp(std::span<const std::uint8_t> extra, ZipEntry& entry) {
  zipformat::forEachExtraField(extra, [&](std::uint16_t id, std::span<const std::uint8_t> data) {
    if (id == kTimestampExtraId && data.size() >= 5 && (data[0] & 1) != 0)
      entry.unixModified = static_cast<std::int32_t>(readLE32(data.data() + 1));
  });
}

bool isValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t more = c < 0x80         ? 0
                       : (c >> 5) == 6  ? 1
                       : (c >> 4) == 14 ? 2
                       : (c >> 3) == 30 ? 3
                                        : 9;
    if (more == 9 || more > text.size() - i - 1) return false;
    for (std::size_t k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += more + 1;
  }
  return true;
}

}  // namespace

namespace {

// The file-type field of a Unix mode, as archives store it whatever system reads them.
constexpr std::uint32_t kUnixTypeMask = 0170000;
constexpr std::uint32_t kUnixFolder = 0040000;
constexpr std::uint32_t kUnixLink = 0120000;

}  // namespace

std::uint32_t ZipEntry::unixMode() const {
  return host() == kHostUnix ? externalAttributes >> 16 : 0;
}

bool ZipEntry::isDirectory() const {
  if (!rawName.empty() && (rawName.back() == '/' || rawName.back() == '\\')) return true;
  std::uint32_t mode = unixMode();
  if (mode != 0) return (mode & kUnixTypeMask) == kUnixFolder;
  return host() == kHostDos && (externalAttributes & 0x10) != 0;
}

bool ZipEntry::isSymlink() const { return (unixMode() & kUnixTypeMask) == kUnixLink; }

std::string decodeEntryName(const std::string& raw, std::uint16_t flags) {
  if ((flags & kFlagUtf8) != 0 || isValidUtf8(raw)) return raw;
  std::string out;
  for (char ch : raw) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80)
      out += ch;
    else
      zipformat::appendUtf8(out, zipformat::kCodePage437High[c - 0x80]);
  }
  return out;
}

CentralDirectory::CentralDirectory(platform::File& archive) : m_file(archive) {
  std::optional<zipformat::DirectoryLocation> location =
      zipformat::locateDirectory(m_file, zipformat::EndSearch::kCommentInFile);
  if (!location) throw EBadArchive(kNotZip);
  if (location->zip64Missing) throw EBadArchive(kDamagedDirectory);
  if (location->diskNumber != 0 || location->directoryDisk != 0)
    throw EBadArchive("Archives spread over several disks are not supported");
  std::optional<std::uint64_t> start = location->directoryStart();
  if (!start || location->entryCount > location->directorySize / kCentralHeaderSize)
    throw EBadArchive(kDamagedDirectory);
  m_directoryStart = *start;
  if (location->directoryOffset > m_directoryStart) throw EBadArchive(kDamagedDirectory);
  // Data before the archive (a stub) shifts every offset that the archive states.
  const std::uint64_t stub = m_directoryStart - location->directoryOffset;

  const std::vector<std::uint8_t> directory = zipformat::readAt(
      m_file, m_directoryStart, static_cast<std::size_t>(location->directorySize));
  zipformat::CentralRecords records(directory, location->entryCount);
  zipformat::CentralRecord record;
  m_entries.reserve(static_cast<std::size_t>(location->entryCount));
  while (records.next(record)) {
    const zipformat::CentralHeader& h = record.header;
    if (!record.wide.complete) throw EBadArchive(kDamagedDirectory);
    ZipEntry entry;
    entry.versionMadeBy = h.madeBy;
    entry.flags = h.flags;
    entry.method = h.method;
    entry.dosTime = h.time;
    entry.dosDate = h.date;
    entry.crc = h.crc;
    entry.externalAttributes = h.externalAttributes;
    entry.rawName = record.rawName();
    entry.name = decodeEntryName(entry.rawName, entry.flags);
    entry.uncompressedSize = record.wide.uncompressedSize;
    entry.compressedSize = record.wide.compressedSize;
    readTimestamp(record.extra, entry);
    // An offset past the directory is this entry's damage, found when it is extracted.
    const std::uint64_t offset = record.wide.localHeaderOffset;
    entry.localHeaderOffset = offset > m_directoryStart - stub ? m_directoryStart : offset + stub;
    m_entries.push_back(std::move(entry));
  }
  if (records.fault() != zipformat::RecordFault::kNone) throw EBadArchive(kDamagedDirectory);
}

std::uint64_t CentralDirectory::dataOffset(const ZipEntry& entry) const {
  const char kDamagedEntry[] = "The entry's data is damaged";
  if (entry.localHeaderOffset > m_directoryStart ||
      m_directoryStart - entry.localHeaderOffset < kLocalHeaderSize)
    throw EBadArchive(kDamagedEntry);
  zipformat::LocalHeader header;
  if (!header.read(zipformat::readAt(m_file, entry.localHeaderOffset, kLocalHeaderSize).data()))
    throw EBadArchive(kDamagedEntry);
  const std::uint64_t data = entry.localHeaderOffset + header.dataOffset();
  if (data > m_directoryStart || entry.compressedSize > m_directoryStart - data)
    throw EBadArchive(kDamagedEntry);
  return data;
}

}  // namespace unpack

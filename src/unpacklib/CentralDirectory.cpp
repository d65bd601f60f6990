// Reading the end record (ZIP64 included) and the central directory of an archive.
#include "unpacklib/CentralDirectory.h"

#include <algorithm>

#include "unpacklib/ZipFormat.h"
#include "zip/CodePage437.h"

namespace unpack {

namespace {

const char kNotZip[] = "The file is not a ZIP archive";
const char kDamagedDirectory[] = "The archive's directory is damaged";

std::vector<std::uint8_t> readAt(platform::File& file, std::uint64_t offset, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  file.seek(static_cast<std::int64_t>(offset));
  file.readExact(bytes.data(), size);
  return bytes;
}

// The stored 32-bit (or 16-bit) value, or the next 64-bit value of the ZIP64 extra field
// when the stored one is the "see ZIP64" marker.
class Zip64Fields {
 public:
  Zip64Fields(const std::uint8_t* data, std::size_t size) : m_p(data), m_end(data + size) {}
  std::uint64_t take(std::uint64_t stored, std::uint64_t marker) {
    if (stored != marker) return stored;
    if (m_p == nullptr || m_end - m_p < 8) throw EBadArchive(kDamagedDirectory);
    std::uint64_t value = readLE64(m_p);
    m_p += 8;
    return value;
  }

 private:
  const std::uint8_t* m_p;
  const std::uint8_t* m_end;
};

void readExtraFields(const std::uint8_t* p, std::size_t size, ZipEntry& entry,
                     std::uint32_t storedCompressed, std::uint32_t storedUncompressed,
                     std::uint32_t storedOffset) {
  const std::uint8_t* zip64 = nullptr;
  std::size_t zip64Size = 0;
  const std::uint8_t* end = p + size;
  while (end - p >= 4) {
    std::uint16_t id = readLE16(p);
    std::uint16_t length = readLE16(p + 2);
    p += 4;
    if (length > end - p) break;  // a torn last field is ignored, as other readers do
    if (id == kZip64ExtraId) {
      zip64 = p;
      zip64Size = length;
    } else if (id == kTimestampExtraId && length >= 5 && (p[0] & 1) != 0) {
      entry.unixModified = static_cast<std::int32_t>(readLE32(p + 1));
    }
    p += length;
  }
  Zip64Fields fields(zip64, zip64Size);
  entry.uncompressedSize = fields.take(storedUncompressed, 0xFFFFFFFF);
  entry.compressedSize = fields.take(storedCompressed, 0xFFFFFFFF);
  entry.localHeaderOffset = fields.take(storedOffset, 0xFFFFFFFF);
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
  m_fileSize = m_file.size();
  EndRecord end = readEndRecord();
  readEntries(end);
}

CentralDirectory::EndRecord CentralDirectory::readEndRecord() {
  const std::uint64_t fileSize = static_cast<std::uint64_t>(m_fileSize);
  if (fileSize < kEndRecordSize) throw EBadArchive(kNotZip);
  const std::size_t tailSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndSearchSpan));
  const std::uint64_t tailStart = fileSize - tailSize;
  std::vector<std::uint8_t> tail = readAt(m_file, tailStart, tailSize);

  // The last signature whose comment fits in the file; a signature inside a comment that
  // would reach past the end is not the record.
  std::size_t at = tailSize - kEndRecordSize + 1;
  bool found = false;
  while (at-- > 0) {
    const std::uint8_t* p = tail.data() + at;
    if (readLE32(p) == kEndRecordSignature && readLE16(p + 20) <= tailSize - at - kEndRecordSize) {
      found = true;
      break;
    }
  }
  if (!found) throw EBadArchive(kNotZip);
  const std::uint8_t* p = tail.data() + at;
  const std::uint64_t endPos = tailStart + at;

  std::uint32_t disk = readLE16(p + 4);
  std::uint32_t directoryDisk = readLE16(p + 6);
  EndRecord end;
  end.entryCount = readLE16(p + 10);
  end.directorySize = readLE32(p + 12);
  end.directoryOffset = readLE32(p + 16);
  end.directoryEnd = endPos;

  if (endPos >= kZip64LocatorSize) {
    const std::uint64_t locatorPos = endPos - kZip64LocatorSize;
    std::vector<std::uint8_t> locator = readAt(m_file, locatorPos, kZip64LocatorSize);
    if (readLE32(locator.data()) == kZip64LocatorSignature) {
      std::uint64_t stated = readLE64(locator.data() + 8);
      // The record normally sits right before its locator; a stub before the archive moves
      // it away from the stated offset.
      std::uint64_t candidates[2] = {stated, locatorPos >= kZip64EndRecordSize
                                                 ? locatorPos - kZip64EndRecordSize
                                                 : locatorPos};
      bool zip64 = false;
      for (std::uint64_t pos : candidates) {
        if (pos > locatorPos || locatorPos - pos < kZip64EndRecordSize) continue;
        std::vector<std::uint8_t> record = readAt(m_file, pos, kZip64EndRecordSize);
        if (readLE32(record.data()) != kZip64EndRecordSignature) continue;
        disk = readLE32(record.data() + 16);
        directoryDisk = readLE32(record.data() + 20);
        end.entryCount = readLE64(record.data() + 32);
        end.directorySize = readLE64(record.data() + 40);
        end.directoryOffset = readLE64(record.data() + 48);
        end.directoryEnd = pos;
        zip64 = true;
        break;
      }
      if (!zip64) throw EBadArchive(kDamagedDirectory);
    }
  }
  if (disk != 0 || directoryDisk != 0)
    throw EBadArchive("Archives spread over several disks are not supported");
  if (end.directorySize > end.directoryEnd) throw EBadArchive(kDamagedDirectory);
  if (end.entryCount > end.directorySize / kCentralHeaderSize) throw EBadArchive(kDamagedDirectory);
  return end;
}

void CentralDirectory::readEntries(const EndRecord& end) {
  m_directoryStart = end.directoryEnd - end.directorySize;
  if (end.directoryOffset > m_directoryStart) throw EBadArchive(kDamagedDirectory);
  // Data before the archive (a stub) shifts every offset that the archive states.
  const std::uint64_t stub = m_directoryStart - end.directoryOffset;

  std::vector<std::uint8_t> directory =
      readAt(m_file, m_directoryStart, static_cast<std::size_t>(end.directorySize));
  const std::uint8_t* p = directory.data();
  const std::uint8_t* const last = p + directory.size();
  m_entries.reserve(static_cast<std::size_t>(end.entryCount));
  for (std::uint64_t i = 0; i < end.entryCount; ++i) {
    if (last - p < static_cast<std::ptrdiff_t>(kCentralHeaderSize) ||
        readLE32(p) != kCentralHeaderSignature)
      throw EBadArchive(kDamagedDirectory);
    const std::size_t nameSize = readLE16(p + 28);
    const std::size_t extraSize = readLE16(p + 30);
    const std::size_t commentSize = readLE16(p + 32);
    const std::size_t recordSize = kCentralHeaderSize + nameSize + extraSize + commentSize;
    if (static_cast<std::size_t>(last - p) < recordSize) throw EBadArchive(kDamagedDirectory);

    ZipEntry entry;
    entry.versionMadeBy = readLE16(p + 4);
    entry.flags = readLE16(p + 8);
    entry.method = readLE16(p + 10);
    entry.dosTime = readLE16(p + 12);
    entry.dosDate = readLE16(p + 14);
    entry.crc = readLE32(p + 16);
    entry.externalAttributes = readLE32(p + 38);
    entry.rawName.assign(reinterpret_cast<const char*>(p + kCentralHeaderSize), nameSize);
    entry.name = decodeEntryName(entry.rawName, entry.flags);
    readExtraFields(p + kCentralHeaderSize + nameSize, extraSize, entry, readLE32(p + 20),
                    readLE32(p + 24), readLE32(p + 42));
    // An offset past the directory is this entry's damage, found when it is extracted.
    entry.localHeaderOffset = entry.localHeaderOffset > m_directoryStart - stub
                                  ? m_directoryStart
                                  : entry.localHeaderOffset + stub;
    m_entries.push_back(std::move(entry));
    p += recordSize;
  }
}

std::uint64_t CentralDirectory::dataOffset(const ZipEntry& entry) const {
  const char kDamagedEntry[] = "The entry's data is damaged";
  if (entry.localHeaderOffset > m_directoryStart ||
      m_directoryStart - entry.localHeaderOffset < kLocalHeaderSize)
    throw EBadArchive(kDamagedEntry);
  std::vector<std::uint8_t> header = readAt(m_file, entry.localHeaderOffset, kLocalHeaderSize);
  if (readLE32(header.data()) != kLocalHeaderSignature) throw EBadArchive(kDamagedEntry);
  const std::uint64_t data = entry.localHeaderOffset + kLocalHeaderSize +
                             readLE16(header.data() + 26) + readLE16(header.data() + 28);
  if (data > m_directoryStart || entry.compressedSize > m_directoryStart - data)
    throw EBadArchive(kDamagedEntry);
  return data;
}

}  // namespace unpack

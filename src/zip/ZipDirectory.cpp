// Locating the end records of an archive and checking each central record against the
// directory's bounds, for every reader of archives in the program.
#include "zip/ZipDirectory.h"

#include <algorithm>

namespace zipformat {

namespace {

// Reads the ZIP64 end record when a locator sits right before the end record.
void readZip64End(platform::File& file, DirectoryLocation& location) {
  if (location.endRecordPos < kZip64LocatorSize) return;
  const uint64_t locatorPos = location.endRecordPos - kZip64LocatorSize;
  Zip64Locator locator;
  if (!locator.read(readAt(file, locatorPos, kZip64LocatorSize).data())) return;
  // The record normally sits right before its locator; a stub before the archive moves it away
  // from the stated offset.
  const uint64_t candidates[] = {locator.endRecordOffset,
                                 locatorPos - std::min<uint64_t>(locatorPos, kZip64EndRecordSize)};
  for (uint64_t pos : candidates) {
    if (pos > locatorPos || locatorPos - pos < kZip64EndRecordSize) continue;
    Zip64EndRecord record;
    if (!record.read(readAt(file, pos, kZip64EndRecordSize).data())) continue;
    location.zip64 = true;
    location.diskNumber = record.diskNumber;
    location.directoryDisk = record.directoryDisk;
    location.entryCount = record.totalEntries;
    location.directorySize = record.directorySize;
    location.directoryOffset = record.directoryOffset;
    location.directoryEnd = pos;
    return;
  }
  location.zip64Missing = true;
}

}  // namespace

std::optional<uint64_t> DirectoryLocation::directoryStart() const {
  if (directorySize > directoryEnd) return std::nullopt;
  return directoryEnd - directorySize;
}

std::vector<uint8_t> readAt(platform::File& file, uint64_t offset, std::size_t size) {
  std::vector<uint8_t> bytes(size);
  file.seek(static_cast<int64_t>(offset));
  file.readExact(bytes.data(), size);
  return bytes;
}

std::optional<DirectoryLocation> locateDirectory(platform::File& file, EndSearch search) {
  const uint64_t fileSize = static_cast<uint64_t>(file.size());
  if (fileSize < kEndRecordSize) return std::nullopt;
  const std::size_t span = std::size_t(std::min<uint64_t>(fileSize, kEndSearchSpan));
  std::vector<uint8_t> tail = readAt(file, fileSize - span, span);
  std::optional<std::size_t> at =
      findEndRecord(tail.data(), span, search == EndSearch::kCommentInFile);
  if (!at) return std::nullopt;

  DirectoryLocation location;
  location.end.read(&tail[*at]);
  location.endRecordPos = fileSize - span + *at;
  location.end.commentLength =
      uint16_t(std::min<std::size_t>(location.end.commentLength, span - *at - kEndRecordSize));
  location.recordAt = *at;
  location.tail = std::move(tail);
  location.diskNumber = location.end.diskNumber;
  location.directoryDisk = location.end.directoryDisk;
  location.entryCount = location.end.totalEntries;
  location.directorySize = location.end.directorySize;
  location.directoryOffset = location.end.directoryOffset;
  location.directoryEnd = location.endRecordPos;
  readZip64End(file, location);
  return location;
}

bool CentralRecords::next(CentralRecord& record) {
  if (m_remaining == 0 || m_fault != RecordFault::kNone) return false;
  auto fail = [this](RecordFault fault) {
    m_fault = fault;
    return false;
  };
  if (m_left.size() < kCentralHeaderSize) return fail(RecordFault::kHeaderCut);
  if (!record.header.read(m_left.data())) return fail(RecordFault::kSignature);
  std::span<const uint8_t> rest = m_left.subspan(kCentralHeaderSize);
  auto take = [&rest](std::size_t length, std::span<const uint8_t>& part) {
    if (length > rest.size()) return false;
    part = rest.first(length);
    rest = rest.subspan(length);
    return true;
  };
  if (!take(record.header.nameLength, record.name)) return fail(RecordFault::kNameCut);
  if (!take(record.header.extraLength, record.extra)) return fail(RecordFault::kExtraCut);
  if (!take(record.header.commentLength, record.comment)) return fail(RecordFault::kCommentCut);
  record.wide = resolveZip64(record.header, record.extra.data(), record.extra.size());
  m_left = rest;
  --m_remaining;
  return true;
}

}  // namespace zipformat

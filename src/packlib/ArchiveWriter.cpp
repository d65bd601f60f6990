// Archive writing for the archiver library: local headers patched after the data, ZIP64 where
// sizes or offsets need it, and the directory of an existing archive read with checked bounds.
#include "packlib/ArchiveWriter.h"

#include <algorithm>
#include <cstring>

#include "packlib/ParallelDeflate.h"
#include "packlib/Reporter.h"
#include "zip/ZipDirectory.h"

namespace packlib {

using namespace zipformat;

namespace {

constexpr uint16_t kVersionStored = 10;
constexpr uint16_t kVersionDeflated = 20;
constexpr uint16_t kVersionZip64 = 45;
constexpr uint16_t kMadeByVersion = 30;

[[noreturn]] void notZip(const std::string& path) {
  throw PackError(kErrNotZip, path + ": the existing file is not a ZIP archive");
}

bool isAscii(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

void putExtraZip64(std::vector<uint8_t>& extra, const std::vector<uint64_t>& values) {
  std::size_t at = extra.size();
  extra.resize(at + kExtraFieldHeaderSize + 8 * values.size());
  writeLE16(&extra[at], kZip64ExtraId);
  writeLE16(&extra[at + 2], uint16_t(8 * values.size()));
  for (std::size_t i = 0; i < values.size(); ++i)
    writeLE64(&extra[at + kExtraFieldHeaderSize + 8 * i], values[i]);
}

// The extra field without its ZIP64 part, which is rebuilt for the new offsets.
std::vector<uint8_t> withoutZip64(const std::vector<uint8_t>& extra) {
  std::vector<uint8_t> kept;
  forEachExtraField(extra, [&kept](uint16_t id, std::span<const uint8_t> data) {
    if (id != kZip64ExtraId)
      kept.insert(kept.end(), data.data() - kExtraFieldHeaderSize, data.data() + data.size());
  });
  return kept;
}

}  // namespace

ExistingArchive readExistingArchive(platform::File& file) {
  const std::string& path = file.path();
  std::optional<DirectoryLocation> location = locateDirectory(file, EndSearch::kLastSignature);
  if (!location || location->zip64Missing) notZip(path);
  // The offsets of a multi-disk set point into its other files: copying from this one would
  // write entries that are not what they claim.
  if (location->diskNumber != 0 || location->directoryDisk != 0) notZip(path);
  std::optional<uint64_t> start = location->directoryStart();
  if (!start) notZip(path);
  const uint64_t dirPos = *start;
  const uint64_t dirOffset = location->directoryOffset;
  ExistingArchive archive;
  archive.comment.assign(location->comment().begin(), location->comment().end());
  const std::vector<uint8_t> directory = readAt(file, dirPos, std::size_t(location->directorySize));
  CentralRecords records(directory, location->entryCount);
  CentralRecord record;
  while (records.next(record)) {
    ExistingEntry entry;
    entry.header = record.header;
    entry.name = record.rawName();
    entry.extra.assign(record.extra.begin(), record.extra.end());
    entry.comment.assign(record.comment.begin(), record.comment.end());
    // Data before the archive (a stub) moves every recorded offset by the same amount, as far
    // as the directory moved; the local header must land before the directory.
    const uint64_t stated = record.wide.localHeaderOffset;
    if (stated >= dirOffset || dirOffset - stated > dirPos) notZip(path);
    entry.localOffset = dirPos - (dirOffset - stated);
    archive.entries.push_back(std::move(entry));
  }
  if (records.fault() != RecordFault::kNone) notZip(path);
  // Each entry's bytes run up to the next local header, the last ones up to the directory.
  std::vector<std::size_t> order(archive.entries.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return archive.entries[a].localOffset < archive.entries[b].localOffset;
  });
  for (std::size_t k = 0; k < order.size(); ++k) {
    uint64_t next =
        k + 1 < order.size() ? archive.entries[order[k + 1]].localOffset : uint64_t(dirPos);
    archive.entries[order[k]].extent = next - archive.entries[order[k]].localOffset;
  }
  return archive;
}

void ArchiveWriter::copyEntry(platform::File& source, const ExistingEntry& existing) {
  Entry entry;
  EntryWritten& w = entry.written;
  w.name = existing.name;
  w.localOffset = uint64_t(m_out.position());
  WideValues wide = resolveZip64(existing.header, existing.extra.data(), existing.extra.size());
  w.crc = existing.header.crc;
  w.compressedSize = wide.compressedSize;
  w.uncompressedSize = wide.uncompressedSize;
  w.method = existing.header.method;
  w.flags = existing.header.flags;
  w.date = existing.header.date;
  w.time = existing.header.time;
  w.externalAttributes = existing.header.externalAttributes;
  entry.madeBy = existing.header.madeBy;
  entry.versionNeeded = existing.header.versionNeeded;
  entry.extra = withoutZip64(existing.extra);
  entry.comment = existing.comment;
  entry.internalAttributes = existing.header.internalAttributes;

  source.seek(int64_t(existing.localOffset));
  std::vector<uint8_t> buffer(std::size_t(std::min<uint64_t>(existing.extent, 1 << 20)));
  uint64_t remaining = existing.extent;
  while (remaining > 0) {
    std::size_t length = std::size_t(std::min<uint64_t>(remaining, buffer.size()));
    source.readExact(buffer.data(), length);
    m_out.write(buffer.data(), length);
    remaining -= length;
  }
  m_entries.push_back(std::move(entry));
}

void ArchiveWriter::addFile(const SourceFile& file, int level, bool deflate,
                            const std::function<void(uint64_t)>& progress) {
  Entry entry;
  EntryWritten& w = entry.written;
  w.name = file.archiveName;
  w.uncompressedSize = file.size;
  w.localOffset = uint64_t(m_out.position());
  w.flags = isAscii(w.name) ? 0 : kFlagUtf8;
  w.externalAttributes = file.mode << 16;
  toDosDateTime(file.modified, w.date, w.time);
  bool zip64 = file.size >= kMax32;
  if (file.size == 0) deflate = false;
  if (w.name.size() > kMax16) throw PackError(kErrRead, file.path + ": the name is too long");

  std::vector<uint8_t> header(kLocalHeaderSize + w.name.size() +
                              (zip64 ? kZip64LocalExtraSize : 0));
  auto writeLocal = [&] {
    LocalHeader local;
    local.versionNeeded = zip64 ? kVersionZip64 : (w.method ? kVersionDeflated : kVersionStored);
    local.flags = w.flags;
    local.method = w.method;
    local.time = w.time;
    local.date = w.date;
    local.crc = w.crc;
    local.compressedSize = zip64 ? kMax32 : uint32_t(w.compressedSize);
    local.uncompressedSize = zip64 ? kMax32 : uint32_t(w.uncompressedSize);
    local.nameLength = uint16_t(w.name.size());
    local.extraLength = zip64 ? kZip64LocalExtraSize : 0;
    local.write(header.data());
    std::memcpy(header.data() + kLocalHeaderSize, w.name.data(), w.name.size());
    if (zip64) {
      uint8_t* field = header.data() + kLocalHeaderSize + w.name.size();
      writeLE16(field, kZip64ExtraId);
      writeLE16(field + 2, kZip64LocalDataSize);
      writeLE64(field + kExtraFieldHeaderSize, w.uncompressedSize);
      writeLE64(field + kExtraFieldHeaderSize + 8, w.compressedSize);
    }
  };
  w.method = deflate ? kMethodDeflated : kMethodStored;
  writeLocal();
  m_out.write(header.data(), header.size());
  int64_t dataStart = m_out.position();

  platform::File input = platform::File::openRead(file.path);
  DeflateResult result;
  if (deflate) {
    uint64_t done = 0;
    auto counting = [&](uint64_t n) {
      done += n;
      progress(n);
    };
    result = deflateFile(input, file.size, m_out, level, counting);
    if (result.compressedSize >= file.size) {
      // Data that does not shrink is stored: rewind both files and copy it plainly.
      w.method = kMethodStored;
      input.seek(0);
      m_out.seek(dataStart);
      m_out.truncate(dataStart);
      result = storeFile(input, file.size, m_out, [](uint64_t) {});
    }
  } else {
    result = storeFile(input, file.size, m_out, progress);
  }
  w.crc = result.crc;
  w.compressedSize = result.compressedSize;
  int64_t end = m_out.position();
  writeLocal();
  m_out.seek(int64_t(w.localOffset));
  m_out.write(header.data(), header.size());
  m_out.seek(end);
  entry.madeBy = uint16_t((kHostUnix << 8) | (zip64 ? kVersionZip64 : kMadeByVersion));
  m_entries.push_back(std::move(entry));
}

void ArchiveWriter::writeCentral(const Entry& entry) {
  const EntryWritten& w = entry.written;
  std::vector<uint64_t> wide;
  CentralHeader h;
  h.madeBy = entry.madeBy;
  h.flags = w.flags;
  h.method = w.method;
  h.time = w.time;
  h.date = w.date;
  h.crc = w.crc;
  h.uncompressedSize = w.uncompressedSize >= kMax32 ? kMax32 : uint32_t(w.uncompressedSize);
  h.compressedSize = w.compressedSize >= kMax32 ? kMax32 : uint32_t(w.compressedSize);
  h.localHeaderOffset = w.localOffset >= kMax32 ? kMax32 : uint32_t(w.localOffset);
  if (h.uncompressedSize == kMax32) wide.push_back(w.uncompressedSize);
  if (h.compressedSize == kMax32) wide.push_back(w.compressedSize);
  if (h.localHeaderOffset == kMax32) wide.push_back(w.localOffset);
  std::vector<uint8_t> extra = entry.extra;
  // A kept entry's own fields that leave no room give way to the ZIP64 field, which must stay
  // whole: its length depends on how many values it carries.
  if (!wide.empty() && extra.size() + kExtraFieldHeaderSize + 8 * wide.size() > kMax16)
    extra.clear();
  if (!wide.empty()) putExtraZip64(extra, wide);
  uint16_t needed = entry.versionNeeded != 0      ? entry.versionNeeded
                    : w.method == kMethodDeflated ? kVersionDeflated
                                                  : kVersionStored;
  h.versionNeeded = wide.empty() ? needed : std::max(needed, kVersionZip64);
  if (!wide.empty() && (h.madeBy & 0xFF) < kVersionZip64)
    h.madeBy = uint16_t((h.madeBy & 0xFF00) | kVersionZip64);
  h.nameLength = uint16_t(w.name.size());
  h.extraLength = uint16_t(extra.size());
  h.commentLength = uint16_t(std::min<std::size_t>(entry.comment.size(), kMax16));
  h.internalAttributes = entry.internalAttributes;
  h.externalAttributes = w.externalAttributes;
  std::vector<uint8_t> record(kCentralHeaderSize + h.nameLength + h.extraLength + h.commentLength);
  h.write(record.data());
  std::memcpy(record.data() + kCentralHeaderSize, w.name.data(), h.nameLength);
  if (!extra.empty())
    std::memcpy(record.data() + kCentralHeaderSize + h.nameLength, extra.data(), extra.size());
  std::memcpy(record.data() + kCentralHeaderSize + h.nameLength + h.extraLength,
              entry.comment.data(), h.commentLength);
  m_out.write(record.data(), record.size());
}

void ArchiveWriter::finish(const std::string& comment) {
  uint64_t dirOffset = uint64_t(m_out.position());
  for (const auto& entry : m_entries) writeCentral(entry);
  uint64_t dirEnd = uint64_t(m_out.position());
  uint64_t dirSize = dirEnd - dirOffset;
  uint64_t count = m_entries.size();
  EndRecord end;
  end.entriesOnDisk = end.totalEntries = count >= kMax16 ? kMax16 : uint16_t(count);
  end.directorySize = dirSize >= kMax32 ? kMax32 : uint32_t(dirSize);
  end.directoryOffset = dirOffset >= kMax32 ? kMax32 : uint32_t(dirOffset);
  if (end.needsZip64()) {
    uint8_t buffer[kZip64EndRecordSize];
    Zip64EndRecord end64;
    end64.entriesOnDisk = end64.totalEntries = count;
    end64.directorySize = dirSize;
    end64.directoryOffset = dirOffset;
    end64.write(buffer);
    m_out.write(buffer, kZip64EndRecordSize);
    Zip64Locator locator;
    locator.endRecordOffset = dirEnd;
    locator.write(buffer);
    m_out.write(buffer, kZip64LocatorSize);
  }
  end.commentLength = uint16_t(std::min<std::size_t>(comment.size(), kMaxCommentLength));
  std::vector<uint8_t> record(kEndRecordSize + end.commentLength);
  end.write(record.data());
  std::memcpy(record.data() + kEndRecordSize, comment.data(), end.commentLength);
  m_out.write(record.data(), record.size());
}

}  // namespace packlib

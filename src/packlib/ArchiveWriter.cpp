// Archive writing for the archiver library: local headers patched after the data, ZIP64 where
// sizes or offsets need it, and the directory of an existing archive read with checked bounds.
#include "packlib/ArchiveWriter.h"

#include <algorithm>
#include <cstring>

#include "packlib/ParallelDeflate.h"
#include "packlib/Reporter.h"

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
  extra.resize(at + 4 + 8 * values.size());
  writeLE16(&extra[at], kZip64ExtraId);
  writeLE16(&extra[at + 2], uint16_t(8 * values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) writeLE64(&extra[at + 4 + 8 * i], values[i]);
}

// The extra field without its ZIP64 part, which is rebuilt for the new offsets.
std::vector<uint8_t> withoutZip64(const std::vector<uint8_t>& extra) {
  std::vector<uint8_t> kept;
  std::size_t pos = 0;
  while (pos <= extra.size() && extra.size() - pos >= 4) {
    uint16_t id = readLE16(&extra[pos]);
    std::size_t size = readLE16(&extra[pos + 2]);
    if (size > extra.size() - pos - 4) break;
    if (id != kZip64ExtraId)
      kept.insert(kept.end(), extra.begin() + std::ptrdiff_t(pos),
                  extra.begin() + std::ptrdiff_t(pos + 4 + size));
    pos += 4 + size;
  }
  return kept;
}

}  // namespace

ExistingArchive readExistingArchive(platform::File& file) {
  const std::string& path = file.path();
  int64_t fileSize = file.size();
  std::size_t tailSize = std::size_t(std::min<int64_t>(fileSize, int64_t(kEndSearchSpan)));
  std::vector<uint8_t> tail(tailSize);
  file.seek(fileSize - int64_t(tailSize));
  file.readExact(tail.data(), tailSize);
  auto found = findEndRecord(tail.data(), tail.size());
  if (!found) notZip(path);
  EndRecord end;
  end.read(&tail[*found]);
  int64_t endPos = fileSize - int64_t(tailSize) + int64_t(*found);
  ExistingArchive archive;
  std::size_t commentLength =
      std::min<std::size_t>(end.commentLength, tailSize - *found - kEndRecordSize);
  archive.comment.assign(reinterpret_cast<const char*>(&tail[*found + kEndRecordSize]),
                         commentLength);

  uint64_t total = end.totalEntries;
  uint64_t dirSize = end.directorySize;
  uint64_t dirOffset = end.directoryOffset;
  int64_t dirEnd = endPos;
  if (end.needsZip64() && endPos >= int64_t(kZip64LocatorSize)) {
    uint8_t buffer[kZip64EndRecordSize];
    file.seek(endPos - int64_t(kZip64LocatorSize));
    file.readExact(buffer, kZip64LocatorSize);
    Zip64Locator locator;
    if (locator.read(buffer)) {
      if (locator.endRecordOffset > uint64_t(fileSize) - kZip64EndRecordSize) notZip(path);
      file.seek(int64_t(locator.endRecordOffset));
      file.readExact(buffer, kZip64EndRecordSize);
      Zip64EndRecord end64;
      if (!end64.read(buffer)) notZip(path);
      total = end64.totalEntries;
      dirSize = end64.directorySize;
      dirOffset = end64.directoryOffset;
      dirEnd = int64_t(locator.endRecordOffset);
    }
  }
  if (dirSize > uint64_t(dirEnd)) notZip(path);
  int64_t dirPos = dirEnd - int64_t(dirSize);
  // Data before the archive (a stub) moves every recorded offset by the same amount.
  int64_t shift = dirPos - int64_t(dirOffset);
  std::vector<uint8_t> directory(dirSize);
  file.seek(dirPos);
  file.readExact(directory.data(), directory.size());
  std::size_t pos = 0;
  for (uint64_t i = 0; i < total; ++i) {
    if (directory.size() - pos < kCentralHeaderSize) notZip(path);
    ExistingEntry entry;
    if (!entry.header.read(&directory[pos])) notZip(path);
    pos += kCentralHeaderSize;
    std::size_t variable = std::size_t(entry.header.nameLength) + entry.header.extraLength +
                           entry.header.commentLength;
    if (directory.size() - pos < variable) notZip(path);
    const char* p = reinterpret_cast<const char*>(&directory[pos]);
    entry.name.assign(p, entry.header.nameLength);
    entry.extra.assign(directory.begin() + std::ptrdiff_t(pos + entry.header.nameLength),
                       directory.begin() + std::ptrdiff_t(pos + entry.header.nameLength +
                                                          entry.header.extraLength));
    entry.comment.assign(p + entry.header.nameLength + entry.header.extraLength,
                         entry.header.commentLength);
    pos += variable;
    WideValues wide = resolveZip64(entry.header, entry.extra.data(), entry.extra.size());
    int64_t offset = int64_t(wide.localHeaderOffset) + shift;
    if (offset < 0 || offset >= dirPos) notZip(path);
    entry.localOffset = uint64_t(offset);
    archive.entries.push_back(std::move(entry));
  }
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

  std::vector<uint8_t> header(kLocalHeaderSize + w.name.size() + (zip64 ? 20 : 0));
  auto writeLocal = [&] {
    writeLE32(&header[0], kLocalHeaderSignature);
    writeLE16(&header[4], zip64 ? kVersionZip64 : (w.method ? kVersionDeflated : kVersionStored));
    writeLE16(&header[6], w.flags);
    writeLE16(&header[8], w.method);
    writeLE16(&header[10], w.time);
    writeLE16(&header[12], w.date);
    writeLE32(&header[14], w.crc);
    writeLE32(&header[18], zip64 ? kMax32 : uint32_t(w.compressedSize));
    writeLE32(&header[22], zip64 ? kMax32 : uint32_t(w.uncompressedSize));
    writeLE16(&header[26], uint16_t(w.name.size()));
    writeLE16(&header[28], zip64 ? 20 : 0);
    std::memcpy(header.data() + 30, w.name.data(), w.name.size());
    if (zip64) {
      std::size_t at = 30 + w.name.size();
      writeLE16(&header[at], kZip64ExtraId);
      writeLE16(&header[at + 2], 16);
      writeLE64(&header[at + 4], w.uncompressedSize);
      writeLE64(&header[at + 12], w.compressedSize);
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
  if (!wide.empty() && extra.size() + 4 + 8 * wide.size() > kMax16) extra.clear();
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

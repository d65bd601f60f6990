// The listing of ArchiveFileName: end record search, comment, stub size and directory entries.

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "zip/Archiver.h"
#include "zip/NameConversion.h"
#include "zip/ZipFormat.h"

namespace zip {

using namespace zipformat;

namespace {

constexpr int64_t kPaddingBlock = 512;

// Where the end record lies and what it says.
struct EndInfo {
  EndRecord record;
  int64_t archiveEnd = 0;     // just after the end record and its comment
  int64_t recordPos = 0;      // where the end record starts
  uint64_t totalEntries = 0;  // ZIP64 values when the archive has them
  uint64_t directorySize = 0;
  uint64_t directoryOffset = 0;
  int64_t directoryEnd = 0;  // where the directory stops (the ZIP64 end record or the end record)
};

bool zeroPadding(const uint8_t* p, std::size_t n) {
  return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

// Reads the ZIP64 end record that a saturated end record points to; false when there is none.
bool readZip64End(platform::File& file, EndInfo& info) {
  if (info.recordPos < int64_t(kZip64LocatorSize)) return false;
  uint8_t buffer[kZip64EndRecordSize];
  file.seek(info.recordPos - int64_t(kZip64LocatorSize));
  file.readExact(buffer, kZip64LocatorSize);
  Zip64Locator locator;
  if (!locator.read(buffer)) return false;
  // The ZIP64 end record sits just before the locator; data before the archive moves it.
  int64_t pos = info.recordPos - int64_t(kZip64LocatorSize) - int64_t(kZip64EndRecordSize);
  if (pos < 0) return false;
  file.seek(pos);
  file.readExact(buffer, kZip64EndRecordSize);
  Zip64EndRecord end64;
  if (!end64.read(buffer)) return false;
  info.totalEntries = end64.totalEntries;
  info.directorySize = end64.directorySize;
  info.directoryOffset = end64.directoryOffset;
  info.directoryEnd = pos;
  return true;
}

}  // namespace

void TArchiver::clearListing() {
  m_entries.clear();
  m_dirOnlyCount = 0;
  m_archiveComment.clear();
  m_stubSize = 0;
  m_diskNumber = 0;
  m_isSpanned = false;
}

void TArchiver::list() {
  clearListing();
  if (m_archiveFileName.empty() || !platform::fileExists(m_archiveFileName)) {
    if (OnDirUpdate) OnDirUpdate(*this);
    return;
  }
  host()->setBusyCursor(true);
  platform::File file;
  try {
    // The drive check of this platform: the file system that holds the archive must answer.
    std::string folder = platform::parentFolder(platform::absolutePath(m_archiveFileName));
    if (!platform::fileSystemAnswers(folder)) throw EArchiver(msg::kDriveMissing, folder);

    // Find the end record.
    try {
      file = platform::File::openRead(m_archiveFileName);
    } catch (const platform::EInOutError&) {
      throw EArchiver(msg::kOpenFailedRaised, true);
    }
    int64_t fileSize = file.size();
    uint8_t head[8] = {};
    if (fileSize >= 8) {
      file.readExact(head, 8);
      m_isSpanned =
          readLE32(head) == kSpanningMarker && readLE32(head + 4) == kLocalHeaderSignature;
    }
    EndInfo info;
    bool found = false;
    if (fileSize >= int64_t(kEndRecordSize)) {
      uint8_t last[kEndRecordSize];
      try {
        file.seek(fileSize - int64_t(kEndRecordSize));
        file.readExact(last, kEndRecordSize);
      } catch (const platform::EInOutError&) {
        throw EArchiver(msg::kTailReadFailed, true);
      }
      if (info.record.read(last)) {
        found = true;
        info.recordPos = fileSize - int64_t(kEndRecordSize);
        info.archiveEnd = fileSize;
        info.record.commentLength = 0;  // a record at the very end has no room for a comment
      }
    }
    if (!found) {
      std::size_t span = std::size_t(std::min<int64_t>(fileSize, int64_t(kEndSearchSpan)));
      std::vector<uint8_t> tail(span);
      try {
        file.seek(fileSize - int64_t(span));
      } catch (const platform::EInOutError&) {
        throw EArchiver(msg::kTailSeekFailed, true);
      }
      try {
        file.readExact(tail.data(), span);
      } catch (const platform::EInOutError&) {
        throw EArchiver(msg::kTailReadFailed, true);
      }
      if (auto at = findEndRecord(tail.data(), tail.size())) {
        found = true;
        info.record.read(&tail[*at]);
        info.recordPos = fileSize - int64_t(span) + int64_t(*at);
        std::size_t afterRecord = span - *at - kEndRecordSize;
        std::size_t commentLength = std::min<std::size_t>(info.record.commentLength, afterRecord);
        info.record.commentLength = uint16_t(commentLength);
        info.archiveEnd = info.recordPos + int64_t(kEndRecordSize + commentLength);
        std::size_t trailing = std::size_t(fileSize - info.archiveEnd);
        bool padding = trailing < std::size_t(kPaddingBlock) && fileSize % kPaddingBlock == 0 &&
                       zeroPadding(&tail[span - trailing], trailing);
        if (trailing > 0 && !padding) reportMessage(msg::kDataAfterArchive);
        if (commentLength > 0)
          m_archiveComment = convertArchiveText(
              std::string(reinterpret_cast<const char*>(&tail[*at + kEndRecordSize]),
                          commentLength),
              0, 0, m_codePage);
      }
    }
    if (!found) {
      if (!m_isSpanned) throw EArchiver(msg::kNotZip, true);
      throw EArchiver(m_diskNumber == 1 ? msg::kLastDiskNeeded : msg::kNoEndRecord, true);
    }
    info.totalEntries = info.record.totalEntries;
    info.directorySize = info.record.directorySize;
    info.directoryOffset = info.record.directoryOffset;
    info.directoryEnd = info.recordPos;
    if (info.record.needsZip64()) {
      try {
        readZip64End(file, info);
      } catch (const platform::EInOutError&) {
        throw EArchiver(msg::kTailReadFailed, true);
      }
    }
    m_diskNumber = info.record.diskNumber;
    if (m_diskNumber != 0) m_isSpanned = true;

    // FIXME: a directory on another disk of a set is not fetched; its offset is used as is.
    int64_t realPos = int64_t(info.directoryOffset);
    if (info.record.directoryDisk == info.record.diskNumber)
      realPos = info.directoryEnd - int64_t(info.directorySize);
    m_stubSize = info.archiveEnd == int64_t(kEndRecordSize) ? 0 : info.archiveEnd;
    if (uint64_t(realPos) != info.directoryOffset) reportMessage(msg::kDataBeforeArchive);
    if (realPos < 0) throw EArchiver(msg::kDirectoryReadError, true);
    try {
      file.seek(realPos);
    } catch (const platform::EInOutError&) {
      throw EArchiver(msg::kDirectoryReadError, true);
    }

    for (uint64_t i = 0; i < info.totalEntries; ++i) {
      uint8_t fixed[kCentralHeaderSize];
      if (file.read(fixed, kCentralHeaderSize) != kCentralHeaderSize)
        throw EArchiver(msg::kEntryReadFailed, true);
      CentralHeader h;
      if (!h.read(fixed)) throw EArchiver(msg::kEntrySignature, true);
      std::string rawName(h.nameLength, '\0');
      if (file.read(rawName.data(), rawName.size()) != rawName.size())
        throw EArchiver(msg::kEntryNameRead, true);
      ArchiveDirEntry entry;
      entry.MadeByVersion = h.madeBy;
      entry.VersionNeeded = h.versionNeeded;
      entry.Flag = h.flags;
      entry.CompressionMethod = h.method;
      entry.DateTimeTime = h.time;
      entry.DateTimeDate = h.date;
      entry.CRC32 = h.crc;
      entry.CompressedSize = h.compressedSize;
      entry.UncompressedSize = h.uncompressedSize;
      entry.FileNameLength = h.nameLength;
      entry.ExtraFieldLength = h.extraLength;
      entry.FileCommentLen = h.commentLength;
      entry.StartOnDisk = h.startDisk;
      entry.IntFileAttrib = h.internalAttributes;
      entry.ExtFileAttrib = h.externalAttributes;
      entry.RelOffLocalHdr = h.localHeaderOffset;
      entry.FileName = convertArchiveName(rawName, h.madeBy, h.flags, m_codePage);
      entry.Encrypted = (h.flags & kFlagEncrypted) != 0;
      if (h.extraLength != 0) {
        entry.ExtraData.resize(h.extraLength);
        if (file.read(entry.ExtraData.data(), h.extraLength) != h.extraLength)
          throw EArchiver(msg::kDirectoryReadError, true);
      }
      if (h.commentLength != 0) {
        std::string rawComment(h.commentLength, '\0');
        if (file.read(rawComment.data(), rawComment.size()) != rawComment.size())
          throw EArchiver(msg::kEntryCommentRead, true);
        entry.FileComment = convertArchiveText(rawComment, h.madeBy, h.flags, m_codePage);
      }
      WideValues wide = resolveZip64(h, entry.ExtraData.data(), entry.ExtraData.size());
      entry.uncompressedSize64 = wide.uncompressedSize;
      entry.compressedSize64 = wide.compressedSize;
      entry.localHeaderOffset64 = wide.localHeaderOffset;
      m_stubSize = std::min<int64_t>(
          m_stubSize, int64_t(std::min<uint64_t>(wide.localHeaderOffset, uint64_t(INT64_MAX))));
      bool dirOnly = entry.FileName.empty() || entry.FileName.back() == platform::kPathSeparator;
      if (m_useDirOnlyEntries || !dirOnly) {
        m_entries.push_back(std::move(entry));
        if (OnNewName) OnNewName(*this, int32_t(i + 1), m_entries.back());
      } else {
        ++m_dirOnlyCount;
      }
    }
    m_stubSize += realPos - int64_t(info.directoryOffset);
    // A directory recorded further on than it lies means bytes are missing, not a stub.
    if (m_stubSize < 0) m_stubSize = 0;
  } catch (const EArchiver& error) {
    showException(error);
    m_archiveFileName.clear();
    m_stubSize = 0;
  } catch (const std::bad_alloc&) {
    reportMessage(msg::kOutOfMemory);
    m_archiveFileName.clear();
    m_stubSize = 0;
  } catch (const std::exception& error) {
    reportMessage(msg::kDirectoryException, error.what());
    m_archiveFileName.clear();
    m_stubSize = 0;
  }
  host()->setBusyCursor(false);
  file = platform::File();
  if (OnDirUpdate) OnDirUpdate(*this);
}

}  // namespace zip

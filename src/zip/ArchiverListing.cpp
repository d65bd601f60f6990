// The listing of ArchiveFileName: end record search, comment, stub size and directory entries.

#include <algorithm>
#include <new>

#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "zip/Archiver.h"
#include "zip/NameConversion.h"
#include "zip/ZipDirectory.h"

namespace zip {

using namespace zipformat;

namespace {

constexpr int64_t kPaddingBlock = 512;

bool zeroPadding(std::span<const uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

std::string text(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

// The message for each RecordFault, in its order.
constexpr int32_t kFaultMessages[] = {msg::kDirectoryReadError, msg::kEntryReadFailed,
                                      msg::kEntrySignature,     msg::kEntryNameRead,
                                      msg::kDirectoryReadError, msg::kEntryCommentRead};
static_assert(std::size(kFaultMessages) == std::size_t(RecordFault::kCommentCut) + 1);

ArchiveDirEntry dirEntry(const CentralRecord& record, CodePageOpts codePage) {
  const CentralHeader& h = record.header;
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
  entry.FileName = convertArchiveName(record.rawName(), h.madeBy, h.flags, codePage);
  entry.Encrypted = (h.flags & kFlagEncrypted) != 0;
  entry.ExtraData.assign(record.extra.begin(), record.extra.end());
  if (!record.comment.empty())
    entry.FileComment = convertArchiveText(text(record.comment), h.madeBy, h.flags, codePage);
  entry.uncompressedSize64 = record.wide.uncompressedSize;
  entry.compressedSize64 = record.wide.compressedSize;
  entry.localHeaderOffset64 = record.wide.localHeaderOffset;
  return entry;
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
    const int64_t fileSize = file.size();
    uint8_t head[8] = {};
    if (fileSize >= 8) {
      file.readExact(head, 8);
      m_isSpanned =
          readLE32(head) == kSpanningMarker && readLE32(head + 4) == kLocalHeaderSignature;
    }
    std::optional<DirectoryLocation> found;
    try {
      found = locateDirectory(file, EndSearch::kLastSignature);
    } catch (const platform::EInOutError&) {
      throw EArchiver(msg::kTailReadFailed, true);
    }
    if (!found) {
      if (!m_isSpanned) throw EArchiver(msg::kNotZip, true);
      throw EArchiver(m_diskNumber == 1 ? msg::kLastDiskNeeded : msg::kNoEndRecord, true);
    }
    const DirectoryLocation& at = *found;
    const std::span<const uint8_t> trailing = at.trailing();
    bool padding = trailing.size() < std::size_t(kPaddingBlock) && fileSize % kPaddingBlock == 0 &&
                   zeroPadding(trailing);
    if (!trailing.empty() && !padding) reportMessage(msg::kDataAfterArchive);
    if (!at.comment().empty())
      m_archiveComment = convertArchiveText(text(at.comment()), 0, 0, m_codePage);
    m_diskNumber = at.end.diskNumber;
    if (m_diskNumber != 0) m_isSpanned = true;

    // FIXME: a directory on another disk of a set is not fetched; its offset is used as is.
    std::optional<uint64_t> realPos = at.directoryOffset;
    if (at.end.directoryDisk == at.end.diskNumber) realPos = at.directoryStart();
    m_stubSize = at.archiveEnd() == kEndRecordSize ? 0 : int64_t(at.archiveEnd());
    if (realPos != at.directoryOffset) reportMessage(msg::kDataBeforeArchive);
    if (!realPos) throw EArchiver(msg::kDirectoryReadError, true);
    // The records must lie within the stated size and before the end records.
    std::vector<uint8_t> directory;
    try {
      if (*realPos < at.directoryEnd)
        directory = readAt(file, *realPos,
                           std::size_t(std::min(at.directorySize, at.directoryEnd - *realPos)));
    } catch (const platform::EInOutError&) {
      throw EArchiver(msg::kDirectoryReadError, true);
    }

    CentralRecords records(directory, at.entryCount);
    CentralRecord record;
    for (int32_t number = 1; records.next(record); ++number) {
      ArchiveDirEntry entry = dirEntry(record, m_codePage);
      m_stubSize = std::min<int64_t>(
          m_stubSize, int64_t(std::min<uint64_t>(entry.localHeaderOffset64, uint64_t(INT64_MAX))));
      bool dirOnly = entry.FileName.empty() || entry.FileName.back() == platform::kPathSeparator;
      if (m_useDirOnlyEntries || !dirOnly) {
        m_entries.push_back(std::move(entry));
        if (OnNewName) OnNewName(*this, number, m_entries.back());
      } else {
        ++m_dirOnlyCount;
      }
    }
    if (records.fault() != RecordFault::kNone)
      throw EArchiver(kFaultMessages[std::size_t(records.fault())], true);
    m_stubSize += int64_t(*realPos) - int64_t(at.directoryOffset);
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

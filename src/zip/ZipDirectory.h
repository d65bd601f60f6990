// Finding an archive's central directory (end record, ZIP64 locator and end record) and walking
// its records with every length checked against the directory's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/File.h"
#include "zip/ZipFormat.h"

namespace zipformat {

// Which end record signature counts when several lie in the file's tail (a comment may hold
// the bytes of one).
enum class EndSearch {
  kLastSignature,  // the last one that leaves room for a whole record; its comment is cut
  kCommentInFile,  // the last one whose stated comment ends within the file
};

// What the end records say and where they lie. Positions are within the file; the stated
// directory offset is as recorded, so data before the archive (a stub) makes it differ.
struct DirectoryLocation {
  EndRecord end;  // its commentLength cut to the bytes the file holds
  uint64_t endRecordPos = 0;
  std::vector<uint8_t> tail;  // the file's last bytes, the end record among them
  std::size_t recordAt = 0;   // where the end record lies in `tail`
  bool zip64 = false;         // the values below come from a ZIP64 end record
  bool zip64Missing = false;  // a ZIP64 locator whose end record is nowhere
  uint32_t diskNumber = 0;
  uint32_t directoryDisk = 0;
  uint64_t entryCount = 0;
  uint64_t directorySize = 0;
  uint64_t directoryOffset = 0;
  uint64_t directoryEnd = 0;  // the ZIP64 end record when there is one, else the end record

  uint64_t archiveEnd() const { return endRecordPos + kEndRecordSize + end.commentLength; }
  std::span<const uint8_t> comment() const {
    return std::span(tail).subspan(recordAt + kEndRecordSize, end.commentLength);
  }
  // The bytes after the end record and its comment.
  std::span<const uint8_t> trailing() const {
    return std::span(tail).subspan(recordAt + kEndRecordSize + end.commentLength);
  }
  // Where the directory starts when it ends right before the end records; nullopt when its
  // size reaches before the start of the file.
  std::optional<uint64_t> directoryStart() const;
};

// Finds the end record in the tail of `file` and the ZIP64 end record that a locator before it
// names (where stated, or right before the locator when a stub moved the archive). nullopt when
// there is no end record. File errors propagate as the input/output error.
std::optional<DirectoryLocation> locateDirectory(platform::File& file, EndSearch search);

// `size` bytes of `file` from `offset`.
std::vector<uint8_t> readAt(platform::File& file, uint64_t offset, std::size_t size);

// The first thing found wrong with a directory.
enum class RecordFault { kNone, kHeaderCut, kSignature, kNameCut, kExtraCut, kCommentCut };

// One central record; the spans point into the directory bytes.
struct CentralRecord {
  CentralHeader header;
  std::span<const uint8_t> name;
  std::span<const uint8_t> extra;
  std::span<const uint8_t> comment;
  WideValues wide{};  // the sizes and offset with the ZIP64 field applied

  std::string rawName() const { return {name.begin(), name.end()}; }
};

// Walks the first `count` records of a directory. Each record's name, extra field and comment
// must end within the directory; the first that does not ends the walk with its fault.
class CentralRecords {
 public:
  CentralRecords(std::span<const uint8_t> directory, uint64_t count)
      : m_left(directory), m_remaining(count) {}

  // Reads the next record; false after the last one or at damage (then fault() says which).
  bool next(CentralRecord& record);
  RecordFault fault() const { return m_fault; }

 private:
  std::span<const uint8_t> m_left;
  uint64_t m_remaining;
  RecordFault m_fault = RecordFault::kNone;
};

}  // namespace zipformat

// ZIP format records (local and central headers, end records, ZIP64) with their little-endian
// read/write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/ByteOrder.h"

namespace zipformat {

inline constexpr uint32_t kLocalHeaderSignature = 0x04034B50;
inline constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
inline constexpr uint32_t kEndRecordSignature = 0x06054B50;
inline constexpr uint32_t kZip64EndRecordSignature = 0x06064B50;
inline constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
inline constexpr uint32_t kSpanningMarker = 0x08074B50;
inline constexpr uint16_t kZip64ExtraId = 0x0001;

inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::size_t kEndRecordSize = 22;
inline constexpr std::size_t kZip64EndRecordSize = 56;
inline constexpr std::size_t kZip64LocatorSize = 20;
inline constexpr std::size_t kMaxCommentLength = 65535;
// Every extra field starts with its 16-bit id and 16-bit data length.
inline constexpr std::size_t kExtraFieldHeaderSize = 4;
// A local header's ZIP64 field carries both sizes, 64 bits each (the offset is central only).
inline constexpr std::size_t kZip64LocalDataSize = 2 * 8;
inline constexpr std::size_t kZip64LocalExtraSize = kExtraFieldHeaderSize + kZip64LocalDataSize;
static_assert(kZip64LocalExtraSize == 20);
// The end record and the longest comment: how far from the end the record can start.
inline constexpr std::size_t kEndSearchSpan = kMaxCommentLength + kEndRecordSize;
static_assert(kEndSearchSpan == 65557);

inline constexpr uint32_t kMax32 = 0xFFFFFFFF;
inline constexpr uint16_t kMax16 = 0xFFFF;

inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodDeflated = 8;
inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagUtf8 = 0x0800;
inline constexpr uint16_t kHostFat = 0;
inline constexpr uint16_t kHostUnix = 3;

using platform::readLE16;
using platform::readLE32;
using platform::readLE64;
using platform::writeLE16;
using platform::writeLE32;
using platform::writeLE64;

// The fixed 30 bytes of a local header, which precede each entry's name, extra field and data.
struct LocalHeader {
  uint16_t versionNeeded = 0;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t time = 0;
  uint16_t date = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint16_t nameLength = 0;
  uint16_t extraLength = 0;

  // Reads the 30 bytes at `p`; false when the signature is wrong.
  bool read(const uint8_t* p);
  void write(uint8_t* p) const;
  // Where the entry's data starts, counted from the start of this header.
  uint64_t dataOffset() const { return uint64_t(kLocalHeaderSize) + nameLength + extraLength; }
};

// The fixed 46 bytes of a central directory header (the signature checked by the reader).
struct CentralHeader {
  uint16_t madeBy = 0;
  uint16_t versionNeeded = 0;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t time = 0;
  uint16_t date = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint16_t nameLength = 0;
  uint16_t extraLength = 0;
  uint16_t commentLength = 0;
  uint16_t startDisk = 0;
  uint16_t internalAttributes = 0;
  uint32_t externalAttributes = 0;
  uint32_t localHeaderOffset = 0;

  // Reads the 46 bytes at `p`; false when the signature is wrong.
  bool read(const uint8_t* p);
  void write(uint8_t* p) const;
};

// The 22-byte end of central directory record (without its comment).
struct EndRecord {
  uint16_t diskNumber = 0;
  uint16_t directoryDisk = 0;
  uint16_t entriesOnDisk = 0;
  uint16_t totalEntries = 0;
  uint32_t directorySize = 0;
  uint32_t directoryOffset = 0;
  uint16_t commentLength = 0;

  bool read(const uint8_t* p);
  void write(uint8_t* p) const;
  // Whether a field is saturated, so that the ZIP64 end record holds the real value.
  bool needsZip64() const;
};

struct Zip64EndRecord {
  uint32_t diskNumber = 0;
  uint32_t directoryDisk = 0;
  uint64_t entriesOnDisk = 0;
  uint64_t totalEntries = 0;
  uint64_t directorySize = 0;
  uint64_t directoryOffset = 0;

  bool read(const uint8_t* p);
  void write(uint8_t* p) const;  // 56 bytes, version 45
};

struct Zip64Locator {
  uint32_t endRecordDisk = 0;
  uint64_t endRecordOffset = 0;
  uint32_t totalDisks = 1;

  bool read(const uint8_t* p);
  void write(uint8_t* p) const;
};

// Calls `visit(id, data)` for each whole field of an extra block, in order; a torn last field
// ends the walk, as other readers do.
template <typename Visit>
void forEachExtraField(std::span<const uint8_t> extra, Visit&& visit) {
  while (extra.size() >= kExtraFieldHeaderSize) {
    uint16_t id = readLE16(extra.data());
    std::size_t size = readLE16(extra.data() + 2);
    extra = extra.subspan(kExtraFieldHeaderSize);
    if (size > extra.size()) break;
    visit(id, extra.first(size));
    extra = extra.subspan(size);
  }
}

// The real sizes and offset of an entry: a saturated 32-bit field takes its value from the
// (first) ZIP64 extra field, in the standard's order. Missing or short ZIP64 data leaves the
// field as is and clears `complete`.
struct WideValues {
  uint64_t uncompressedSize;
  uint64_t compressedSize;
  uint64_t localHeaderOffset;
  bool complete = true;
};
WideValues resolveZip64(const CentralHeader& header, const uint8_t* extra, std::size_t extraLength);

// Searches `tail` (the last bytes of a file) backwards for an end record signature, starting
// so that a full 22-byte record fits; with `commentMustFit`, a signature whose stated comment
// would reach past the tail is passed over. Returns its offset within `tail`.
std::optional<std::size_t> findEndRecord(const uint8_t* tail, std::size_t size,
                                         bool commentMustFit = false);

// MS-DOS date and time (local time) for a POSIX time, and back.
void toDosDateTime(int64_t unixTime, uint16_t& date, uint16_t& time);

}  // namespace zipformat

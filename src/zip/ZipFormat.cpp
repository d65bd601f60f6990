// Reading and writing the ZIP records field by field, little-endian.
#include "zip/ZipFormat.h"

#include <ctime>

namespace zipformat {

bool LocalHeader::read(const uint8_t* p) {
  if (readLE32(p) != kLocalHeaderSignature) return false;
  versionNeeded = readLE16(p + 4);
  flags = readLE16(p + 6);
  method = readLE16(p + 8);
  time = readLE16(p + 10);
  date = readLE16(p + 12);
  crc = readLE32(p + 14);
  compressedSize = readLE32(p + 18);
  uncompressedSize = readLE32(p + 22);
  nameLength = readLE16(p + 26);
  extraLength = readLE16(p + 28);
  return true;
}

void LocalHeader::write(uint8_t* p) const {
  writeLE32(p, kLocalHeaderSignature);
  writeLE16(p + 4, versionNeeded);
  writeLE16(p + 6, flags);
  writeLE16(p + 8, method);
  writeLE16(p + 10, time);
  writeLE16(p + 12, date);
  writeLE32(p + 14, crc);
  writeLE32(p + 18, compressedSize);
  writeLE32(p + 22, uncompressedSize);
  writeLE16(p + 26, nameLength);
  writeLE16(p + 28, extraLength);
}

bool CentralHeader::read(const uint8_t* p) {
  if (readLE32(p) != kCentralHeaderSignature) return false;
  madeBy = readLE16(p + 4);
  versionNeeded = readLE16(p + 6);
  flags = readLE16(p + 8);
  method = readLE16(p + 10);
  time = readLE16(p + 12);
  date = readLE16(p + 14);
  crc = readLE32(p + 16);
  compressedSize = readLE32(p + 20);
  uncompressedSize = readLE32(p + 24);
  nameLength = readLE16(p + 28);
  extraLength = readLE16(p + 30);
  commentLength = readLE16(p + 32);
  startDisk = readLE16(p + 34);
  internalAttributes = readLE16(p + 36);
  externalAttributes = readLE32(p + 38);
  localHeaderOffset = readLE32(p + 42);
  return true;
}

void CentralHeader::write(uint8_t* p) const {
  writeLE32(p, kCentralHeaderSignature);
  writeLE16(p + 4, madeBy);
  writeLE16(p + 6, versionNeeded);
  writeLE16(p + 8, flags);
  writeLE16(p + 10, method);
  writeLE16(p + 12, time);
  writeLE16(p + 14, date);
  writeLE32(p + 16, crc);
  writeLE32(p + 20, compressedSize);
  writeLE32(p + 24, uncompressedSize);
  writeLE16(p + 28, nameLength);
  writeLE16(p + 30, extraLength);
  writeLE16(p + 32, commentLength);
  writeLE16(p + 34, startDisk);
  writeLE16(p + 36, internalAttributes);
  writeLE32(p + 38, externalAttributes);
  writeLE32(p + 42, localHeaderOffset);
}

bool EndRecord::read(const uint8_t* p) {
  if (readLE32(p) != kEndRecordSignature) return false;
  diskNumber = readLE16(p + 4);
  directoryDisk = readLE16(p + 6);
  entriesOnDisk = readLE16(p + 8);
  totalEntries = readLE16(p + 10);
  directorySize = readLE32(p + 12);
  directoryOffset = readLE32(p + 16);
  commentLength = readLE16(p + 20);
  return true;
}

void EndRecord::write(uint8_t* p) const {
  writeLE32(p, kEndRecordSignature);
  writeLE16(p + 4, diskNumber);
  writeLE16(p + 6, directoryDisk);
  writeLE16(p + 8, entriesOnDisk);
  writeLE16(p + 10, totalEntries);
  writeLE32(p + 12, directorySize);
  writeLE32(p + 16, directoryOffset);
  writeLE16(p + 20, commentLength);
}

bool EndRecord::needsZip64() const {
  return totalEntries == kMax16 || entriesOnDisk == kMax16 || directorySize == kMax32 ||
         directoryOffset == kMax32;
}

bool Zip64EndRecord::read(const uint8_t* p) {
  if (readLE32(p) != kZip64EndRecordSignature) return false;
  diskNumber = readLE32(p + 16);
  directoryDisk = readLE32(p + 20);
  entriesOnDisk = readLE64(p + 24);
  totalEntries = readLE64(p + 32);
  directorySize = readLE64(p + 40);
  directoryOffset = readLE64(p + 48);
  return true;
}

void Zip64EndRecord::write(uint8_t* p) const {
  writeLE32(p, kZip64EndRecordSignature);
  writeLE64(p + 4, kZip64EndRecordSize - 12);  // size of the rest of the record
  writeLE16(p + 12, (kHostUnix << 8) | 45);
  writeLE16(p + 14, 45);
  writeLE32(p + 16, diskNumber);
  writeLE32(p + 20, directoryDisk);
  writeLE64(p + 24, entriesOnDisk);
  writeLE64(p + 32, totalEntries);
  writeLE64(p + 40, directorySize);
  writeLE64(p + 48, directoryOffset);
}

bool Zip64Locator::read(const uint8_t* p) {
  if (readLE32(p) != kZip64LocatorSignature) return false;
  endRecordDisk = readLE32(p + 4);
  endRecordOffset = readLE64(p + 8);
  totalDisks = readLE32(p + 16);
  return true;
}

void Zip64Locator::write(uint8_t* p) const {
  writeLE32(p, kZip64LocatorSignature);
  writeLE32(p + 4, endRecordDisk);
  writeLE64(p + 8, endRecordOffset);
  writeLE32(p + 16, totalDisks);
}

WideValues resolveZip64(const CentralHeader& header, const uint8_t* extra,
                        std::size_t extraLength) {
  WideValues values{header.uncompressedSize, header.compressedSize, header.localHeaderOffset};
  std::optional<std::span<const uint8_t>> field;
  forEachExtraField({extra, extraLength}, [&](uint16_t id, std::span<const uint8_t> data) {
    if (id == kZip64ExtraId && !field) field = data;
  });
  std::span<const uint8_t> left = field.value_or(std::span<const uint8_t>{});
  auto take = [&](uint64_t& target, bool saturated) {
    if (!saturated) return;
    if (left.size() < 8) {
      values.complete = false;
      return;
    }
    target = readLE64(left.data());
    left = left.subspan(8);
  };
  take(values.uncompressedSize, header.uncompressedSize == kMax32);
  take(values.compressedSize, header.compressedSize == kMax32);
  take(values.localHeaderOffset, header.localHeaderOffset == kMax32);
  return values;
}

std::optional<std::size_t> findEndRecord(const uint8_t* tail, std::size_t size,
                                         bool commentMustFit) {
  if (size < kEndRecordSize) return std::nullopt;
  for (std::size_t pos = size - kEndRecordSize + 1; pos-- > 0;) {
    if (readLE32(tail + pos) != kEndRecordSignature) continue;
    if (!commentMustFit || readLE16(tail + pos + 20) <= size - pos - kEndRecordSize) return pos;
  }
  return std::nullopt;
}

void toDosDateTime(int64_t unixTime, uint16_t& date, uint16_t& time) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm local{};
  localtime_r(&t, &local);
  if (local.tm_year < 80) {  // DOS dates begin in 1980
    date = (1 << 5) | 1;
    time = 0;
    return;
  }
  if (local.tm_year > 207) local.tm_year = 207;
  date = uint16_t(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  time = uint16_t((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
}

}  // namespace zipformat

// Reading and writing the merger's parameter record, little-endian, field by field.
#include "job/ScriptRecord.h"

#include <algorithm>

#include "platform/ByteOrder.h"

namespace job {

namespace {

void writeLE32(std::uint8_t* at, std::int32_t value) {
  platform::writeLE32(at, static_cast<std::uint32_t>(value));
}

std::int32_t readLE32(const std::uint8_t* at) {
  return static_cast<std::int32_t>(platform::readLE32(at));
}

void writeShortString(std::uint8_t* at, const std::string& text) {
  const std::size_t length = std::min(text.size(), kRecordNameCapacity);
  at[0] = static_cast<std::uint8_t>(length);
  std::copy_n(text.begin(), length, at + 1);
}

std::string readShortString(const std::uint8_t* at) {
  const std::size_t length = std::min<std::size_t>(at[0], kRecordNameCapacity);
  return std::string(reinterpret_cast<const char*>(at + 1), length);
}

}  // namespace

ScriptRecord::Bytes ScriptRecord::toBytes() const {
  Bytes bytes{};
  writeShortString(&bytes[kRecordBaseNameOffset], baseName);
  writeShortString(&bytes[kRecordExtensionOffset], fileExtension);
  writeLE32(&bytes[kRecordPieceSizeOffset], pieceSize);
  writeLE32(&bytes[kRecordPieceCountOffset], pieceCount);
  bytes[kRecordCompressedOffset] = compressed ? 1 : 0;
  return bytes;
}

ScriptRecord ScriptRecord::fromBytes(const Bytes& bytes) {
  ScriptRecord record;
  record.baseName = readShortString(&bytes[kRecordBaseNameOffset]);
  record.fileExtension = readShortString(&bytes[kRecordExtensionOffset]);
  record.pieceSize = readLE32(&bytes[kRecordPieceSizeOffset]);
  record.pieceCount = readLE32(&bytes[kRecordPieceCountOffset]);
  record.compressed = bytes[kRecordCompressedOffset] == 1;
  return record;
}

}  // namespace job

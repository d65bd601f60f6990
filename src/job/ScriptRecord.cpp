// Reading and writing the merger's parameter record, little-endian, field by field.
#include "job/ScriptRecord.h"

#include <algorithm>

namespace job {

namespace {

void writeLE32(std::uint8_t* at, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int32_t readLE32(const std::uint8_t* at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(at[i]) << (8 * i);
  return static_cast<std::int32_t>(v);
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

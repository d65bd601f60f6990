// ScriptRecord: the 524-byte parameter record that follows the merger program in an .EXE merger.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace job {

inline constexpr std::size_t kScriptRecordSize = 524;
inline constexpr std::size_t kRecordNameCapacity = 255;
inline constexpr std::size_t kRecordBaseNameOffset = 0;
inline constexpr std::size_t kRecordExtensionOffset = 256;
inline constexpr std::size_t kRecordPieceSizeOffset = 512;
inline constexpr std::size_t kRecordPieceCountOffset = 516;
inline constexpr std::size_t kRecordCompressedOffset = 520;
static_assert(kRecordExtensionOffset == kRecordBaseNameOffset + 1 + kRecordNameCapacity);
static_assert(kRecordPieceSizeOffset == kRecordExtensionOffset + 1 + kRecordNameCapacity);
static_assert(kScriptRecordSize == kRecordCompressedOffset + 4);

struct ScriptRecord {
  std::string baseName;       // cut to 255 bytes when written
  std::string fileExtension;  // dot included, cut to 255 bytes when written
  std::int32_t pieceSize = 0;
  std::int32_t pieceCount = 0;  // the merger file counts as piece 1
  bool compressed = false;

  using Bytes = std::array<std::uint8_t, kScriptRecordSize>;
  Bytes toBytes() const;
  // Reads a record back; the length bytes are trusted only up to the field's capacity.
  static ScriptRecord fromBytes(const Bytes& bytes);
};

}  // namespace job

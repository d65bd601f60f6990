// The packed-file container: a magic naming the codec, the restored size, then the body.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/Lzb.h"

namespace codec {

inline constexpr std::uint32_t kMagicFast = 0x4C5A4221;  // "!BZL": LZB blocks
inline constexpr std::uint32_t kMagicGood = 0x4C5A4821;  // "!HZL": one LZH stream
inline constexpr std::size_t kPackedHeaderSize = 8;      // magic + 32-bit signed size
// Each LZB block codes this much input; only the last codes less.
inline constexpr std::size_t kPackerBlockSize = kLzbBlockSize;
// Block coding may run this far past the block before it falls back to storing.
inline constexpr std::size_t kPackerBufferSize = kPackerBlockSize + kLzbSpare;
// Below three blocks, Advise does not sample and recommends the strong coder.
inline constexpr std::int64_t kAdviseMinimumSize = 3 * std::int64_t(kPackerBlockSize);
static_assert(kPackerBufferSize == 32784);
static_assert(kAdviseMinimumSize == 98304);

inline std::uint32_t readLE32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
inline std::uint16_t readLE16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
inline void writeLE32(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
  p[2] = std::uint8_t(v >> 16);
  p[3] = std::uint8_t(v >> 24);
}
inline void writeLE16(std::uint8_t* p, std::uint16_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}

}  // namespace codec

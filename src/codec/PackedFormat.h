// The packed-file container: a magic naming the codec, the restored size, then the body.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/Lzb.h"
#include "platform/ByteOrder.h"

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

using platform::readLE16;
using platform::readLE32;
using platform::writeLE16;
using platform::writeLE32;

}  // namespace codec

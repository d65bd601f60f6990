// The ZIP values that only extraction needs, beside the shared format header.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zip/ZipFormat.h"

namespace unpack {

using zipformat::kCentralHeaderSize;
using zipformat::kFlagUtf8;
using zipformat::kHostUnix;
using zipformat::kLocalHeaderSize;
using zipformat::kMethodStored;
using zipformat::readLE32;

inline constexpr std::uint16_t kTimestampExtraId = 0x5455;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
inline constexpr std::uint8_t kHostDos = static_cast<std::uint8_t>(zipformat::kHostFat);
// The traditional encryption puts this header before an entry's data.
inline constexpr std::size_t kEncryptionHeaderSize = 12;

}  // namespace unpack

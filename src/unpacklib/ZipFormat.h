// The ZIP values that only extraction needs, beside the shared format header.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zip/ZipFormat.h"

namespace unpack {

using zipformat::kCentralHeaderSignature;
using zipformat::kCentralHeaderSize;
using zipformat::kEndRecordSignature;
using zipformat::kEndRecordSize;
using zipformat::kEndSearchSpan;
using zipformat::kFlagUtf8;
using zipformat::kHostUnix;
using zipformat::kLocalHeaderSignature;
using zipformat::kLocalHeaderSize;
using zipformat::kMethodDeflated;
using zipformat::kMethodStored;
using zipformat::kZip64EndRecordSignature;
using zipformat::kZip64EndRecordSize;
using zipformat::kZip64ExtraId;
using zipformat::kZip64LocatorSignature;
using zipformat::kZip64LocatorSize;
using zipformat::readLE16;
using zipformat::readLE32;
using zipformat::readLE64;

inline constexpr std::uint16_t kTimestampExtraId = 0x5455;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
inline constexpr std::uint8_t kHostDos = static_cast<std::uint8_t>(zipformat::kHostFat);
// The traditional encryption puts this header before an entry's data.
inline constexpr std::size_t kEncryptionHeaderSize = 12;

}  // namespace unpack

// Little-endian fields of the formats we read and write (ZIP records, packed files, the merger's
// record and stamp), byte by byte so that neither alignment nor the host's order matters.
#pragma once

#include <cstdint>

namespace platform {

inline std::uint16_t readLE16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t readLE32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
inline std::uint64_t readLE64(const std::uint8_t* p) {
  return std::uint64_t(readLE32(p)) | std::uint64_t(readLE32(p + 4)) << 32;
}

inline void writeLE16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void writeLE32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void writeLE64(std::uint8_t* p, std::uint64_t v) {
  writeLE32(p, static_cast<std::uint32_t>(v));
  writeLE32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

}  // namespace platform

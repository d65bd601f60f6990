// Fuzz target: LZH decoding of any stream for a byte count taken from the first two bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codec/Lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::int32_t count = data[0] | data[1] << 8;
  std::size_t position = 2, produced = 0;
  codec::TLZH lzh;
  try {
    lzh.LZHDecode(
        count, [&](std::uint8_t*, std::uint16_t, std::uint16_t& actual) { ++produced, actual = 1; },
        [&](std::uint8_t* b, std::uint16_t, std::uint16_t& actual) {
          actual = position < size ? 1 : 0;
          if (actual) *b = data[position++];
        });
  } catch (const codec::ElzhTruncated&) {
    return 0;
  }
  // Only the last match may run past the count, and by less than a match's length.
  if (produced < std::size_t(count) || produced >= std::size_t(count) + 60) std::abort();
  return 0;
}

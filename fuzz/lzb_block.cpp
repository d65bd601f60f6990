// Fuzz target: LZB decoding of any block, and any data coded as a block and back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/Lzb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFF) return 0;
  std::vector<std::uint8_t> out(codec::kLzbBlockSize);
  try {
    codec::TLZB::LZBDecompress(data, std::uint16_t(size), out.data(), out.size());
  } catch (const codec::ELZBDamaged&) {
  }
  const std::size_t block = size < codec::kLzbBlockSize ? size : codec::kLzbBlockSize;
  std::vector<std::uint8_t> coded(block + codec::kLzbSpare);
  codec::TLZB lzb;
  std::uint16_t codedSize = lzb.LZBCompress(data, coded.data(), std::uint16_t(block));
  if (codedSize > block + 1) std::abort();
  std::uint16_t restored = codec::TLZB::LZBDecompress(coded.data(), codedSize, out.data(), block);
  if (restored != block || std::memcmp(out.data(), data, block) != 0) std::abort();
  return 0;
}

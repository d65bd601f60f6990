// A small SHA-256 (FIPS 180-4) of our own, for the merger image: a statically linked libcrypto
// would add megabytes to every merger file that a set carries.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Sha256Hasher.h"

namespace platform {

class OwnSha256 final : public Sha256Hasher {
 public:
  OwnSha256() { reset(); }
  void update(const void* data, std::size_t size) override;
  Sha256Digest finish() override;

 private:
  void reset();
  void compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> m_state{};
  std::array<std::uint8_t, 64> m_block{};
  std::size_t m_blockFill = 0;
  std::uint64_t m_length = 0;  // bytes given so far
};

}  // namespace platform

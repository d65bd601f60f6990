// A small SHA-256 (FIPS 180-4) of our own, for the merger image: a statically linked libcrypto
// would add megabytes to every merger file that a set carries.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Sha256Hasher.h"

namespace platform {

class OwnSha256 final : public Sha256Hasher {
 public:
  // The compression of whole 64-byte blocks into the state.
  using Compress = void (*)(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count);

  OwnSha256();
  void update(const void* data, std::size_t size) override;
  Sha256Digest finish() override;

  // Whether engines made from now on use the processor's SHA instructions where it has them (the
  // default); off, they take the portable code, so that it is checked on such a machine too.
  static void allowShaInstructions(bool allow);
  // Whether this engine uses them.
  bool usesShaInstructions() const;

 private:
  void reset();

  Compress m_compress;
  std::array<std::uint32_t, 8> m_state{};
  std::array<std::uint8_t, 64> m_block{};
  std::size_t m_blockFill = 0;
  std::uint64_t m_length = 0;  // bytes given so far
};

}  // namespace platform

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
  // first.update(firstData, size) and second.update(secondData, size), the two hashed side by
  // side: with the SHA instructions about as fast as one alone.
  static void updatePair(OwnSha256& first, const void* firstData, OwnSha256& second,
                         const void* secondData, std::size_t size);
  // Both engines take the same bytes.
  static void updateBoth(OwnSha256& first, OwnSha256& second, const void* data, std::size_t size) {
    updatePair(first, data, second, data, size);
  }

  // Whether engines made from now on use the processor's SHA instructions where it has them (the
  // default); off, they take the portable code, so that it is checked on such a machine too.
  static void allowShaInstructions(bool allow);
  // Whether this engine uses them.
  bool usesShaInstructions() const;

 private:
  void reset();
  // Completes a partial block from the bytes at p; returns how many it took.
  std::size_t fillBlock(const std::uint8_t* p, std::size_t size);
  // The whole blocks, then the rest kept for later; no partial block may be waiting unless
  // size is 0.
  void absorb(const std::uint8_t* p, std::size_t size);

  Compress m_compress;
  std::array<std::uint32_t, 8> m_state{};
  std::array<std::uint8_t, 64> m_block{};
  std::size_t m_blockFill = 0;
  std::uint64_t m_length = 0;  // bytes given so far
};

// A piece's own digest and the digest of all the data, of one stream of bytes, on one thread:
// each takes the bytes given while it is on, and the two hash side by side where both are.
// Switch them and finish the piece's only while no update runs (a HashThread drained).
class Sha256Pair final : public Sha256Hasher {
 public:
  void update(const void* data, std::size_t size) override;
  // The whole data's digest.
  Sha256Digest finish() override { return whole.finish(); }

  OwnSha256 piece;
  OwnSha256 whole;
  bool pieceOn = true;
  bool wholeOn = true;
};

}  // namespace platform

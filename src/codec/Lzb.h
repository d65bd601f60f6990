// The LZB coder: fast block-by-block LZ77 with one hash candidate, runs and a stored fall-back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace codec {

class ELZBCompressor : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A block whose items point outside the block or outside the output buffer.
class ELZBDamaged : public ELZBCompressor {
 public:
  ELZBDamaged();
};

inline constexpr std::size_t kLzbBlockSize = 32768;
// Room the compressor may write past the block size before it falls back to storing.
inline constexpr std::size_t kLzbSpare = 16;
inline constexpr std::uint8_t kLzbCodedFlag = 0x40;
inline constexpr std::uint8_t kLzbStoredFlag = 0x80;
inline constexpr int kLzbHashSize = 4096;
inline constexpr int kLzbMaxDistance = 4095;
inline constexpr int kLzbMinCopy = 3;
inline constexpr int kLzbMaxCopy = 18;
inline constexpr int kLzbMinRun = 16;
inline constexpr int kLzbMaxRun = 4095;
static_assert(kLzbMaxCopy - kLzbMinCopy == 15, "a copy's length fits in four bits");
static_assert(kLzbMaxDistance * 16 + 15 <= 0xFFFF, "a copy item fits in 16 bits");

class TLZB {
 public:
  TLZB();
  ~TLZB();
  TLZB(const TLZB&) = delete;
  TLZB& operator=(const TLZB&) = delete;

  // Codes `size` bytes (at most 32,768) into `destination`, which must hold size + kLzbSpare
  // bytes. Returns the block size: at most `size` when coded, size + 1 when stored.
  std::uint16_t LZBCompress(const std::uint8_t* source, std::uint8_t* destination,
                            std::uint16_t size);

  // Restores one block into `destination` of `capacity` bytes and returns the count restored.
  // Throws ELZBDamaged for a block that reaches outside its input or output.
  static std::uint16_t LZBDecompress(const std::uint8_t* source, std::uint16_t size,
                                     std::uint8_t* destination, std::size_t capacity);

 private:
  std::unique_ptr<std::uint16_t[]> m_hash;
};

}  // namespace codec

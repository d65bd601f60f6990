// The LZH coder: LZSS over a 4,096-byte window with an adaptive Huffman code for its symbols.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace codec {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The decoder had to read past the end of its input: the stream was cut short.
class ElzhTruncated : public ElzhException {
 public:
  ElzhTruncated();
};

inline constexpr int kLzhWindowSize = 4096;
inline constexpr int kLzhLookAhead = 60;
inline constexpr int kLzhThreshold = 2;
inline constexpr int kLzhEmptyLink = kLzhWindowSize;
// Symbols below this one are literal bytes; from it on they code the match lengths from
// kLzhThreshold + 1 up.
inline constexpr int kLzhFirstLengthSymbol = 256;
inline constexpr int kLzhSymbolCount = kLzhFirstLengthSymbol - kLzhThreshold + kLzhLookAhead;
inline constexpr int kLzhNodeCount = 2 * kLzhSymbolCount - 1;
inline constexpr int kLzhRoot = kLzhNodeCount - 1;
inline constexpr unsigned kLzhFrequencyLimit = 0x8000;
// Where the first input byte goes: everything before it starts out as spaces.
inline constexpr int kLzhFirstInput = kLzhWindowSize - kLzhLookAhead;
static_assert(kLzhSymbolCount == 314 && kLzhNodeCount == 627 && kLzhRoot == 626);
static_assert(kLzhFirstInput == 4036);

// Moves bytes for the coder: `count` is always 1 here; for reads, an `actual` other than 1
// means the input has ended. Writes report `actual` too, but the owner checks its own writes.
using TByteIOProc =
    std::function<void(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual)>;

class TLZH {
 public:
  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Codes everything `read` delivers; returns the number of input bytes consumed.
  std::int32_t LZHEncode(const TByteIOProc& write, const TByteIOProc& read);
  // Restores `count` bytes (more only when the last match of a damaged stream overruns).
  // Throws ElzhTruncated as soon as a symbol needs bits beyond the end of the input.
  void LZHDecode(std::int32_t count, const TByteIOProc& write, const TByteIOProc& read);

  // The last symbol code written, left-aligned (kept for inspection; codes deeper than
  // 16 levels keep their first 16 bits here but are written in full).
  std::uint16_t LastCode = 0;
  std::uint16_t LastCodeLength = 0;
  std::int32_t TextSize = 0;
  std::int32_t CodeSize = 0;

 private:
  struct Tables;
  static std::unique_ptr<Tables> allocateTables();
  std::unique_ptr<Tables> m_tables;
};

}  // namespace codec

// The LZB coder: fast block-by-block LZ77 with one hash candidate, runs and a stored fall-back.
#include "codec/Lzb.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace codec {
namespace {

constexpr std::uint16_t kEmpty = 0xFFFF;
// Each 16-bit control word holds one flag bit for each of the items that follow it.
constexpr int kItemsPerControl = 16;

inline unsigned hashAt(const std::uint8_t* p) {
  std::uint32_t h = ((std::uint32_t(p[0]) << 4 ^ p[1]) << 4) ^ p[2];
  return (h * 40543u >> 4) & (kLzbHashSize - 1);
}

inline void putBig16(std::uint8_t* p, unsigned value) {
  p[0] = std::uint8_t(value >> 8);
  p[1] = std::uint8_t(value);
}

}  // namespace

ELZBDamaged::ELZBDamaged() : ELZBCompressor("LZB : Damaged block") {}

TLZB::TLZB() {
  try {
    m_hash = std::make_unique<std::uint16_t[]>(kLzbHashSize);
  } catch (const std::bad_alloc&) {
    throw ELZBCompressor("LZB : no memory for HASH table");
  }
}

TLZB::~TLZB() = default;

std::uint16_t TLZB::LZBCompress(const std::uint8_t* source, std::uint8_t* destination,
                                std::uint16_t size) {
  const int s = size;
  std::uint16_t* table = m_hash.get();
  std::fill_n(table, kLzbHashSize, kEmpty);
  destination[0] = kLzbCodedFlag;
  int x = 0, y = 3, control = 1, items = 0;
  std::uint16_t bits = 0;
  while (x < s && y <= s) {
    if (items == kItemsPerControl) {
      putBig16(destination + control, bits);
      control = y;
      y += 2;
      items = 0;
    }
    const std::uint8_t value = source[x];
    const int runLimit = std::min(kLzbMaxRun, s - x);
    int n = 1;
    while (n < runLimit && source[x + n] == value) ++n;
    if (n >= kLzbMinRun) {
      destination[y] = 0;
      putBig16(destination + y + 1, unsigned(n - kLzbMinRun));
      destination[y + 3] = value;
      y += 4;
      x += n;
      bits = std::uint16_t(bits * 2 + 1);
    } else {
      // The last two positions can never start a copy of three bytes, so their hash (which
      // would look past the block) is not needed.
      int length = 0, distance = 0;
      if (x + 2 < s) {
        std::uint16_t& entry = table[hashAt(source + x)];
        const int p = entry;
        entry = std::uint16_t(x);
        if (p != kEmpty && x - p <= kLzbMaxDistance) {
          const int limit = std::min(kLzbMaxCopy, s - x);
          while (length < limit && source[x + length] == source[p + length]) ++length;
          distance = x - p;
        }
      }
      if (length >= kLzbMinCopy) {
        putBig16(destination + y, unsigned(distance * 16 + (length - kLzbMinCopy)));
        y += 2;
        x += length;
        bits = std::uint16_t(bits * 2 + 1);
      } else {
        destination[y++] = value;
        ++x;
        bits = std::uint16_t(bits * 2);
      }
    }
    ++items;
  }
  putBig16(destination + control, std::uint16_t(unsigned(bits) << (kItemsPerControl - items)));
  if (y > s) {
    if (s > 0) std::memcpy(destination + 1, source, std::size_t(s));
    destination[0] = kLzbStoredFlag;
    return std::uint16_t(s + 1);
  }
  return std::uint16_t(y);
}

std::uint16_t TLZB::LZBDecompress(const std::uint8_t* source, std::uint16_t size,
                                  std::uint8_t* destination, std::size_t capacity) {
  const std::size_t s = size;
  capacity = std::min<std::size_t>(capacity, 0xFFFF);  // the count restored is 16-bit
  if (s < 2) return 0;
  if (source[0] == kLzbStoredFlag) {
    if (s - 1 > capacity) throw ELZBDamaged();
    if (s > 1) std::memcpy(destination, source + 1, s - 1);
    return std::uint16_t(s - 1);
  }
  // A block too short for its first control word restores nothing.
  unsigned bits = unsigned(source[1]) << 8 | (s > 2 ? source[2] : 0);
  int left = kItemsPerControl;
  std::size_t i = 3, out = 0;
  while (i < s) {
    if (left == 0) {
      if (s - i < 2) throw ELZBDamaged();
      bits = unsigned(source[i]) << 8 | source[i + 1];
      i += 2;
      left = kItemsPerControl;
      if (i == s) throw ELZBDamaged();
    }
    if (bits & 0x8000) {
      if (s - i < 2) throw ELZBDamaged();
      const std::size_t distance = std::size_t(source[i]) << 4 | source[i + 1] >> 4;
      if (distance != 0) {
        const std::size_t length = (source[i + 1] & 0x0F) + kLzbMinCopy;
        if (distance > out || length > capacity - out) throw ELZBDamaged();
        std::uint8_t* to = destination + out;
        const std::uint8_t* from = to - distance;
        if (distance >= length) {
          std::memcpy(to, from, length);
        } else {
          // Overlapping copies repeat their own output, so they go byte by byte.
          for (std::size_t k = 0; k < length; ++k) to[k] = from[k];
        }
        out += length;
        i += 2;
      } else {
        if (s - i < 4) throw ELZBDamaged();
        const std::size_t n = (std::size_t(source[i + 1]) << 8 | source[i + 2]) + kLzbMinRun;
        if (n > capacity - out) throw ELZBDamaged();
        std::memset(destination + out, source[i + 3], n);
        out += n;
        i += 4;
      }
    } else {
      if (out == capacity) throw ELZBDamaged();
      destination[out++] = source[i++];
    }
    bits <<= 1;
    --left;
  }
  return std::uint16_t(out);
}

}  // namespace codec

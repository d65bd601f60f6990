// The LZH coder: binary search trees find the matches, an adaptive Huffman tree codes them.
#include "codec/Lzh.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>

namespace codec {
namespace {

constexpr int kNil = kLzhEmptyLink;
constexpr int kTreeRoots = kLzhWindowSize + 1;  // roots of the 256 trees, one per first byte
constexpr int kWindowBytes = kLzhWindowSize + kLzhLookAhead - 1;
constexpr int kLeafBase = kLzhNodeCount;  // HuffChild values from here on name symbols
constexpr std::uint16_t kFrequencySentinel = 0xFFFF;
constexpr std::uint8_t kSpace = 0x20;
static_assert(kWindowBytes == 4155);

// The fixed prefix code of the upper six bits of a match position, as code lengths by value;
// the codes themselves are canonical (each the previous one plus one, widened when needed).
struct PositionCode {
  std::array<std::uint8_t, 64> length{};
  std::array<std::uint8_t, 64> code{};  // left-aligned in eight bits
  std::array<std::uint8_t, 256> decodeValue{};
  std::array<std::uint8_t, 256> decodeLength{};

  PositionCode() {
    constexpr std::array<int, 6> kCountByLength{1, 3, 8, 12, 24, 16};  // lengths 3 to 8
    int value = 0;
    unsigned next = 0;
    for (int len = 3; len <= 8; ++len) {
      for (int n = 0; n < kCountByLength[len - 3]; ++n, ++value, ++next) {
        length[value] = std::uint8_t(len);
        code[value] = std::uint8_t(next << (8 - len));
        for (unsigned tail = 0; tail < (1u << (8 - len)); ++tail) {
          decodeValue[code[value] | tail] = std::uint8_t(value);
          decodeLength[code[value] | tail] = std::uint8_t(len);
        }
      }
      next <<= 1;
    }
  }
};
const PositionCode kPositionCode;

}  // namespace

ElzhTruncated::ElzhTruncated() : ElzhException("LZH : Compressed data ends too early") {}

// The seven arrays of one coding call.
struct TLZH::Tables {
  // Comparisons read eight bytes at a time and may look a few bytes past the window's end;
  // what they find there is never counted.
  std::uint8_t window[kWindowBytes + 8];
  std::uint16_t leftChild[kLzhWindowSize + 1];
  std::uint16_t parent[kLzhWindowSize + 1];
  std::uint16_t rightChild[kTreeRoots + 256];
  std::uint16_t freq[kLzhNodeCount + 1];
  std::uint16_t huffParent[kLzhNodeCount + kLzhSymbolCount];
  std::uint16_t huffChild[kLzhNodeCount];

  int matchPosition = 0;
  int matchLength = 0;

  void startHuffman();
  void updateHuffman(int symbol);
  void rebuildHuffman();
  void insertNode(int r);
  void deleteNode(int p);
};

void TLZH::Tables::startHuffman() {
  for (int s = 0; s < kLzhSymbolCount; ++s) {
    freq[s] = 1;
    huffChild[s] = std::uint16_t(s + kLeafBase);
    huffParent[s + kLeafBase] = std::uint16_t(s);
  }
  for (int i = 0, j = kLzhSymbolCount; j < kLzhNodeCount; i += 2, ++j) {
    freq[j] = std::uint16_t(freq[i] + freq[i + 1]);
    huffChild[j] = std::uint16_t(i);
    huffParent[i] = huffParent[i + 1] = std::uint16_t(j);
  }
  freq[kLzhNodeCount] = kFrequencySentinel;
  huffParent[kLzhRoot] = 0;
}

void TLZH::Tables::rebuildHuffman() {
  int j = 0;
  for (int i = 0; i < kLzhNodeCount; ++i) {
    if (huffChild[i] >= kLeafBase) {
      freq[j] = std::uint16_t((freq[i] + 1) / 2);
      huffChild[j] = huffChild[i];
      ++j;
    }
  }
  for (int i = 0, node = kLzhSymbolCount; node < kLzhNodeCount; i += 2, ++node) {
    unsigned f = unsigned(freq[i]) + freq[i + 1];
    int k = node - 1;
    while (f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], sizeof(freq[0]) * std::size_t(node - k));
    std::memmove(&huffChild[k + 1], &huffChild[k], sizeof(huffChild[0]) * std::size_t(node - k));
    freq[k] = std::uint16_t(f);
    huffChild[k] = std::uint16_t(i);
  }
  for (int i = 0; i < kLzhNodeCount; ++i) {
    int k = huffChild[i];
    if (k >= kLeafBase)
      huffParent[k] = std::uint16_t(i);
    else
      huffParent[k] = huffParent[k + 1] = std::uint16_t(i);
  }
}

void TLZH::Tables::updateHuffman(int symbol) {
  if (freq[kLzhRoot] == kLzhFrequencyLimit) rebuildHuffman();
  int c = huffParent[symbol + kLeafBase];
  do {
    unsigned k = ++freq[c];
    if (k > freq[c + 1]) {
      // The counts are sorted, so the last node still below k is found by bisection; long
      // stretches of equal counts make a linear scan the slowest part of the coder.
      int l = c + 1;
      if (freq[l + 1] >= k)
        ;
      else
        l = int(std::lower_bound(&freq[l + 1], &freq[kLzhNodeCount + 1], k) - freq) - 1;
      freq[c] = freq[l];
      freq[l] = std::uint16_t(k);
      int i = huffChild[c];
      huffParent[i] = std::uint16_t(l);
      if (i < kLeafBase) huffParent[i + 1] = std::uint16_t(l);
      int j = huffChild[l];
      huffChild[l] = std::uint16_t(i);
      huffParent[j] = std::uint16_t(c);
      if (j < kLeafBase) huffParent[j + 1] = std::uint16_t(c);
      huffChild[c] = std::uint16_t(j);
      c = l;
    }
    c = huffParent[c];
  } while (c != 0);
}

// Counts the equal leading bytes of two window positions (at most the look-ahead) eight at a
// time and sets `cmp` to the sign-bearing difference of the first unequal pair (0 if none).
// Byte 0 is equal by choice of tree.
static inline int commonLength(const std::uint8_t* key, const std::uint8_t* other, int& cmp) {
  for (int i = 1; i < kLzhLookAhead; i += 8) {
    std::uint64_t a, b;
    std::memcpy(&a, key + i, 8);
    std::memcpy(&b, other + i, 8);
    if (a != b) {
      if constexpr (std::endian::native == std::endian::little)
        i += std::countr_zero(a ^ b) / 8;
      else
        i += std::countl_zero(a ^ b) / 8;
      if (i >= kLzhLookAhead) break;
      cmp = int(key[i]) - int(other[i]);
      return i;
    }
  }
  cmp = 0;
  return kLzhLookAhead;
}

void TLZH::Tables::insertNode(int r) {
  const std::uint8_t* key = &window[r];
  int p = kTreeRoots + key[0];
  rightChild[r] = leftChild[r] = kNil;
  matchLength = 0;
  int cmp = 1;
  for (;;) {
    if (cmp >= 0) {
      if (rightChild[p] == kNil) {
        rightChild[p] = std::uint16_t(r);
        parent[r] = std::uint16_t(p);
        return;
      }
      p = rightChild[p];
    } else {
      if (leftChild[p] == kNil) {
        leftChild[p] = std::uint16_t(r);
        parent[r] = std::uint16_t(p);
        return;
      }
      p = leftChild[p];
    }
    const int i = commonLength(key, &window[p], cmp);
    if (i > kLzhThreshold) {
      int distance = ((r - p) & (kLzhWindowSize - 1)) - 1;
      if (i > matchLength) {
        matchPosition = distance;
        matchLength = i;
        if (matchLength >= kLzhLookAhead) break;
      } else if (i == matchLength && distance < matchPosition) {
        matchPosition = distance;
      }
    }
  }
  // A full-length match: the new position replaces the old one, which holds the same bytes.
  parent[r] = parent[p];
  leftChild[r] = leftChild[p];
  rightChild[r] = rightChild[p];
  parent[leftChild[p]] = std::uint16_t(r);
  parent[rightChild[p]] = std::uint16_t(r);
  if (rightChild[parent[p]] == p)
    rightChild[parent[p]] = std::uint16_t(r);
  else
    leftChild[parent[p]] = std::uint16_t(r);
  parent[p] = kNil;
}

void TLZH::Tables::deleteNode(int p) {
  if (parent[p] == kNil) return;
  int q;
  if (rightChild[p] == kNil) {
    q = leftChild[p];
  } else if (leftChild[p] == kNil) {
    q = rightChild[p];
  } else {
    q = leftChild[p];
    if (rightChild[q] != kNil) {
      do q = rightChild[q];
      while (rightChild[q] != kNil);
      rightChild[parent[q]] = leftChild[q];
      parent[leftChild[q]] = parent[q];
      leftChild[q] = leftChild[p];
      parent[leftChild[p]] = std::uint16_t(q);
    }
    rightChild[q] = rightChild[p];
    parent[rightChild[p]] = std::uint16_t(q);
  }
  parent[q] = parent[p];
  if (rightChild[parent[p]] == p)
    rightChild[parent[p]] = std::uint16_t(q);
  else
    leftChild[parent[p]] = std::uint16_t(q);
  parent[p] = kNil;
}

std::unique_ptr<TLZH::Tables> TLZH::allocateTables() {
  try {
    return std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

namespace {

// Packs codes most significant bit first; the last byte is padded with zero bits.
class BitWriter {
 public:
  BitWriter(const TByteIOProc& write, std::int32_t& codeSize)
      : m_write(write), m_codeSize(codeSize) {}

  // `code` is left-aligned in 32 bits; `length` is 1 to 32.
  void put(std::uint32_t code, int length) {
    m_bits |= (std::uint64_t(code) << 32) >> m_count;
    m_count += length;
    while (m_count >= 8) {
      emit(std::uint8_t(m_bits >> 56));
      m_bits <<= 8;
      m_count -= 8;
    }
  }
  void flush() {
    if (m_count > 0) emit(std::uint8_t(m_bits >> 56));
    m_bits = 0;
    m_count = 0;
  }

 private:
  void emit(std::uint8_t byte) {
    std::uint16_t actual = 0;
    m_write(&byte, 1, actual);
    ++m_codeSize;
  }

  const TByteIOProc& m_write;
  std::int32_t& m_codeSize;
  std::uint64_t m_bits = 0;
  int m_count = 0;
};

// Takes bits most significant first; past the end of the input it supplies zero bytes and
// keeps count, so that a stream cut short is noticed once its missing bits are used.
class BitReader {
 public:
  explicit BitReader(const TByteIOProc& read) : m_read(read) {}

  int bit() {
    if (m_count <= 8) fill();
    int b = int(m_bits >> 31);
    m_bits <<= 1;
    --m_count;
    return b;
  }
  int byte() {
    if (m_count <= 8) fill();
    int b = int(m_bits >> 24);
    m_bits <<= 8;
    m_count -= 8;
    return b;
  }
  bool usedBitsPastEnd() const {
    return m_missing > 0 && m_fetched * 8 - m_count > (m_fetched - m_missing) * 8;
  }

 private:
  void fill() {
    while (m_count <= 8) {
      std::uint8_t byte = 0;
      std::uint16_t actual = 0;
      m_read(&byte, 1, actual);
      if (actual != 1) {
        byte = 0;
        ++m_missing;
      }
      ++m_fetched;
      m_bits |= std::uint32_t(byte) << (24 - m_count);
      m_count += 8;
    }
  }

  const TByteIOProc& m_read;
  std::uint32_t m_bits = 0;
  int m_count = 0;
  std::int64_t m_fetched = 0;
  std::int64_t m_missing = 0;
};

}  // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

std::int32_t TLZH::LZHEncode(const TByteIOProc& write, const TByteIOProc& read) {
  m_tables = allocateTables();
  struct Release {
    std::unique_ptr<Tables>& tables;
    ~Release() { tables.reset(); }
  } release{m_tables};
  Tables& t = *m_tables;

  TextSize = 0;
  CodeSize = 0;
  LastCode = 0;
  LastCodeLength = 0;
  BitWriter out(write, CodeSize);
  auto readByte = [&read](std::uint8_t& byte) {
    std::uint16_t actual = 0;
    read(&byte, 1, actual);
    return actual == 1;
  };
  auto writeSymbol = [&](int symbol) {
    std::uint32_t code = 0;
    int length = 0;
    int k = t.huffParent[symbol + kLeafBase];
    for (; k != kLzhRoot && length < 32; k = t.huffParent[k], ++length)
      code = (code >> 1) | (std::uint32_t(k & 1) << 31);
    if (k == kLzhRoot) {
      out.put(code, length);
    } else {
      // A skewed tree can grow deeper than any register: write such a code bit by bit.
      std::uint8_t path[kLzhNodeCount];
      int depth = 0;
      for (k = t.huffParent[symbol + kLeafBase]; k != kLzhRoot; k = t.huffParent[k])
        path[depth++] = std::uint8_t(k & 1);
      for (int i = depth - 1; i >= 0; --i) out.put(std::uint32_t(path[i]) << 31, 1);
      length = depth;
    }
    LastCode = std::uint16_t(code >> 16);
    LastCodeLength = std::uint16_t(length);
    t.updateHuffman(symbol);
  };
  auto writePosition = [&](int position) {
    int upper = position >> 6;
    out.put(std::uint32_t(kPositionCode.code[upper]) << 24, kPositionCode.length[upper]);
    out.put(std::uint32_t(position & 0x3F) << 26, 6);
  };

  t.startHuffman();
  std::fill(std::begin(t.rightChild) + kTreeRoots, std::end(t.rightChild), kNil);
  std::fill(std::begin(t.parent), std::end(t.parent), kNil);
  int s = 0;
  int r = kLzhFirstInput;
  std::memset(t.window, kSpace, kLzhFirstInput);
  std::memset(t.window + kLzhFirstInput, 0, sizeof t.window - kLzhFirstInput);
  int len = 0;
  for (; len < kLzhLookAhead && readByte(t.window[r + len]); ++len) {
  }
  TextSize = len;
  for (int i = 1; i <= kLzhLookAhead; ++i) t.insertNode(r - i);
  t.insertNode(r);
  do {
    if (t.matchLength > len) t.matchLength = len;
    if (t.matchLength <= kLzhThreshold) {
      t.matchLength = 1;
      writeSymbol(t.window[r]);
    } else {
      writeSymbol(kLzhFirstLengthSymbol + t.matchLength - (kLzhThreshold + 1));
      writePosition(t.matchPosition);
    }
    int last = t.matchLength;
    int i = 0;
    std::uint8_t c;
    for (; i < last && readByte(c); ++i) {
      t.deleteNode(s);
      t.window[s] = c;
      if (s < kLzhLookAhead - 1) t.window[s + kLzhWindowSize] = c;
      s = (s + 1) & (kLzhWindowSize - 1);
      r = (r + 1) & (kLzhWindowSize - 1);
      t.insertNode(r);
    }
    TextSize += i;
    for (; i < last; ++i) {
      t.deleteNode(s);
      s = (s + 1) & (kLzhWindowSize - 1);
      r = (r + 1) & (kLzhWindowSize - 1);
      if (--len != 0) t.insertNode(r);
    }
  } while (len > 0);
  out.flush();
  return TextSize;
}

void TLZH::LZHDecode(std::int32_t count, const TByteIOProc& write, const TByteIOProc& read) {
  m_tables = allocateTables();
  struct Release {
    std::unique_ptr<Tables>& tables;
    ~Release() { tables.reset(); }
  } release{m_tables};
  Tables& t = *m_tables;

  BitReader in(read);
  auto put = [&write](std::uint8_t byte) {
    std::uint16_t actual = 0;
    write(&byte, 1, actual);
  };
  t.startHuffman();
  std::memset(t.window, kSpace, kLzhFirstInput);
  std::memset(t.window + kLzhFirstInput, 0, sizeof t.window - kLzhFirstInput);
  int r = kLzhFirstInput;
  for (std::int32_t done = 0; done < count;) {
    int c = t.huffChild[kLzhRoot];
    while (c < kLeafBase) c = t.huffChild[c + in.bit()];
    c -= kLeafBase;
    t.updateHuffman(c);
    if (c < kLzhFirstLengthSymbol) {
      if (in.usedBitsPastEnd()) throw ElzhTruncated();
      put(std::uint8_t(c));
      t.window[r] = std::uint8_t(c);
      r = (r + 1) & (kLzhWindowSize - 1);
      ++done;
      continue;
    }
    int b = in.byte();
    int upper = kPositionCode.decodeValue[b];
    for (int extra = kPositionCode.decodeLength[b] - 2; extra > 0; --extra) b = (b << 1) + in.bit();
    int position = (upper << 6) | (b & 0x3F);
    if (in.usedBitsPastEnd()) throw ElzhTruncated();
    int from = (r - position - 1) & (kLzhWindowSize - 1);
    int length = c - kLzhFirstLengthSymbol + kLzhThreshold + 1;
    for (int k = 0; k < length; ++k) {
      std::uint8_t byte = t.window[(from + k) & (kLzhWindowSize - 1)];
      put(byte);
      t.window[r] = byte;
      r = (r + 1) & (kLzhWindowSize - 1);
    }
    done += length;
  }
}

}  // namespace codec

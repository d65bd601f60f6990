// SHA-256 as FIPS 180-4 defines it: whole blocks with the processor's SHA instructions where it
// has them (chosen at run time, the image runs on any x86-64), else with portable code.
#include "platform/OwnSha256.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#define FENNOCK_SHA_X86 1
#endif

namespace platform {

namespace {

alignas(16) constexpr std::array<std::uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

std::uint32_t readBE32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void writeBE32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// One round, with the working variables named where they stand: the callers rotate the names
// instead of moving eight values every round.
inline void round(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t& d,
                  std::uint32_t e, std::uint32_t f, std::uint32_t g, std::uint32_t& h,
                  std::uint32_t constantPlusWord) {
  const std::uint32_t t1 =
      h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + (g ^ (e & (f ^ g))) + constantPlusWord;
  d += t1;
  h = t1 + (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) | (c & (a | b)));
}

// The message schedule in a ring of 16 words: word t (16 and on) takes the place of word t - 16.
inline std::uint32_t scheduled(std::uint32_t* w, int i) {
  const std::uint32_t w15 = w[(i + 1) & 15], w2 = w[(i + 14) & 15];
  w[i] += (rotr(w15, 7) ^ rotr(w15, 18) ^ (w15 >> 3)) + w[(i + 9) & 15] +
          (rotr(w2, 17) ^ rotr(w2, 19) ^ (w2 >> 10));
  return w[i];
}

// Sixteen rounds from round t on, the words of the ring at constant places.
template <bool kScheduled>
inline void sixteenRounds(std::uint32_t* w, int t, std::uint32_t& a, std::uint32_t& b,
                          std::uint32_t& c, std::uint32_t& d, std::uint32_t& e, std::uint32_t& f,
                          std::uint32_t& g, std::uint32_t& h) {
  const std::uint32_t* k = &kRoundConstants[t];
  auto word = [w](int i) { return kScheduled ? scheduled(w, i) : w[i]; };
  for (int i = 0; i < 16; i += 8) {
    round(a, b, c, d, e, f, g, h, k[i] + word(i));
    round(h, a, b, c, d, e, f, g, k[i + 1] + word(i + 1));
    round(g, h, a, b, c, d, e, f, k[i + 2] + word(i + 2));
    round(f, g, h, a, b, c, d, e, k[i + 3] + word(i + 3));
    round(e, f, g, h, a, b, c, d, k[i + 4] + word(i + 4));
    round(d, e, f, g, h, a, b, c, k[i + 5] + word(i + 5));
    round(c, d, e, f, g, h, a, b, k[i + 6] + word(i + 6));
    round(b, c, d, e, f, g, h, a, k[i + 7] + word(i + 7));
  }
}

void compressPortable(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count) {
  for (; count > 0; --count, blocks += 64) {
    std::uint32_t w[16];
    for (int t = 0; t < 16; ++t) w[t] = readBE32(blocks + 4 * t);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    sixteenRounds<false>(w, 0, a, b, c, d, e, f, g, h);
    for (int t = 16; t < 64; t += 16) sixteenRounds<true>(w, t, a, b, c, d, e, f, g, h);
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
}

#ifdef FENNOCK_SHA_X86

// The SHA instructions keep the state as two vectors, ABEF and CDGH, and do two rounds at a
// time; the message schedule runs four words ahead in the four vectors m[0..3]. A round waits
// for the one before, and the processor can start a few SHA instructions while one is under
// way: `Lanes` independent streams whose instructions interleave hash at nearly `Lanes` times the
// speed of one.
template <std::size_t Lanes>
__attribute__((target("sha,sse4.1"), always_inline)) inline void compressShaNiLanes(
    std::uint32_t* const* states, const std::uint8_t* const* blockStarts, std::size_t count) {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
  __m128i abef[Lanes], cdgh[Lanes];
  const std::uint8_t* blocks[Lanes];
  for (std::size_t l = 0; l < Lanes; ++l) {
    const __m128i dcba =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(states[l])), 0xB1);
    const __m128i hgfe =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(states[l] + 4)), 0x1B);
    abef[l] = _mm_alignr_epi8(dcba, hgfe, 8);
    cdgh[l] = _mm_blend_epi16(hgfe, dcba, 0xF0);
    blocks[l] = blockStarts[l];
  }
  for (; count > 0; --count) {
    __m128i abefBefore[Lanes], cdghBefore[Lanes], m[Lanes][4];
    for (std::size_t l = 0; l < Lanes; ++l) abefBefore[l] = abef[l], cdghBefore[l] = cdgh[l];
#pragma GCC unroll 16
    for (int g = 0; g < 16; ++g) {
      const __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(&kRoundConstants[4 * g]));
#pragma GCC unroll 2
      for (std::size_t l = 0; l < Lanes; ++l) {
        __m128i& current = m[l][g & 3];
        if (g < 4)
          current = _mm_shuffle_epi8(
              _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[l] + 16 * g)), byteSwap);
        __m128i words = _mm_add_epi32(current, k);
        // Two rounds leave the new ABEF in cdgh, and the old ABEF is then the new CDGH.
        cdgh[l] = _mm_sha256rnds2_epu32(cdgh[l], abef[l], words);
        if (g >= 3 && g <= 14) {
          __m128i& next = m[l][(g + 1) & 3];
          next = _mm_add_epi32(next, _mm_alignr_epi8(current, m[l][(g - 1) & 3], 4));
          next = _mm_sha256msg2_epu32(next, current);
        }
        words = _mm_shuffle_epi32(words, 0x0E);
        abef[l] = _mm_sha256rnds2_epu32(abef[l], cdgh[l], words);
        if (g >= 1 && g <= 12) m[l][(g - 1) & 3] = _mm_sha256msg1_epu32(m[l][(g - 1) & 3], current);
      }
    }
    for (std::size_t l = 0; l < Lanes; ++l) {
      abef[l] = _mm_add_epi32(abef[l], abefBefore[l]);
      cdgh[l] = _mm_add_epi32(cdgh[l], cdghBefore[l]);
      blocks[l] += 64;
    }
  }
  for (std::size_t l = 0; l < Lanes; ++l) {
    const __m128i feba = _mm_shuffle_epi32(abef[l], 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh[l], 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(states[l]), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(states[l] + 4), _mm_alignr_epi8(dchg, feba, 8));
  }
}

__attribute__((target("sha,sse4.1"))) void compressShaNi(std::uint32_t* state,
                                                         const std::uint8_t* blocks,
                                                         std::size_t count) {
  compressShaNiLanes<1>(&state, &blocks, count);
}

__attribute__((target("sha,sse4.1"))) void compressShaNiPair(std::uint32_t* first,
                                                             const std::uint8_t* firstBlocks,
                                                             std::uint32_t* second,
                                                             const std::uint8_t* secondBlocks,
                                                             std::size_t count) {
  std::uint32_t* const states[2] = {first, second};
  const std::uint8_t* const blocks[2] = {firstBlocks, secondBlocks};
  compressShaNiLanes<2>(states, blocks, count);
}

bool hasShaInstructions() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1) || !(c & bit_SSSE3)) return false;
  if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
  return (b & (1u << 29)) != 0;  // SHA
}

#else

bool hasShaInstructions() { return false; }

#endif

std::atomic<bool> shaInstructionsAllowed{true};

OwnSha256::Compress chooseCompress() {
#ifdef FENNOCK_SHA_X86
  static const bool available = hasShaInstructions();
  if (available && shaInstructionsAllowed.load()) return compressShaNi;
#endif
  return compressPortable;
}

}  // namespace

OwnSha256::OwnSha256() : m_compress(chooseCompress()) { reset(); }

void OwnSha256::allowShaInstructions(bool allow) { shaInstructionsAllowed.store(allow); }

bool OwnSha256::usesShaInstructions() const { return m_compress != compressPortable; }

void OwnSha256::reset() {
  m_state = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  m_blockFill = 0;
  m_length = 0;
}

void OwnSha256::update(const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  m_length += size;
  const std::size_t took = fillBlock(p, size);
  absorb(p + took, size - took);
}

void OwnSha256::updatePair(OwnSha256& first, const void* firstData, OwnSha256& second,
                           const void* secondData, std::size_t size) {
#ifdef FENNOCK_SHA_X86
  if (first.m_compress == compressShaNi && second.m_compress == compressShaNi) {
    const auto* p = static_cast<const std::uint8_t*>(firstData);
    const auto* q = static_cast<const std::uint8_t*>(secondData);
    first.m_length += size;
    second.m_length += size;
    // Each completes its own partial block; the whole blocks after it go through both at once.
    const std::size_t firstTook = first.fillBlock(p, size);
    const std::size_t secondTook = second.fillBlock(q, size);
    const std::size_t both = std::min(size - firstTook, size - secondTook) / 64;
    if (both > 0)
      compressShaNiPair(first.m_state.data(), p + firstTook, second.m_state.data(), q + secondTook,
                        both);
    first.absorb(p + firstTook + 64 * both, size - firstTook - 64 * both);
    second.absorb(q + secondTook + 64 * both, size - secondTook - 64 * both);
    return;
  }
#endif
  first.update(firstData, size);
  second.update(secondData, size);
}

std::size_t OwnSha256::fillBlock(const std::uint8_t* p, std::size_t size) {
  if (m_blockFill == 0) return 0;
  const std::size_t take = std::min(size, m_block.size() - m_blockFill);
  std::memcpy(m_block.data() + m_blockFill, p, take);
  m_blockFill += take;
  if (m_blockFill == m_block.size()) {
    m_compress(m_state.data(), m_block.data(), 1);
    m_blockFill = 0;
  }
  return take;
}

void OwnSha256::absorb(const std::uint8_t* p, std::size_t size) {
  if (size == 0) return;  // a partial block may be waiting for more
  const std::size_t whole = size / m_block.size();
  m_compress(m_state.data(), p, whole);
  m_blockFill = size - whole * m_block.size();
  std::memcpy(m_block.data(), p + whole * m_block.size(), m_blockFill);
}

Sha256Digest OwnSha256::finish() {
  const std::uint64_t bits = m_length * 8;
  // The padding: one 1 bit, zeros up to 56 bytes into a block, then the length in bits.
  static const std::uint8_t kPad[64] = {0x80};
  update(kPad, m_blockFill < 56 ? 56 - m_blockFill : 120 - m_blockFill);
  std::uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  update(length, sizeof length);
  Sha256Digest digest;
  for (int i = 0; i < 8; ++i) writeBE32(digest.data() + 4 * i, m_state[i]);
  reset();
  return digest;
}

void Sha256Pair::update(const void* data, std::size_t size) {
  if (pieceOn && wholeOn)
    OwnSha256::updateBoth(piece, whole, data, size);
  else if (pieceOn)
    piece.update(data, size);
  else if (wholeOn)
    whole.update(data, size);
}

std::string toHex(const Sha256Digest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * digest.size());
  for (std::uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

}  // namespace platform

// The tests' generated inputs. Every generator is seeded and built on std::mt19937, whose
// sequence the standard fixes: the same seed gives the same bytes on every system and compiler,
// so a test may pin a digest of what it generated.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace testing_support {

// Noise: bytes that no coder can shrink. Bytes is std::string or a vector of byte-sized values.
template <class Bytes = std::string>
Bytes randomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size, 0);
  for (auto& b : out) b = static_cast<typename Bytes::value_type>(random());
  return out;
}

// The letters of English text in about their proportions: compresses, yet never repeats a line.
inline constexpr std::string_view kTextLetters = "etaoin shrdlu\n";

// Bytes drawn evenly from `alphabet`: text-like for letters, barely compressible for a large one.
template <class Bytes = std::string>
Bytes drawnFrom(std::string_view alphabet, std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size, 0);
  for (auto& b : out)
    b = static_cast<typename Bytes::value_type>(alphabet[random() % alphabet.size()]);
  return out;
}

inline std::string textLike(std::size_t size, std::uint32_t seed) {
  return drawnFrom(kTextLetters, size, seed);
}

// Blocks of noise between lines of repetitive text: both the coder's stored and packed paths.
inline std::string noiseAndText(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string s;
  s.reserve(size);
  while (s.size() < size) {
    if (random() % 3 == 0) {
      for (int i = 0; i < 4096; ++i) s += char(random());
    } else {
      s += "line " + std::to_string(random() % 1000) + " of some repetitive text\n";
    }
  }
  s.resize(size);
  return s;
}

// Kinds that take a coder down different paths: 0 noise, 1 runs of random length, 2 words,
// 3 skewed bytes (value k with probability about 2^-(k+1)), 4 copies of recent data at random
// distances. A kind beyond 4 counts modulo 5.
template <class Bytes = std::string>
Bytes patterned(int kind, std::size_t size, std::uint32_t seed) {
  using Byte = typename Bytes::value_type;
  std::mt19937 random(seed);
  Bytes out;
  out.reserve(size);
  const char* words[] = {"the ", "packer ", "splits ", "a ", "file ", "into ", "pieces ", "\n"};
  while (out.size() < size) {
    switch (kind % 5) {
      case 0:
        out.push_back(Byte(random()));
        break;
      case 1:
        out.insert(out.end(), 1 + random() % 5000, Byte(random() % 3));
        break;
      case 2:
        for (const char* w = words[random() % 8]; *w; ++w) out.push_back(Byte(*w));
        break;
      case 3: {
        int k = 0;
        while (k < 40 && (random() & 1)) ++k;
        out.push_back(Byte(k));
        break;
      }
      default: {
        if (out.size() < 20 || random() % 4 == 0) {
          out.push_back(Byte(random()));
        } else {
          std::size_t distance = 1 + random() % std::min<std::size_t>(out.size(), 5000);
          std::size_t length = 1 + random() % 80;
          for (std::size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
        }
      }
    }
  }
  out.resize(size);
  return out;
}

}  // namespace testing_support

// Deterministic test inputs of several kinds for the codec tests.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace codec_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes randomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (auto& b : out) b = std::uint8_t(random());
  return out;
}

// Kinds that exercise different paths: runs, short repeats, text-like, skewed and noise.
inline Bytes generated(int kind, std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out;
  out.reserve(size);
  const char* words[] = {"the ", "packer ", "splits ", "a ", "file ", "into ", "pieces ", "\n"};
  while (out.size() < size) {
    switch (kind % 5) {
      case 0:  // noise
        out.push_back(std::uint8_t(random()));
        break;
      case 1:  // runs of random length
        out.insert(out.end(), 1 + random() % 5000, std::uint8_t(random() % 3));
        break;
      case 2:  // words
        for (const char* w = words[random() % 8]; *w; ++w) out.push_back(std::uint8_t(*w));
        break;
      case 3: {  // skewed bytes: value k with probability about 2^-(k+1)
        int k = 0;
        while (k < 40 && (random() & 1)) ++k;
        out.push_back(std::uint8_t(k));
        break;
      }
      default: {  // copies of recent data at random distances
        if (out.size() < 20 || random() % 4 == 0) {
          out.push_back(std::uint8_t(random()));
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

}  // namespace codec_test

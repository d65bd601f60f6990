// Seeded round trips of generated data through both codecs and the packed-file layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "codec/CodecTestData.h"
#include "codec/PackedFile.h"

namespace {

using codec::TCompressMode;

// FENNOCK_SEED repeats a failing run; otherwise the seed changes with every run.
std::uint32_t baseSeed() {
  if (const char* seed = std::getenv("FENNOCK_SEED"))
    return std::uint32_t(std::strtoul(seed, nullptr, 10));
  return std::random_device{}();
}

TEST(PackedRoundTrip, ManySizesAndKindsInBothModes) {
  const std::uint32_t seed = baseSeed();
  std::mt19937 random(seed);
  const std::size_t edges[] = {0,    1,    2,    3,     59,    60,    61,    119,
                               4095, 4096, 4097, 32767, 32768, 32769, 65536, 98304};
  for (int round = 0; round < 40; ++round) {
    std::size_t size = round < 16 ? edges[round] : random() % 150000;
    int kind = int(random() % 5);
    auto data = testing_support::patterned<codec_test::Bytes>(kind, size, random());
    for (TCompressMode mode : {TCompressMode::Good, TCompressMode::Fast}) {
      auto packed = codec::packBytes(data, mode);
      ASSERT_EQ(codec::unpackBytes(packed), data)
          << "FENNOCK_SEED=" << seed << " round " << round << " size " << size << " kind " << kind
          << " mode " << int(mode);
    }
  }
}

}  // namespace

// The LZB coder: block layout, items, groups, the hash candidate and damaged blocks.
#include <gtest/gtest.h>

#include "codec/CodecTestData.h"
#include "codec/Lzb.h"

namespace {

using codec::TLZB;
using codec_test::Bytes;
using testing_support::patterned;
using testing_support::randomBytes;

Bytes compress(TLZB& lzb, const Bytes& input) {
  Bytes block(input.size() + codec::kLzbSpare);
  std::uint16_t size = lzb.LZBCompress(input.data(), block.data(), std::uint16_t(input.size()));
  block.resize(size);
  return block;
}

Bytes decompress(const Bytes& block, std::size_t capacity = codec::kLzbBlockSize) {
  Bytes out(capacity);
  out.resize(TLZB::LZBDecompress(block.data(), std::uint16_t(block.size()), out.data(), capacity));
  return out;
}

TEST(LzbBlock, EmptyBlockIsOneStoredFlag) {
  TLZB lzb;
  EXPECT_EQ(compress(lzb, {}), Bytes{0x80});
  EXPECT_TRUE(decompress(Bytes{0x80}).empty());
  EXPECT_TRUE(decompress(Bytes{0x40}).empty());
}

TEST(LzbBlock, SixteenEqualBytesAreOneRun) {
  TLZB lzb;
  EXPECT_EQ(compress(lzb, Bytes(16, 'a')), (Bytes{0x40, 0x80, 0x00, 0x00, 0x00, 0x00, 'a'}));
}

TEST(LzbBlock, FifteenEqualBytesAreLiteralCopyLiteral) {
  TLZB lzb;
  Bytes input(15, 'a');
  input.push_back('b');
  // Control bits 0 1 0; the copy reaches 1 back for 14 bytes: 1 * 16 + (14 - 3).
  Bytes expected{0x40, 0x40, 0x00, 'a', 0x00, 0x1B, 'b'};
  EXPECT_EQ(compress(lzb, input), expected);
  EXPECT_EQ(decompress(expected), input);
}

TEST(LzbBlock, RunStopsAt4095) {
  TLZB lzb;
  Bytes input(4096, 'z');
  Bytes expected{0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'z', 'z'};
  EXPECT_EQ(compress(lzb, input), expected);
  EXPECT_EQ(decompress(expected), input);
}

TEST(LzbBlock, NoiseIsStored) {
  TLZB lzb;
  Bytes input = randomBytes<Bytes>(32768, 5);
  Bytes block = compress(lzb, input);
  ASSERT_EQ(block.size(), input.size() + 1);
  EXPECT_EQ(block[0], 0x80);
  EXPECT_EQ(decompress(block), input);
}

TEST(LzbBlock, FullGroupGetsNoTrailingControlWord) {
  TLZB lzb;
  Bytes sixteen, seventeen;
  for (int i = 0; i < 16; ++i) sixteen.insert(sixteen.end(), 16, std::uint8_t(i));
  seventeen = sixteen;
  seventeen.insert(seventeen.end(), 16, std::uint8_t(99));
  Bytes block = compress(lzb, sixteen);
  EXPECT_EQ(block.size(), 1u + 2u + 16u * 4u);
  EXPECT_EQ(block[1], 0xFF);
  EXPECT_EQ(block[2], 0xFF);
  EXPECT_EQ(decompress(block), sixteen);
  Bytes longer = compress(lzb, seventeen);
  EXPECT_EQ(longer.size(), 1u + 2u + 16u * 4u + 2u + 4u);
  EXPECT_EQ(longer[67], 0x80);  // the second group's control word: one item
  EXPECT_EQ(decompress(longer), seventeen);
}

TEST(LzbBlock, TheMostRecentHashCandidateWins) {
  TLZB lzb;
  // "abc" at 0 would match 8 bytes at 14, but "abc" at 8 came later and matches only 3.
  Bytes input = codec_test::bytesOf("abcdefghabcXYZabcdefgh");
  Bytes expected{0x40, 0x00, 0x8C, 'a',  'b', 'c', 'd', 'e',  'f',
                 'g',  'h',  0x00, 0x80, 'X', 'Y', 'Z', 0x00, 0x60,  // 6 back, 3 bytes
                 0x00, 0xE2};  // 14 back, 5 bytes, up to the block's end
  EXPECT_EQ(compress(lzb, input), expected);
  EXPECT_EQ(decompress(expected), input);
}

TEST(LzbBlock, BlocksOfManySizesRoundTrip) {
  TLZB lzb;
  for (std::uint32_t seed = 0; seed < 60; ++seed) {
    std::size_t size = seed < 40 ? seed : (seed * 7919u) % 32769u;
    Bytes input = patterned<Bytes>(int(seed), size, seed);
    Bytes block = compress(lzb, input);
    ASSERT_LE(block.size(), size + 1) << "seed " << seed;
    ASSERT_EQ(decompress(block), input) << "seed " << seed;
  }
}

TEST(LzbDamage, ItemsReachingOutsideThrow) {
  // A copy 5 back before any output exists.
  EXPECT_THROW(decompress(Bytes{0x40, 0x80, 0x00, 0x00, 0x52}), codec::ELZBDamaged);
  // A run of 4,095 into a buffer of 100.
  EXPECT_THROW(decompress(Bytes{0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'z'}, 100), codec::ELZBDamaged);
  // A run item cut after two of its four bytes.
  EXPECT_THROW(decompress(Bytes{0x40, 0x80, 0x00, 0x00, 0x0F}), codec::ELZBDamaged);
  // A stored block larger than the output buffer.
  EXPECT_THROW(decompress(Bytes{0x80, 1, 2, 3, 4}, 3), codec::ELZBDamaged);
  // Literals beyond the buffer.
  EXPECT_THROW(decompress(Bytes{0x40, 0x00, 0x00, 1, 2, 3, 4}, 3), codec::ELZBDamaged);
  // A control word with no item after it.
  Bytes dangling{0x40, 0x00, 0x00};
  dangling.insert(dangling.end(), 16, 'q');
  dangling.insert(dangling.end(), {0x00, 0x00});
  EXPECT_THROW(decompress(dangling), codec::ELZBDamaged);
}

}  // namespace

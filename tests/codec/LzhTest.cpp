// The LZH coder: its worked streams, the window's start and end cases, streams cut short.
#include <gtest/gtest.h>

#include <array>

#include "codec/CodecTestData.h"
#include "codec/Lzh.h"
#include "platform/OwnSha256.h"

namespace {

using codec::TLZH;
using codec_test::Bytes;
using testing_support::patterned;
using testing_support::randomBytes;

struct Coded {
  Bytes bytes;
  std::int32_t textSize = 0;
  std::size_t reads = 0;
  int lastCodeLength = 0;
};

Coded encode(const Bytes& input) {
  Coded coded;
  TLZH lzh;
  coded.textSize = lzh.LZHEncode(
      [&](std::uint8_t* b, std::uint16_t count, std::uint16_t& actual) {
        EXPECT_EQ(count, 1);
        coded.bytes.push_back(*b);
        actual = 1;
      },
      [&](std::uint8_t* b, std::uint16_t, std::uint16_t& actual) {
        actual = coded.reads < input.size() ? 1 : 0;
        if (actual) *b = input[coded.reads++];
      });
  EXPECT_EQ(lzh.CodeSize, std::int32_t(coded.bytes.size()));
  coded.lastCodeLength = lzh.LastCodeLength;
  return coded;
}

Bytes decode(const Bytes& stream, std::int32_t count, std::size_t* reads = nullptr) {
  Bytes out;
  std::size_t position = 0;
  TLZH lzh;
  lzh.LZHDecode(
      count,
      [&](std::uint8_t* b, std::uint16_t, std::uint16_t& actual) {
        out.push_back(*b);
        actual = 1;
      },
      [&](std::uint8_t* b, std::uint16_t, std::uint16_t& actual) {
        actual = position < stream.size() ? 1 : 0;
        if (actual) *b = stream[position++];
        if (reads) ++*reads;
      });
  return out;
}

TEST(LzhWorkedStreams, EncodeByteForByte) {
  EXPECT_EQ(encode(codec_test::bytesOf("abc")).bytes, (Bytes{0xF6, 0xFB, 0xBD, 0xE0}));
  // A literal, then a match of length 9 at position 0.
  EXPECT_EQ(encode(Bytes(10, 'a')).bytes, (Bytes{0xF6, 0xC9, 0x00, 0x00}));
  // Three literals, then a match of length 9 at position 2.
  EXPECT_EQ(encode(codec_test::bytesOf("abcabcabcabc")).bytes,
            (Bytes{0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}));
}

// The short streams above end long before the code tree is first rebuilt (when the root's count
// reaches the frequency limit, after about 32,000 symbols); from then on the order in which equal
// counts are placed shapes every code, and a change there still round-trips. The digest pins the
// stream well past several rebuilds.
TEST(LzhWorkedStreams, StreamPastTheTreeRebuildsIsPinned) {
  const Coded coded = encode(randomBytes<Bytes>(100000, 20261208));
  platform::OwnSha256 sha;
  sha.update(coded.bytes.data(), coded.bytes.size());
  EXPECT_EQ(platform::toHex(sha.finish()),
            "0cc96d34ffc1332babcb31d8e36a8565eb70bb595904632b62452a6f6c5e17fe");
}

TEST(LzhWorkedStreams, DecodeBack) {
  EXPECT_EQ(decode({0xF6, 0xFB, 0xBD, 0xE0}, 3), codec_test::bytesOf("abc"));
  EXPECT_EQ(decode({0xF6, 0xC9, 0x00, 0x00}, 10), Bytes(10, 'a'));
  EXPECT_EQ(decode({0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}, 12), codec_test::bytesOf("abcabcabcabc"));
}

TEST(LzhEdges, EmptyInputWritesOneLiteralAndCountsNothing) {
  Coded coded = encode({});
  EXPECT_EQ(coded.textSize, 0);
  // The literal for the zero byte at the first input position: code 110001100, padded.
  EXPECT_EQ(coded.bytes, (Bytes{0xC6, 0x00}));
}

TEST(LzhEdges, DecodingNothingReadsNothing) {
  std::size_t reads = 0;
  EXPECT_TRUE(decode({0xF6, 0xFB}, 0, &reads).empty());
  EXPECT_EQ(reads, 0u);
}

TEST(LzhEdges, LeadingSpacesMatchTheStartingWindow) {
  // Spaces fill the window before the input, so spaces code as a match at once.
  Bytes spaces(40, ' ');
  Coded coded = encode(spaces);
  EXPECT_LT(coded.bytes.size(), 4u);
  EXPECT_EQ(decode(coded.bytes, 40), spaces);
}

TEST(LzhEdges, LongRunOfZerosCodesAsMatchesOfSixty) {
  Bytes zeros(1000, 0);
  Coded coded = encode(zeros);
  EXPECT_EQ(coded.textSize, 1000);
  // One literal and 17 matches of at most 60: far fewer bits than a literal per byte.
  EXPECT_LT(coded.bytes.size(), 40u);
  EXPECT_EQ(decode(coded.bytes, 1000), zeros);
}

TEST(LzhEdges, ShortInputsNearTheWindowEndRoundTrip) {
  // Below 119 bytes the look-ahead reaches window bytes no input has filled yet.
  for (std::size_t size = 1; size < 130; ++size) {
    Bytes input = patterned<Bytes>(int(size % 5), size, std::uint32_t(size));
    Coded coded = encode(input);
    ASSERT_EQ(coded.textSize, std::int32_t(size));
    ASSERT_EQ(decode(coded.bytes, std::int32_t(size)), input) << "size " << size;
  }
}

TEST(LzhEdges, TreeRebuildHappensAtTheSameSymbolBothWays) {
  // Noise codes one literal per byte: the first halving falls in the 32,455th symbol.
  for (std::size_t size : {32454u, 32455u, 32456u, 100000u}) {
    Bytes input = randomBytes<Bytes>(size, std::uint32_t(size));
    Coded coded = encode(input);
    ASSERT_EQ(decode(coded.bytes, std::int32_t(size)), input) << "size " << size;
  }
}

// Skews the adaptive tree until its rarest symbols sit more than 16 levels deep. A seed of 20
// distinct letters and a run of 'a' comes first; every block then repeats it from one of the
// letters and is coded as exactly one match of its length: no two blocks within the window
// follow the same offset with the same offset, so no match runs on into the next block. The match
// counts grow like Fibonacci numbers, each above the sum of the rarer ones, and stay below the
// halving limit: each count adds a level above the ~280 symbols never coded, which hang about nine
// levels deep.
Bytes deeplySkewedInput() {
  constexpr int kOffsets = 20;
  constexpr std::array<int, 9> kMatchCounts{216, 431, 647, 1078, 1725, 2803, 4528, 7331, 11859};
  std::vector<int> offsets;  // 160 steps: each ordered pair of offsets at most once
  for (int x = 0; int step : {1, 3, 7, 9, 11, 13, 17, 19})
    for (int i = 0; i < kOffsets; ++i) {
      offsets.push_back(x);
      x = (x + (i < kOffsets - 1 ? step : step + 2)) % kOffsets;
    }
  auto letters = [](Bytes& out, int from) {
    for (int i = from; i < kOffsets; ++i) out.push_back(std::uint8_t('A' + i));
  };
  Bytes input;
  letters(input, 0);
  input.insert(input.end(), 60, 'a');
  std::size_t block = 0;
  for (std::size_t k = 0; k < kMatchCounts.size(); ++k) {
    const int length = 60 - int(k);
    for (int n = 0; n < kMatchCounts[k]; ++n, ++block) {
      const int offset = offsets[block % offsets.size()];
      letters(input, offset);
      input.insert(input.end(), std::size_t(length - (kOffsets - offset)), 'a');
    }
  }
  // Bytes never seen before: literals from the deepest level, each but the last followed by
  // codes that a cut one would throw out of step.
  for (std::uint8_t rare = 0xF8; rare != 0; ++rare) input.push_back(rare);
  return input;
}

TEST(LzhEdges, CodesDeeperThanSixteenLevelsRoundTrip) {
  const Bytes input = deeplySkewedInput();
  Coded coded = encode(input);
  ASSERT_EQ(coded.textSize, std::int32_t(input.size()));
  // A code register of 16 bits would cut these codes and throw the decoder out of step.
  EXPECT_GT(coded.lastCodeLength, 16);
  EXPECT_EQ(decode(coded.bytes, std::int32_t(input.size())), input);
}

TEST(LzhEdges, EncodingIsDeterministic) {
  Bytes input = patterned<Bytes>(4, 50000, 9);
  EXPECT_EQ(encode(input).bytes, encode(input).bytes);
}

TEST(LzhDamage, StreamCutShortIsNoticed) {
  Bytes input = patterned<Bytes>(2, 20000, 3);
  Coded coded = encode(input);
  Bytes cut(coded.bytes.begin(), coded.bytes.begin() + std::ptrdiff_t(coded.bytes.size() / 2));
  EXPECT_THROW(decode(cut, 20000), codec::ElzhTruncated);
  // The whole stream is enough, though the reader looks ahead past its end.
  EXPECT_EQ(decode(coded.bytes, 20000), input);
}

TEST(LzhDamage, GarbageDecodesWithinItsBuffers) {
  // Any bit pattern is a valid symbol sequence; it must simply not run wild.
  for (std::uint32_t seed = 0; seed < 20; ++seed) {
    Bytes garbage = randomBytes<Bytes>(200, seed);
    try {
      Bytes out = decode(garbage, 5000);
      EXPECT_GE(out.size(), 5000u);
      EXPECT_LT(out.size(), 5000u + 60u);
    } catch (const codec::ElzhTruncated&) {
    }
  }
}

}  // namespace

// The LZH coder: its worked streams, the window's start and end cases, streams cut short.
#include <gtest/gtest.h>

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

// The "PMCS10" container: round trips at chunk boundaries, its framing and damaged input.
#include <gtest/gtest.h>

#include "platform/IoError.h"
#include "store/CompressStream.h"
#include "store/StoreError.h"
#include "support/TestData.h"

using codec::TMemoryStream;
using store::TCompressStream;

namespace {

// Bytes 0 .. alphabet-1: the smaller the alphabet, the better they compress.
std::vector<std::uint8_t> randomBytes(std::size_t size, std::uint32_t seed, int alphabet) {
  std::string values(std::size_t(alphabet), '\0');
  for (int i = 0; i < alphabet; ++i) values[std::size_t(i)] = char(i);
  return testing_support::drawnFrom<std::vector<std::uint8_t>>(values, size, seed);
}

TMemoryStream encode(const std::vector<std::uint8_t>& bytes) {
  TMemoryStream source(bytes), target;
  TCompressStream().Encode(source, target, std::int64_t(bytes.size()));
  target.Seek(0, codec::soBeginning);
  return target;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

std::string decodeError(std::vector<std::uint8_t> container) {
  TMemoryStream source(std::move(container)), target;
  try {
    TCompressStream().Decode(source, target);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(CompressStream, RoundTripsAtChunkBoundaries) {
  for (std::size_t size : {0u, 1u, 32'782u, 32'783u, 32'784u, 65'566u, 100'000u}) {
    for (int alphabet : {2, 256}) {
      std::uint32_t seed = std::uint32_t(size * 31 + alphabet);
      auto bytes = randomBytes(size, seed, alphabet);
      TMemoryStream container = encode(bytes);
      TMemoryStream restored;
      TCompressStream().Decode(container, restored);
      EXPECT_EQ(restored.Bytes(), bytes) << "size " << size << " seed " << seed;
      EXPECT_EQ(container.Position(), container.Size());
    }
  }
}

TEST(CompressStream, FramingCountsChunksOfAtMost32783Bytes) {
  auto bytes = randomBytes(32'783 * 2 + 5, 7, 256);
  const auto c = encode(bytes).Bytes();
  ASSERT_EQ(std::string(c.begin(), c.begin() + 6), "PMCS10");
  std::uint32_t total = le32(c, 6);
  EXPECT_EQ(total, c.size() - 10);
  int chunks = 0;
  for (std::size_t at = 10; at < c.size(); at += 4 + le32(c, at)) ++chunks;
  EXPECT_EQ(chunks, 3);
}

TEST(CompressStream, EncodeTakesOnlyCountBytesAndKeepsTargetAtItsEnd) {
  TMemoryStream source(std::vector<std::uint8_t>(1000, 'a')), target;
  store::writeAll(target, "head", 4);
  TCompressStream().Encode(source, target, 600);
  EXPECT_EQ(source.Position(), 600);
  EXPECT_EQ(target.Position(), target.Size());
  target.Seek(4, codec::soBeginning);
  TMemoryStream restored;
  TCompressStream().Decode(target, restored);
  EXPECT_EQ(restored.Bytes(), std::vector<std::uint8_t>(600, 'a'));
}

TEST(CompressStream, EncodeOfASourceThatEndsEarlyFailsInsteadOfWaiting) {
  TMemoryStream source(std::vector<std::uint8_t>(10, 'a')), target;
  EXPECT_THROW(TCompressStream().Encode(source, target, 11), platform::EInOutError);
}

TEST(CompressStream, AnotherSignatureIsTheWrongFileType) {
  auto c = encode(randomBytes(100, 1, 4)).Bytes();
  c[5] = '1';  // "PMCS11"
  EXPECT_EQ(decodeError(c), "Wrong file type");
  EXPECT_EQ(decodeError({'P', 'M', 'C'}), "Wrong file type");
  EXPECT_EQ(decodeError({}), "Wrong file type");
}

TEST(CompressStream, DamagedContainersFailWithoutReadingOutsideThem) {
  auto good = encode(randomBytes(40'000, 3, 16)).Bytes();
  {
    auto c = good;  // total claims more than is there
    c[9] = 0x7F;
    EXPECT_NE(decodeError(c), "");
  }
  {
    auto c = good;  // first chunk length larger than the total
    c[13] = 0x7F;
    EXPECT_EQ(decodeError(c), "Compressed data is damaged");
  }
  {
    auto c = good;  // total shorter than one chunk header
    c[6] = 2, c[7] = c[8] = c[9] = 0;
    EXPECT_EQ(decodeError(c), "Compressed data is damaged");
  }
  {
    auto c = good;  // corrupted deflate body
    for (std::size_t i = 20; i < 60; ++i) c[i] ^= 0x5A;
    EXPECT_EQ(decodeError(c), "Compressed data is damaged");
  }
  {
    auto c = good;  // cut short
    c.resize(c.size() - 10);
    EXPECT_EQ(decodeError(c), "Read beyond end of file");
  }
}

// The "PMCS10" container with a zlib deflate of each chunk.
#include "store/CompressStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/IoError.h"
#include "store/StoreError.h"

namespace store {

namespace {

constexpr int kDeflateLevel = 9;

[[noreturn]] void throwDamaged() { throw EFileSource("Compressed data is damaged"); }

std::size_t maxChunkRecordLength() { return compressBound(kCompressChunkSize); }

}  // namespace

TCompressStream::TCompressStream() {
  std::memcpy(m_signature, kCompressSignature, kCompressSignatureSize);
}

void TCompressStream::Encode(TStream& source, TStream& target, std::int64_t count) {
  writeAll(target, m_signature, kCompressSignatureSize);
  std::int64_t totalPosition = positionOf(target);
  writeLE32(target, 0);

  std::vector<std::uint8_t> piece(kCompressChunkSize);
  std::vector<std::uint8_t> coded(maxChunkRecordLength());
  std::uint64_t total = 0;
  while (count > 0) {
    auto want = std::size_t(std::min<std::int64_t>(count, kCompressChunkSize));
    std::int32_t read = source.Read(piece.data(), std::int32_t(want));
    // A source that ends early would otherwise keep the loop waiting for bytes forever.
    if (read <= 0) throw platform::EInOutError(platform::kIoReadBeyondEnd);
    auto got = std::size_t(read);
    uLongf m = coded.size();
    if (compress2(coded.data(), &m, piece.data(), got, kDeflateLevel) != Z_OK)
      throw EFileSource("Out of memory");
    writeLE32(target, std::uint32_t(m));
    writeAll(target, coded.data(), m);
    total += m + 4;
    if (total > std::numeric_limits<std::uint32_t>::max())
      throw EFileSource("Compressed data is too large");
    count -= std::int64_t(got);
  }

  std::int64_t endPosition = positionOf(target);
  seekTo(target, totalPosition);
  writeLE32(target, std::uint32_t(total));
  seekTo(target, endPosition);
}

void TCompressStream::Decode(TStream& source, TStream& target) {
  char signature[kCompressSignatureSize];
  if (source.Read(signature, kCompressSignatureSize) != std::int32_t(kCompressSignatureSize) ||
      std::memcmp(signature, m_signature, kCompressSignatureSize) != 0)
    throw EFileSource("Wrong file type");

  std::uint64_t total = readLE32(source);
  std::vector<std::uint8_t> coded;
  std::vector<std::uint8_t> restored(kCompressChunkSize);
  while (total > 0) {
    if (total < 4) throwDamaged();
    std::uint32_t m = readLE32(source);
    total -= 4;
    if (m > total || m > maxChunkRecordLength()) throwDamaged();
    coded.resize(m);
    readExact(source, coded.data(), m);
    total -= m;
    uLongf length = restored.size();
    if (uncompress(restored.data(), &length, coded.data(), m) != Z_OK) throwDamaged();
    writeAll(target, restored.data(), length);
  }
}

}  // namespace store

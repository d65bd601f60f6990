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

void TCompressStream::Encode(Stream& source, Stream& target, std::int64_t count) {
  target.write(m_signature, kCompressSignatureSize);
  std::int64_t totalPosition = target.position();
  target.writeLE32(0);

  std::vector<std::uint8_t> piece(kCompressChunkSize);
  std::vector<std::uint8_t> coded(maxChunkRecordLength());
  std::uint64_t total = 0;
  while (count > 0) {
    auto want = std::size_t(std::min<std::int64_t>(count, kCompressChunkSize));
    std::size_t got = source.read(piece.data(), want);
    // A source that ends early would otherwise keep the loop waiting for bytes forever.
    if (got == 0) throw platform::EInOutError(platform::kIoReadBeyondEnd);
    uLongf m = coded.size();
    if (compress2(coded.data(), &m, piece.data(), got, kDeflateLevel) != Z_OK)
      throw EFileSource("Out of memory");
    target.writeLE32(std::uint32_t(m));
    target.write(coded.data(), m);
    total += m + 4;
    if (total > std::numeric_limits<std::uint32_t>::max())
      throw EFileSource("Compressed data is too large");
    count -= std::int64_t(got);
  }

  std::int64_t endPosition = target.position();
  target.seek(totalPosition);
  target.writeLE32(std::uint32_t(total));
  target.seek(endPosition);
}

void TCompressStream::Decode(Stream& source, Stream& target) {
  char signature[kCompressSignatureSize];
  if (source.read(signature, kCompressSignatureSize) != kCompressSignatureSize ||
      std::memcmp(signature, m_signature, kCompressSignatureSize) != 0)
    throw EFileSource("Wrong file type");

  std::uint64_t total = source.readLE32();
  std::vector<std::uint8_t> coded;
  std::vector<std::uint8_t> restored(kCompressChunkSize);
  while (total > 0) {
    if (total < 4) throwDamaged();
    std::uint32_t m = source.readLE32();
    total -= 4;
    if (m > total || m > maxChunkRecordLength()) throwDamaged();
    coded.resize(m);
    source.readExact(coded.data(), m);
    total -= m;
    uLongf length = restored.size();
    if (uncompress(restored.data(), &length, coded.data(), m) != Z_OK) throwDamaged();
    target.write(restored.data(), length);
  }
}

}  // namespace store

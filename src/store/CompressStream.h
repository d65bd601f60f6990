// TCompressStream: the "PMCS10" container that keeps a store's bytes in compressed chunks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/StreamIo.h"

namespace store {

// Container layout: the signature, a 32-bit little-endian total T of the chunk records, then
// chunk records (32-bit little-endian length m, m bytes). Each chunk is one piece of at most
// kCompressChunkSize source bytes, deflated with zlib.
inline constexpr char kCompressSignature[6] = {'P', 'M', 'C', 'S', '1', '0'};
inline constexpr std::size_t kCompressSignatureSize = sizeof kCompressSignature;
inline constexpr std::size_t kCompressChunkSize = 32'783;
static_assert(kCompressSignatureSize == 6);

class TCompressStream {
 public:
  TCompressStream();

  // Writes the container for the next `count` bytes of `source` to `target`.
  void Encode(TStream& source, TStream& target, std::int64_t count);
  // Reads one container from `source` and writes the restored bytes to `target`.
  // Raises "Wrong file type" for another signature and never trusts a length inside the data.
  void Decode(TStream& source, TStream& target);

 private:
  char m_signature[kCompressSignatureSize];
};

}  // namespace store

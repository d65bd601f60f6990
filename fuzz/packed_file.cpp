// Fuzz target: unpacking any bytes as a packed file, in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codec/PackedFile.h"
#include "codec/PackedFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    auto restored = codec::unpackBytes({data, size});
    // Success means exactly the size the header announced.
    if (size < codec::kPackedHeaderSize || restored.size() != codec::readLE32(data + 4))
      std::abort();
  } catch (const codec::EPackerException&) {
  }
  return 0;
}

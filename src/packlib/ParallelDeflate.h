// Deflate on several cores: independent chunks, each primed with the 32 KiB before it, joined
// into one standard raw deflate stream; the CRC-32 is combined from the chunks' CRCs.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/File.h"

namespace packlib {

struct DeflateResult {
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
};

// Compresses exactly `size` bytes read from `input` at its position and appends the stream to
// `output`. `progress` is called on the calling thread with the bytes done since its last call.
// Throws PackError on a zlib failure or a short input, platform::EInOutError on file errors.
DeflateResult deflateFile(platform::File& input, uint64_t size, platform::File& output, int level,
                          const std::function<void(uint64_t)>& progress);

// Copies `size` bytes unchanged, computing the CRC-32.
DeflateResult storeFile(platform::File& input, uint64_t size, platform::File& output,
                        const std::function<void(uint64_t)>& progress);

}  // namespace packlib

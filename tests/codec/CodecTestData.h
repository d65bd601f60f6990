// The codec tests' byte type; their generated inputs come from support/TestData.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/TestData.h"

namespace codec_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace codec_test

// Packing and unpacking whole files and byte buffers in the packed-file format in one call.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codec/Packer.h"

namespace codec {

// `mode` Auto asks Advise first. Failures raise EPackerException with the component's texts.
std::vector<std::uint8_t> packBytes(std::span<const std::uint8_t> data,
                                    TCompressMode mode = TCompressMode::Good);
std::vector<std::uint8_t> unpackBytes(std::span<const std::uint8_t> packed);

// Return the bytes written (packed, header included) and the bytes restored. A failed call
// leaves no output file.
std::int64_t packFile(const std::string& input, const std::string& output,
                      TCompressMode mode = TCompressMode::Good);
std::int64_t unpackFile(const std::string& input, const std::string& output);

}  // namespace codec

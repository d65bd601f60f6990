// Packing and unpacking whole files and byte buffers in the packed-file format in one call.
#include "codec/PackedFile.h"

namespace codec {

std::vector<std::uint8_t> packBytes(std::span<const std::uint8_t> data, TCompressMode mode) {
  TMemoryStream in(std::vector<std::uint8_t>(data.begin(), data.end()));
  TMemoryStream out;
  TPacker packer;
  packer.UseStream = true;
  packer.InputStream = &in;
  packer.OutputStream = &out;
  packer.CompressMode = mode;
  packer.Compress();
  return out.TakeBytes();
}

std::vector<std::uint8_t> unpackBytes(std::span<const std::uint8_t> packed) {
  TMemoryStream in(std::vector<std::uint8_t>(packed.begin(), packed.end()));
  TMemoryStream out;
  TPacker packer;
  packer.UseStream = true;
  packer.InputStream = &in;
  packer.OutputStream = &out;
  packer.Decompress();
  return out.TakeBytes();
}

std::int64_t packFile(const std::string& input, const std::string& output, TCompressMode mode) {
  TPacker packer;
  packer.InputFile = input;
  packer.OutputFile = output;
  packer.CompressMode = mode;
  return packer.Compress();
}

std::int64_t unpackFile(const std::string& input, const std::string& output) {
  TPacker packer;
  packer.InputFile = input;
  packer.OutputFile = output;
  return packer.Decompress();
}

}  // namespace codec

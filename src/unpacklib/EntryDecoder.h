// Decodes one entry's data (stored or deflated, optionally with the traditional ZIP encryption),
// checking every stated size so that lying headers end in an error and never in an overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/File.h"
#include "unpacklib/CentralDirectory.h"

namespace unpack {

// The password does not fit the encrypted entry.
class EWrongPassword : public std::runtime_error {
 public:
  EWrongPassword() : std::runtime_error("Wrong password") {}
};

// Receives the decoded bytes; returns false to stop (the decode then throws ECancelled).
using ByteSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

class ECancelled : public std::runtime_error {
 public:
  ECancelled() : std::runtime_error("Cancelled") {}
};

inline bool isSupportedMethod(std::uint16_t method) { return method == 0 || method == 8; }

// Checks the password against the entry's encryption header without decoding anything.
bool passwordFits(platform::File& archive, std::uint64_t dataOffset, const ZipEntry& entry,
                  const std::string& password);

// Decodes the entry at `dataOffset` into `sink` and returns the CRC-32 of what it produced.
// Exactly `entry.uncompressedSize` bytes reach the sink or EBadArchive is thrown.
std::uint32_t decodeEntry(platform::File& archive, std::uint64_t dataOffset, const ZipEntry& entry,
                          const std::string& password, const ByteSink& sink);

}  // namespace unpack

// The one interface of the SHA-256 engines: our own, which the merger image carries (it must not
// depend on libcrypto), and OpenSSL's, which checks it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256Hasher {
 public:
  virtual ~Sha256Hasher() = default;
  virtual void update(const void* data, std::size_t size) = 0;
  // The digest of everything given since construction or the last finish; starts over.
  virtual Sha256Digest finish() = 0;
};

// 64 lower-case hex digits, as sha256sum writes them.
std::string toHex(const Sha256Digest& digest);

}  // namespace platform

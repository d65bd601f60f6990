// SHA-256 through OpenSSL's libcrypto: the independent engine that ours is checked against. (The
// splitter hashes with ours, which computes a piece's digest and the whole data's side by side.)
#pragma once

#include <memory>

#include "platform/Sha256Hasher.h"

#ifdef _WIN32
#include "platform/OwnSha256.h"

namespace platform {
// Windows has no libcrypto to link statically; our own engine takes the SHA instructions too.
using Sha256 = OwnSha256;
}  // namespace platform
#else
struct evp_md_ctx_st;

namespace platform {

class Sha256 final : public Sha256Hasher {
 public:
  Sha256();
  ~Sha256() override;
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void update(const void* data, std::size_t size) override;
  Sha256Digest finish() override;

 private:
  struct ContextFree {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, ContextFree> m_context;
};

}  // namespace platform
#endif

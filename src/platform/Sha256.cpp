// The EVP digest interface of libcrypto behind Sha256Hasher.
#include "platform/Sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace platform {

namespace {

// Only an out-of-memory condition makes these fail; there is no file to name.
void check(int ok) {
  if (ok != 1) throw std::runtime_error("The SHA-256 digest could not be computed");
}

}  // namespace

void Sha256::ContextFree::operator()(evp_md_ctx_st* context) const { EVP_MD_CTX_free(context); }

Sha256::Sha256() : m_context(EVP_MD_CTX_new()) {
  if (!m_context) check(0);
  check(EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr));
}

Sha256::~Sha256() = default;

void Sha256::update(const void* data, std::size_t size) {
  check(EVP_DigestUpdate(m_context.get(), data, size));
}

Sha256Digest Sha256::finish() {
  Sha256Digest digest{};
  unsigned int length = 0;
  check(EVP_DigestFinal_ex(m_context.get(), digest.data(), &length));
  if (length != digest.size()) check(0);
  check(EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr));
  return digest;
}

}  // namespace platform

// Both SHA-256 engines against the known vectors, fed whole and in uneven pieces.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/OwnSha256.h"
#include "platform/Sha256.h"

namespace {

std::string digestOf(platform::Sha256Hasher& hash, const std::string& data, std::size_t step) {
  for (std::size_t at = 0; at < data.size(); at += step)
    hash.update(data.data() + at, std::min(step, data.size() - at));
  return platform::toHex(hash.finish());
}

}  // namespace

TEST(Sha256, BothEnginesGiveTheKnownDigestsWhateverTheUpdateSizes) {
  struct Vector {
    std::string message;
    const char* digest;
  };
  const Vector vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 448 bits
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string(64, 'x'),  // one whole block: the padding takes a block of its own
       "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
  };
  for (const Vector& v : vectors) {
    for (std::size_t step :
         {std::size_t(1), std::size_t(55), std::size_t(64), std::size_t(1) << 20}) {
      SCOPED_TRACE(std::to_string(v.message.size()) + " bytes by " + std::to_string(step));
      platform::OwnSha256 own;
      platform::Sha256 openssl;
      EXPECT_EQ(digestOf(own, v.message, step), v.digest);
      EXPECT_EQ(digestOf(openssl, v.message, step), v.digest);
      // finish() starts over: the engine is ready for the next piece.
      EXPECT_EQ(digestOf(own, "abc", 3), vectors[1].digest);
      EXPECT_EQ(digestOf(openssl, "abc", 3), vectors[1].digest);
    }
  }
}

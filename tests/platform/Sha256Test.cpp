// The SHA-256 engines (OpenSSL's, ours with and without the SHA instructions) against the known
// vectors, fed whole and in uneven pieces, and the thread that hashes beside a copy.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/HashThread.h"
#include "platform/OwnSha256.h"
#include "platform/Sha256.h"
#include "support/TestData.h"

namespace {

// Our engine on its portable code, whatever the processor has.
struct PortableSha256 {
  PortableSha256() {
    platform::OwnSha256::allowShaInstructions(false);
    engine = std::make_unique<platform::OwnSha256>();
    platform::OwnSha256::allowShaInstructions(true);
  }
  std::unique_ptr<platform::OwnSha256> engine;
};

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
      PortableSha256 portable;
      ASSERT_FALSE(portable.engine->usesShaInstructions());
      platform::Sha256 openssl;
      for (platform::Sha256Hasher* engine :
           std::initializer_list<platform::Sha256Hasher*>{&own, portable.engine.get(), &openssl}) {
        EXPECT_EQ(digestOf(*engine, v.message, step), v.digest);
        // finish() starts over: the engine is ready for the next piece.
        EXPECT_EQ(digestOf(*engine, "abc", 3), vectors[1].digest);
      }
    }
  }
}

// Long random messages in random update sizes: the block loops of our two codes (many blocks a
// call, a block held over between calls) against OpenSSL's.
TEST(Sha256, OurCodesAgreeWithOpenSslOnRandomMessages) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 20; ++round) {
    const std::size_t size = random() % 200000;
    const std::string message = testing_support::randomBytes(size, random());
    const std::size_t step = 1 + random() % 5000;
    platform::OwnSha256 own;
    PortableSha256 portable;
    platform::Sha256 openssl;
    const std::string expected = digestOf(openssl, message, message.size() + 1);
    EXPECT_EQ(digestOf(own, message, step), expected);
    EXPECT_EQ(digestOf(*portable.engine, message, step), expected);
  }
}

// A pair's two digests start at different offsets of the stream (the whole data's before the
// piece's, as a merger file's head goes to the piece's alone) and are switched on and off, so
// that their 64-byte blocks fall at different places of the same updates: each must still be
// what an engine of its own gives, with the SHA instructions and without. So must two engines
// that take two different streams side by side.
TEST(Sha256, APairGivesEachDigestAsAnEngineOfItsOwnWouldWhateverItsBlockOffset) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  for (const bool shaInstructions : {true, false}) {
    for (int round = 0; round < 20; ++round) {
      platform::OwnSha256::allowShaInstructions(shaInstructions);
      platform::Sha256Pair pair;
      platform::OwnSha256 first, second;
      platform::OwnSha256::allowShaInstructions(true);
      platform::Sha256 piece, whole;
      const std::string message = testing_support::randomBytes(random() % 100000, random());
      for (std::size_t at = 0; at < message.size();) {
        const std::size_t n = std::min<std::size_t>(1 + random() % 9000, message.size() - at);
        pair.pieceOn = random() % 4 != 0;
        pair.wholeOn = random() % 4 != 0;
        pair.update(message.data() + at, n);
        if (pair.pieceOn) piece.update(message.data() + at, n);
        if (pair.wholeOn) whole.update(message.data() + at, n);
        at += n;
      }
      EXPECT_EQ(platform::toHex(pair.piece.finish()), platform::toHex(piece.finish()));
      EXPECT_EQ(platform::toHex(pair.finish()), platform::toHex(whole.finish()));

      // Two different streams side by side, the first ahead by a head of its own.
      const std::string other = testing_support::randomBytes(message.size(), random());
      const std::string head =
          message.substr(0, random() % std::min<std::size_t>(200, message.size() + 1));
      first.update(head.data(), head.size());
      for (std::size_t at = 0; at < message.size();) {
        const std::size_t n = std::min<std::size_t>(1 + random() % 9000, message.size() - at);
        platform::OwnSha256::updatePair(first, message.data() + at, second, other.data() + at, n);
        at += n;
      }
      EXPECT_EQ(platform::toHex(first.finish()), digestOf(piece, head + message, 4096));
      EXPECT_EQ(platform::toHex(second.finish()), digestOf(whole, other, 4096));
    }
  }
}

namespace {

// Fails on the update that reaches `failAt` bytes, as an engine that runs out of memory would.
class FailingEngine final : public platform::Sha256Hasher {
 public:
  explicit FailingEngine(std::size_t failAt) : m_failAt(failAt) {}
  void update(const void*, std::size_t size) override {
    if ((m_seen += size) >= m_failAt) throw std::runtime_error("engine failed");
  }
  platform::Sha256Digest finish() override { return {}; }

 private:
  std::size_t m_failAt, m_seen = 0;
};

}  // namespace

TEST(HashThread, HashesEverythingQueuedInOrderAndReportsTheEnginesFailure) {
  // Each update gets a buffer of its own that stays as it is until the digest is taken.
  const std::string message = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  platform::OwnSha256 engine;
  {
    platform::HashThread thread(engine);
    for (int twice = 0; twice < 2; ++twice) {
      for (std::size_t at = 0; at < message.size(); at += 5)
        thread.update(message.data() + at, std::min<std::size_t>(5, message.size() - at));
      EXPECT_EQ(platform::toHex(thread.finish()),
                "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    }
  }

  // The failure comes back on the caller's thread, from a later update or from drain(), and the
  // thread ends with updates still queued.
  FailingEngine failing(10);
  platform::HashThread thread(failing);
  EXPECT_THROW(
      {
        for (int i = 0; i < 100; ++i) thread.update(message.data(), 4);
        thread.drain();
      },
      std::runtime_error);
  EXPECT_THROW(thread.update(message.data(), 4), std::runtime_error);
}

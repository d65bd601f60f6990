// The block cascade: where it stops short of the bound, how the tail reaches it, and that the
// in-kernel copy and the buffered fallback give the same bytes.
#include <gtest/gtest.h>

#include "job/BlockCascade.h"
#include "platform/File.h"
#include "platform/HashThread.h"
#include "platform/IoError.h"
#include "platform/OwnSha256.h"
#include "support/ScratchDir.h"

using job::BlockCascade;
using platform::File;
using testing_support::ScratchDir;

namespace {

std::string bytes(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = char(i * 31 + 7);
  return s;
}

}  // namespace

TEST(BlockCascade, BlocksStopShortOfTheBoundAndTheTailReachesIt) {
  ScratchDir dir;
  const std::string data = bytes(5000);
  File source = File::openRead(dir.write("src", data));
  File target = File::create(dir.file("dst"));
  target.write("HEAD", 4);
  BlockCascade& cascade = BlockCascade::shared();
  cascade.copyBlocks(source, target, 3000);
  // 1 KiB blocks while shorter than 3000 - 1024: 4 -> 1028 -> 2052.
  EXPECT_EQ(target.size(), 2052);
  cascade.copyUpTo(source, target, 3000);
  EXPECT_EQ(target.size(), 3000);
  cascade.copyUpTo(source, target, 3000);  // already there: nothing more
  EXPECT_EQ(target.size(), 3000);
  cascade.copyRest(source, target);
  target.close();
  EXPECT_EQ(ScratchDir::read(dir.file("dst")), "HEAD" + data);
}

TEST(BlockCascade, SmallOrNegativeBoundsCopyNoBlocks) {
  ScratchDir dir;
  File source = File::openRead(dir.write("src", bytes(3000)));
  File target = File::create(dir.file("dst"));
  BlockCascade::shared().copyBlocks(source, target, 1024);  // not above the smallest block
  EXPECT_EQ(target.size(), 0);
  BlockCascade::shared().copyPiece(source, target, 0, false);
  EXPECT_EQ(target.size(), 0);
  BlockCascade::shared().copyPiece(source, target, -5, true);  // the last piece takes all
  EXPECT_EQ(target.size(), 3000);
}

TEST(BlockCascade, LargeBlocksAcrossSeveralPiecesKeepEveryByte) {
  ScratchDir dir;
  const std::string data = bytes((17u << 20) + 4321);
  File source = File::openRead(dir.write("src", data));
  std::string joined;
  for (int i = 0; i < 3; ++i) {
    File piece = File::create(dir.file("p" + std::to_string(i)));
    BlockCascade::shared().copyPiece(source, piece, 6u << 20, i == 2);
    piece.close();
    joined += ScratchDir::read(dir.file("p" + std::to_string(i)));
  }
  EXPECT_EQ(platform::fileSize(dir.file("p0")), 6 << 20);
  EXPECT_TRUE(joined == data);
}

// More data than the ring of buffers that the hashing threads read from: a slice reused too early
// would change the digest or the bytes written.
TEST(BlockCascade, HashedCopiesDigestEveryByteInOrderBufferedOrReadBack) {
  ScratchDir dir;
  const std::string data = bytes((33u << 20) + 4321);
  platform::OwnSha256 direct;
  direct.update(data.data(), data.size());
  const platform::Sha256Digest expected = direct.finish();
  dir.write("src", data);
  for (const bool readBack : {false, true}) {
    SCOPED_TRACE(readBack ? "read back" : "buffered");
    File source = File::openRead(dir.file("src"));
    File target = File::create(dir.file("dst"));
    File back = File::openRead(dir.file("dst"));
    platform::OwnSha256 engine;
    platform::HashThread thread(engine);
    for (int i = 0; i < 3; ++i)
      BlockCascade::shared().copyPiece(source, target, (i + 1) * (12 << 20), i == 2,
                                       {&thread, nullptr, readBack ? &back : nullptr});
    EXPECT_TRUE(thread.finish() == expected);
    target.close();
    EXPECT_TRUE(ScratchDir::read(dir.file("dst")) == data);
  }
}

#ifndef _WIN32
// A block is hashed only once it is written whole: a digest never covers bytes that a full disk
// refused, even though they sit in the buffer that the hashing thread reads.
TEST(BlockCascade, AHashedCopyThatCannotWriteHashesNothingOfTheRefusedBlock) {
  ScratchDir dir;
  File source = File::openRead(dir.write("src", bytes(300000)));
  File full = File::openReadWrite("/dev/full");
  platform::OwnSha256 engine;
  platform::HashThread thread(engine);
  try {
    BlockCascade::shared().copyPiece(source, full, 1 << 20, true, {&thread, nullptr, nullptr});
    ADD_FAILURE();
  } catch (const platform::EInOutError& e) {
    EXPECT_STREQ(e.what(), "Disk full: \"/dev/full\"");
  }
  EXPECT_EQ(platform::toHex(thread.finish()),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");  // no bytes
}

TEST(AppendFrom, FallsBackToTheBufferWhereTheKernelCannotCopy) {
  ScratchDir dir;
  File source = File::openRead(dir.write("src", bytes(100)));
  File full = File::openReadWrite("/dev/full");
  char buffer[100];
  try {
    full.appendFrom(source, 100, buffer);
    ADD_FAILURE();
  } catch (const platform::EInOutError& e) {
    EXPECT_STREQ(e.what(), "Disk full: \"/dev/full\"");
  }
}
#endif

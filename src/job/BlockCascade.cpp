// The piece copy shared by the split job and the merger program.
#include "job/BlockCascade.h"

#include <algorithm>

#include "platform/File.h"
#include "platform/HashThread.h"

namespace job {

namespace {

// A hashed copy moves its bytes through a ring of slices of the largest buffer: the hashing
// threads read a slice while the next ones are read and written. A slice is given to them only
// once it is written, and is not read into again while they hash it, so the bytes hashed are the
// bytes written: a write that ends short throws before its slice is queued. The ring is one slice
// longer than a hashing thread's queue, so a slice is only read into once no thread reads it.
constexpr std::size_t kSlice = 1u << 20;
constexpr std::size_t kSlices = platform::HashThread::kDepth + 1;
// A buffered hashed copy reads and writes a slice in blocks of this size: blocks of 128 KiB and
// more cost about one and a half times the system time here (page-cache copies that fall out of
// the processor's caches), and the slice still goes to the hashing thread in one hand-off.
constexpr std::size_t kIoBlock = 64u << 10;
static_assert(kSlice % kIoBlock == 0);
static_assert(kSlices * kSlice <= BlockCascade::kBlockSizes[0]);

// Every byte given to the threads is hashed before a copy returns; one that unwinds waits until
// the threads read its buffers no more, since the next copy writes into them.
class HashedBytesSettle {
 public:
  explicit HashedBytesSettle(CopyHashers hashers) : m_hashers(hashers) {}
  ~HashedBytesSettle() {
    if (m_hashers.first) m_hashers.first->settle();
    if (m_hashers.second) m_hashers.second->settle();
  }
  void drain() {
    if (m_hashers.first) m_hashers.first->drain();
    if (m_hashers.second) m_hashers.second->drain();
  }

 private:
  CopyHashers m_hashers;
};

}  // namespace

BlockCascade& BlockCascade::shared() {
  static BlockCascade cascade;
  return cascade;
}

BlockCascade::BlockCascade() {
  // Left uninitialised: pages are only touched when a block of that size is copied.
  for (std::size_t i = 0; i < kBlockSizes.size(); ++i)
    m_buffers[i] = std::make_unique_for_overwrite<char[]>(kBlockSizes[i]);
}

std::size_t BlockCascade::append(platform::File& source, platform::File& target, std::size_t size,
                                 char* buffer, CopyHashers hashers) {
  if (!hashers.any()) return target.appendFrom(source, size, buffer);
  return appendHashed(source, target, size, hashers);
}

std::size_t BlockCascade::appendHashed(platform::File& source, platform::File& target,
                                       std::size_t size, CopyHashers hashers) {
  std::size_t done = 0;
  while (done < size) {
    char* slice = largest() + m_nextSlice * kSlice;
    m_nextSlice = (m_nextSlice + 1) % kSlices;
    const std::size_t want = std::min(kSlice, size - done);
    std::size_t n = 0;
    if (hashers.readBack) {
      // The slice is free, so it is also the buffer of a copy that the kernel cannot make.
      n = target.appendFrom(source, want, slice);
      hashers.readBack->readExact(slice, n);
    } else {
      while (n < want) {
        const std::size_t got = source.read(slice + n, std::min(kIoBlock, want - n));
        target.write(slice + n, got);
        n += got;
        if (got == 0) break;
      }
    }
    if (hashers.first) hashers.first->update(slice, n);
    if (hashers.second) hashers.second->update(slice, n);
    done += n;
    if (n < want) break;  // the source's end
  }
  return done;
}

void BlockCascade::copyBlocks(platform::File& source, platform::File& target, std::int64_t bound,
                              CopyHashers hashers) {
  HashedBytesSettle hashed(hashers);
  for (std::size_t i = 0; i < kBlockSizes.size(); ++i) {
    const auto k = static_cast<std::int64_t>(kBlockSizes[i]);
    // The target's own length drives the loop, queried before every block.
    while (!source.atEnd() && target.size() < bound - k)
      append(source, target, kBlockSizes[i], m_buffers[i].get(), hashers);
  }
  hashed.drain();
}

void BlockCascade::copyUpTo(platform::File& source, platform::File& target, std::int64_t bound,
                            CopyHashers hashers) {
  HashedBytesSettle hashed(hashers);
  for (std::int64_t length = target.size(); length < bound && !source.atEnd();) {
    auto want = static_cast<std::size_t>(std::min<std::int64_t>(bound - length, kBlockSizes[0]));
    std::size_t n = append(source, target, want, largest(), hashers);
    if (n == 0) break;
    length += static_cast<std::int64_t>(n);
  }
  hashed.drain();
}

void BlockCascade::copyRest(platform::File& source, platform::File& target, CopyHashers hashers) {
  HashedBytesSettle hashed(hashers);
  while (append(source, target, kBlockSizes[0], largest(), hashers) != 0) {
  }
  hashed.drain();
}

void BlockCascade::copyPiece(platform::File& source, platform::File& target, std::int64_t bound,
                             bool last, CopyHashers hashers) {
  copyBlocks(source, target, bound, hashers);
  if (last)
    copyRest(source, target, hashers);
  else
    copyUpTo(source, target, bound, hashers);
}

}  // namespace job

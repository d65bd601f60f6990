// The block cascade: copies a stream into a target file by blocks of 16 MiB down to 1 KiB,
// approaching a bound on the target's length, with buffers that live as long as the program.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {
class File;
class HashThread;
}  // namespace platform

namespace job {

// Digests that see every byte a copy moves, in order. With any of them the bytes go through the
// cascade's buffers (read, write, hash) instead of being copied inside the kernel: hashing them
// there costs no second read of the source. They hash on their own threads while the copy reads
// and writes; every byte is hashed when a copy returns.
struct CopyHashers {
  platform::HashThread* first = nullptr;
  platform::HashThread* second = nullptr;
  // The target open for reading at the first byte the copy appends: the copy stays inside the
  // kernel and the digests take the bytes read back from the target, so that they cover what
  // was written. Costs a read from the page cache instead of a write from a buffer.
  platform::File* readBack = nullptr;
  bool any() const { return first || second; }
};

class BlockCascade {
 public:
  static constexpr std::array<std::size_t, 8> kBlockSizes = {
      16u << 20, 4u << 20, 1u << 20, 256u << 10, 64u << 10, 16u << 10, 4u << 10, 1u << 10};

  // The one cascade of the program; its eight buffers are allocated on first use and kept.
  static BlockCascade& shared();

  // For each block size K, largest first: while the source has bytes and the target is shorter
  // than bound - K, reads up to K bytes and appends exactly those read. A bound not above K
  // copies nothing at that size.
  void copyBlocks(platform::File& source, platform::File& target, std::int64_t bound,
                  CopyHashers hashers = {});
  // Then the last bytes up to the bound: appends until the target is `bound` long or the
  // source ends (one buffered copy of the bytes a byte-at-a-time loop would move).
  void copyUpTo(platform::File& source, platform::File& target, std::int64_t bound,
                CopyHashers hashers = {});
  // Appends everything that is left in the source.
  void copyRest(platform::File& source, platform::File& target, CopyHashers hashers = {});

  // A target that is `bound` long after copyBlocks + copyUpTo (unless the source ended).
  void copyPiece(platform::File& source, platform::File& target, std::int64_t bound, bool last,
                 CopyHashers hashers = {});

 private:
  BlockCascade();
  char* largest() { return m_buffers[0].get(); }
  std::size_t append(platform::File& source, platform::File& target, std::size_t size, char* buffer,
                     CopyHashers hashers);
  std::size_t appendHashed(platform::File& source, platform::File& target, std::size_t size,
                           CopyHashers hashers);

  std::array<std::unique_ptr<char[]>, kBlockSizes.size()> m_buffers;
  std::size_t m_nextSlice = 0;  // of the largest buffer, for a hashed copy
};

}  // namespace job

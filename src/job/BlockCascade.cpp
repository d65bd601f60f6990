// The piece copy shared by the split job and the merger program.
#include "job/BlockCascade.h"

#include <algorithm>

#include "platform/File.h"
#include "platform/Sha256Hasher.h"

namespace job {

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
  const std::size_t n = source.read(buffer, size);
  if (hashers.first) hashers.first->update(buffer, n);
  if (hashers.second) hashers.second->update(buffer, n);
  target.write(buffer, n);
  return n;
}

void BlockCascade::copyBlocks(platform::File& source, platform::File& target, std::int64_t bound,
                              CopyHashers hashers) {
  for (std::size_t i = 0; i < kBlockSizes.size(); ++i) {
    const auto k = static_cast<std::int64_t>(kBlockSizes[i]);
    // The target's own length drives the loop, queried before every block.
    while (!source.atEnd() && target.size() < bound - k)
      append(source, target, kBlockSizes[i], m_buffers[i].get(), hashers);
  }
}

void BlockCascade::copyUpTo(platform::File& source, platform::File& target, std::int64_t bound,
                            CopyHashers hashers) {
  for (std::int64_t length = target.size(); length < bound && !source.atEnd();) {
    auto want = static_cast<std::size_t>(std::min<std::int64_t>(bound - length, kBlockSizes[0]));
    std::size_t n = append(source, target, want, largest(), hashers);
    if (n == 0) break;
    length += static_cast<std::int64_t>(n);
  }
}

void BlockCascade::copyRest(platform::File& source, platform::File& target, CopyHashers hashers) {
  while (append(source, target, kBlockSizes[0], largest(), hashers) != 0) {
  }
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

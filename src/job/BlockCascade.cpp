// The piece copy shared by the split job and the merger program.
#include "job/BlockCascade.h"

#include <algorithm>

#include "platform/File.h"

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

void BlockCascade::copyBlocks(platform::File& source, platform::File& target, std::int64_t bound) {
  for (std::size_t i = 0; i < kBlockSizes.size(); ++i) {
    const auto k = static_cast<std::int64_t>(kBlockSizes[i]);
    // The target's own length drives the loop, queried before every block.
    while (!source.atEnd() && target.size() < bound - k)
      target.appendFrom(source, kBlockSizes[i], m_buffers[i].get());
  }
}

void BlockCascade::copyUpTo(platform::File& source, platform::File& target, std::int64_t bound) {
  for (std::int64_t length = target.size(); length < bound && !source.atEnd();) {
    auto want = static_cast<std::size_t>(std::min<std::int64_t>(bound - length, kBlockSizes[0]));
    std::size_t n = target.appendFrom(source, want, largest());
    if (n == 0) break;
    length += static_cast<std::int64_t>(n);
  }
}

void BlockCascade::copyRest(platform::File& source, platform::File& target) {
  while (target.appendFrom(source, kBlockSizes[0], largest()) != 0) {
  }
}

void BlockCascade::copyPiece(platform::File& source, platform::File& target, std::int64_t bound,
                             bool last) {
  copyBlocks(source, target, bound);
  if (last)
    copyRest(source, target);
  else
    copyUpTo(source, target, bound);
}

}  // namespace job

// Reading the pieces against BaseName.sha256 with the merger's own SHA-256.
#include "merger/SetCheck.h"

#include <cerrno>
#include <vector>

#include "job/ChecksumFile.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/OwnSha256.h"
#include "platform/Paths.h"

namespace merger {

namespace {

// A checksum file lists a set's few files: anything far longer is not one.
constexpr std::size_t kLongestChecksumFile = 1 << 20;
constexpr std::size_t kReadBlock = 1 << 20;

}  // namespace

std::optional<SetCheck> SetCheck::load(const std::string& path) {
  if (!platform::fileExists(path)) return std::nullopt;
  platform::File file = platform::File::openRead(path);
  std::string text(kLongestChecksumFile, '\0');
  text.resize(file.read(text.data(), text.size()));
  SetCheck check;
  check.m_fileName = platform::fileNameOf(path);
  check.m_sums = job::parseChecksumFile(text);
  return check;
}

void SetCheck::checkPieces(const MergePlan& plan, MergeProgress& progress) const {
  std::int64_t total = 0;
  for (const PieceSource& piece : plan.pieces) total += piece.offset + piece.size;
  std::vector<char> buffer(kReadBlock);
  std::int64_t done = 0;
  progress.setCheckPosition(0);
  for (const PieceSource& piece : plan.pieces) {
    const std::string name = platform::fileNameOf(piece.path);
    const auto line = m_sums.find(name);
    if (line == m_sums.end())
      throw EMergeError("\"" + m_fileName + "\" holds no checksum for " + name +
                        "; it belongs to another set. Nothing was merged");
    platform::OwnSha256 hash;
    platform::File file = platform::File::openRead(piece.path);
    while (std::size_t n = file.read(buffer.data(), buffer.size())) {
      hash.update(buffer.data(), n);
      done += static_cast<std::int64_t>(n);
      if (total > 0)
        progress.setCheckPosition(
            static_cast<int>(std::min<std::int64_t>(done * 100 / total, 100)));
    }
    if (platform::toHex(hash.finish()) != line->second)
      throw EMergeError(name +
                        " is damaged (its checksum differs): send it again. Nothing was merged");
  }
  progress.setCheckPosition(100);
}

void SetCheck::checkJoined(const std::string& joinedName,
                           const platform::Sha256Digest& digest) const {
  const auto line = m_sums.find(joinedName);
  if (line == m_sums.end() || platform::toHex(digest) == line->second) return;
  throw EMergeError("The joined file " + joinedName + " differs from its checksum in " +
                    m_fileName + ": a piece changed while it was merged. Nothing was merged");
}

}  // namespace merger

// Comparing a set's pieces and joined data with the lines of BaseName.sha256.
#include "merger/SetCheck.h"

#include <vector>

#include "job/ChecksumFile.h"
#include "platform/File.h"
#include "platform/OwnSha256.h"
#include "platform/Paths.h"

namespace merger {

namespace {

// A checksum file lists a set's few files: anything far longer is not one.
constexpr std::size_t kLongestChecksumFile = 1 << 20;
constexpr std::size_t kHashBlock = 1 << 20;

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

void SetCheck::checkLines(const MergePlan& plan) const {
  for (const PieceSource& piece : plan.pieces) {
    const std::string name = platform::fileNameOf(piece.path);
    if (!m_sums.contains(name))
      throw EMergeError("\"" + m_fileName + "\" holds no checksum for " + name +
                        "; it belongs to another set. Nothing was merged");
  }
}

void SetCheck::checkPiece(const std::string& path, const platform::Sha256Digest& digest) const {
  const std::string name = platform::fileNameOf(path);
  const auto line = m_sums.find(name);
  if (line != m_sums.end() && platform::toHex(digest) == line->second) return;
  throw EMergeError(name + " is damaged (its checksum differs): send it again. Nothing was merged");
}

bool SetCheck::matchesLine(const std::string& joinedName,
                           const platform::Sha256Digest& digest) const {
  const auto line = m_sums.find(joinedName);
  return line == m_sums.end() || platform::toHex(digest) == line->second;
}

void SetCheck::nameDamagedPiece(const MergePlan& plan, const std::string& joinedName) const {
  std::vector<char> buffer(kHashBlock);
  for (const PieceSource& piece : plan.pieces) {
    if (piece.offset > 0) continue;
    platform::OwnSha256 engine;
    platform::File file = platform::File::openRead(piece.path);
    while (const std::size_t n = file.read(buffer.data(), buffer.size()))
      engine.update(buffer.data(), n);
    checkPiece(piece.path, engine.finish());
  }
  throw EMergeError("The joined file " + joinedName + " differs from its checksum in " +
                    m_fileName +
                    ", though every piece matches its own: the checksum file is damaged. " +
                    "Nothing was merged");
}

}  // namespace merger

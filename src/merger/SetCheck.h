// The check of a set against the checksum file beside it: the joined data before it takes its
// real name, and a piece's own line where that data does not prove it.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "merger/MergePlan.h"
#include "platform/Sha256Hasher.h"

namespace merger {

class SetCheck {
 public:
  // The checksums of the file `path`; none when there is no such file, and then the merge goes
  // on as it always did.
  static std::optional<SetCheck> load(const std::string& path);

  // Throws EMergeError naming the first piece that has no line: the checksum file belongs to
  // another set. Needs no reading, so it comes before anything is written.
  void checkLines(const MergePlan& plan) const;
  // Throws EMergeError unless `digest` is the line of the piece `path` (the whole file, a merger
  // file's head included).
  void checkPiece(const std::string& path, const platform::Sha256Digest& digest) const;
  // Whether the file holds a line for `name`.
  bool hasLine(const std::string& name) const { return m_sums.contains(name); }
  // Whether `digest` is the line of `joinedName`; no line: nothing to check.
  bool matchesLine(const std::string& joinedName, const platform::Sha256Digest& digest) const;
  // After the joined data's digest differed from the line of `joinedName`: hashes the pieces
  // that were not checked on their own while joined (those without a head) one by one and throws
  // EMergeError naming the first that differs, or, when none does, the checksum file.
  [[noreturn]] void nameDamagedPiece(const MergePlan& plan, const std::string& joinedName) const;

 private:
  std::string m_fileName;
  std::map<std::string, std::string> m_sums;
};

}  // namespace merger

// The check of a set against the checksum file beside it: every piece before the merge writes
// anything, and the joined data before it takes its real name.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "merger/Merge.h"
#include "merger/MergePlan.h"
#include "platform/Sha256Hasher.h"

namespace merger {

class SetCheck {
 public:
  // The checksums of the file `path`; none when there is no such file, and then the merge goes
  // on as it always did.
  static std::optional<SetCheck> load(const std::string& path);

  // Reads every piece whole (the merger file with its head) and throws EMergeError naming the
  // first one that differs from its line, or that has none.
  void checkPieces(const MergePlan& plan, MergeProgress& progress) const;
  // Throws EMergeError unless `digest` is the line of `joinedName` (no line: nothing to check).
  void checkJoined(const std::string& joinedName, const platform::Sha256Digest& digest) const;

 private:
  std::string m_fileName;
  std::map<std::string, std::string> m_sums;
};

}  // namespace merger

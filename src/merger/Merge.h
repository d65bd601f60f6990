// The merge: joins the merger file's data and its pieces into the file that was split.
#pragma once

#include <functional>
#include <string>

#include "merger/MergePlan.h"

namespace zip {
class ArchiverHost;
}

namespace merger {

// Plans the merge of a set that is not read from a merger file's record (pieces beside a script).
using MergePlanner = std::function<MergePlan()>;

struct MergeSettings {
  std::string ownPath;        // the merger file that runs
  std::string destFolder;     // FileLabel1's FileName
  bool deletePieces = false;  // CheckBox1
  bool unzip = true;          // CheckBox2
  // Where the archiver's messages go during extraction; null: its default (stderr).
  zip::ArchiverHost* archiverHost = nullptr;
};

// Where the merge shows its progress (the gauge bar, or lines in the terminal).
class MergeProgress {
 public:
  virtual ~MergeProgress() = default;
  virtual void setPosition(int position) = 0;  // 0 to 100
};

// Runs one whole merge; returns the path of what it left in the destination folder (the file
// that was split, or the archive of a compressed job when it was not unzipped). Throws with
// the system's texts; nothing is reported as merged unless every piece was whole.
// `planner` plans a set that has no merger file; null: the record of `settings.ownPath`.
std::string runMerge(const MergeSettings& settings, const MergerLayout& layout,
                     MergeProgress& progress, const MergePlanner& planner = {});

}  // namespace merger

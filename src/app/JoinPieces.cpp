// The merger's window for a set, found from any one of its files.
#include "PayloadSizes.h"
#include "app/JoinWindow.h"
#include "merger/SetMembers.h"
#include "platform/Paths.h"

namespace app {

std::unique_ptr<merger::TForm1> makeJoinForm(const std::string& member) {
  const std::optional<merger::SetLocation> set = merger::findSet(member);
  if (!set)
    throw merger::EMergeError("\"" + platform::fileNameOf(member) +
                              "\" is no file of a Fennock set; choose its .exe merger, one of "
                              "its .frg pieces, its .bat or .sh script or its .sha256 file");
  const merger::MergerLayout layout{payloads::MergerImageSize, payloads::UnzipLibrarySize};
  if (set->exeMerger) return std::make_unique<merger::TForm1>(set->mergerPath, layout);
  return std::make_unique<merger::TForm1>(member, layout,
                                          [set = *set] { return merger::planScriptSet(set); });
}

bool isSetMember(const std::string& member) { return merger::findSet(member).has_value(); }

}  // namespace app

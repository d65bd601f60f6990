// The merger program's entry point: its own file and the lengths stamped into it by the build.
#include <optional>

#include "merger/Program.h"
#include "platform/Paths.h"
#include "platform/SignalCleanup.h"
#include "store/ImageStamp.h"
#include "store/TemporaryFile.h"

int main(int argc, char** argv) {
  // An interrupted merge leaves nothing behind, and what a killed one left is removed now.
  platform::SignalCleanupHandlers cleanup;
  store::removeLeftoversOfEndedRuns();
  std::optional<merger::MergerLayout> layout;
  if (auto stamp = store::runningImageStamp())
    layout = merger::MergerLayout{stamp->mergerImageSize, stamp->unzipLibrarySize};
  return merger::runMergerProgram(platform::programArguments(argc, argv),
                                  platform::executablePath(), layout);
}

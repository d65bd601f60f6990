// The merger program's entry point: its own file and the lengths stamped into it by the build.
#include <string>
#include <vector>

#include "merger/Program.h"
#include "platform/Paths.h"
#include "store/ImageStamp.h"

int main(int argc, char** argv) {
  std::optional<merger::MergerLayout> layout;
  if (auto stamp = store::runningImageStamp())
    layout = merger::MergerLayout{stamp->mergerImageSize, stamp->unzipLibrarySize};
  return merger::runMergerProgram(std::vector<std::string>(argv + 1, argv + argc),
                                  platform::executablePath(), layout);
}

// Stand-in for the merger program until it exists: a real executable that carries the image
// stamp, so that the payload pipeline is exercised end to end. It reports what it knows.
#include <cstdio>
#include <exception>

#include "platform/Paths.h"
#include "store/ImageStamp.h"

int main() {
  try {
    auto stamp = store::runningImageStamp();
    if (!stamp) {
      std::fputs("fennock merger stand-in: this executable was never stamped.\n", stderr);
      return 1;
    }
    std::int64_t own = platform::fileSize(platform::executablePath());
    std::printf(
        "fennock merger stand-in: image %d bytes, packed unarchiver library %d bytes, "
        "own file %lld bytes\n",
        stamp->mergerImageSize, stamp->unzipLibrarySize, static_cast<long long>(own));
    // A merger file is the image followed by its record; the file can never be shorter.
    return own >= stamp->mergerImageSize ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fennock merger stand-in: %s.\n", e.what());
    return 1;
  }
}

// Fuzz target: listing any bytes as an archive (end record search, ZIP64 records, directory).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zip/Archiver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The listing reads a named file; an in-memory file keeps the disk out of the loop.
  static int fd = ::memfd_create("listing", 0);
  if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size))
    std::abort();
  zip::TArchiver archiver;
  archiver.setUnattended(true);
  archiver.setArchiveFileName("/proc/self/fd/" + std::to_string(fd));
  // A listing that kept its name read a directory whose entries all lie inside the file.
  if (!archiver.ArchiveFileName().empty() && archiver.StubSize() < 0) std::abort();
  if (archiver.Entries().size() > size / 46 + 1) std::abort();
  return 0;
}

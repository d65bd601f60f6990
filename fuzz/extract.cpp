// Fuzz target: extracting any bytes as an archive into a scratch folder; nothing may appear
// outside it, no link may be created, and a planted link may not be followed.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "unpacklib/Extractor.h"

namespace fs = std::filesystem;

namespace {

// Says yes to every question, so that the most writing happens.
class EagerReporter : public unpack::Reporter {
 public:
  bool totals(std::uint64_t, std::uint64_t) override { return false; }
  bool fileBegins(const std::string&, std::uint64_t) override { return false; }
  bool progress(std::uint64_t) override { return false; }
  bool batchEnds() override { return false; }
  bool message(unpack::ErrorCode, const std::string&) override { return false; }
  bool skipped(const std::string&, unpack::SkipReason, unpack::ErrorCode) override { return false; }
  bool crcMismatch(const std::string&, std::uint32_t, std::uint32_t,
                   unpack::CrcAnswer& a) override {
    a = unpack::CrcAnswer::kKeep;
    return false;
  }
  bool askOverwrite(const std::string&, bool, bool& overwrite) override {
    overwrite = true;
    return false;
  }
  bool askPassword(const std::string&, std::uint32_t&, std::string& password) override {
    password = "x";
    return false;
  }
};

struct Box {
  fs::path root, dest, outside;
  Box() {
    std::string pattern = (fs::temp_directory_path() / "fennock-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root = pattern;
    dest = root / "dest";
    outside = root / "outside";
    fs::create_directory(outside);
  }
  ~Box() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

bool onlyInside(const fs::path& folder) {
  for (auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_symlink() && entry.path().filename() != "planted") return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Box box;
  static int fd = ::memfd_create("extract", 0);
  if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size))
    std::abort();
  fs::remove_all(box.dest);
  fs::create_directory(box.dest);
  // A link already in the destination that leads outside: a writer that follows it escapes.
  fs::create_directory_symlink(box.outside, box.dest / "planted");

  unpack::ExtractOptions options;
  options.keepFolders = size > 0 && (data[size - 1] & 1) != 0;
  options.overwrite = true;
  options.passwordRetries = 1;
  EagerReporter reporter;
  unpack::extractArchive("/proc/self/fd/" + std::to_string(fd), options, reporter,
                         box.dest.string());

  for (auto& entry : fs::directory_iterator(box.root))
    if (entry.path() != box.dest && entry.path() != box.outside) std::abort();
  if (!fs::is_empty(box.outside)) std::abort();
  if (!onlyInside(box.dest)) std::abort();
  return 0;
}

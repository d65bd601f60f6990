// Temporary file names of the stores and their removal at exit.
#include "store/TemporaryFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <vector>

#include "platform/IoError.h"
#include "platform/Paths.h"

namespace store {

namespace {

// Nobody but the program reads the packed payloads; keep them private.
constexpr unsigned kTemporaryFileMode = 0600;
constexpr int kMaxCandidates = 1'000'000;

struct ExitList {
  std::mutex mutex;
  std::vector<std::string> paths;
  pid_t owner = 0;
};

// Never destroyed: the list must outlive every static object whose destructor may still call
// forgetAtExit(), and the exit handler may run after them.
ExitList& exitList() {
  static ExitList* list = new ExitList;
  return *list;
}

void deleteKeptFiles() {
  ExitList& list = exitList();
  std::lock_guard lock(list.mutex);
  // A forked child inherits the list but not the files' ownership.
  if (list.owner != ::getpid()) return;
  for (const auto& path : list.paths) platform::deleteFile(path);
  list.paths.clear();
}

int currentSeconds() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_sec;
}

}  // namespace

TemporaryFile createTemporaryFile(const std::string& extension) {
  // The extension is glued to the name; a separator in it would point outside the folder.
  if (extension.find(platform::kPathSeparator) != std::string::npos)
    throw platform::EInOutError(platform::kIoInvalidFilename);
  std::string base = platform::tempFolder() + "~fs" + std::to_string(currentSeconds());
  for (int k = 0; k < kMaxCandidates; ++k) {
    std::string candidate = base + std::to_string(k) + extension;
    if (auto file = platform::File::createNew(candidate, kTemporaryFileMode))
      return {std::move(candidate), std::move(*file)};
  }
  throw platform::EInOutError(platform::kIoTooManyOpenFiles);
}

void keepUntilExit(const std::string& path) {
  static const bool registered = (std::atexit(deleteKeptFiles), true);
  (void)registered;
  ExitList& list = exitList();
  std::lock_guard lock(list.mutex);
  list.owner = ::getpid();
  list.paths.push_back(path);
}

void forgetAtExit(const std::string& path) {
  ExitList& list = exitList();
  std::lock_guard lock(list.mutex);
  auto it = std::find(list.paths.begin(), list.paths.end(), path);
  if (it != list.paths.end()) list.paths.erase(it);
}

}  // namespace store

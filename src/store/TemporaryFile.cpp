// Temporary file names of the stores and their removal at exit.
#include "store/TemporaryFile.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <vector>

#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"
#include "platform/SignalCleanup.h"

namespace store {

namespace {

// Nobody but the program reads the packed payloads; keep them private.
constexpr unsigned kTemporaryFileMode = 0600;
constexpr int kMaxCandidates = 1'000'000;
const std::string kNamePrefix = "~fs";

struct KeptFile {
  std::string path;
  platform::CleanupOnSignal cleanup;
};

struct ExitList {
  std::mutex mutex;
  std::vector<KeptFile> files;
  long owner = 0;
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
  if (list.owner != platform::currentProcessId()) return;
  for (const auto& kept : list.files) platform::deleteFile(kept.path);
  list.files.clear();
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
  std::string base = platform::tempFolder() + kNamePrefix +
                     std::to_string(platform::currentProcessId()) + "-" +
                     std::to_string(currentSeconds());
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
  list.owner = platform::currentProcessId();
  list.files.push_back({path, platform::CleanupOnSignal::file(path)});
}

void forgetAtExit(const std::string& path) {
  ExitList& list = exitList();
  std::lock_guard lock(list.mutex);
  auto it = std::find_if(list.files.begin(), list.files.end(),
                         [&](const KeptFile& kept) { return kept.path == path; });
  if (it != list.files.end()) list.files.erase(it);
}

bool isTemporaryFileName(const std::string& name, long* pid) {
  // "~fs", the process id, "-", the seconds and k (two digits at least), then an extension of
  // letters and digits after one dot, or none.
  if (name.rfind(kNamePrefix, 0) != 0) return false;
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t at = kNamePrefix.size();
  const std::size_t pidStart = at;
  while (at < name.size() && isDigit(name[at])) ++at;
  const std::size_t pidLength = at - pidStart;
  if (pidLength == 0 || pidLength > 9 || name[pidStart] == '0') return false;
  if (at == name.size() || name[at] != '-') return false;
  const std::size_t digitsStart = ++at;
  while (at < name.size() && isDigit(name[at])) ++at;
  if (at - digitsStart < 2) return false;
  if (at < name.size()) {
    if (name[at] != '.' || at + 1 == name.size()) return false;
    for (std::size_t i = at + 1; i < name.size(); ++i)
      if (!isDigit(name[i]) && !((name[i] | 0x20) >= 'a' && (name[i] | 0x20) <= 'z')) return false;
  }
  if (pid) *pid = std::stol(name.substr(pidStart, pidLength));
  return true;
}

void removeLeftoversOfEndedRuns() {
  platform::removeLeftovers({{true, platform::isPrivateFolderName},
                             {false, platform::isPendingFileName},
                             {false, isTemporaryFileName}});
}

}  // namespace store

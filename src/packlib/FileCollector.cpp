// File spec expansion: plain paths, wildcard patterns, recursion, exclusions and hidden files.
#include "packlib/FileCollector.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/Paths.h"

namespace packlib {
namespace {

bool hasWildcard(const std::string& s) { return s.find_first_of("*?[") != std::string::npos; }

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

// The stored name: without leading "/" and "./" parts.
std::string cleanName(std::string name) {
  for (;;) {
    if (!name.empty() && name.front() == '/') {
      name.erase(0, 1);
    } else if (name.rfind("./", 0) == 0) {
      name.erase(0, 2);
    } else {
      return name;
    }
  }
}

class Collector {
 public:
  Collector(const AddRequest& request) : m_request(request) {}

  void addSpec(const SpecRequest& spec, const std::function<void(const std::string&)>& warn) {
    std::size_t before = m_files.size();
    std::string text = spec.text;
    std::string base = spec.rootDir;
    std::string full = (text.empty() || text.front() == '/' || base.empty())
                           ? text
                           : platform::joinPath(base, text);
    std::string folder = platform::parentFolder(full);
    std::string pattern = platform::fileNameOf(full);
    std::string namePrefix = platform::parentFolder(text);
    if (!namePrefix.empty()) namePrefix += '/';
    if (hasWildcard(pattern)) {
      scanFolder(folder.empty() ? "." : folder, namePrefix, pattern, spec.recurse);
    } else {
      struct stat st {};
      if (!full.empty() && ::stat(full.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode)) {
          addFile(full, namePrefix + pattern, st);
        } else if (S_ISDIR(st.st_mode) && spec.recurse) {
          scanFolder(full, namePrefix + pattern + "/", "*", true);
        }
      }
    }
    if (m_files.size() == before) warn(text);
  }

  std::vector<SourceFile> take() { return std::move(m_files); }

 private:
  void scanFolder(const std::string& folder, const std::string& namePrefix,
                  const std::string& pattern, bool recurse) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    std::vector<std::string> names;
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
      if (name.front() == '.' && !m_request.hiddenFiles) continue;
      std::string path = platform::joinPath(folder, name);
      struct stat st {};
      if (::stat(path.c_str(), &st) != 0) continue;
      if (S_ISREG(st.st_mode) && ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0) {
        addFile(path, namePrefix + name, st);
      } else if (S_ISDIR(st.st_mode) && recurse) {
        scanFolder(path, namePrefix + name + "/", pattern, true);
      }
    }
  }

  bool excluded(const std::string& path, const std::string& name) const {
    for (const auto& pattern : m_request.excludes) {
      if (::fnmatch(pattern.c_str(), name.c_str(), 0) == 0 ||
          ::fnmatch(pattern.c_str(), path.c_str(), 0) == 0 ||
          ::fnmatch(pattern.c_str(), platform::fileNameOf(path).c_str(), 0) == 0)
        return true;
    }
    return false;
  }

  void addFile(const std::string& path, const std::string& relativeName, const struct stat& st) {
    std::string name =
        m_request.stripPaths ? platform::fileNameOf(relativeName) : cleanName(relativeName);
    if (name.empty() || excluded(path, name)) return;
    if (!m_names.insert(name).second) return;  // the first file of a name wins
    m_files.push_back(
        SourceFile{path, name, uint64_t(st.st_size), int64_t(st.st_mtime), uint32_t(st.st_mode)});
  }

  const AddRequest& m_request;
  std::vector<SourceFile> m_files;
  std::set<std::string> m_names;
};

}  // namespace

std::vector<SourceFile> collectFiles(const AddRequest& request,
                                     const std::function<void(const std::string&)>& warn) {
  Collector collector(request);
  for (const auto& spec : request.specs) collector.addSpec(spec, warn);
  return collector.take();
}

bool hasStoreSuffix(const std::string& name, const std::vector<std::string>& suffixes) {
  std::string lowered = lower(name);
  for (const auto& suffix : suffixes) {
    if (lowered.size() >= suffix.size() &&
        lowered.compare(lowered.size() - suffix.size(), suffix.size(), suffix) == 0)
      return true;
  }
  return false;
}

}  // namespace packlib

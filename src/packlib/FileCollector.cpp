// File spec expansion: plain paths, wildcard patterns, recursion, exclusions and hidden files.
#include "packlib/FileCollector.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/Paths.h"

namespace packlib {
namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

// The stored name: "/" between its parts, without a drive and without leading "/" and "./" parts.
std::string cleanName(std::string name) {
  if (platform::kPathSeparator != '/') {
    std::replace(name.begin(), name.end(), platform::kPathSeparator, '/');
    if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])))
      name.erase(0, 2);
  }
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
    std::string full = (text.empty() || platform::isAbsolutePath(text) || base.empty())
                           ? text
                           : platform::joinPath(base, text);
    std::string folder = platform::parentFolder(full);
    std::string pattern = platform::fileNameOf(full);
    std::string namePrefix = platform::parentFolder(text);
    if (!namePrefix.empty()) namePrefix += '/';
    if (platform::hasFileNameWildcard(pattern)) {
      scanFolder(folder.empty() ? "." : folder, namePrefix, pattern, spec.recurse);
    } else if (!full.empty()) {
      if (auto st = platform::fileStatus(full)) {
        if (st->isRegular) {
          addFile(full, namePrefix + pattern, *st);
        } else if (st->isFolder && spec.recurse) {
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
    std::vector<std::string> names = platform::folderEntries(folder);
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
      if (name.front() == '.' && !m_request.hiddenFiles) continue;
      std::string path = platform::joinPath(folder, name);
      auto st = platform::fileStatus(path);
      if (!st) continue;
      if (st->isRegular && platform::fileNameMatches(pattern, name)) {
        addFile(path, namePrefix + name, *st);
      } else if (st->isFolder && recurse) {
        scanFolder(path, namePrefix + name + "/", pattern, true);
      }
    }
  }

  bool excluded(const std::string& path, const std::string& name) const {
    for (const auto& pattern : m_request.excludes) {
      if (platform::fileNameMatches(pattern, name) || platform::fileNameMatches(pattern, path) ||
          platform::fileNameMatches(pattern, platform::fileNameOf(path)))
        return true;
    }
    return false;
  }

  void addFile(const std::string& path, const std::string& relativeName,
               const platform::FileStatus& st) {
    std::string name =
        m_request.stripPaths ? platform::fileNameOf(relativeName) : cleanName(relativeName);
    if (name.empty() || excluded(path, name)) return;
    if (!m_names.insert(name).second) return;  // the first file of a name wins
    m_files.push_back(SourceFile{path, name, uint64_t(st.size), st.modified, uint32_t(st.mode)});
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

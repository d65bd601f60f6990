// Path arithmetic shared by every system, and the form of the private folders' names.
#include "platform/Paths.h"

#include <string>

namespace platform {

bool isPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

bool isAbsolutePath(const std::string& path) {
#ifdef _WIN32
  const bool drive = path.size() >= 3 && path[1] == ':' && isPathSeparator(path[2]) &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || (path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1]));
#else
  return !path.empty() && path.front() == '/';
#endif
}

namespace {

std::size_t lastSeparator(const std::string& path) {
#ifdef _WIN32
  return path.find_last_of("\\/");
#else
  return path.rfind('/');
#endif
}

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (isPathSeparator(folder.back())) return folder + name;
  return folder + kPathSeparator + name;
}

std::string fileNameOf(const std::string& path) {
  auto slash = lastSeparator(path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentFolder(const std::string& path) {
  auto slash = lastSeparator(path);
  if (slash == std::string::npos) return {};
  if (slash == 0) return path.substr(0, 1);
#ifdef _WIN32
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
#endif
  return path.substr(0, slash);
}

namespace {

// Whatever the locale: the letters and digits that mkdtemp uses.
bool isAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

bool isPrivateFolderName(const std::string& name, long* pid) {
  // From the end: mkdtemp's six letters or digits, "-", the process id, "-", then the prefix.
  constexpr std::size_t kTagLength = 6;
  if (name.size() < kTagLength + 1) return false;
  const std::size_t tagStart = name.size() - kTagLength;
  for (std::size_t i = tagStart; i < name.size(); ++i)
    if (!isAsciiAlnum(name[i])) return false;
  if (name[tagStart - 1] != '-') return false;
  std::size_t pidStart = tagStart - 1;
  while (pidStart > 0 && name[pidStart - 1] >= '0' && name[pidStart - 1] <= '9') --pidStart;
  if (pidStart == tagStart - 1 || pidStart < 1 || name[pidStart - 1] != '-' ||
      tagStart - 1 - pidStart > 9 || name[pidStart] == '0')
    return false;
  const std::string prefix = name.substr(0, pidStart - 1);
  if (prefix != "fennock") {
    if (prefix.rfind("fennock-", 0) != 0) return false;
    // Words of lower-case letters, each after one "-".
    char previous = '-';
    for (std::size_t i = 8; i < prefix.size(); ++i) {
      const char c = prefix[i];
      if (c == '-' ? previous == '-' : (c < 'a' || c > 'z')) return false;
      previous = c;
    }
    if (previous == '-') return false;
  }
  if (pid) *pid = std::stol(name.substr(pidStart, tagStart - 1 - pidStart));
  return true;
}

}  // namespace platform

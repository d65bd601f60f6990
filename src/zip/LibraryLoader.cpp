// Loading an archiver library by absolute path and resolving its entry points.
#include "zip/LibraryLoader.h"

#include "platform/Paths.h"

namespace zip {

std::string LibraryLoader::path(const std::string& folder) const {
  if (folder.empty()) return {};
  std::string path = platform::joinPath(platform::absolutePath(folder), m_kind.fileName);
  return platform::fileExists(path) ? path : std::string();
}

bool LibraryLoader::load(const std::string& folder, bool trace, const LibraryReport& report) {
  try {
    std::string file = path(folder);
    if (file.empty() || !m_library.load(file)) {
      unload();
      report(m_kind.notLoadedMessage);
      return false;
    }
    if (trace) report(m_kind.loadedMessage);
    m_exec = m_library.symbol(m_kind.execName);
    m_version = m_library.symbol(m_kind.versionName);
    if (m_exec == nullptr) report(m_kind.noExecMessage);
    if (m_version == nullptr) report(m_kind.noVersionMessage);
  } catch (...) {
    // A handler's failure during the load must not stop the caller; the handle tells the outcome.
  }
  return m_library.isLoaded();
}

void LibraryLoader::unload() {
  m_library.unload();
  m_exec = nullptr;
  m_version = nullptr;
}

int32_t LibraryLoader::queryVersion(const std::string& folder, bool trace,
                                    const LibraryReport& report) {
  bool loadedHere = false;
  if (!isLoaded()) {
    if (!load(folder, trace, report)) return 0;
    loadedHere = true;
  }
  int32_t number = version() ? version()() : 0;
  if (loadedHere) unload();
  return number;
}

}  // namespace zip

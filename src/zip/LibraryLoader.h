// The process-wide binding of one archiver library: its module, loaded by absolute path from the
// component's library folder, and the addresses of its two entry points.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/DynamicLibrary.h"

namespace zip {

// What tells the archiver and the unarchiver library apart: the file, the entry points and the
// message IDs reported while loading it.
struct LibraryKind {
  const char* fileName;
  const char* execName;
  const char* versionName;
  int32_t loadedMessage;  // reported when tracing
  int32_t notLoadedMessage;
  int32_t noExecMessage;
  int32_t noVersionMessage;
};

// Reports a message ID through the component (message box, last-error fields, OnMessage).
using LibraryReport = std::function<void(int32_t id)>;

class LibraryLoader {
 public:
  // Both libraries answer their version the same way.
  using VersionProc = int32_t (*)();

  explicit LibraryLoader(const LibraryKind& kind) : m_kind(kind) {}
  LibraryLoader(const LibraryLoader&) = delete;
  LibraryLoader& operator=(const LibraryLoader&) = delete;

  // `folder` (taken from the current folder when relative) + the library's file name when that
  // file exists; empty otherwise, and always for an empty folder. Code is loaded only from
  // there, never from the current folder or through a search order, where a planted file
  // would be run.
  std::string path(const std::string& folder) const;

  // Loads the library from `folder` and looks up its entry points, reporting what goes wrong.
  // A failure of the report itself is swallowed: the result tells the outcome.
  bool load(const std::string& folder, bool trace, const LibraryReport& report);
  void unload();
  bool isLoaded() const { return m_library.isLoaded(); }

  // The version entry point; null while not loaded or when the library lacks it.
  VersionProc version() const { return reinterpret_cast<VersionProc>(m_version); }
  // The library's version: the library is loaded for the query when it is not loaded yet and
  // unloaded again. 0 when it cannot be loaded or lacks the entry point.
  int32_t queryVersion(const std::string& folder, bool trace, const LibraryReport& report);

 protected:
  void* execAddress() const { return m_exec; }

 private:
  LibraryKind m_kind;
  platform::DynamicLibrary m_library;
  void* m_exec = nullptr;
  void* m_version = nullptr;
};

// A library whose operation entry point has the type `ExecProc`.
template <typename ExecProc>
class LibraryBinding : public LibraryLoader {
 public:
  using LibraryLoader::LibraryLoader;
  // Null while not loaded or when the library lacks it.
  ExecProc exec() const { return reinterpret_cast<ExecProc>(execAddress()); }
};

}  // namespace zip

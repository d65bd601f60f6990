// A shared library loaded by absolute path (never through a search path), unloaded when destroyed.
#pragma once

#include <string>

namespace platform {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary() { unload(); }
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `absolutePath`; false (and nothing loaded) for a relative path or a
  // failure.
  bool load(const std::string& absolutePath);
  void unload();
  bool isLoaded() const { return m_handle != nullptr; }
  // The address of an exported symbol, or nullptr.
  void* symbol(const char* name) const;
  // The loader's text for the last failure.
  const std::string& lastError() const { return m_error; }

 private:
  void* m_handle = nullptr;
  std::string m_error;
};

}  // namespace platform

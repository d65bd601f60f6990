// dlopen-based loading of the archiver libraries.
#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

bool DynamicLibrary::load(const std::string& absolutePath) {
  unload();
  if (absolutePath.empty() || absolutePath.front() != '/') {
    m_error = "not an absolute path: " + absolutePath;
    return false;
  }
  m_handle = ::dlopen(absolutePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (m_handle == nullptr) {
    const char* text = ::dlerror();
    m_error = text ? text : "cannot load " + absolutePath;
    return false;
  }
  m_error.clear();
  return true;
}

void DynamicLibrary::unload() {
  if (m_handle != nullptr) ::dlclose(m_handle);
  m_handle = nullptr;
}

void* DynamicLibrary::symbol(const char* name) const {
  return m_handle ? ::dlsym(m_handle, name) : nullptr;
}

}  // namespace platform

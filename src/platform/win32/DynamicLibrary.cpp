// Loading the archiver libraries on Windows: by absolute path, with no search of other folders
// for the libraries that they import in turn.
#include "platform/DynamicLibrary.h"

#include "platform/Paths.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

HMODULE moduleOf(void* handle) { return static_cast<HMODULE>(handle); }

// The process's own search for what a library imports: the system folder only, never the
// current or the program's folder, where a planted copy could wait.
void restrictDllSearch() {
  static const bool kDone = [] {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return true;
  }();
  (void)kDone;
}

std::string systemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length > 0 ? fromUtf16(text, length) : "error " + std::to_string(error);
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

}  // namespace

bool DynamicLibrary::load(const std::string& absolutePath) {
  unload();
  if (!isAbsolutePath(absolutePath)) {
    m_error = "not an absolute path: " + absolutePath;
    return false;
  }
  restrictDllSearch();
  // The library's own folder is searched for nothing: it is a private temporary folder, but
  // the libraries import only from the system.
  m_handle = ::LoadLibraryExW(toUtf16(absolutePath).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (m_handle == nullptr) {
    m_error = systemMessage(::GetLastError()) + ": " + absolutePath;
    return false;
  }
  m_error.clear();
  return true;
}

void DynamicLibrary::unload() {
  if (m_handle != nullptr) ::FreeLibrary(moduleOf(m_handle));
  m_handle = nullptr;
}

void* DynamicLibrary::symbol(const char* name) const {
  return m_handle ? reinterpret_cast<void*>(::GetProcAddress(moduleOf(m_handle), name)) : nullptr;
}

}  // namespace platform

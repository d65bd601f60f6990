// The console handler that empties the clean-up table on Windows, and the start-up sweep of
// older runs' leftovers.
#include "platform/SignalCleanup.h"

#include <atomic>
#include <climits>
#include <string>
#include <vector>

#include "platform/CleanupTable.h"
#include "platform/Paths.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

std::atomic<int> g_installations{0};
std::atomic_flag g_cleaning = ATOMIC_FLAG_INIT;

void sleepMilliseconds(long ms) noexcept { ::Sleep(static_cast<DWORD>(ms)); }

bool isLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// Calls `visit` with each entry of a folder but "." and "..".
template <typename Visit>
void listFolder(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") visit(name, found.dwFileAttributes);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

void removeEntry(cleanup::SlotState kind, std::intptr_t, const char* path) noexcept {
  if (kind == cleanup::kFile)
    ::DeleteFileW(toUtf16(path).c_str());
  else
    removeFolderWithFiles(path);
}

// Runs on a thread of its own that the system starts for the event; the process ends when it
// returns FALSE (the default handler's turn) or, for closing and shutting down, soon after.
BOOL WINAPI onConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      break;
    default:
      return FALSE;
  }
  if (g_cleaning.test_and_set()) return FALSE;
  cleanup::ending.store(true);
  cleanup::awaitSections(sleepMilliseconds);
  cleanup::forEachRegistered(removeEntry);
  return FALSE;
}

// Whether the process still runs; an id that cannot be asked about counts as running.
bool processRuns(DWORD pid) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  ::CloseHandle(process);
  return running;
}

}  // namespace

TemporaryCreation::TemporaryCreation() { cleanup::enterCreation(sleepMilliseconds); }

TemporaryCreation::~TemporaryCreation() { cleanup::leaveCreation(); }

SignalCleanupHandlers::SignalCleanupHandlers() {
  if (g_installations.fetch_add(1) != 0) return;
  m_installed = ::SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
}

SignalCleanupHandlers::~SignalCleanupHandlers() {
  if (m_installed) ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
  g_installations.fetch_sub(1);
}

void removeFolderWithFiles(const std::string& path) noexcept {
  const std::wstring folder = toUtf16(path);
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || isLink(attributes)) return;
  listFolder(folder, [&](const std::wstring& name, DWORD entry) {
    // A link is removed itself, never what it points to; sub-folders stay.
    if ((entry & FILE_ATTRIBUTE_DIRECTORY) == 0 || isLink(entry)) {
      const std::wstring file = folder + L"\\" + name;
      if ((entry & FILE_ATTRIBUTE_READONLY) != 0)
        ::SetFileAttributesW(file.c_str(), entry & ~DWORD(FILE_ATTRIBUTE_READONLY));
      if ((entry & FILE_ATTRIBUTE_DIRECTORY) != 0)
        ::RemoveDirectoryW(file.c_str());
      else
        ::DeleteFileW(file.c_str());
    }
  });
  ::RemoveDirectoryW(folder.c_str());
}

void removeLeftovers(std::initializer_list<LeftoverForm> forms, const std::string& folder) {
  const std::string where = folder.empty() ? tempFolder() : folder;
  std::vector<std::pair<std::string, DWORD>> entries;
  listFolder(toUtf16(where), [&](const std::wstring& name, DWORD attributes) {
    entries.emplace_back(fromUtf16(name), attributes);
  });
  for (const auto& [name, attributes] : entries) {
    for (const LeftoverForm& form : forms) {
      long pid = 0;
      if (!form.matches(name, &pid)) continue;
      if (pid <= 0 || pid == currentProcessId() || pid > LONG_MAX) break;
      if (processRuns(static_cast<DWORD>(pid)) || isLink(attributes)) break;
      const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (isFolder != form.folder) break;
      const std::string path = joinPath(where, name);
      if (isFolder)
        removeFolderWithFiles(path);
      else
        ::DeleteFileW(toUtf16(path).c_str());
      break;
    }
  }
}

}  // namespace platform

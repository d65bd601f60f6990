// File-system queries, folders and the running program on Windows.
#include "platform/Paths.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <random>
#include <vector>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"
#include "platform/Wildcard.h"
#include "platform/win32/Win32.h"

// clang-format off: the shell's headers need the types of windows.h before them.
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

namespace platform {

namespace {

std::optional<WIN32_FILE_ATTRIBUTE_DATA> attributesOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(toUtf16(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  return data;
}

bool isFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The identity of a file: its volume and its index there.
struct FileIdentity {
  DWORD volume = 0;
  DWORD high = 0;
  DWORD low = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::string& path, bool ownEntry) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (ownEntry ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE handle = ::CreateFileW(toUtf16(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// A variable of the environment, read through the wide interface so that any name survives.
std::string environmentVariable(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(name, value.data(), size);
  value.resize(length < size ? length : 0);
  return fromUtf16(value);
}

}  // namespace

// Between 1601 and 1970 in the file times' 100-nanosecond ticks.
constexpr std::int64_t kEpochDifference = 116444736000000000LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;

std::int64_t unixSeconds(const FILETIME& time) {
  const std::int64_t ticks =
      (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return (ticks - kEpochDifference) / kTicksPerSecond;
}

FILETIME fileTime(std::int64_t seconds) {
  const std::uint64_t ticks =
      static_cast<std::uint64_t>(seconds * kTicksPerSecond + kEpochDifference);
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::string absolutePath(const std::string& path) {
  if (path.empty() || isAbsolutePath(path)) return path;
  const std::wstring wide = toUtf16(path);
  const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) throwLastSystemError(path);
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) throwLastSystemError(path);
  full.resize(length);
  return fromUtf16(full);
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(toUtf16(joinPath(folder, "*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = fromUtf16(found.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

bool fileExists(const std::string& path) {
  auto data = attributesOf(path);
  return data && !isFolder(data->dwFileAttributes);
}

bool folderExists(const std::string& path) {
  auto data = attributesOf(path);
  return data && isFolder(data->dwFileAttributes);
}

bool sameFile(const std::string& a, const std::string& b, bool firstByItsOwnEntry) {
  auto first = identityOf(a, firstByItsOwnEntry);
  auto second = identityOf(b, false);
  return first && second && *first == *second;
}

std::int64_t fileSize(const std::string& path) {
  auto data = attributesOf(path);
  if (!data) return -1;
  return (static_cast<std::int64_t>(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
}

std::optional<FileStatus> fileStatus(const std::string& path) {
  auto data = attributesOf(path);
  if (!data) return std::nullopt;
  const DWORD attributes = data->dwFileAttributes;
  const bool folder = isFolder(attributes);
  constexpr unsigned kFolderType = 0040000, kFileType = 0100000;
  const unsigned permissions = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0644;
  return FileStatus{folder, !folder && (attributes & FILE_ATTRIBUTE_DEVICE) == 0,
                    (static_cast<std::int64_t>(data->nFileSizeHigh) << 32) | data->nFileSizeLow,
                    unixSeconds(data->ftLastWriteTime),
                    (folder ? kFolderType | 0111 : kFileType) | permissions};
}

void setPermissions(const std::string& path, unsigned mode) {
  setReadOnly(path, (mode & 0200) == 0);
}

bool fileNameMatches(const std::string& pattern, const std::string& name) {
  return wildcardMatch(pattern, name, true);
}

bool hasFileNameWildcard(const std::string& text) {
  return text.find_first_of("*?") != std::string::npos;
}

bool deleteFile(const std::string& path) {
  return !injectedFault(FileOperation::Delete) && ::DeleteFileW(toUtf16(path).c_str());
}

void removeTemporaryFile(const std::string& path) noexcept { ::DeleteFileW(toUtf16(path).c_str()); }

void renameFile(const std::string& from, const std::string& to) {
  if (injectedFault(FileOperation::Rename)) throwIoError(errno, to);
  // Written through: the move is on disk when the call returns, like the data before it.
  if (!::MoveFileExW(toUtf16(from).c_str(), toUtf16(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throwLastSystemError(to);
}

namespace {

// The root of the volume that holds `folder` ("C:\\", or a mounted folder).
std::wstring volumeRoot(const std::string& folder) {
  wchar_t root[MAX_PATH + 1];
  if (!::GetVolumePathNameW(toUtf16(folder).c_str(), root, MAX_PATH + 1)) return {};
  return root;
}

}  // namespace

bool fileSystemAnswers(const std::string& folder) {
  const std::wstring root = volumeRoot(folder);
  return !root.empty() &&
         ::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
}

void deleteFileIfPresent(const std::string& path) {
  if (injectedFault(FileOperation::Delete)) throwIoError(errno, path);
  if (::DeleteFileW(toUtf16(path).c_str())) return;
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
    throwWindowsError(error, path);
}

bool isRegularFile(const std::string& path) {
  auto data = attributesOf(path);
  if (!data) throwLastSystemError(path);
  return (data->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool isSymbolicLink(const std::string& path) {
  auto data = attributesOf(path);
  return data && (data->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FileStamp fileStamp(const std::string& path) {
  auto data = attributesOf(path);
  if (!data) return {};
  const auto join = [](DWORD high, DWORD low) {
    return std::int64_t((std::uint64_t(high) << 32) | low);
  };
  return {join(data->nFileSizeHigh, data->nFileSizeLow),
          join(data->ftLastWriteTime.dwHighDateTime, data->ftLastWriteTime.dwLowDateTime)};
}

// A folder cannot be locked as a file can: the lock is a mutex of the session named after the
// folder's identity (its volume and index), whatever name or case reaches the folder.
FolderLock::FolderLock(const std::string& folder) {
  const auto id = identityOf(folder, false);
  if (!id) return;
  // Narrow digits: the wide formatter would add 10 KB to every program that links this.
  const std::wstring name = toUtf16("Local\\FennockFolder-" + std::to_string(id->volume) + "-" +
                                    std::to_string(id->high) + "-" + std::to_string(id->low));
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  if (!mutex) return;
  // A holder that ended without letting go (WAIT_ABANDONED) leaves the lock to this job.
  const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return;
  }
  m_lock = mutex;
}

FolderLock::~FolderLock() {
  if (!m_lock) return;
  ::ReleaseMutex(m_lock);
  ::CloseHandle(m_lock);
}

long longestNameIn(const std::string& folder) {
  const std::wstring root = volumeRoot(folder);
  DWORD longest = 0;
  if (root.empty() ||
      !::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, &longest, nullptr, nullptr, 0))
    return 0;
  return static_cast<long>(longest);
}

void makeExecutable(const std::string&) noexcept {}

bool isReadOnly(const std::string& path) {
  auto data = attributesOf(path);
  return data && (data->dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

void setReadOnly(const std::string& path, bool readOnly) {
  const std::wstring wide = toUtf16(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throwLastSystemError(path);
  const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                : attributes & ~DWORD(FILE_ATTRIBUTE_READONLY);
  if (wanted != attributes && !::SetFileAttributesW(wide.c_str(), wanted))
    throwLastSystemError(path);
}

void createFolders(const std::string& path, unsigned mode) {
  if (path.empty() || folderExists(path)) return;
  const std::string parent = parentFolder(path);
  if (!parent.empty() && parent != path) createFolders(parent, mode);
  // Another process may make it at the same moment; what counts is that it is there.
  if (!::CreateDirectoryW(toUtf16(path).c_str(), nullptr) &&
      !(::GetLastError() == ERROR_ALREADY_EXISTS && folderExists(path)))
    throwLastSystemError(path);
}

std::string tempFolder() {
  wchar_t buffer[MAX_PATH + 2];
  const DWORD length = ::GetTempPathW(MAX_PATH + 2, buffer);
  std::string folder = length > 0 && length <= MAX_PATH + 1 ? fromUtf16(buffer, length) : "C:\\";
  if (!isPathSeparator(folder.back())) folder += kPathSeparator;
  return folder;
}

std::string userConfigFolder() {
  // %APPDATA% names the roaming folder in every session; like $XDG_CONFIG_HOME it lets a user
  // (or a test) put the settings elsewhere. Without it, the shell knows the folder.
  const std::string appData = environmentVariable(L"APPDATA");
  if (isAbsolutePath(appData)) return appData;
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(
          ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &path)))
    folder = fromUtf16(path);
  ::CoTaskMemFree(path);
  return folder;
}

std::string currentFolder() {
  const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(size, L'\0');
  const DWORD length = ::GetCurrentDirectoryW(size, buffer.data());
  if (length == 0 || length >= size) throwLastSystemError();
  buffer.resize(length);
  return fromUtf16(buffer);
}

void setCurrentFolder(const std::string& folder) {
  if (!::SetCurrentDirectoryW(toUtf16(folder).c_str())) {
    const DWORD error = ::GetLastError();
    throwWindowsError(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error, folder);
  }
}

std::string executablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) throwLastSystemError();
    if (length < buffer.size()) return fromUtf16(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::string> programArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) {
    // Out of memory this early: the narrow arguments are all there is.
    if (argc < 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(fromUtf16(wide[i], std::wcslen(wide[i])));
  ::LocalFree(wide);
  return arguments;
}

long currentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

PrivateTempDir::PrivateTempDir(const std::string& prefix, const std::string& parent) {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, int(sizeof kAlphabet) - 2);
  const std::string base = (parent.empty() ? tempFolder() : joinPath(parent, "")) + prefix + "-" +
                           std::to_string(currentProcessId()) + "-";
  // The user's temporary folder is private to the user; a new folder inherits that.
  for (int attempt = 0;; ++attempt) {
    std::string path = base;
    for (int i = 0; i < 6; ++i) path += kAlphabet[pick(generator)];
    TemporaryCreation creating;
    if (::CreateDirectoryW(toUtf16(path).c_str(), nullptr)) {
      m_path = std::move(path);
      m_cleanup = CleanupOnSignal::folder(m_path);
      return;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS || attempt == 100) throwLastSystemError(path);
  }
}

PrivateTempDir::~PrivateTempDir() {
  removeFolderWithFiles(m_path);
  m_cleanup.forget();
}

}  // namespace platform

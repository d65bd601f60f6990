// Folder walking and temporary-then-rename file creation on Windows. Each folder on the way is
// held open without delete sharing, so that it cannot be renamed, removed or replaced by a link
// while entries are written below it; links (reparse points) are never entered.
#include "unpacklib/Destination.h"

#include <algorithm>
#include <utility>

#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/win32/Win32.h"

namespace unpack {

namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Opens a folder itself (a link is opened as the link, not followed) for as long as the handle
// lives; others may read and write in it but not move or delete it.
HANDLE openFolderEntry(const std::string& path) {
  return ::CreateFileW(platform::toUtf16(path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

void OpenFolder::closeHandle(Handle handle) noexcept { ::CloseHandle(handleOf(handle)); }

std::optional<EntryInfo> OpenFolder::entry(const std::string& name) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  // The attributes of a link are the link's own.
  if (!::GetFileAttributesExW(platform::toUtf16(platform::joinPath(m_path, name)).c_str(),
                              GetFileExInfoStandard, &data))
    return std::nullopt;
  const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                      (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  return EntryInfo{folder, platform::unixSeconds(data.ftLastWriteTime)};
}

Destination::Destination(const std::string& root) {
  const std::string path = platform::absolutePath(root);
  // The root is the user's choice and may itself be a link; it is followed once, here.
  HANDLE handle = ::CreateFileW(platform::toUtf16(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) platform::throwLastSystemError(root);
  m_root = OpenFolder(reinterpret_cast<OpenFolder::Handle>(handle), path);
}

OpenFolder Destination::openFolder(const std::vector<std::string>& folders, bool create) const {
  HANDLE root = INVALID_HANDLE_VALUE;
  HANDLE process = ::GetCurrentProcess();
  if (!::DuplicateHandle(process, handleOf(m_root.m_handle), process, &root, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
    platform::throwLastSystemError();
  OpenFolder current(reinterpret_cast<OpenFolder::Handle>(root), m_root.m_path);
  for (const std::string& name : folders) {
    const std::string path = platform::joinPath(current.m_path, name);
    if (create && !::CreateDirectoryW(platform::toUtf16(path).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
      platform::throwLastSystemError(name);
    HANDLE handle = openFolderEntry(path);
    if (handle == INVALID_HANDLE_VALUE) platform::throwLastSystemError(name);
    OpenFolder next(reinterpret_cast<OpenFolder::Handle>(handle), path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) platform::throwLastSystemError(name);
    // A link in place of a folder, or a file there, blocks the way.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
      throw platform::EInOutError(platform::kIoAccessDenied, name);
    // The parent stays open until the child is: neither can be moved meanwhile.
    current = std::move(next);
  }
  return current;
}

PendingFile::PendingFile(const OpenFolder& folder, std::string finalName, std::string shownPath)
    : m_folder(folder), m_finalName(std::move(finalName)), m_shownPath(std::move(shownPath)) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = temporaryName();
    const std::string path = platform::joinPath(m_folder.m_path, name);
    platform::TemporaryCreation creating;
    // CREATE_NEW never opens an existing entry, a planted link included.
    HANDLE handle = ::CreateFileW(platform::toUtf16(path).c_str(), GENERIC_WRITE | DELETE, 0,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      m_tempName = name;
      m_file = reinterpret_cast<OpenFolder::Handle>(handle);
      m_cleanup = platform::CleanupOnSignal::file(path);
      return;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      platform::throwWindowsError(error, m_shownPath);
  }
  platform::throwWindowsError(ERROR_FILE_EXISTS, m_shownPath);
}

PendingFile::~PendingFile() {
  if (m_file != OpenFolder::kClosed) ::CloseHandle(handleOf(m_file));
  if (!m_committed && !m_tempName.empty())
    ::DeleteFileW(platform::toUtf16(platform::joinPath(m_folder.m_path, m_tempName)).c_str());
  m_cleanup.forget();
}

void PendingFile::write(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handleOf(m_file), data, wanted, &written, nullptr))
      platform::throwLastSystemError(m_shownPath);
    if (written == 0) throw platform::EInOutError(platform::kIoDiskFull, m_shownPath);
    data += written;
    size -= written;
  }
}

void PendingFile::commit(std::optional<std::int64_t> modified,
                         std::optional<unsigned> permissions) {
  HANDLE handle = handleOf(m_file);
  if (modified) {
    const FILETIME time = platform::fileTime(*modified);
    ::SetFileTime(handle, nullptr, &time, &time);  // a time that cannot be set loses no file
  }
  if (permissions && (*permissions & 0200) == 0) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_READONLY;
    if (!::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic))
      platform::throwLastSystemError(m_shownPath);
  }
  m_file = OpenFolder::kClosed;
  if (!::CloseHandle(handle)) platform::throwLastSystemError(m_shownPath);
  const std::wstring from = platform::toUtf16(platform::joinPath(m_folder.m_path, m_tempName));
  const std::wstring to = platform::toUtf16(platform::joinPath(m_folder.m_path, m_finalName));
  if (!::MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // A read-only file is replaced as on POSIX, where only the folder's permission counts.
    const DWORD error = ::GetLastError();
    const DWORD existing = ::GetFileAttributesW(to.c_str());
    const bool readOnlyFile = existing != INVALID_FILE_ATTRIBUTES &&
                              (existing & FILE_ATTRIBUTE_READONLY) != 0 &&
                              (existing & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (error != ERROR_ACCESS_DENIED || !readOnlyFile ||
        !::SetFileAttributesW(to.c_str(), existing & ~DWORD(FILE_ATTRIBUTE_READONLY)) ||
        !::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      platform::throwWindowsError(error, m_shownPath);
  }
  m_committed = true;
  m_cleanup.forget();
}

}  // namespace unpack

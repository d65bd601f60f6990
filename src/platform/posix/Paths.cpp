// File-system queries, folders and the running program on POSIX.
#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"

namespace platform {

std::string absolutePath(const std::string& path) {
  if (path.empty() || isAbsolutePath(path)) return path;
  return joinPath(currentFolder(), path);
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return names;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(listing);
  return names;
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool sameFile(const std::string& a, const std::string& b, bool firstByItsOwnEntry) {
  struct stat sa {
  }, sb{};
  const int found = firstByItsOwnEntry ? ::lstat(a.c_str(), &sa) : ::stat(a.c_str(), &sa);
  return found == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::int64_t fileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return st.st_size;
}

std::optional<FileStatus> fileStatus(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileStatus{S_ISDIR(st.st_mode), S_ISREG(st.st_mode), std::int64_t(st.st_size),
                    std::int64_t(st.st_mtime), unsigned(st.st_mode)};
}

void setPermissions(const std::string& path, unsigned mode) {
  if (::chmod(path.c_str(), mode_t(mode & 07777)) != 0) throwIoError(errno, path);
}

bool fileNameMatches(const std::string& pattern, const std::string& name) {
  return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

bool hasFileNameWildcard(const std::string& text) {
  return text.find_first_of("*?[") != std::string::npos;
}

bool deleteFile(const std::string& path) {
  return !injectedFault(FileOperation::Delete) && ::unlink(path.c_str()) == 0;
}

void removeTemporaryFile(const std::string& path) noexcept { ::unlink(path.c_str()); }

void renameFile(const std::string& from, const std::string& to) {
  if (injectedFault(FileOperation::Rename) || ::rename(from.c_str(), to.c_str()) != 0)
    throwIoError(errno, to);
}

bool fileSystemAnswers(const std::string& folder) {
  struct statvfs volume {};
  return ::statvfs(folder.c_str(), &volume) == 0;
}

void deleteFileIfPresent(const std::string& path) {
  if (!deleteFile(path) && errno != ENOENT) throwIoError(errno, path);
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throwIoError(errno, path);
  return S_ISREG(st.st_mode);
}

bool isSymbolicLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

FileStamp fileStamp(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {st.st_size, std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The descriptor is kept in the pointer's place, one more than its number (0 means none).
FolderLock::FolderLock(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  m_lock = reinterpret_cast<void*>(std::intptr_t(fd) + 1);
}

FolderLock::~FolderLock() {
  if (m_lock) ::close(int(reinterpret_cast<std::intptr_t>(m_lock) - 1));
}

long longestNameIn(const std::string& folder) {
  const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? longest : 0;
}

void makeExecutable(const std::string& path) noexcept {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return;
  mode_t mode = st.st_mode & 07777;
  mode |= (mode & 0444) >> 2;
  ::chmod(path.c_str(), mode);
}

bool isReadOnly(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

void setReadOnly(const std::string& path, bool readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throwIoError(errno, path);
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  if (::chmod(path.c_str(), mode) != 0) throwIoError(errno, path);
}

void createFolders(const std::string& path, unsigned mode) {
  if (path.empty() || folderExists(path)) return;
  const std::string parent = parentFolder(path);
  if (!parent.empty() && parent != path) createFolders(parent, mode);
  // Another process may make it at the same moment; what counts is that it is there.
  if (::mkdir(path.c_str(), mode) != 0 && !(errno == EEXIST && folderExists(path)))
    throwIoError(errno, path);
}

std::string tempFolder() {
  const char* env = std::getenv("TMPDIR");
  std::string folder = (env && *env && folderExists(env)) ? env : "/tmp";
  if (folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string userConfigFolder() {
  // A relative value is not valid there and is ignored, as the base directory rules ask.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == kPathSeparator) return config;
  const char* home = std::getenv("HOME");
  if (home && home[0] == kPathSeparator) return joinPath(home, ".config");
  return {};
}

std::string currentFolder() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) throwIoError(errno);
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

void setCurrentFolder(const std::string& folder) {
  if (::chdir(folder.c_str()) != 0) throwIoError(errno == ENOENT ? ENOTDIR : errno, folder);
}

std::string executablePath() {
  std::vector<char> buffer(4096);
  ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n < 0) throwIoError(errno);
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

std::vector<std::string> programArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

long currentProcessId() { return static_cast<long>(::getpid()); }

PrivateTempDir::PrivateTempDir(const std::string& prefix, const std::string& parent) {
  std::string pattern = (parent.empty() ? tempFolder() : joinPath(parent, "")) + prefix + "-" +
                        std::to_string(::getpid()) + "-XXXXXX";
  TemporaryCreation creating;
  if (::mkdtemp(pattern.data()) == nullptr) throwIoError(errno, pattern);
  m_path = pattern;
  m_cleanup = CleanupOnSignal::folder(m_path);
}

PrivateTempDir::~PrivateTempDir() {
  removeFolderWithFiles(m_path);
  m_cleanup.forget();
}

}  // namespace platform

// Path arithmetic and the file-system queries that the program needs besides open files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SignalCleanup.h"

namespace platform {

// Windows takes "/" as well as its own "\"; the program writes "\" there.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif
bool isPathSeparator(char c);
// "/..." on POSIX; "C:\...", "C:/..." or "\\server\share\..." on Windows. A name that hangs on
// the current drive or on a drive's current folder ("\x", "C:x") is not absolute.
bool isAbsolutePath(const std::string& path);

// Every separator that the system takes turned into kPathSeparator; on POSIX "\\" too, which
// archives and libraries from Windows use.
std::string withNativeSeparators(std::string path);

// Joins a folder and a name with one separator (a folder that already ends in one gets none).
std::string joinPath(const std::string& folder, const std::string& name);
// The part after the last separator.
std::string fileNameOf(const std::string& path);
// The part before the last separator ("" for a bare name, the root for a file in the root:
// "/" or "C:\").
std::string parentFolder(const std::string& path);
// A relative path joined to the current folder; an absolute or empty path as it is.
std::string absolutePath(const std::string& path);

// The names in a folder but "." and "..", in the system's order; none when it cannot be read.
std::vector<std::string> folderEntries(const std::string& folder);

// What stands at a path, a link followed: what an archive records of a file.
struct FileStatus {
  bool isFolder = false;
  bool isRegular = false;  // a plain file: no folder, device or pipe
  std::int64_t size = 0;
  std::int64_t modified = 0;  // seconds since the epoch, UTC
  // The POSIX type and permission bits; on Windows made from the attributes (read-only: no
  // write bits).
  unsigned mode = 0;
};
std::optional<FileStatus> fileStatus(const std::string& path);
// Sets the permission bits; on Windows only the owner's write bit counts (the read-only
// attribute). Throws EInOutError.
void setPermissions(const std::string& path, unsigned mode);

// Whether a file name matches a pattern the way the system's own tools match them: "*", "?" and
// "[...]" on POSIX (fnmatch); "*" and "?" on Windows, where case does not count and "[" is an
// ordinary character of file names.
bool fileNameMatches(const std::string& pattern, const std::string& name);
bool hasFileNameWildcard(const std::string& text);

bool fileExists(const std::string& path);  // a regular file (or a link to one)
bool folderExists(const std::string& path);
// Whether two names reach one file (the same name, a hard link, or links to it); false when
// either is missing. With `firstByItsOwnEntry`, a link at `a` is itself compared, not followed:
// what replacing the entry `a` would take the place of.
bool sameFile(const std::string& a, const std::string& b, bool firstByItsOwnEntry = false);
std::int64_t fileSize(const std::string& path);  // -1 when missing
// Whether the entry itself is a symbolic link (on Windows: any reparse point, junctions too).
bool isSymbolicLink(const std::string& path);

// What tells that a file changed: its length and its modification time, in the system's finest
// unit. Two stamps of one unchanged file are equal; a missing file has size -1.
struct FileStamp {
  std::int64_t size = -1;
  std::int64_t modified = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

// Holds a folder's lock while a job writes into it, so that two jobs (of this or another
// process) never write one set at the same time: the second waits until the first is done.
// A folder whose lock cannot be taken (a file system without locks) is written unlocked.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  void* m_lock = nullptr;  // a descriptor (POSIX) or a mutex handle (Windows)
};
// Deletes a file; the result is only informative, callers that must ignore it may.
bool deleteFile(const std::string& path);
// Deletes a file that may be gone already; any other failure throws EInOutError.
void deleteFileIfPresent(const std::string& path);
// Whether the entry is a regular file (a link is followed); throws EInOutError when it cannot
// be reached.
bool isRegularFile(const std::string& path);
// Removes a temporary file of our own on the way out of a failure: outside the fault seam's count.
void removeTemporaryFile(const std::string& path) noexcept;
// Moves a file onto `to` in one step, replacing a file of that name; throws EInOutError.
void renameFile(const std::string& from, const std::string& to);

// Whether the file system that holds `folder` answers (a drive that is gone does not).
bool fileSystemAnswers(const std::string& folder);
// The longest file name that the file system holding `folder` takes; 0 when it cannot tell.
long longestNameIn(const std::string& folder);

// Lets whoever may read the file run it, where the file system keeps execute bits; nothing on
// Windows, where a program runs by its name's extension. Never fails.
void makeExecutable(const std::string& path) noexcept;

// The read-only attribute is the owner's write permission bit.
bool isReadOnly(const std::string& path);
void setReadOnly(const std::string& path, bool readOnly);

// Creates the folder and any missing parents (new ones with `mode`); throws EInOutError.
void createFolders(const std::string& path, unsigned mode = 0700);

// $TMPDIR when it names a folder, else /tmp; always ends with "/".
std::string tempFolder();
// Where the user's settings live: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config; "" when neither is known. On Windows: %APPDATA% when it is an absolute path,
// else the shell's roaming application data folder.
std::string userConfigFolder();
std::string currentFolder();
// Throws EInOutError when the folder cannot be entered.
void setCurrentFolder(const std::string& folder);
// The absolute path of the running executable.
std::string executablePath();
// The program's arguments after its own name, in UTF-8. Windows hands `main` its arguments in
// the ANSI code page, which loses every letter outside it: there they are read again from the
// wide command line. POSIX passes argv through.
std::vector<std::string> programArguments(int argc, char** argv);

// The running process's id, which temporary names carry.
long currentProcessId();

// A private folder (mkdtemp, mode 0700) that removes itself and its files when destroyed, or
// when a signal ends the program. Code and working files of a job live here, never in the
// current folder. Its name, "<prefix>-<pid>-XXXXXX", tells a later run whether the process that
// made it still runs; the prefix is "fennock" or "fennock-" and lower-case words joined by "-".
// It lies in the temporary folder, or in `parent` when one is given.
class PrivateTempDir {
 public:
  explicit PrivateTempDir(const std::string& prefix = "fennock", const std::string& parent = {});
  ~PrivateTempDir();
  PrivateTempDir(const PrivateTempDir&) = delete;
  PrivateTempDir& operator=(const PrivateTempDir&) = delete;

  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return joinPath(m_path, name); }

 private:
  std::string m_path;
  CleanupOnSignal m_cleanup;
};

// Whether `name` (a bare file name) has the form of PrivateTempDir's folders; `pid` receives the
// process that made it.
bool isPrivateFolderName(const std::string& name, long* pid = nullptr);

}  // namespace platform

// The POSIX signal handler that empties the clean-up table, and the start-up sweep of older
// runs' leftovers.
#include "platform/SignalCleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/CleanupTable.h"
#include "platform/Paths.h"

namespace platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction g_previous[kSignalCount];
bool g_handled[kSignalCount];
std::atomic<int> g_installations{0};
std::atomic_flag g_cleaning = ATOMIC_FLAG_INIT;

sigset_t handledSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kSignals) sigaddset(&set, signal);
  return set;
}

void sleepMilliseconds(long ms) noexcept {
  struct timespec pause {
    0, ms * 1000000L
  };
  ::nanosleep(&pause, nullptr);
}

void removeEntry(cleanup::SlotState kind, std::intptr_t folder, const char* path) noexcept {
  if (kind == cleanup::kFile)
    ::unlinkat(folder == cleanup::kNoFolder ? AT_FDCWD : static_cast<int>(folder), path, 0);
  else
    removeFolderWithFiles(path);
}

int signalIndex(int signal) {
  for (int i = 0; i < kSignalCount; ++i)
    if (kSignals[i] == signal) return i;
  return -1;
}

void onSignal(int signal, siginfo_t* info, void* context) {
  const int i = signalIndex(signal);
  // Another thread already cleans up and ends the process.
  if (i < 0 || g_cleaning.test_and_set()) return;
  const int savedErrno = errno;
  cleanup::ending.store(true);
  cleanup::awaitSections(sleepMilliseconds);
  cleanup::forEachRegistered(removeEntry);
  const struct sigaction& previous = g_previous[i];
  if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
    previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
  } else {
    // The signal stays blocked until the handler returns, and then ends the process as usual.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
  }
  cleanup::ending.store(false);
  g_cleaning.clear();
  errno = savedErrno;
}

// Records of the kernel's directory listing, read without the allocation that readdir may do.
struct LinuxDirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};

}  // namespace

CleanupOnSignal CleanupOnSignal::fileIn(int folder, const std::string& name) {
  return CleanupOnSignal(cleanup::claimSlot(cleanup::kFile, folder, name));
}

// The header keeps 128 bytes for the mask, so that it needs no system header.
static_assert(sizeof(sigset_t) <= 128);

TemporaryCreation::TemporaryCreation() {
  const sigset_t blocked = handledSignals();
  ::pthread_sigmask(SIG_BLOCK, &blocked, reinterpret_cast<sigset_t*>(m_previousMask));
  cleanup::enterCreation(sleepMilliseconds);
}

TemporaryCreation::~TemporaryCreation() {
  cleanup::leaveCreation();
  ::pthread_sigmask(SIG_SETMASK, reinterpret_cast<const sigset_t*>(m_previousMask), nullptr);
}

SignalCleanupHandlers::SignalCleanupHandlers() {
  if (g_installations.fetch_add(1) != 0) return;
  m_installed = true;
  struct sigaction action {};
  action.sa_sigaction = onSignal;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
  for (int i = 0; i < kSignalCount; ++i) {
    struct sigaction current {};
    g_handled[i] = false;
    if (::sigaction(kSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    g_previous[i] = current;
    g_handled[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

SignalCleanupHandlers::~SignalCleanupHandlers() {
  if (m_installed)
    for (int i = 0; i < kSignalCount; ++i)
      if (g_handled[i]) ::sigaction(kSignals[i], &g_previous[i], nullptr);
  g_installations.fetch_sub(1);
}

void removeFilesIn(int folder) noexcept {
  alignas(LinuxDirent64) char buffer[4096];
  // Removing entries while listing may make the listing skip some: list again until a pass
  // removes nothing.
  for (int pass = 0; pass < 8; ++pass) {
    bool removed = false;
    if (::lseek(folder, 0, SEEK_SET) != 0) return;
    for (;;) {
      const long n = ::syscall(SYS_getdents64, folder, buffer, sizeof buffer);
      if (n <= 0) break;
      for (long at = 0; at < n;) {
        const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + at);
        at += entry->d_reclen;
        if (entry->d_type == DT_DIR) continue;
        // unlinkat removes a link itself, never what it points to.
        if (::unlinkat(folder, entry->d_name, 0) == 0) removed = true;
      }
    }
    if (!removed) return;
  }
}

void removeFolderWithFiles(const std::string& path) noexcept {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    removeFilesIn(fd);
    ::close(fd);
  }
  ::rmdir(path.c_str());
}

void removeLeftovers(std::initializer_list<LeftoverForm> forms, const std::string& folder) {
  const std::string where = folder.empty() ? tempFolder() : folder;
  const int temp = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (temp < 0) return;
  std::vector<std::string> names;
  if (DIR* listing = ::fdopendir(::dup(temp))) {
    while (const dirent* entry = ::readdir(listing)) names.emplace_back(entry->d_name);
    ::closedir(listing);
  }
  for (const std::string& name : names) {
    for (const LeftoverForm& form : forms) {
      long pid = 0;
      if (!form.matches(name, &pid)) continue;
      if (pid <= 0 || pid == ::getpid() || pid > INT_MAX) break;
      if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) break;
      struct stat st {};
      if (::fstatat(temp, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) break;
      if (st.st_uid != ::geteuid()) break;
      if (!form.folder) {
        if (S_ISREG(st.st_mode)) ::unlinkat(temp, name.c_str(), 0);
        break;
      }
      if (!S_ISDIR(st.st_mode)) break;
      const int fd = ::openat(temp, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (fd < 0) break;
      struct stat opened {};
      // The folder that was checked, not one put in its place since.
      if (::fstat(fd, &opened) == 0 && opened.st_dev == st.st_dev && opened.st_ino == st.st_ino) {
        removeFilesIn(fd);
        ::unlinkat(temp, name.c_str(), AT_REMOVEDIR);
      }
      ::close(fd);
      break;
    }
  }
  ::close(temp);
}

}  // namespace platform

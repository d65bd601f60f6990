// The clean-up table read by the signal handler, and the start-up sweep of older runs' leftovers.
#include "platform/SignalCleanup.h"

#include <dirent.h>
#include <fcntl.h>
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

#include "platform/Paths.h"

namespace platform {

namespace {

// The handler may run at any moment, on any thread: the table is fixed in size and each slot
// is claimed and released through its atomic state alone, with no lock and no allocation.
enum SlotState : int { kFree, kFilling, kFile, kFolder };

struct Slot {
  std::atomic<int> state{kFree};
  int folder = AT_FDCWD;
  char path[PATH_MAX];
};

constexpr int kSlotCount = 64;
Slot g_slots[kSlotCount];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction g_previous[kSignalCount];
bool g_handled[kSignalCount];
std::atomic<int> g_installations{0};
std::atomic_flag g_cleaning = ATOMIC_FLAG_INIT;
// Sequentially consistent on both sides: either a section sees the handler's g_ending, or the
// handler sees the section's count.
std::atomic<bool> g_ending{false};
std::atomic<int> g_creating{0};

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

// Sections on other threads are a few system calls long; a thread that never returns from one
// (stopped in a debugger) must not keep the process alive.
void awaitSections() noexcept {
  for (int i = 0; i < 500 && g_creating.load() != 0; ++i) sleepMilliseconds(1);
}

int claimSlot(SlotState kind, int folder, const std::string& path) {
  if (path.empty() || path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlotCount; ++i) {
    int expected = kFree;
    if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].folder = folder;
    g_slots[i].state.store(kind, std::memory_order_release);
    return i;
  }
  return -1;
}

void removeFolder(const char* path) noexcept {
  const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    removeFilesIn(fd);
    ::close(fd);
  }
  ::rmdir(path);
}

void cleanUp() noexcept {
  // Files first, so that a registered file inside a registered folder is gone before the folder.
  for (SlotState kind : {kFile, kFolder}) {
    for (Slot& slot : g_slots) {
      if (slot.state.load(std::memory_order_acquire) != kind) continue;
      if (kind == kFile)
        ::unlinkat(slot.folder, slot.path, 0);
      else
        removeFolder(slot.path);
    }
  }
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
  g_ending.store(true);
  awaitSections();
  cleanUp();
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
  g_ending.store(false);
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

CleanupOnSignal CleanupOnSignal::file(const std::string& path) {
  return CleanupOnSignal(claimSlot(kFile, AT_FDCWD, path));
}

CleanupOnSignal CleanupOnSignal::fileIn(int folder, const std::string& name) {
  return CleanupOnSignal(claimSlot(kFile, folder, name));
}

CleanupOnSignal CleanupOnSignal::folder(const std::string& path) {
  return CleanupOnSignal(claimSlot(kFolder, AT_FDCWD, path));
}

CleanupOnSignal::CleanupOnSignal(CleanupOnSignal&& other) noexcept
    : m_slot(std::exchange(other.m_slot, -1)) {}

CleanupOnSignal& CleanupOnSignal::operator=(CleanupOnSignal&& other) noexcept {
  if (this != &other) {
    forget();
    m_slot = std::exchange(other.m_slot, -1);
  }
  return *this;
}

void CleanupOnSignal::forget() noexcept {
  if (m_slot < 0) return;
  g_slots[m_slot].state.store(kFree, std::memory_order_release);
  m_slot = -1;
}

TemporaryCreation::TemporaryCreation() {
  const sigset_t blocked = handledSignals();
  ::pthread_sigmask(SIG_BLOCK, &blocked, &m_previousMask);
  for (;;) {
    g_creating.fetch_add(1);
    if (!g_ending.load()) return;
    // A signal is being handled and will most likely end the process: nothing created now could
    // be removed any more.
    g_creating.fetch_sub(1);
    sleepMilliseconds(1);
  }
}

TemporaryCreation::~TemporaryCreation() {
  g_creating.fetch_sub(1);
  ::pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
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

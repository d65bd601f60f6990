// Temporary files and folders that an interrupt, a terminate or a hang-up must not leave behind,
// and the removal at start-up of those that a run killed outright (SIGKILL, a power cut) left.
#pragma once

#include <initializer_list>
#include <string>

namespace platform {

// Removes a registered file or folder when SIGINT, SIGTERM or SIGHUP (on Windows: Ctrl+C,
// Ctrl+Break, closing the console, logging off or shutting down) ends the process, until it
// is forgotten (its owner removed or renamed it the normal way). Register a path only once it has
// been created by us, so that the handler can never remove a file of someone else's. A folder is
// removed with the files in it (private folders hold no sub-folders). When the fixed table is
// full the path is simply not covered; the start-up sweep still finds it.
class CleanupOnSignal {
 public:
  CleanupOnSignal() = default;
  static CleanupOnSignal file(const std::string& path);
#ifndef _WIN32
  // A file named relative to an open folder, which must stay open until forget().
  static CleanupOnSignal fileIn(int folder, const std::string& name);
#endif
  static CleanupOnSignal folder(const std::string& path);

  ~CleanupOnSignal() { forget(); }
  CleanupOnSignal(CleanupOnSignal&& other) noexcept;
  CleanupOnSignal& operator=(CleanupOnSignal&& other) noexcept;
  CleanupOnSignal(const CleanupOnSignal&) = delete;
  CleanupOnSignal& operator=(const CleanupOnSignal&) = delete;

  void forget() noexcept;

 private:
  explicit CleanupOnSignal(int slot) : m_slot(slot) {}
  int m_slot = -1;
};

// Held around creating a temporary entry and registering it. The signal handler runs on any
// thread while the others go on: without this, a thread could create an entry after the handler's
// sweep, or be stopped between creating and registering it, and leave it behind. While one is
// held, the signals wait on this thread and the handler waits (briefly) for the section to end;
// while a signal is being handled, a new section waits for the handler to finish.
class TemporaryCreation {
 public:
  TemporaryCreation();
  ~TemporaryCreation();
  TemporaryCreation(const TemporaryCreation&) = delete;
  TemporaryCreation& operator=(const TemporaryCreation&) = delete;

 private:
  // The thread's signal mask before the section (a sigset_t on POSIX; unused on Windows).
  alignas(8) unsigned char m_previousMask[128];
};

// While it lives, SIGINT, SIGTERM and SIGHUP remove the registered paths and then take their
// course, so that the exit status still shows the signal. A signal the process was started to
// ignore (nohup) stays ignored. A shared library that carries its own copy of this layer holds
// one while it runs: its handler cleans its own table and passes the signal on to the handler it
// replaced. A second one in the same program does nothing.
class SignalCleanupHandlers {
 public:
  SignalCleanupHandlers();
  ~SignalCleanupHandlers();
  SignalCleanupHandlers(const SignalCleanupHandlers&) = delete;
  SignalCleanupHandlers& operator=(const SignalCleanupHandlers&) = delete;

 private:
  bool m_installed = false;
};

#ifndef _WIN32
// Removes the files in an open folder (not following links, leaving sub-folders); safe to call
// from a signal handler.
void removeFilesIn(int folder) noexcept;
#endif

// Removes the files in a folder (not following links, leaving sub-folders), then the folder if it
// is empty now.
void removeFolderWithFiles(const std::string& path) noexcept;

// A name form of the program's temporary entries; `matches` gives the process that made one.
struct LeftoverForm {
  bool folder;
  bool (*matches)(const std::string& name, long* pid);
};

// Removes from a folder (by default the temporary folder) the entries of these forms that
// processes which no longer run left behind: only names of exactly such a form, only entries of
// the right kind owned by the current user, never through a link. An entry of a process that
// still runs stays.
void removeLeftovers(std::initializer_list<LeftoverForm> forms, const std::string& folder = {});

}  // namespace platform

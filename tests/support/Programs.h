// Where the tests find the programs of the build under test, and the one way they start a
// program: with an argument vector (never a shell string), in a folder of their choice, its
// output collected apart.
#pragma once

#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "support/ScratchDir.h"

extern char** environ;
#endif

namespace testing_support {

#ifdef FENNOCK_PROGRAM
// The splitter, by the absolute path the build gives it (cmake/Fennock.cmake): tests start it
// from folders of their own.
inline std::string fennockProgram() { return FENNOCK_PROGRAM; }
#endif

#ifndef _WIN32

struct ProgramRun {
  int status = -1;  // the exit status; a program ended by a signal gives 128 + its number
  int signal = 0;   // the signal that ended it, if one did
  std::string out;
  std::string err;
};

// A started program; what it prints goes to files of a private folder.
class StartedProgram {
 public:
  StartedProgram(pid_t pid, std::unique_ptr<ScratchDir> capture)
      : m_pid(pid), m_capture(std::move(capture)) {}
  StartedProgram(StartedProgram&& other) noexcept
      : m_pid(std::exchange(other.m_pid, -1)), m_capture(std::move(other.m_capture)) {}
  StartedProgram& operator=(StartedProgram&&) = delete;
  // A program the test left running is killed, so that none outlives the test.
  ~StartedProgram() {
    if (m_pid > 0) stop(SIGKILL);
  }

  pid_t pid() const { return m_pid; }
  std::string outSoFar() const { return m_capture ? ScratchDir::read(m_capture->file("out")) : ""; }

  ProgramRun wait() { return collect(0); }

  // The run, once the program has ended within `limit`; nothing while it still runs.
  std::optional<ProgramRun> waitFor(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const ProgramRun run = collect(WNOHANG);
      if (run.status != -1 || m_pid <= 0) return run;
      if (std::chrono::steady_clock::now() >= end) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  // Sends `signal` and waits for the end.
  ProgramRun stop(int signal) {
    if (m_pid > 0) ::kill(m_pid, signal);
    return wait();
  }

 private:
  ProgramRun collect(int flags) {
    ProgramRun run;
    if (m_pid <= 0) return run;
    int status = 0;
    if (::waitpid(m_pid, &status, flags) != m_pid) return run;
    m_pid = -1;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.out = ScratchDir::read(m_capture->file("out"));
    run.err = ScratchDir::read(m_capture->file("err"));
    // Gone before the test looks at the temporary folder, which the capture shares.
    m_capture.reset();
    return run;
  }

  pid_t m_pid;
  std::unique_ptr<ScratchDir> m_capture;
};

// The display the tests themselves were given, for tools that act on it.
inline std::string ourDisplay() {
  const char* display = std::getenv("DISPLAY");
  return display ? display : "";
}

// Starts `program` (a bare name is looked up in PATH) with `args` in `workFolder` (ours when
// empty), its descriptors arranged by `actions`; its process id. It sees our environment without
// a display unless `display` is given, with `extraEnv` ("NAME=value") set over it, and the
// stopping signals at their default action, whatever a test runner did to ours.
inline pid_t spawnProgram(const std::string& program, const std::vector<std::string>& args,
                          posix_spawn_file_actions_t& actions, const std::string& workFolder = {},
                          const std::string& display = {},
                          const std::vector<std::string>& extraEnv = {}) {
  if (!workFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workFolder.c_str());
  std::vector<std::string> envText = extraEnv;
  if (!display.empty()) envText.push_back("DISPLAY=" + display);
  const auto setHere = [&envText](const std::string& entry) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    if (name == "DISPLAY=") return true;
    for (const auto& e : envText)
      if (e.compare(0, name.size(), name) == 0) return true;
    return false;
  };
  for (char** e = environ; *e; ++e)
    if (!setHere(*e)) envText.push_back(*e);
  std::vector<char*> env;
  for (auto& e : envText) env.push_back(e.data());
  env.push_back(nullptr);
  std::vector<std::string> argText{program};
  argText.insert(argText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argText) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int rc =
      posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), env.data());
  posix_spawnattr_destroy(&attributes);
  if (rc != 0) throw std::runtime_error("cannot start " + program);
  return pid;
}

// Starts the program as spawnProgram does, what it prints collected apart.
inline StartedProgram startProgram(const std::string& program, const std::vector<std::string>& args,
                                   const std::string& workFolder = {},
                                   const std::string& display = {},
                                   const std::vector<std::string>& extraEnv = {}) {
  auto capture = std::make_unique<ScratchDir>();
  const std::string outPath = capture->file("out"), errPath = capture->file("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
  try {
    const pid_t pid = spawnProgram(program, args, actions, workFolder, display, extraEnv);
    posix_spawn_file_actions_destroy(&actions);
    return StartedProgram(pid, std::move(capture));
  } catch (...) {
    posix_spawn_file_actions_destroy(&actions);
    throw;
  }
}

// Starts the program as startProgram does and waits for it.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workFolder = {}, const std::string& display = {},
                             const std::vector<std::string>& extraEnv = {}) {
  return startProgram(program, args, workFolder, display, extraEnv).wait();
}

// Runs `command`, a line the test built from fixed text and quoted paths, in a shell; its exit
// status, and what it printed in `output` when given.
inline int runShell(const std::string& command, std::string* output = nullptr) {
  const ProgramRun run = runProgram("/bin/sh", {"-c", command});
  if (output) *output = run.out + run.err;
  return run.status;
}

// Whether `tool` is installed, by PATH.
inline bool haveProgram(const std::string& tool) {
  try {
    return runProgram("/bin/sh", {"-c", "command -v \"$0\"", tool}).status == 0;
  } catch (const std::runtime_error&) {
    return false;
  }
}

#endif

}  // namespace testing_support

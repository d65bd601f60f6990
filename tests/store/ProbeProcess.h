// Runs a helper program with a pipe on its standard input and output.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/Programs.h"

namespace testing_support {

class ProbeProcess {
 public:
  explicit ProbeProcess(const std::vector<std::string>& argv, const std::string& workFolder = {}) {
    // A program that ended early must fail the test, not kill it.
    ::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    try {
      m_pid =
          spawnProgram(argv[0], {argv.begin() + 1, argv.end()}, actions, workFolder, ourDisplay());
    } catch (...) {
      posix_spawn_file_actions_destroy(&actions);
      for (int fd : {in[0], in[1], out[0], out[1]}) ::close(fd);
      throw;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    m_in = ::fdopen(in[1], "w");
    m_out = ::fdopen(out[0], "r");
  }
  ~ProbeProcess() {
    if (m_in) std::fclose(m_in);
    if (m_out) std::fclose(m_out);
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  ProbeProcess(const ProbeProcess&) = delete;
  ProbeProcess& operator=(const ProbeProcess&) = delete;

  // One line of the program's output without its line end; "" at the end of the output.
  std::string readLine() {
    std::string line;
    for (int c = std::fgetc(m_out); c != EOF && c != '\n'; c = std::fgetc(m_out)) line += char(c);
    return line;
  }
  void writeLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), m_in);
    std::fflush(m_in);
  }
  // Waits for the program to end; its exit code, or -1 when a signal ended it.
  int wait() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t m_pid = -1;
  std::FILE* m_in = nullptr;
  std::FILE* m_out = nullptr;
};

}  // namespace testing_support

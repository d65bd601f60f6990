// Runs a merger file as the receiving user would, in the terminal, and collects what it printed.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

extern char** environ;

namespace testing_support {

struct MergerRun {
  int status = -1;
  std::string out;
  std::string err;
};

// A started program whose output is collected in a private folder.
class MergerProcess {
 public:
  MergerProcess(pid_t pid, std::unique_ptr<ScratchDir> capture)
      : m_pid(pid), m_capture(std::move(capture)) {}
  pid_t pid() const { return m_pid; }

  // Waits for the program's end; a program ended by a signal gives 128 + its number.
  MergerRun wait() {
    MergerRun run;
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ScratchDir::read(m_capture->file("out"));
    run.err = ScratchDir::read(m_capture->file("err"));
    return run;
  }

 private:
  pid_t m_pid;
  std::unique_ptr<ScratchDir> m_capture;
};

// Starts `program` with `args` in `workFolder`, without a display unless `display` is given,
// with `extraEnv` ("NAME=value") added to the environment.
inline MergerProcess startMerger(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& workFolder, const std::string& display = {},
                                 const std::vector<std::string>& extraEnv = {}) {
  auto capture = std::make_unique<ScratchDir>();
  const std::string outPath = capture->file("out"), errPath = capture->file("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("DISPLAY=", 0) != 0) envText.push_back(*e);
  if (!display.empty()) envText.push_back("DISPLAY=" + display);
  envText.insert(envText.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> env;
  for (auto& e : envText) env.push_back(e.data());
  env.push_back(nullptr);
  std::vector<std::string> argText{program};
  argText.insert(argText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argText) argv.push_back(a.data());
  argv.push_back(nullptr);
  // posix_spawn has no working-folder action here: the child gets ours for the moment.
  const std::string previous = platform::currentFolder();
  platform::setCurrentFolder(workFolder);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env.data());
  platform::setCurrentFolder(previous);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + program);
  return MergerProcess(pid, std::move(capture));
}

// Starts the program as startMerger does and waits for it.
inline MergerRun runMerger(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workFolder, const std::string& display = {},
                           const std::vector<std::string>& extraEnv = {}) {
  return startMerger(program, args, workFolder, display, extraEnv).wait();
}

}  // namespace testing_support

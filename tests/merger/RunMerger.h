// Runs a merger file as the receiving user would, in the terminal, and collects what it printed.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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

// Starts `program` with `args` in `workFolder`, without a display unless `display` is given,
// and waits for it.
inline MergerRun runMerger(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workFolder, const std::string& display = {}) {
  ScratchDir capture;
  const std::string outPath = capture.file("out"), errPath = capture.file("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("DISPLAY=", 0) != 0) envText.push_back(*e);
  if (!display.empty()) envText.push_back("DISPLAY=" + display);
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
  MergerRun run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ScratchDir::read(outPath);
  run.err = ScratchDir::read(errPath);
  return run;
}

}  // namespace testing_support

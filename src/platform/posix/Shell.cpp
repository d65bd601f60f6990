// Opening targets through xdg-open: posix_spawnp with an argument vector, the child reaped aside.
#include "platform/Shell.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace platform {

namespace {

void spawnXdgOpen(const std::string& target) {
  // A relative name beginning with "-" would be read as an option.
  std::string argument = target[0] == '-' ? "./" + target : target;
  char program[] = "xdg-open";
  char* argv[] = {program, argument.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) return;
  // xdg-open may wait for the viewer; reap it without holding up the caller.
  std::thread([child] {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

void openWithSystem(const std::string& target) { spawnXdgOpen(target); }

}  // namespace platform

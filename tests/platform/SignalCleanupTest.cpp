// The signal handler's table: what is registered goes, what was forgotten or lies behind a link
// stays, and the process still ends by the signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/SignalCleanup.h"
#include "support/ScratchDir.h"

using testing_support::ScratchDir;

TEST(SignalCleanup, RegisteredFilesAndFoldersGoAndTheSignalStillEndsTheProcess) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    ScratchDir dir;
    const std::string victim = dir.write("victim.txt", "the user's");
    dir.write("file.tmp", "x");
    dir.write("relative.tmp", "x");
    dir.write("forgotten.tmp", "x");
    std::filesystem::create_directory(dir.file("private"));
    dir.write("private/PackLib.so", "code");
    std::filesystem::create_symlink(victim, dir.file("private/link"));
    const pid_t child = ::fork();
    if (child == 0) {
      ::signal(signal, SIG_DFL);
      platform::SignalCleanupHandlers handlers;
      const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
      auto a = platform::CleanupOnSignal::file(dir.file("file.tmp"));
      auto b = platform::CleanupOnSignal::fileIn(folder, "relative.tmp");
      auto c = platform::CleanupOnSignal::folder(dir.file("private"));
      auto d = platform::CleanupOnSignal::file(dir.file("forgotten.tmp"));
      d.forget();
      ::raise(signal);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signal);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"forgotten.tmp", "victim.txt"}));
    EXPECT_EQ(ScratchDir::read(victim), "the user's");
  }
}

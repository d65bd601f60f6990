// The merger window on a virtual display: a user presses "Merge", the "Files merged" box
// appears, and the program ends with the file that was split in its folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "merger/SplitWithPayloads.h"

using namespace testing_support::payload_split;

extern char** environ;

namespace {

std::string output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string text;
  char buffer[512];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
  return text;
}

bool haveTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
            posix_spawn_file_actions_t* actions = nullptr) {
  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("DISPLAY=", 0) != 0 && std::string(*e).rfind("LSAN_OPTIONS=", 0) != 0)
      envText.push_back(*e);
  envText.insert(envText.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> env, args;
  for (auto& e : envText) env.push_back(e.data());
  env.push_back(nullptr);
  std::vector<std::string> argText = argv;
  for (auto& a : argText) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], actions, nullptr, args.data(), env.data()) != 0) return -1;
  return pid;
}

// A private X server: it picks a free display itself and tells us which.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    m_pid = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                  {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    // The number comes as a line, possibly in more than one write.
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) m_name = ":" + number;
  }
  ~VirtualDisplay() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  const std::string& name() const { return m_name; }
  // Whether a client can connect, waiting up to five seconds for it.
  bool ready() const {
    for (int i = 0; i < 50; ++i) {
      if (std::system(
              ("DISPLAY=" + m_name + " xdotool getmouselocation >/dev/null 2>&1").c_str()) == 0)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  pid_t m_pid = -1;
  std::string m_name;
};

// The id of the first window whose name matches, waiting up to 30 seconds for it: a loaded
// machine (two test suites beside a build) takes that long to start a program.
std::string waitForWindow(const std::string& display, const std::string& name) {
  for (int i = 0; i < 300; ++i) {
    std::string id =
        output("DISPLAY=" + display + " xdotool search --name '" + name + "' 2>/dev/null");
    if (!id.empty()) return id.substr(0, id.find('\n'));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

}  // namespace

TEST(MergerGui, MergeButtonJoinsThePiecesAndReportsFilesMerged) {
  if (!haveTool("Xvfb") || !haveTool("xdotool")) GTEST_SKIP() << "Xvfb and xdotool are needed";
  std::setlocale(LC_ALL, "C");
  VirtualDisplay display;
  ASSERT_FALSE(display.name().empty());
  ASSERT_TRUE(display.ready()) << display.name();
  ScratchDir made, away;
  const std::string data = randomBytes(3000000, 21);
  Split split = splitExe(made, "holiday.mpg", data, "1", 2);
  auto carried = carry(split.files, away.path());

  // A virtual server under load now and then refuses a client that connects just after
  // another left; the merger then falls back to the terminal or ends. Such a start is retried.
  pid_t merger = -1;
  std::string window;
  for (int attempt = 0; attempt < 3 && window.empty(); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    merger = spawn({carried[0]}, {"DISPLAY=" + display.name(),
                                  std::string("LSAN_OPTIONS=suppressions=") +
                                      FENNOCK_LEAK_SUPPRESSIONS + ":print_suppressions=0"});
    ASSERT_GT(merger, 0);
    window = waitForWindow(display.name(), "Fennock!SFX");
    if (window.empty()) {
      ::kill(merger, SIGKILL);
      ::waitpid(merger, nullptr, 0);
      platform::deleteFile(away.file("holiday.mpg"));
    }
  }
  ASSERT_FALSE(window.empty()) << "no merger window on " << display.name();
  // The "Merge" button sits at 192, 32 (75 x 25) in the window.
  output("DISPLAY=" + display.name() + " xdotool mousemove --window " + window + " 229 44 click 1");
  const std::string box = waitForWindow(display.name(), "Fennock! M.*dulo SFX");
  EXPECT_FALSE(box.empty()) << "no message box";
  const std::string boxText = output("DISPLAY=" + display.name() + " xdotool getwindowname " + box);
  EXPECT_NE(boxText.find("Fennock! M"), std::string::npos) << boxText;
  output("DISPLAY=" + display.name() + " xdotool key Return");
  int status = -1;
  for (int i = 0; i < 100 && ::waitpid(merger, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (!WIFEXITED(status)) {
    ::kill(merger, SIGKILL);
    ::waitpid(merger, &status, 0);
    FAIL() << "the merger did not end after the message";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(ScratchDir::read(away.file("holiday.mpg")) == data);
}

// The merger window on a virtual display: a user presses "Merge", the "Files merged" box
// appears, and the program ends with the file that was split in its folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <optional>
#include <thread>

#include "merger/SplitWithPayloads.h"
#include "support/Programs.h"

using namespace testing_support::payload_split;

namespace {

using testing_support::haveProgram;
using testing_support::runProgram;
using testing_support::StartedProgram;
using testing_support::startProgram;

// A private X server: it picks a free display itself and tells us which.
class VirtualDisplay {
 public:
  VirtualDisplay()
      : m_server(startProgram(
            "Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"})) {
    // The number comes as a line, possibly in more than one write.
    for (int i = 0; i < 100; ++i) {
      const std::string out = m_server.outSoFar();
      if (out.find('\n') != std::string::npos) {
        m_name = ":" + out.substr(0, out.find('\n'));
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  ~VirtualDisplay() { m_server.stop(SIGTERM); }
  const std::string& name() const { return m_name; }
  // Whether a client can connect, waiting up to five seconds for it.
  bool ready() const {
    for (int i = 0; i < 50; ++i) {
      if (runProgram("xdotool", {"getmouselocation"}, {}, m_name).status == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  StartedProgram m_server;
  std::string m_name;
};

// xdotool with `args` on `display`; what it printed.
std::string xdotool(const std::string& display, const std::vector<std::string>& args) {
  return runProgram("xdotool", args, {}, display).out;
}

// The id of the first window whose name matches, waiting up to 30 seconds for it: a loaded
// machine (two test suites beside a build) takes that long to start a program.
std::string waitForWindow(const std::string& display, const std::string& name) {
  for (int i = 0; i < 300; ++i) {
    std::string id = xdotool(display, {"search", "--name", name});
    if (!id.empty()) return id.substr(0, id.find('\n'));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

}  // namespace

TEST(MergerGui, MergeButtonJoinsThePiecesAndReportsFilesMerged) {
  if (!haveProgram("Xvfb") || !haveProgram("xdotool"))
    GTEST_SKIP() << "Xvfb and xdotool are needed";
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
  std::optional<StartedProgram> merger;
  std::string window;
  for (int attempt = 0; attempt < 3 && window.empty(); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    merger.reset();
    merger.emplace(startProgram(carried[0], {}, {}, display.name(),
                                {std::string("LSAN_OPTIONS=suppressions=") +
                                 FENNOCK_LEAK_SUPPRESSIONS + ":print_suppressions=0"}));
    window = waitForWindow(display.name(), "Fennock!SFX");
    if (window.empty()) {
      merger->stop(SIGKILL);
      platform::deleteFile(away.file("holiday.mpg"));
    }
  }
  ASSERT_FALSE(window.empty()) << "no merger window on " << display.name();
  // The "Merge" button sits at 192, 32 (75 x 25) in the window.
  xdotool(display.name(), {"mousemove", "--window", window, "229", "44", "click", "1"});
  const std::string box = waitForWindow(display.name(), "Fennock! M.*dulo SFX");
  EXPECT_FALSE(box.empty()) << "no message box";
  const std::string boxText = xdotool(display.name(), {"getwindowname", box});
  EXPECT_NE(boxText.find("Fennock! M"), std::string::npos) << boxText;
  xdotool(display.name(), {"key", "Return"});
  const auto ended = merger->waitFor(std::chrono::seconds(10));
  if (!ended || ended->signal != 0) {
    merger->stop(SIGKILL);
    FAIL() << "the merger did not end after the message";
  }
  EXPECT_EQ(ended->status, 0);
  EXPECT_TRUE(ScratchDir::read(away.file("holiday.mpg")) == data);
}

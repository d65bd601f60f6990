// Opening targets: xdg-open gets the target as one untouched argument, and the opener seam works.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/Shell.h"
#include "support/ScratchDir.h"

namespace {

// Puts a stand-in xdg-open first on PATH; it writes its argument count and arguments to a file.
class FakeXdgOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    std::string script = m_dir.path() + "/xdg-open";
    std::ofstream(script)
        << "#!/bin/sh\n"
           "out=\"$(dirname \"$0\")/args\"\n"
           "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; } > \"$out.tmp\"\n"
           "mv \"$out.tmp\" \"$out\"\n";
    ::chmod(script.c_str(), 0755);
    ::setenv("PATH", (m_dir.path() + ":" + m_oldPath).c_str(), 1);
  }
  void TearDown() override { ::setenv("PATH", m_oldPath.c_str(), 1); }

  // What the stand-in received, or "" when it did not run within two seconds.
  std::string received() {
    std::string file = m_dir.path() + "/args";
    for (int i = 0; i < 200; ++i) {
      std::ifstream in(file);
      if (in) {
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
  }

  testing_support::ScratchDir m_dir;
  std::string m_oldPath;
};

TEST_F(FakeXdgOpen, TargetArrivesAsOneArgumentWithoutShellExpansion) {
  platform::openDocument("/tmp/a file; touch $HOME/x `id`.txt");
  EXPECT_EQ(received(), "1\n[/tmp/a file; touch $HOME/x `id`.txt]\n");
}

TEST_F(FakeXdgOpen, RelativeNameStartingWithADashIsNotAnOption) {
  platform::openDocument("-license.txt");
  EXPECT_EQ(received(), "1\n[./-license.txt]\n");
}

TEST(DocumentOpener, EmptyTargetOpensNothingAndTheSeamRecords) {
  std::vector<std::string> opened;
  auto previous = platform::setDocumentOpener([&](const std::string& t) { opened.push_back(t); });
  platform::openDocument("");
  platform::openDocument("https://example.org/");
  platform::setDocumentOpener(previous);
  EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});
}

}  // namespace

// `fennock split` run as a program: the window's job from the terminal, end to end.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PayloadSizes.h"
#include "platform/Paths.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using testing_support::ProgramRun;
using testing_support::ScratchDir;

namespace {

// Runs the program without a display, in `dir`, with `args` as a shell splits them; `config` is
// its settings folder (ctest's empty one when not given).
ProgramRun fennock(const ScratchDir& dir, const std::string& args, const std::string& config = {}) {
  std::vector<std::string> env;
  if (!config.empty()) env.push_back("XDG_CONFIG_HOME=" + config);
  return testing_support::runProgram(
      "/bin/sh", {"-c", "exec \"$0\" " + args, testing_support::fennockProgram()}, dir.path(), {},
      env);
}

std::string pattern(std::size_t size) { return testing_support::randomBytes(size, 12345); }

}  // namespace

TEST(SplitCommand, BatSplitJoinsBackToTheInput) {
  ScratchDir dir;
  std::string input = pattern(3000000);
  dir.write("sample.bin", input);
  ProgramRun run =
      fennock(dir, "split sample.bin --size 1 --unit Mbytes --merger bat --no-compress");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "33%\n66%\n100%\n3 files were created\nOutput files size: 1.00 MegaBytes\n"
            "Total size of output files: 2.86 MegaBytes\nNo compression performed\n" +
                run.out.substr(run.out.find("Time elapsed: ")));
  EXPECT_EQ(platform::fileSize(dir.file("sample1.frg")), 1048576);
  EXPECT_EQ(platform::fileSize(dir.file("sample2.frg")), 1048576);
  EXPECT_EQ(platform::fileSize(dir.file("sample3.frg")), 902848);
  std::string joined;
  for (int i = 1; i <= 3; ++i)
    joined += ScratchDir::read(dir.file("sample" + std::to_string(i) + ".frg"));
  EXPECT_TRUE(joined == input);
  EXPECT_TRUE(platform::fileExists(dir.file("sample.bat")));
  EXPECT_TRUE(platform::fileExists(dir.file("sample.bin")));
}

TEST(SplitCommand, CountModeDestinationAndDeleteInput) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.file("out"));
  dir.write("ten.dat", "0123456789");
  ProgramRun run = fennock(dir,
                           "split ten.dat --count 3 --dest out --merger bat --no-compress "
                           "--delete-input");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ScratchDir::read(dir.file("out/ten1.frg")), "012");
  EXPECT_EQ(ScratchDir::read(dir.file("out/ten2.frg")), "345");
  EXPECT_EQ(ScratchDir::read(dir.file("out/ten3.frg")), "6789");
  EXPECT_FALSE(platform::fileExists(dir.file("ten.dat")));
}

TEST(SplitCommand, ErrorsCarryTheTitleAndAPeriodAndFail) {
  ScratchDir dir;
  ProgramRun missing = fennock(dir, "split absent.bin --merger bat --no-compress");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "Fennock! 1.0: File not found: \"" + dir.file("absent.bin") + "\".\n");

  dir.write("notes.txt", "text");
  ProgramRun bat = fennock(dir, "split notes.txt --merger bat");
  EXPECT_EQ(bat.status, 1);
  EXPECT_EQ(bat.err,
            "Fennock! 1.0: The .BAT merger cannot join compressed pieces; add "
            "--no-compress.\n");
  EXPECT_FALSE(platform::fileExists(dir.file("notes.bat")));

  ProgramRun badSize = fennock(dir, "split notes.txt --size 1- --merger bat --no-compress");
  EXPECT_EQ(badSize.status, 1);
  EXPECT_TRUE(badSize.err.starts_with("Fennock! 1.0: ")) << badSize.err;
  EXPECT_TRUE(badSize.err.ends_with(".\n")) << badSize.err;
  EXPECT_FALSE(platform::fileExists(dir.file("notes1.frg")));
}

TEST(SplitCommand, CommandLineMistakesAreRefusedBeforeAnyWork) {
  ScratchDir dir;
  dir.write("a.bin", "abc");
  ProgramRun unknown = fennock(dir, "split a.bin --bogus");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "Fennock! 1.0: Unknown option '--bogus'; see \"fennock --help\".\n");
  EXPECT_EQ(fennock(dir, "split").status, 2);
  EXPECT_EQ(fennock(dir, "split a.bin --size 1 --count 2").status, 2);
  EXPECT_EQ(fennock(dir, "split a.bin --unit Gbytes").status, 2);
  EXPECT_EQ(fennock(dir, "split a.bin --merger zip").status, 2);
  for (const char* system : {"mac", "Windows", ""}) {
    ProgramRun bad = fennock(dir, "split a.bin --merger-for '" + std::string(system) + "'");
    EXPECT_EQ(bad.status, 2) << system;
    EXPECT_EQ(bad.err, "Fennock! 1.0: Unknown system '" + std::string(system) +
                           "' for --merger-for; use windows or linux.\n");
  }
  EXPECT_EQ(fennock(dir, "split a.bin --merger-for").status, 2);
  EXPECT_EQ(fennock(dir, "frobnicate").status, 2);
  ProgramRun notANumber = fennock(dir, "split a.bin --count abc");
  EXPECT_EQ(notANumber.status, 1);
  EXPECT_EQ(notANumber.err, "Fennock! 1.0: 'abc' is not a valid integer value.\n");
  EXPECT_FALSE(platform::fileExists(dir.file("a1.frg")));
}

TEST(SplitCommand, HelpAfterSplitAndFilesThatLookLikeOptions) {
  ScratchDir dir;
  ProgramRun help = fennock(dir, "split --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, fennock(dir, "--help").out);
  EXPECT_NE(help.out.find("--merger exe|bat        kind of merger (default: exe with compression, "
                          "else bat)"),
            std::string::npos);
  dir.write("-dash.bin", "abc");
  ProgramRun dash = fennock(dir, "split --no-compress --merger bat -- -dash.bin");
  EXPECT_EQ(dash.status, 0) << dash.err;
  EXPECT_EQ(ScratchDir::read(dir.file("-dash1.frg")), "abc");
}

TEST(SplitCommand, SavedOptionsAreTheDefaultsAndFlagsOverrideThemForOneRun) {
  ScratchDir dir;
  const std::string config = dir.file("config");
  const std::string settings = config + "/fennock/settings.ini";
  std::filesystem::create_directories(config + "/fennock");
  dir.write("config/fennock/settings.ini", "checksums=true\nsh-merger=true\n");
  dir.write("on.bin", "abc");
  dir.write("off.bin", "abc");
  dir.write("flag.bin", "abc");
  const std::string quiet = " --merger bat --no-compress";
  ASSERT_EQ(fennock(dir, "split on.bin" + quiet, config).status, 0);
  EXPECT_TRUE(platform::fileExists(dir.file("on.sha256")));
  EXPECT_TRUE(platform::fileExists(dir.file("on.sh")));

  ProgramRun off = fennock(dir, "split off.bin --no-checksums --no-sh-merger" + quiet, config);
  ASSERT_EQ(off.status, 0) << off.err;
  EXPECT_FALSE(platform::fileExists(dir.file("off.sha256")));
  EXPECT_FALSE(platform::fileExists(dir.file("off.sh")));
  EXPECT_EQ(ScratchDir::read(settings), "checksums=true\nsh-merger=true\n") << "left as saved";

  dir.write("config/fennock/settings.ini", "checksums=false\n");
  ASSERT_EQ(fennock(dir, "split flag.bin --checksums" + quiet, config).status, 0);
  EXPECT_TRUE(platform::fileExists(dir.file("flag.sha256")));
  EXPECT_FALSE(platform::fileExists(dir.file("flag.sh")));
}

// The merger file starts with the chosen system's image: the saved choice is the default, the
// option overrides it for one run, and a build without the Windows merger refuses it by reason.
TEST(SplitCommand, MergerForChoosesTheImageOfTheMergerFile) {
  ScratchDir dir;
  const std::string config = dir.file("config");
  std::filesystem::create_directories(config + "/fennock");
  dir.write("config/fennock/settings.ini", "merger-for=windows\n");
  const bool windows = payloads::WindowsMergerImageSize > 0;
  struct Case {
    const char* options;
    bool windowsMerger;
  };
  const Case cases[] = {
      {"", windows},  // the saved choice, or the default where this build has no Windows merger
      {"--merger-for linux", false},
      {"--merger-for windows", true},
  };
  for (const Case& c : cases) {
    dir.write("in.bin", pattern(3000));
    ProgramRun run =
        fennock(dir,
                "split in.bin --size 64 --unit Mbytes --merger exe --no-compress --overwrite " +
                    std::string(c.options),
                config);
    if (c.windowsMerger && !windows) {
      EXPECT_EQ(run.status, 2) << c.options;
      EXPECT_EQ(run.err,
                "Fennock! 1.0: This build has no Windows merger (it was built without the "
                "mingw-w64 cross compiler).\n");
      continue;
    }
    ASSERT_EQ(run.status, 0) << c.options << run.err;
    const std::string merger = ScratchDir::read(dir.file("in.exe"));
    EXPECT_EQ(merger.substr(0, 2), c.windowsMerger ? "MZ"
                                                   : "\x7f"
                                                     "E")
        << c.options;
    EXPECT_EQ(std::int64_t(merger.size()), (c.windowsMerger ? payloads::WindowsMergerImageSize
                                                            : payloads::LinuxMergerImageSize) +
                                               524 + 3000)
        << c.options;
  }
  EXPECT_EQ(ScratchDir::read(config + "/fennock/settings.ini"), "merger-for=windows\n");
}

// The set of report.doc made for one system is the set of another file for report.pdf whichever
// system that split chooses: its record is read after its own image.
TEST(SplitCommand, ASetMadeForTheOtherSystemIsStillTheSetOfAnotherFile) {
  if (payloads::WindowsMergerImageSize <= 0) GTEST_SKIP() << "this build has no Windows merger";
  for (const auto& [first, second] : {std::pair{"windows", "linux"}, {"linux", "windows"}}) {
    ScratchDir dir;
    const std::string split = " --size 3 --merger exe --no-compress --merger-for ";
    dir.write("report.doc", pattern(3000));
    ASSERT_EQ(fennock(dir, "split report.doc" + split + first, dir.file("config")).status, 0);
    const std::string set = ScratchDir::read(dir.file("report.exe"));
    dir.write("report.pdf", pattern(2000));
    const ProgramRun run = fennock(dir, "split report.pdf" + split + second, dir.file("config"));
    EXPECT_NE(run.status, 0) << first;
    EXPECT_NE(run.err.find("is the merger of another file (report.doc)"), std::string::npos)
        << first << run.err;
    EXPECT_EQ(ScratchDir::read(dir.file("report.exe")), set) << first;
  }
}

TEST(SplitCommand, VersionHelpAndNoDisplay) {
  ScratchDir dir;
  ProgramRun version = fennock(dir, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Fennock! 1.0\n");
  ProgramRun help = fennock(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("fennock split FILE"), std::string::npos);
  ProgramRun window = fennock(dir, "");
  EXPECT_EQ(window.status, 1);
  EXPECT_NE(window.err.find("No display is available"), std::string::npos);
}

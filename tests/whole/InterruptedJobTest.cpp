// Jobs ended by SIGINT, SIGTERM or SIGHUP leave none of their working files behind, and what a
// run killed outright left is removed by the next start, while users' look-alike files stay.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "store/TempFolderOverride.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using namespace testing_support;

namespace {

std::vector<std::string> namesIn(const std::string& folder) {
  // The running program may remove the folder while it is read.
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool anyNameStartsWith(const std::string& folder, const std::string& start) {
  for (const std::string& name : namesIn(folder))
    if (name.rfind(start, 0) == 0) return true;
  return false;
}

// Starts a program with slow writes, so that it can be stopped halfway.
StartedProgram startSlow(const std::vector<std::string>& args, const std::string& workFolder) {
  return startProgram(args[0], {args.begin() + 1, args.end()}, workFolder, {},
                      {"FENNOCK_TEST_WRITE_DELAY_MS=15"});
}

// Sends `signal` once `ready` holds; false when the program ended before.
bool signalWhen(StartedProgram& run, const std::function<bool()>& ready, int signal) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!ready()) {
    if (run.waitFor(std::chrono::milliseconds(0))) return false;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(run.pid(), signal);
  return true;
}

class InterruptedJob : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    for (const char* sub : {"in", "out", "cwd", "tmp"})
      std::filesystem::create_directory(m_dir.file(sub));
    m_temp.emplace(m_dir.file("tmp"));
  }
  std::string folder(const char* name) const { return m_dir.file(name); }

  // Nothing of the program's own in the temporary folder or among the files a user sees.
  void expectNothingOfOursLeft() {
    EXPECT_EQ(namesIn(folder("tmp")), std::vector<std::string>{});
    EXPECT_EQ(namesIn(folder("cwd")), std::vector<std::string>{});
    for (const char* sub : {"in", "out"})
      for (const std::string& name : namesIn(folder(sub)))
        EXPECT_TRUE(name.front() != '.' && name.find("ztmp") == std::string::npos)
            << sub << "/" << name;
  }

  ScratchDir m_dir;
  std::optional<TempFolderOverride> m_temp;
};

}  // namespace

TEST_F(InterruptedJob, SplitAndMergeStoppedBySignalsLeaveNothingBehind) {
  const std::string bytes = textLike(1500000, 7);
  const std::string input = m_dir.write("in/letters.txt", bytes);
  const std::vector<std::string> splitArgs{fennockProgram(), "split",      input,    "--compress",
                                           "--size",         "64",         "--unit", "Kbytes",
                                           "--dest",         folder("out")};
  auto tmpHas = [this](const char* start) {
    return [this, start] { return anyNameStartsWith(folder("tmp"), start); };
  };
  // The archive is written in a private folder of its own.
  auto archiveStarted = [this] {
    for (const std::string& name : namesIn(folder("tmp")))
      if (name.rfind("fennock-zip-", 0) == 0 && !namesIn(folder("tmp") + "/" + name).empty())
        return true;
    return false;
  };
  struct Stop {
    const char* when;
    std::function<bool()> ready;
    int signal;
  };
  const Stop splitStops[] = {
      {"once the stores are unpacked", tmpHas("~fs"), SIGHUP},
      {"while the archiver library is unpacked", tmpHas("fennock-packlib-"), SIGINT},
      {"while the archive is written", archiveStarted, SIGTERM},
      {"while the pieces are written", [this] { return !namesIn(folder("out")).empty(); }, SIGINT},
  };
  for (const Stop& stop : splitStops) {
    SCOPED_TRACE(std::string("split stopped ") + stop.when);
    StartedProgram run = startSlow(splitArgs, folder("cwd"));
    ASSERT_TRUE(signalWhen(run, stop.ready, stop.signal));
    EXPECT_EQ(run.wait().signal, stop.signal);
    expectNothingOfOursLeft();
    EXPECT_TRUE(ScratchDir::read(input) == bytes);
    for (const std::string& name : namesIn(folder("out")))
      std::filesystem::remove(folder("out") + "/" + name);
    for (const std::string& name : namesIn(folder("in")))
      if (name != "letters.txt") std::filesystem::remove(folder("in") + "/" + name);
  }

  // A complete set to merge, made at full speed.
  ASSERT_EQ(
      runProgram(splitArgs[0], {splitArgs.begin() + 1, splitArgs.end()}, folder("cwd")).status, 0);
  std::filesystem::create_directory(m_dir.file("joined"));
  const std::string merger = folder("out") + "/letters.exe";
  const std::vector<std::string> mergeArgs{merger, "--dest", m_dir.file("joined")};
  const StartedProgram* merging = nullptr;
  const Stop mergeStops[] = {
      {"while the pieces are joined",
       [this, &merging] {
         // The joined file under its temporary name, or a progress line between 0% and 100%
         // (a large merger head, as in sanitizer builds, can hold all the data).
         for (const std::string& name : namesIn(m_dir.file("joined")))
           if (name.rfind(".fennock-", 0) == 0) return true;
         const std::string out = merging->outSoFar();
         for (std::size_t at = out.find("Merging... "); at != std::string::npos;
              at = out.find("Merging... ", at + 1)) {
           const int percent = std::atoi(out.c_str() + at + 11);
           if (percent > 0 && percent < 100) return true;
         }
         return false;
       },
       SIGTERM},
      {"while the unarchiver library is unpacked", tmpHas("fennock-merger-"), SIGHUP},
  };
  for (const Stop& stop : mergeStops) {
    SCOPED_TRACE(std::string("merge stopped ") + stop.when);
    StartedProgram run = startSlow(mergeArgs, folder("cwd"));
    merging = &run;
    ASSERT_TRUE(signalWhen(run, stop.ready, stop.signal)) << run.outSoFar();
    EXPECT_EQ(run.wait().signal, stop.signal);
    expectNothingOfOursLeft();
    for (const std::string& name : namesIn(m_dir.file("joined"))) {
      EXPECT_NE(name.front(), '.') << name;
      std::filesystem::remove(m_dir.file("joined") + "/" + name);
    }
  }
}

TEST_F(InterruptedJob, StartupRemovesOnlyWhatEndedRunsLeft) {
  // A process id that no process has any more.
  StartedProgram gone = startProgram("true", {});
  const pid_t ended = gone.pid();
  gone.wait();
  const std::string dead = std::to_string(ended), live = std::to_string(::getpid());
  const std::string victim = m_dir.write("victim.txt", "the user's");
  std::filesystem::create_directory(m_dir.file("usersFolder"));
  m_dir.write("usersFolder/kept.txt", "the user's too");

  auto plantFolder = [&](const std::string& name) {
    std::filesystem::create_directory(folder("tmp") + "/" + name);
    m_dir.write("tmp/" + name + "/PackLib.so", "code");
    std::filesystem::create_symlink(victim, folder("tmp") + "/" + name + "/link");
  };
  const std::vector<std::string> removed{
      "fennock-packlib-" + dead + "-Ab3xYz", "fennock-" + dead + "-000000",
      "~fs" + dead + "-70.dat", "~fs" + dead + "-123", ".fennock-" + dead + "-abcd1234.tmp"};
  plantFolder(removed[0]);
  plantFolder(removed[1]);
  for (std::size_t i = 2; i < removed.size(); ++i) m_dir.write("tmp/" + removed[i], "left");

  std::vector<std::string> kept{"fennock-merger-" + live + "-Ab3xYz",  // its process runs
                                "~fs" + live + "-71.dat",
                                "fennock-packlib-" + dead + "-Ab3xY",  // not exactly our form
                                "Fennock-" + dead + "-Ab3xYz",
                                "fennock-Packlib-" + dead + "-Ab3xYz",
                                "fennock--" + dead + "-Ab3xYz",
                                "fennock-" + dead + "-Ab3xYz.txt",
                                "~fs" + dead + "-70.dat~",
                                "~fs" + dead + "70.dat",
                                "~fs70.dat",
                                "~fs" + dead + "-7",
                                ".fennock-" + dead + "-abcd123.tmp",
                                ".fennock-" + dead + "-ABCD1234.tmp",
                                "fennock-x-" + dead + "-Ab3xYz",   // a link to a user's folder
                                "~fs" + dead + "-72.dat",          // a link to a user's file
                                "fennock-y-" + dead + "-Ab3xYz"};  // a file, not a folder
  plantFolder(kept[0]);
  for (std::size_t i = 1; i < 13; ++i) m_dir.write("tmp/" + kept[i], "user's");
  std::filesystem::create_directory_symlink(m_dir.file("usersFolder"),
                                            folder("tmp") + "/" + kept[13]);
  std::filesystem::create_symlink(victim, folder("tmp") + "/" + kept[14]);
  m_dir.write("tmp/" + kept[15], "user's");
  if (::geteuid() == 0) {
    // Another user's file of exactly our form.
    kept.push_back("~fs" + dead + "-73.dat");
    const std::string path = m_dir.write("tmp/" + kept.back(), "someone's");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  }

  const ProgramRun run = runProgram(fennockProgram(), {"--version"}, folder("cwd"));
  EXPECT_EQ(run.status, 0) << run.err;
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(namesIn(folder("tmp")), kept);
  EXPECT_EQ(ScratchDir::read(victim), "the user's");
  EXPECT_EQ(ScratchDir::read(m_dir.file("usersFolder/kept.txt")), "the user's too");
  EXPECT_EQ(namesIn(folder("tmp") + "/fennock-merger-" + live + "-Ab3xYz"),
            (std::vector<std::string>{"PackLib.so", "link"}));
}

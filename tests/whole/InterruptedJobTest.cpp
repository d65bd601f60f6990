// Jobs ended by SIGINT, SIGTERM or SIGHUP leave none of their working files behind, and what a
// run killed outright left is removed by the next start, while users' look-alike files stay.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
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

#include "merger/RunMerger.h"
#include "store/TempFolderOverride.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

extern char** environ;

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

// A program started with the three signals at their default action (a test runner may have
// started us with some ignored) and slow writes, so that it can be stopped halfway.
class SlowRun {
 public:
  SlowRun(const std::vector<std::string>& args, const std::string& workFolder,
          const std::string& output) {
    std::vector<std::string> envText{"FENNOCK_TEST_WRITE_DELAY_MS=15"};
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("DISPLAY=", 0) != 0) envText.push_back(*e);
    std::vector<char*> env, argv;
    for (auto& e : envText) env.push_back(e.data());
    env.push_back(nullptr);
    std::vector<std::string> argText = args;
    for (auto& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, s);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const std::string previous = platform::currentFolder();
    platform::setCurrentFolder(workFolder);
    const int rc = posix_spawn(&m_pid, argv[0], &actions, &attributes, argv.data(), env.data());
    platform::setCurrentFolder(previous);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
  }
  ~SlowRun() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
  }

  // Sends `signal` once `ready` holds; false when the program ended before.
  bool signalWhen(const std::function<bool()>& ready, int signal) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!ready()) {
      if (::waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
        m_pid = 0;
        return false;
      }
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(m_pid, signal);
    return true;
  }
  int wait() {
    if (m_pid > 0) ::waitpid(m_pid, &m_status, 0);
    m_pid = 0;
    return m_status;
  }

 private:
  pid_t m_pid = 0;
  int m_status = 0;
};

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

// The signal that ended a run, or -1 when it ended otherwise.
int endingSignal(int status) { return WIFSIGNALED(status) ? WTERMSIG(status) : -1; }

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
    SlowRun run(splitArgs, folder("cwd"), m_dir.file("split.out"));
    ASSERT_TRUE(run.signalWhen(stop.ready, stop.signal));
    EXPECT_EQ(endingSignal(run.wait()), stop.signal);
    expectNothingOfOursLeft();
    EXPECT_TRUE(ScratchDir::read(input) == bytes);
    for (const std::string& name : namesIn(folder("out")))
      std::filesystem::remove(folder("out") + "/" + name);
    for (const std::string& name : namesIn(folder("in")))
      if (name != "letters.txt") std::filesystem::remove(folder("in") + "/" + name);
  }

  // A complete set to merge, made at full speed.
  ASSERT_EQ(runMerger(splitArgs[0], {splitArgs.begin() + 1, splitArgs.end()}, folder("cwd")).status,
            0);
  std::filesystem::create_directory(m_dir.file("joined"));
  const std::string merger = folder("out") + "/letters.exe";
  const std::vector<std::string> mergeArgs{merger, "--dest", m_dir.file("joined")};
  const Stop mergeStops[] = {
      {"while the pieces are joined",
       [this] {
         // The joined file under its temporary name, or a progress line between 0% and 100%
         // (a large merger head, as in sanitizer builds, can hold all the data).
         for (const std::string& name : namesIn(m_dir.file("joined")))
           if (name.rfind(".fennock-", 0) == 0) return true;
         const std::string out = ScratchDir::read(m_dir.file("merge.out"));
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
    std::filesystem::remove(m_dir.file("merge.out"));
    SlowRun run(mergeArgs, folder("cwd"), m_dir.file("merge.out"));
    ASSERT_TRUE(run.signalWhen(stop.ready, stop.signal))
        << ScratchDir::read(m_dir.file("merge.out"));
    EXPECT_EQ(endingSignal(run.wait()), stop.signal);
    expectNothingOfOursLeft();
    for (const std::string& name : namesIn(m_dir.file("joined"))) {
      EXPECT_NE(name.front(), '.') << name;
      std::filesystem::remove(m_dir.file("joined") + "/" + name);
    }
  }
}

TEST_F(InterruptedJob, StartupRemovesOnlyWhatEndedRunsLeft) {
  // A process id that no process has any more.
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
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

  const MergerRun run = runMerger(fennockProgram(), {"--version"}, folder("cwd"));
  EXPECT_EQ(run.status, 0) << run.err;
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(namesIn(folder("tmp")), kept);
  EXPECT_EQ(ScratchDir::read(victim), "the user's");
  EXPECT_EQ(ScratchDir::read(m_dir.file("usersFolder/kept.txt")), "the user's too");
  EXPECT_EQ(namesIn(folder("tmp") + "/fennock-merger-" + live + "-Ab3xYz"),
            (std::vector<std::string>{"PackLib.so", "link"}));
}
